#include "runner/engine/StandIns.h"

#include "common/text/AsciiCase.h"
#include "runner/engine/Platform.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace runner {

namespace {

std::string InDirectory(const std::string& directory, std::string_view name) {
    std::string path = directory;
    if (path.empty() || path.back() != '\\') path += '\\';
    path += name;
    return path;
}

// One journal line: the stand-in, the long name (full paths) and the file's
// attributes. No file name holds a tab or a line break.
std::string JournalLine(const std::string& standIn, const std::string& longName, uint32_t attributes) {
    return standIn + '\t' + longName + '\t' + std::to_string(attributes) + "\r\n";
}

// The whole journal, written through to the disk; none when text is empty.
bool WriteJournal(Platform& platform, const std::string& path, const std::string& text) {
    if (text.empty()) return platform.RemoveFile(path) || !platform.Exists(path);
    std::unique_ptr<PlatformFile> file = platform.OpenForWriting(path);
    if (file ? !file->Truncate() : !(file = platform.CreateForWriting(path))) return false;
    return file->Write(text.data(), text.size()) && file->Flush();
}

// Puts the long name back: a stand-in that is a second name of the file goes,
// one that is the file's only name becomes the long name again. Never while
// another file holds the long name: a journal never makes a name disappear.
bool PutBack(Platform& platform, const std::string& standIn, const std::string& longName, uint32_t attributes) {
    if (!platform.Exists(standIn)) return true;  // never made, or gone already
    if (platform.Exists(longName)) {
        if (!platform.SameFile(standIn, longName)) return false;
        // The attributes are the file's, shared by both names: a read-only
        // file's second name cannot be deleted.
        platform.SetAttributes(standIn, text::AttributeNormal);
        const bool removed = platform.RemoveFile(standIn);
        platform.SetAttributes(longName, attributes);
        return removed;
    }
    if (!platform.RenameFile(standIn, longName)) return false;
    platform.SetAttributes(longName, attributes);
    return true;
}

// A line "Output<tab>directory" names where the run's results go (older
// versions pass over a line of two fields); the others are stand-ins.
constexpr std::string_view outputLine = "Output\t";

struct JournalEntry {
    std::string line, standIn, longName;  // an output line: the directory in longName
    uint32_t attributes = 0;
    bool output = false;
};

// Each whole line of the journal's text; a line cut by a crash is passed
// over: nothing was made after it.
void ForEachJournalLine(const std::string& text, const std::function<void(const JournalEntry&)>& each) {
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        JournalEntry entry{text.substr(at, end - at)};
        at = end + 2;
        const std::string& line = entry.line;
        if (line.starts_with(outputLine)) {
            entry.output = true;
            entry.longName = line.substr(outputLine.size());
            each(entry);
            continue;
        }
        const size_t tab1 = line.find('\t'), tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;
        entry.standIn = line.substr(0, tab1);
        entry.longName = line.substr(tab1 + 1, tab2 - tab1 - 1);
        entry.attributes = static_cast<uint32_t>(std::strtoul(line.c_str() + tab2 + 1, nullptr, 10));
        each(entry);
    }
}

}  // namespace

std::vector<std::string> JournaledStandIns(Platform& platform) {
    std::vector<std::string> standIns;
    const std::string journal = platform.JournalPath();
    if (journal.empty() || !platform.Exists(journal)) return standIns;
    // Shared with the run that holds it open.
    ForEachJournalLine(ReadWholeFile(platform, journal, true), [&](const JournalEntry& entry) {
        if (!entry.output) standIns.push_back(entry.standIn);
    });
    return standIns;
}

std::string StandInName(uint32_t n, std::string_view longName) {
    char base[16];
    std::snprintf(base, sizeof base, n < 100000 ? "LRV%05u" : "LR%06u", static_cast<unsigned>(n % 1000000));
    std::string name = base;
    const size_t dot = longName.rfind('.');
    if (dot == std::string_view::npos) return name;
    const std::string_view extension = longName.substr(dot + 1);
    if (extension.empty() || extension.size() > 3) return name;
    std::string upper;
    for (char c : extension) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return name;
        upper += text::UpperAscii(c);
    }
    return name + '.' + upper;
}

StandIns::StandIns(const RunSettings& settings, RunServices& ui, Platform& platform)
    : settings(settings), ui(ui), platform(platform) {}

bool StandIns::Needs(const FileEntry& entry) {
    if (settings.standIns == StandInsAlways) return true;
    std::string oem;
    return entry.withoutShortName || !platform.ConvertToOem(entry.EffectiveShortName(), oem);
}

bool StandIns::Give(std::vector<FileEntry>& files) {
    if (settings.standIns == StandInsOff) return true;
    struct Planned {
        FileEntry* entry;
        std::string name;
    };
    std::vector<Planned> plan;
    uint32_t n = 0;
    for (FileEntry& entry : files) {
        if (!Needs(entry)) continue;
        std::string name;
        do name = StandInName(++n, entry.longName);  // never a name that exists, nor an alias
        while (platform.Exists(name));
        plan.push_back({&entry, std::move(name)});
    }
    if (plan.empty()) return true;
    if (settings.test) {  // what a real run would give, nothing made
        for (Planned& p : plan) p.entry->shortName = p.name;
        return true;
    }

    // Journaled before anything is made. Where the results go: after a crash
    // they are there under the stand-ins' names.
    std::string lines = settings.rename && !settings.output.empty()
                            ? std::string(outputLine) + InDirectory(settings.cwd, settings.output) + "\r\n"
                            : std::string();
    for (const Planned& p : plan) {
        uint32_t attributes = 0;
        platform.Exists(p.entry->longName, &attributes);
        lines +=
            JournalLine(InDirectory(settings.cwd, p.name), InDirectory(settings.cwd, p.entry->longName), attributes);
    }
    if (!Journal(lines)) return false;

    for (Planned& p : plan) {
        Made m{p.name, p.entry->longName};
        platform.Exists(m.longName, &m.attributes);
        // No hard links on this volume: the file itself goes by the stand-in.
        // Its attributes are the file's own, whichever name it goes by: they stay.
        if (!platform.MakeHardLink(m.longName, m.standIn) && !platform.RenameFile(m.longName, m.standIn)) continue;
        p.entry->shortName = p.name;
        p.entry->withoutShortName = false;
        made.push_back(std::move(m));
    }
    ui.AppendStatus(std::to_string(made.size()) + " file(s) have a stand-in 8.3 name for this run.");
    return true;
}

bool StandIns::Journal(const std::string& lines) {
    // Held open, shared with no writer, until the stand-ins are back: a second
    // Lorvan neither writes into it nor takes this run's stand-ins for a crash's.
    const std::string journal = platform.JournalPath();
    if (!journal.empty()) {
        leftBefore = ReadWholeFile(platform, journal);
        journalFile = platform.OpenForWriting(journal);
        if (journalFile ? !journalFile->SeekToEnd() : !(journalFile = platform.CreateForWriting(journal)))
            journalFile.reset();
    }
    // Written through to the disk.
    if (journalFile && journalFile->Write(lines.data(), lines.size()) && journalFile->Flush()) return true;
    journalFile.reset();
    ui.Ask("Lorvan cannot record its stand-in names" + (journal.empty() ? std::string() : " in " + journal) +
               ", so it makes none and runs nothing.",
           lorvanTitle, Buttons::Ok, Icon::Exclamation);
    return false;
}

void StandIns::Remove() {
    if (!journalFile) return;
    std::string left;
    for (auto it = made.rbegin(); it != made.rend(); ++it) {
        if (PutBack(platform, it->standIn, it->longName, it->attributes)) continue;
        left += JournalLine(InDirectory(settings.cwd, it->standIn), InDirectory(settings.cwd, it->longName),
                            it->attributes);
        ui.AppendStatus("\r\nThe stand-in " + it->standIn + " of \"" + it->longName + "\" could not be taken back.");
    }
    const std::string rest = leftBefore + left;
    if (!rest.empty() && journalFile->Truncate() && journalFile->Write(rest.data(), rest.size())) journalFile->Flush();
    journalFile.reset();
    if (rest.empty()) platform.RemoveFile(platform.JournalPath());
    if (!left.empty())
        ui.Ask(
            "One or more stand-in names could not be taken back, see the Status window. Lorvan tries again at "
            "its next start.",
            lorvanTitle, Buttons::Ok, Icon::Exclamation);
    made.clear();
}

void RecoverStandIns(RunServices& ui, Platform& platform) {
    const std::string journal = platform.JournalPath();
    if (journal.empty() || !platform.Exists(journal)) return;
    std::string left;
    std::vector<std::string> outputs, results;
    std::vector<JournalEntry> standIns;
    uint32_t putBack = 0, kept = 0;
    ForEachJournalLine(ReadWholeFile(platform, journal), [&](const JournalEntry& entry) {
        if (entry.output) return outputs.push_back(entry.longName);
        standIns.push_back(entry);
        const bool there = platform.Exists(entry.standIn);
        if (PutBack(platform, entry.standIn, entry.longName, entry.attributes)) {
            putBack += there ? 1 : 0;
        } else {
            ++kept;
            left += entry.line + "\r\n";
        }
    });
    WriteJournal(platform, journal, left);
    // Results the run made under stand-in names, named for the user to rename.
    for (const std::string& output : outputs)
        for (const JournalEntry& entry : standIns) {
            const std::string name = entry.standIn.substr(entry.standIn.rfind('\\') + 1);
            platform.Enumerate(InDirectory(output, name.substr(0, name.find('.'))) + ".*",
                               [&](const FoundEntry& found) {
                                   if (!(found.attributes & text::AttributeDirectory))
                                       results.push_back(InDirectory(output, found.name) + " (of \"" +
                                                         entry.longName.substr(entry.longName.rfind('\\') + 1) + "\")");
                               });
        }
    if (putBack == 0 && kept == 0 && results.empty()) return;
    std::string message = "A run of Lorvan was interrupted. The names of " + std::to_string(putBack) +
                          " file(s) that had stand-in names are back.";
    if (kept > 0)
        message += "\r\n\r\n" + std::to_string(kept) + " stand-in(s) could not be taken back: another file has the " +
                   "name, or the file is not there. They are listed in " + journal + ".";
    if (!results.empty()) {
        message += "\r\n\r\nIts results under stand-in names, to be renamed by hand:";
        for (const std::string& result : results) message += "\r\n" + result;
    }
    ui.Ask(message, lorvanTitle, Buttons::Ok, kept > 0 || !results.empty() ? Icon::Exclamation : Icon::None);
}

}  // namespace runner
