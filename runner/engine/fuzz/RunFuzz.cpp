// The whole run on the in-memory platform, with fuzzed settings,
// answers, directory contents and command results. Afterwards every input
// file is still there as it was, nothing outside the working directory was
// touched, and a renamed result bears the name of the file it came from.
#include "FuzzSupport.h"

#include "runner/engine/ReportFile.h"
#include "runner/engine/RunEngine.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/tests/FakeServices.h"

#include <array>
#include <map>
#include <sstream>

namespace runner::fuzz {

namespace {

// Every file of the tree below the node, by path, with its content.
void Snapshot(const FakeNode& node, const std::string& path, std::map<std::string, std::string>& files) {
    for (auto& child : node.children)
        if (child->IsDirectory())
            Snapshot(*child, path + "\\" + child->name, files);
        else
            files[path + "\\" + child->name] = child->content;
}

const char* const fileNames[] = {
    "Annual Report.txt", "Annual Review.txt", "README.TXT", "notes.txt", "REPORT", "OLD.TMP", "a.b.c", "\x95\x5C.txt"};
const char* const aliases[] = {"", "ANNUAL~1.TXT", "ANNUAL~2.TXT", "NOTES~1.TXT"};
const char* const patterns[] = {"*.txt", "*", "*.*", "A*", "\x95\x5C*.txt", "..\\*", "sub/*", "C:*"};
const char* const commands[] = {"* OUTPUT\\*", "** ***", "*.* *:* *-*", "*s* *l*", "* * * * * * * * * * *"};
const char* const translates[] = {"", "**_files", "C:\\OTHER", "\\"};
const char* const outputs[] = {"OUTPUT", "OUT", "..", "", "OUTPUT/.."};
const char* const reports[] = {"REPORT.TXT", "REPORT.LRV", "OLD.DIR/REPORT", "REPORT", "notes.txt"};
const char* const exts[] = {".TMP", ".", "..", ". ", ""};

}  // namespace

int FuzzRun(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakePlatform platform("C:\\DATA", in.Flag() ? 932 : 1252);
    platform.AddFile("C:\\UP.TXT", "up");
    platform.AddDirectory("C:\\OTHER");
    platform.AddFile("C:\\OTHER\\O.TXT", "other");
    platform.AddDirectory("OLD.DIR");
    platform.AddDirectory("C:\\BIN");  // DOSCONV is a program along PATH
    platform.AddFile("C:\\BIN\\DOSCONV.EXE");
    platform.environment["PATH"] = "C:\\BIN";
    for (int i = in.Byte() % 8; i > 0; --i) {
        std::string name = in.OneOf(fileNames, 14);
        std::string alias = in.OneOf(aliases, 12);
        const uint8_t bits = in.Byte();
        uint32_t attributes = text::AttributeArchive;
        for (int bit = 0; bit < 4; ++bit)
            if (bits & (1 << bit))
                attributes |= std::array{text::AttributeHidden, text::AttributeSystem, text::AttributeReadOnly,
                                         text::AttributeDirectory}[bit];
        std::string content = in.Text(40);
        // No name holds a NUL: Windows gives none.
        if (!name.empty() && !HasAnySeparator(name, platform) && name != "." && name != ".." && !platform.Has(name) &&
            (alias.empty() || !platform.Has(alias)) && (name + alias).find('\0') == std::string::npos)
            TryAdd(platform, name, content, alias, attributes);
    }
    if (in.Flag() && !platform.Has("OUTPUT")) {
        platform.AddDirectory("OUTPUT");
        for (int i = in.Byte() % 3; i > 0; --i) {
            std::string name = in.OneOf(fileNames, 14);
            if (!name.empty() && !HasAnySeparator(name, platform) && !platform.Has("OUTPUT\\" + name))
                TryAdd(platform, "OUTPUT\\" + name, "earlier", "",
                       in.Flag() ? text::AttributeHidden : text::AttributeArchive);
        }
    }

    RunSettings settings{platform.Cwd(), "DOSCONV"};
    settings.files = in.OneOf(patterns, 12);
    settings.command = in.OneOf(commands, 40);
    settings.translate = in.OneOf(translates, 20);
    settings.output = in.OneOf(outputs, 10);
    settings.report = in.OneOf(reports, 16);
    settings.tempExt = in.OneOf(exts, 4);
    settings.handling = in.Byte() % 6 - 1;
    settings.symbols = in.Byte() % 6 - 1;
    const uint8_t flags = in.Byte();
    settings.rename = flags & 1;
    settings.test = flags & 2;
    settings.fullPath = flags & 4;
    settings.nameTimeWithoutRunInformation = flags & 8;
    if (!IsRunnable(settings)) return 0;  // Run is disabled then
    FakeServices ui;
    if (flags & 16) {  // a pattern, extension and output that only Run's own checks catch
        RunSettings other = settings;
        other.files = in.OneOf(patterns, 12);
        other.tempExt = in.OneOf(exts, 4);
        other.output = in.OneOf(outputs, 10);
        if (IsRunnable(other)) settings = other;
    }
    for (int i = in.Byte() % 6; i > 0; --i) ui.answers.push_back(Answer(in.Byte() % 4));

    // DOSCONV IN OUT: writes OUT (when asked to, and allowed) and its report
    // into the temporary name; exits with a fuzzed status.
    std::vector<uint8_t> results;
    while (results.size() < 16) results.push_back(in.Byte());
    // Through an emulator, when the byte says so, DOSCONV is a DOS program.
    // MS-DOS Player gets it with its command line; DOSBox runs it from a
    // batch file, whose exit code and output it leaves in files (or not).
    const int32_t emulator = in.Byte() % 4;
    const std::string scratch = "C:\\APPDATA\\Emulator\\";
    if (emulator != EmulatorNone) {
        platform.AddFile("C:\\BIN\\DOSCONV.COM", "\xB4\x4C\xCD\x21");  // found before DOSCONV.EXE
        platform.AddFile("C:\\BIN\\EMU.EXE");
        settings.emulator = emulator;
        settings.msDosPlayerPath = settings.dosBoxXPath = settings.dosBoxPath = "C:\\BIN\\EMU.EXE";
    }
    size_t command = 0;
    platform.onCommand = [&](const std::string& line) {
        const uint8_t result = results[command++ % 16];
        const size_t call = emulator < EmulatorDosBoxX ? std::string::npos : line.rfind("\"call e:\\");
        const std::string batch = call == std::string::npos ? "" : scratch + line.substr(call + 9, 12);
        std::string text = batch.empty() ? line : platform.Content(batch);
        if (!batch.empty()) text.erase(0, text.find("=0\r\n") + 4);  // the program's line
        std::istringstream words(text);
        std::string program, input, output, temporary;
        if (emulator == EmulatorMsDosPlayer) words >> program;  // the emulator first
        words >> program >> input >> output;
        if ((!(result & 1) || !output.starts_with(settings.output + "\\") || platform.Has(output) ||
             TryAdd(platform, output, "result of " + input)) &&
            (result & 2) && TemporaryReportName(settings, platform, temporary) && !platform.Has(temporary))
            TryAdd(platform, temporary, "report of " + input + std::string(result & 4 ? 1500 : 0, 'r'));
        const int status = result & 8 ? int(result >> 4) : 0;
        if (batch.empty()) return status;
        const std::string base = batch.substr(0, batch.size() - 4);
        TryAdd(platform, base + ".OUT", "said " + input);
        if (!(result & 16)) TryAdd(platform, base + ".COD", std::to_string(status) + "\r\n");
        return 0;  // DOSBox's own, always
    };
    if (in.Flag() && (platform.Has(settings.report) || TryAdd(platform, settings.report, "old")))
        platform.Find(settings.report)->failWrite = true;  // the report cannot be written

    std::map<std::string, std::string> before, after;
    const std::string reportPath = platform.FullPath(settings.report);  // before the run may delete it
    Snapshot(*platform.Find("C:\\"), "C:", before);
    RunEngine engine(ui, platform);
    engine.RunBatch(settings);
    Snapshot(*platform.Find("C:\\"), "C:", after);
    Check(!engine.IsBusy(), "busy after the run");

    // The report and its temporary name are where the user put them.
    std::string temporary;
    const bool reporting = !settings.test && settings.handling < HandlingNone;
    TemporaryReportName(settings, platform, temporary);
    // (The pretend program writes the temporary name in mode 4 too.)
    auto chosen = [&](const std::string& path, bool used) {
        // A failed copy's output is kept beside the temporary name, as
        // REPORT-1.TMP: the name's own end stays (a space before the "-").
        std::string kept = platform.FullPath(
            temporary.substr(0, temporary.size() - std::min(temporary.size(), settings.tempExt.size())) + "-x");
        kept.pop_back();
        return used && (platform.CompareNoCase(path, reportPath) == 0 ||
                        platform.CompareNoCase(path, platform.FullPath(temporary)) == 0 ||
                        platform.CompareNoCase(path.substr(0, kept.size()), kept) == 0);
    };
    const std::string cwd = platform.Cwd() + "\\", output = cwd + settings.output + "\\";
    auto under = [&](const std::string& path, const std::string& directory) {
        return platform.CompareNoCase(path.substr(0, directory.size()), directory) == 0;
    };
    for (auto& [path, content] : before) {
        if (chosen(path, reporting) || (settings.rename && under(path, output)))
            continue;  // earlier results in the output directory are deleted when the user says so
        Check(after.count(path) && after[path] == content,
              (under(path, cwd) ? "an input file lost or changed: " : "outside the working directory: ") + path);
    }
    for (auto& [path, content] : after)
        Check(before.count(path) || under(path, cwd) || chosen(path, true),
              "a file made outside the working directory: " + path);

    // A renamed result is the result of the file whose name it took.
    if (settings.rename && !settings.test && settings.command == "* OUTPUT\\*" && settings.symbols == 0)
        for (const FileEntry& entry : engine.FoundFiles()) {
            const std::string path = output + entry.longName;
            if (!entry.NeedsRenaming() || !after.count(path) || after[path].rfind("result of ", 0) != 0) continue;
            std::string oem;
            platform.ConvertToOem(entry.shortName, oem);
            Check(after[path] == "result of " + oem, "a result renamed to another file's name: " + entry.longName);
        }
    return 0;
}

}  // namespace runner::fuzz
