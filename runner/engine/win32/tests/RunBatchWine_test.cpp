// Whole runs under Wine: real directories with real 8.3 aliases, the real
// cmd.exe, and fakedos.exe standing in for the DOS program.
#include "runner/engine/RunEngine.h"
#include "runner/engine/tests/EngineTest.h"
#include "runner/engine/win32/Win32Platform.h"
#include "common/text/win32/Text.h"
#include "testing/WindowTestSupport.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <chrono>
#include <set>
#include <thread>

using namespace lorvan;

namespace {

// The real platform with a fixed clock, so that reports compare byte for
// byte, counting the commands started without the interpreter.
class FixedTimePlatform : public Win32Platform {
public:
    int directStarts = 0;
    int running = 0, mostRunning = 0;
    std::tm LocalTime() override { return {9, 5, 14, 3, 5, 102, 1}; }
    bool StartCommand(const std::string& program, const std::string& commandLine, uint32_t& id) override {
        directStarts += !program.empty();
        if (!Win32Platform::StartCommand(program, commandLine, id)) return false;
        mostRunning = std::max(mostRunning, ++running);
        return true;
    }
    bool WaitForCommand(uint32_t& id, int& status) override {
        const bool waited = Win32Platform::WaitForCommand(id, status);
        running -= waited;
        return waited;
    }
};

int FakeDosProcesses() {
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, "fakedos.exe") == 0;
    CloseHandle(snapshot);
    return count;
}

// The visible top-level windows of every process.
std::set<HWND> VisibleWindows() {
    std::set<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM found) {
            if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(found)->insert(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

const std::string runTime = "Monday 2002-06-03 14:05:09";
const std::string resume = text::Narrow(L"Résumé long.txt");

}  // namespace

class RunBatchWineTest : public InScratchDir {
protected:
    FixedTimePlatform platform;
    RunSettings settings;
    FakeServices ui;
    RunEngine engine{ui, platform};

    void SetUp() override {
        InScratchDir::SetUp();
        settings.cwd = Cwd();
        settings.program = ExeDirectory() + "\\fakedos.exe";
        settings.files = "*.txt";
        settings.command = "* OUTPUT\\* REPORT.TMP";
    }
    std::string TextInfo() const {
        return TextReportInfo(Cwd() + "\\*.txt", runTime, settings.program + " " + settings.command);
    }
};

TEST_F(RunBatchWineTest, WholeRunWithRenameAndNameTimeReport) {
    struct Expected {
        std::string shortName, result, report, rename;  // shortName "~": the real alias
    };
    // By long name: the file's directives for fakedos, and what the run tells and reports of it.
    const std::map<std::string, std::pair<std::string, Expected>> files = {
        {"Annual Report.txt", {"report annual\r\n", {"~", ": OK", "annual\r\n", ": OK"}}},
        {"README.TXT", {"exit 3\r\nreport readme failed\r\n", {"", ": Error 3", "readme failed\r\n", ""}}},
        {"notes.txt", {"noout\r\n", {"NOTES.TXT", ": Failed", "", ": Failed"}}},
        {resume, {"report-bytes 1024\r\n", {"~", ": OK", std::string(1024, 'x'), ": OK"}}},
        {"empty.txt", {"empty-report\r\n", {"EMPTY.TXT", ": OK", "", ": OK"}}},
    };
    for (const auto& [name, file] : files) dir.WriteFile(name, file.first);
    dir.WriteFile("skip.doc", "not passed");
    dir.WriteFile("hidden.txt", "hidden");
    SetFileAttributesA("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    settings.rename = true;

    engine.RunBatch(settings);
    ASSERT_EQ(engine.FileCount(), 5u);
    EXPECT_TRUE(ui.asked.empty());

    // The status, report and results in the listing's order, which is Wine's.
    std::string status = "Handling commands:\r\n\r\n", report = TextInfo(), renames, args;
    std::map<std::string, std::string> output;
    for (const FileEntry& entry : engine.FoundFiles()) {
        const auto& [directives, expected] = files.at(entry.longName);
        EXPECT_EQ(entry.shortName, expected.shortName == "~" ? dir.AliasOf(entry.longName) : expected.shortName);
        const std::string& shortName = entry.effectiveShortName();
        status += DisplayLine(entry) + expected.result + "\r\n";
        args += shortName + " OUTPUT\\" + shortName + " REPORT.TMP\r\n";
        if (!expected.report.empty())
            report += "\r\n" + shortName + " - " + entry.longName + "\r\n2002-06-03 14:05:09\r\n" + expected.report;
        if (!expected.rename.empty()) renames += shortName + " to " + entry.longName + expected.rename + "\r\n";
        if (expected.result != ": Failed") output[entry.longName] = directives;
    }
    // Wine gives every name above ASCII an alias, so the OEM form is ASCII.
    EXPECT_NE(dir.AliasOf(resume).find('~'), std::string::npos);
    std::string oem;
    EXPECT_TRUE(platform.ConvertToOem(dir.AliasOf(resume), oem));
    EXPECT_EQ(oem, dir.AliasOf(resume));
    EXPECT_EQ(ui.status,
              status + "\r\nRenaming files:\r\n\r\n" + renames + "\r\n3 out of 4 files renamed.\r\n\r\nDone\r\n");
    EXPECT_EQ(dir.ReadFile("REPORT.TXT"), report);
    EXPECT_EQ(dir.ReadFile("args.log"), args);
    EXPECT_FALSE(dir.Exists("REPORT.TMP"));
    EXPECT_EQ(dir.Listing("OUTPUT"), output);
    EXPECT_EQ(ui.progressRange, 4u);  // the renaming's range
    EXPECT_EQ(ui.progressPos, 0u);
}

namespace {

// Wide, so that a name reads the same whatever the process's code page.
std::string ReadWide(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD got = 0;
    std::string content;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

std::set<std::wstring> WideNames(const std::wstring& pattern) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

}  // namespace

TEST_F(RunBatchWineTest, NamesOfAnyScriptComeBackAsThemselves) {
    // In UTF-8 every result gets its own long name back. In an ANSI code page
    // a name it cannot hold is left alone, told once: never run, never a
    // look-alike ("Omega.txt" for "Ωmega.txt", which is here too).
    const std::wstring names[] = {L"Łódź.txt", L"Ωmega.txt",    L"Omega.txt",       L"Ω.TXT",
                                  L"ā.txt",    L"ｆｕｌｌ.txt", L"Имя.txt",         L"日本語.txt",
                                  L"😀.txt",    L"a&b.txt",      L"100% done.txt",   L" spaced  name.txt",
                                  L"a..b.txt", L"readme.txt",   L"Résumé long.txt", std::wstring(251, L'n') + L".txt"};
    const std::wstring cwd = text::Widen(Cwd()) + L"\\";
    std::set<std::wstring> handled;
    int leftAlone = 0;
    for (const std::wstring& name : names) {
        const std::string content = "report " + text::Narrow(name) + "\r\n";
        HANDLE file = CreateFileW((cwd + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << text::Narrow(name);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        std::string narrow;
        if (text::Narrow(name, narrow))
            handled.insert(name);
        else
            ++leftAlone;
    }
    EXPECT_EQ(leftAlone == 0, text::ProcessIsUtf8());
    engine.RefreshFileList(settings);
    EXPECT_EQ(engine.FileCount(), handled.size());
    EXPECT_EQ(ui.status.find(std::to_string(leftAlone) + " more file(s) left alone") != std::string::npos,
              leftAlone > 0);
    settings.rename = true;
    std::set<std::wstring> inputs = WideNames(cwd + L"*");
    inputs.insert(L"args.log");
    inputs.insert(L"REPORT.TXT");
    // With stand-ins Always the DOS program gets hard links named LRV00001.TXT
    // and on; none is left afterwards, nor the journal.
    for (const int32_t mode : {StandInsWhenNeeded, StandInsAlways}) {
        settings.standIns = mode;
        RemoveTree(Cwd() + "\\OUTPUT");
        DeleteFileA("REPORT.TXT");
        DeleteFileA("args.log");
        engine.RunBatch(settings);
        EXPECT_EQ(WideNames(cwd + L"OUTPUT\\*"), handled) << mode;  // nothing under a short name, nothing else
        const std::string report = dir.ReadFile("REPORT.TXT");
        for (const std::wstring& name : names) {
            const std::string expected = "report " + text::Narrow(name) + "\r\n";
            EXPECT_EQ(ReadWide(cwd + name), expected) << "input " << text::Narrow(name);
            if (!handled.count(name)) continue;
            EXPECT_EQ(ReadWide(cwd + L"OUTPUT\\" + name), expected) << "result " << text::Narrow(name);
            EXPECT_NE(report.find(" - " + text::Narrow(name) + "\r\n"), std::string::npos) << text::Narrow(name);
        }
        EXPECT_EQ(dir.ReadFile("args.log").find("LRV00001.TXT OUTPUT\\LRV00001.TXT") != std::string::npos,
                  mode == StandInsAlways);
        EXPECT_EQ(WideNames(cwd + L"*"), inputs) << mode;
        EXPECT_EQ(ui.status.find("could not be taken back"), std::string::npos) << ui.status;
        EXPECT_EQ(GetFileAttributesW((cwd + names[0]).c_str()), DWORD(FILE_ATTRIBUTE_ARCHIVE)) << mode;
        EXPECT_EQ(GetFileAttributesA(platform.JournalPath().c_str()), INVALID_FILE_ATTRIBUTES) << mode;
    }
}

TEST_F(RunBatchWineTest, FourAtOnceTellAndRenameAsOneAtATime) {
    // Twenty commands that sleep for different times, some failing or making
    // no result: four at once end out of order, and the log, the results and
    // the report are what one at a time gives.
    for (int i = 0; i < 20; ++i) {
        std::string content =
            "sleep " + std::to_string(i * 37 % 9 * 30) + "\r\nreport line " + std::to_string(i) + "\r\n";
        if (i % 7 == 3) content += "exit 3\r\n";
        if (i % 5 == 4) content += "noout\r\n";
        dir.WriteFile("File number " + std::to_string(i) + ".txt", content);
    }
    settings.rename = true;
    struct Seen {
        std::string status, report;
        std::map<std::string, std::string> output;
    };
    auto run = [&](int32_t atOnce) {
        settings.commandsAtOnce = atOnce;
        RemoveTree(Cwd() + "\\OUTPUT");
        DeleteFileA("REPORT.TXT");
        DeleteFileA("REPORT.TMP");
        platform.mostRunning = 0;
        engine.RunBatch(settings);
        return Seen{ui.status, dir.ReadFile("REPORT.TXT"), dir.Listing("OUTPUT")};
    };
    settings.handling = HandlingNone;
    const Seen one = run(1);
    EXPECT_EQ(platform.mostRunning, 1);
    EXPECT_NE(one.status.find("Error 3"), std::string::npos);
    EXPECT_NE(one.status.find(": Failed"), std::string::npos);
    EXPECT_EQ(one.output.size(), 16u);
    const Seen four = run(4);
    EXPECT_EQ(platform.mostRunning, 4);
    EXPECT_EQ(four.status, one.status);
    EXPECT_EQ(four.output, one.output);

    settings.handling = HandlingNameTime;
    const Seen reported = run(1);
    const Seen reportedFour = run(4);
    EXPECT_EQ(platform.mostRunning, 1);  // one temporary report file: one at a time
    EXPECT_EQ(reportedFour.report, reported.report);
    EXPECT_NE(reported.report.find("\r\nline 19\r\n"), std::string::npos);
    EXPECT_EQ(reportedFour.output, reported.output);
}

TEST_F(RunBatchWineTest, HtmlTableReportAndEarlierResults) {
    dir.WriteFile("Page One.txt", "report <tr><td>one</td></tr>\r\n");
    CreateDirectoryA("OUTPUT", nullptr);
    dir.WriteFile("OUTPUT\\old.txt", "earlier");
    SetFileAttributesA("OUTPUT\\old.txt", FILE_ATTRIBUTE_HIDDEN);
    dir.WriteFile("OUTPUT\\keep.doc", "kept");
    dir.WriteFile("REPORT.LRV", "an older report");
    settings.rename = true;
    settings.handling = HandlingHtmlTable;
    settings.report = "REPORT.LRV";

    engine.RunBatch(settings);
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.asked[0].text, "File(s) exist in the output directory, see the Status window.\r\n\r\nDelete?");
    EXPECT_EQ(ui.asked[1].text, "Report file already exists, delete?");
    EXPECT_EQ(dir.ReadFile("REPORT.LRV"),
              HtmlReportHead(Cwd() + "\\*.txt", runTime, settings.program + " " + settings.command, "utf-8") +
                  "<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\r\n"
                  "<tr><td>one</td></tr>\r\n"
                  "\r\n</table>\r\n</body>\r\n</html>");
    const std::map<std::string, std::string> output = {{"Page One.txt", "report <tr><td>one</td></tr>\r\n"},
                                                       {"keep.doc", "kept"}};
    EXPECT_EQ(dir.Listing("OUTPUT"), output);
}

TEST_F(RunBatchWineTest, NoReportThenAppendingToATextReport) {
    dir.WriteFile("a.txt", "report first\r\n");
    dir.WriteFile("REPORT.LOG", "old run");
    settings.report = "REPORT.LOG";
    settings.handling = HandlingNone;
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status, "Handling commands:\r\n\r\n\"a.txt\"  \"A.TXT\": OK\r\n\r\nDone\r\n");
    EXPECT_EQ(dir.ReadFile("REPORT.TMP"), "first\r\n");  // neither read nor deleted
    EXPECT_EQ(dir.ReadFile("REPORT.LOG"), "old run");

    settings.handling = HandlingFilesTime;
    ui.answers = {Answer::No};
    engine.RunBatch(settings);
    EXPECT_EQ(dir.ReadFile("REPORT.LOG"),
              "old run\r\n================================\r\n\r\n" + TextInfo() + "first\r\n");
    EXPECT_FALSE(dir.Exists("REPORT.TMP"));
}

TEST_F(RunBatchWineTest, ReportMadeReadOnlyDuringTheRun) {
    // The first command makes the report read-only. The run's handle was
    // opened for writing before, and keeps its access: the run goes on and
    // the report is whole.
    dir.WriteFile("a.txt", "readonly REPORT.TXT\r\nreport one\r\n");
    dir.WriteFile("b.txt", "report two\r\n");
    settings.handling = HandlingHtml;
    engine.RunBatch(settings);
    EXPECT_TRUE(GetFileAttributesA("REPORT.TXT") & FILE_ATTRIBUTE_READONLY);
    std::string report = dir.ReadFile("REPORT.TXT");
    EXPECT_NE(report.find("one\r\n"), std::string::npos);
    EXPECT_NE(report.find("two\r\n\r\n</body>\r\n</html>"), std::string::npos);
    EXPECT_TRUE(ui.asked.empty());

    // The next run cannot open it, nor create it; unless read-only binds
    // nobody here (Wine run by root), when it is asked about as usual.
    ui.answers = {Answer::Cancel};
    engine.RunBatch(settings);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              dir.ReadOnlyEnforced() ? "Cannot create Report file" : "Report file already exists, delete?");
    EXPECT_EQ(dir.ReadFile("REPORT.TXT"), report);
}

TEST_F(RunBatchWineTest, TranslateDirectoryShortForm) {
    dir.WriteFile("My Page.txt", "x");
    CreateDirectoryA("My Page_files", nullptr);
    settings.test = true;
    settings.translate = "**_files";
    settings.command = "***";
    engine.RunBatch(settings);
    settings.fullPath = true;
    engine.RunBatch(settings);
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.asked[0].text, dir.AliasOf("My Page_files"));
    char shortCwd[MAX_PATH];
    GetShortPathNameA(Cwd().c_str(), shortCwd, MAX_PATH);
    EXPECT_EQ(ui.asked[1].text, platform.UpperCase(std::string(shortCwd) + "\\" + dir.AliasOf("My Page_files")));
}

TEST_F(RunBatchWineTest, OutputNamedWithSlashIsRefusedAndNothingDeleted) {
    // Windows takes "/" for a backslash: SUB/OUT is not directly under the
    // working directory, and what it holds is never offered for deletion.
    dir.WriteFile("a.txt", "x");
    CreateDirectoryA("SUB", nullptr);
    CreateDirectoryA("SUB\\OUT", nullptr);
    dir.WriteFile("SUB\\OUT\\a.txt", "keep");
    settings.rename = true;
    settings.output = "SUB/OUT";
    engine.RunBatch(settings);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              "Lorvan supports only a directory directly under the Current Working Directory as the output files "
              "directory");
    EXPECT_EQ(dir.ReadFile("SUB\\OUT\\a.txt"), "keep");
    EXPECT_FALSE(dir.Exists("args.log"));  // nothing was run
    EXPECT_FALSE(dir.Exists("REPORT.TXT"));
}

TEST_F(RunBatchWineTest, DirectStartAndInterpreterGiveEqualResults) {
    // Each line once as the run starts it (directly where it can) and once
    // with every line through the interpreter, as PATHEXT's absence makes it.
    dir.WriteFile("a.txt", "report one\r\necho said\r\n");
    dir.WriteFile("b.txt", "exit 3\r\n");
    dir.WriteFile("conv.bat", "@" + settings.program + " %1 %2 %3\r\n");
    settings.files = "?.txt";
    settings.rename = true;
    const std::string path = platform.Environment("PATH"), pathExt = platform.Environment("PATHEXT");
    ASSERT_NE(pathExt, "");
    SetEnvironmentVariableA("PATH", (ExeDirectory() + ";" + path).c_str());
    struct Row {
        std::string program, command;
        bool direct;
        std::string a, b;  // the results
    };
    const Row rows[] = {
        {settings.program, settings.command, true, ": OK", ": Error 3"},
        {"fakedos", settings.command, true, ": OK", ": Error 3"},  // along PATH
        {"fakedos", settings.command + " >>said.log", false, ": OK", ": Error 3"},
        {settings.program, settings.command + " 100%", false, ": OK", ": Error 3"},
        {"conv.bat", settings.command, false, ": OK", ": Error 3"},
        {"nosuch", settings.command, false, ": Error 9009", ": Error 9009"},
    };
    for (const Row& row : rows) {
        settings.program = row.program;
        settings.command = row.command;
        std::string results[2];
        for (const bool withPathExt : {true, false}) {
            SetEnvironmentVariableA("PATHEXT", withPathExt ? pathExt.c_str() : nullptr);
            RemoveTree(Cwd() + "\\OUTPUT");
            for (const char* name : {"REPORT.TXT", "args.log", "said.log"}) DeleteFileA(name);
            platform.directStarts = 0;
            engine.RunBatch(settings);
            EXPECT_EQ(platform.directStarts, withPathExt && row.direct ? 2 : 0) << row.program << row.command;
            std::string listing;
            for (const auto& [name, content] : dir.Listing("OUTPUT")) listing += name + "=" + content + ";";
            results[withPathExt] = ui.status + "|" + dir.ReadFile("REPORT.TXT") + "|" + dir.ReadFile("args.log") + "|" +
                                   dir.ReadFile("said.log") + "|" + listing;
        }
        EXPECT_EQ(results[1], results[0]) << row.program << " " << row.command;
        EXPECT_EQ(dir.ReadFile("said.log"),
                  row.command.find("said.log") != std::string::npos ? "said\r\n" : "<missing>");
        EXPECT_NE(ui.status.find("\"a.txt\"  \"A.TXT\"" + row.a + "\r\n"), std::string::npos) << ui.status;
        EXPECT_NE(ui.status.find("\"b.txt\"  \"B.TXT\"" + row.b + "\r\n"), std::string::npos) << ui.status;
    }
    SetEnvironmentVariableA("PATH", path.c_str());
    SetEnvironmentVariableA("PATHEXT", pathExt.c_str());
}

TEST_F(RunBatchWineTest, FileNamesReachTheProgramAndRunNothing) {
    // Each name that the interpreter would read as commands, through the
    // program started directly and through a batch program that records
    // its arguments; q.bat tells if it ever runs.
    // In the order of the listing.
    const char* names[] = {"(d)&q.txt", "a&q&.txt",    "b & q & x.txt", "c^q.txt",
                           "e)q(.txt",  "f!PATH!.txt", "g%PATH%.txt"};
    for (const char* name : names) dir.WriteFile(name, "");
    dir.WriteFile("q.bat", "@echo ran>>ran-q.log\r\n");
    dir.WriteFile("rec.bat", "@set \"LORVANARGS=%*\"\r\n@set LORVANARGS>>bat.log\r\n");
    settings.handling = HandlingNone;
    settings.files = "*.txt";

    settings.command = "\"**\" NUL NUL";
    engine.RunBatch(settings);
    std::string args;
    for (const char* name : names) args += std::string(name) + " NUL NUL\r\n";
    EXPECT_EQ(dir.ReadFile("args.log"), args);
    EXPECT_EQ(platform.directStarts, 7);

    settings.program = "rec.bat";
    settings.command = "** NUL NUL";
    engine.RunBatch(settings);
    std::string recorded;
    for (const char* name : names)
        if (!std::strchr(name, '%')) recorded += "LORVANARGS=" + std::string(name) + " NUL NUL\r\n";
    // The interpreter's last write may show a moment after its process ended.
    UiDriver::WaitUntil([&] { return dir.ReadFile("bat.log") == recorded; }, 2000);
    EXPECT_EQ(dir.ReadFile("bat.log"), recorded) << ui.status;
    EXPECT_NE(
        ui.status.find("\"g%PATH%.txt\"  \"G%PATH%.TXT\": Not run: the command interpreter would change the \"%\" in "
                       "its name\r\n"),
        std::string::npos)
        << ui.status;
    EXPECT_EQ(dir.ReadFile("ran-q.log"), "<missing>");
}

TEST_F(RunBatchWineTest, NoConsoleWindowShowsDuringARun) {
    // As Lorvan's window is: a program without a console of its own. The
    // hidden console the commands share is made at the first command, and
    // may show for a moment then, once in the process's life.
    FreeConsole();
    dir.WriteFile("a.txt", "console\r\nsleep 700\r\necho said\r\n");
    dir.WriteFile("b.txt", "x");
    settings.files = "b.txt";
    engine.RunBatch(settings);
    settings.files = "a.txt";
    const std::set<HWND> before = VisibleWindows();
    std::atomic<bool> running{true};
    std::set<std::string> appeared;  // their classes
    std::thread watcher([&] {
        while (running) {
            for (HWND window : VisibleWindows()) {
                char className[64] = "";
                if (!before.count(window) && GetClassNameA(window, className, sizeof className))
                    appeared.insert(className);
            }
            Sleep(20);
        }
    });
    std::string reports;
    for (const std::string redirect : {"", " >said.log"}) {  // directly, then through the interpreter
        settings.command = "* OUTPUT\\* REPORT.TMP" + redirect;
        platform.directStarts = 0;
        engine.RunBatch(settings);
        EXPECT_EQ(platform.directStarts, redirect.empty() ? 1 : 0);
        reports += dir.ReadFile("REPORT.TXT");
        DeleteFileA("REPORT.TXT");
    }
    running = false;
    watcher.join();
    for (const std::string& className : appeared) ADD_FAILURE() << "a window showed: " << className;
    auto count = [&reports](const std::string& text) {
        size_t n = 0;
        for (size_t at = reports.find(text); at != std::string::npos; at = reports.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\nno visible console\r\n"), 2u);  // what each command saw of its console
    EXPECT_EQ(count("visible console"), 2u);
    EXPECT_EQ(dir.ReadFile("said.log"), "said\r\n");
}

TEST_F(RunBatchWineTest, HangingCommandEndedFromTheWaitHook) {
    // As the window does on Stop, from its message loop during the wait:
    // started directly, and through the interpreter, whose program must end too.
    dir.WriteFile("a.txt", "report one\r\n");
    dir.WriteFile("b.txt", "report two\r\nsleep 20000\r\n");
    dir.WriteFile("c.txt", "report three\r\n");
    settings.files = "?.txt";
    settings.rename = true;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
    int calls = 0;
    platform.SetWaitHook([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        // While b.txt's command sleeps: it wrote its arguments first.
        if (dir.ReadFile("args.log").find("B.TXT") != std::string::npos && ++calls == 3) {
            EXPECT_TRUE(engine.EndRunningCommand());
        }
    });
    for (const std::string redirect : {"", " >NUL"}) {
        settings.command = "* OUTPUT\\* REPORT.TMP" + redirect;
        calls = 0;
        DeleteFileA("args.log");
        DeleteFileA("REPORT.TXT");
        RemoveTree(Cwd() + "\\OUTPUT");
        platform.directStarts = 0;
        const auto start = std::chrono::steady_clock::now();
        engine.RunBatch(settings);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(platform.directStarts, redirect.empty() ? 2 : 0);
        for (int wait = 0; wait < 40 && FakeDosProcesses() > 0; ++wait) Sleep(50);
        EXPECT_EQ(FakeDosProcesses(), 0) << redirect;
        EXPECT_EQ(ui.status,
                  "Handling commands:\r\n\r\n\"a.txt\"  \"A.TXT\": OK\r\n\"b.txt\"  \"B.TXT\": Ended\r\n"
                  "\r\nStopped after file 2 of 3: \"b.txt\".\r\n\r\nRenaming files:\r\n\r\nA.TXT to a.txt: OK\r\n"
                  "B.TXT to b.txt: Failed\r\n\r\n1 out of 2 files renamed.\r\n\r\nDone\r\n");  // b.txt made no result
        EXPECT_EQ(dir.ReadFile("REPORT.TXT"),
                  TextReportInfo(Cwd() + "\\?.txt", runTime, settings.program + " " + settings.command) +
                      "\r\nA.TXT - a.txt\r\n2002-06-03 14:05:09\r\none\r\n");
        EXPECT_EQ(dir.Listing("OUTPUT"), (std::map<std::string, std::string>{{"a.txt", "report one\r\n"}}));
        EXPECT_FALSE(dir.Exists("REPORT.TMP"));
    }
    KillTimer(nullptr, timer);
    EXPECT_FALSE(engine.EndRunningCommand());
    EXPECT_FALSE(platform.EndRunningCommand());
}
