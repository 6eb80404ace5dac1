// What Windows adds to a run, under Wine: real 8.3 aliases and stand-ins on
// a real volume, names of any script, the real cmd.exe, and processes
// started, waited for and ended. fakedos.exe stands in for the DOS program.
#include "runner/engine/RunEngine.h"
#include "runner/engine/tests/FakeServices.h"
#include "runner/engine/win32/Win32Platform.h"
#include "common/text/win32/Text.h"
#include "testing/WindowTestSupport.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

using namespace runner;

namespace {

// The real platform, counting the commands started without the interpreter
// and the most that ran at once.
class CountingPlatform : public Win32Platform {
public:
    int directStarts = 0, running = 0, mostRunning = 0;
    bool StartCommand(const std::string& program, const std::string& commandLine, uint32_t& id) override {
        directStarts += !program.empty();
        if (!Win32Platform::StartCommand(program, commandLine, id)) return false;
        mostRunning = std::max(mostRunning, ++running);
        return true;
    }
    bool WaitForCommand(CommandEnd& end) override {
        const bool waited = Win32Platform::WaitForCommand(end);
        running -= waited;
        return waited;
    }
};

int FakeDosProcesses() {
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, "fakedos.exe") == 0;
    CloseHandle(snapshot);
    return count;
}

std::set<std::wstring> WideNames(const std::wstring& pattern) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(data.cFileName);
    FindClose(find);
    return names;
}

}  // namespace

class RunBatchWineTest : public ::testing::Test {
protected:
    ScratchDir dir;
    CountingPlatform platform;
    RunSettings settings;
    FakeServices ui;
    RunEngine engine{ui, platform};

    void SetUp() override {
        dir.Enter();
        settings.cwd = dir.Path();
        settings.program = ExeDirectory() + "\\fakedos.exe";
        settings.files = "*.txt";
        settings.command = "* OUTPUT\\* REPORT.TMP";
    }
    // A run from a clean slate: no results, report or logs of a run before.
    void Run() {
        RemoveTree(dir / "OUTPUT");
        for (const char* name : {"REPORT.TXT", "args.log"}) DeleteFileA(name);
        platform.directStarts = platform.mostRunning = 0;
        engine.RunBatch(settings);
    }
};

TEST_F(RunBatchWineTest, WholeRunWithNamesOfAnyScript) {
    // Each file reports its own name. In UTF-8 every result gets its own long
    // name back; in an ANSI code page a name it cannot hold is left alone,
    // told once: never run, never taken for a look-alike ("Omega.txt" for
    // "Ωmega.txt", which is here too). With stand-ins Always the DOS program
    // gets hard links LRV00001.TXT and on, none of which is left afterwards,
    // nor the journal; the longest name's full path passes 260 characters.
    const std::wstring names[] = {
        L"Ωmega.txt", L"Omega.txt", L"Ω.TXT",      L"Имя.txt",         L"😀.txt",
        L"a&b.txt",   L"a..b.txt",  L"readme.txt", L"Résumé long.txt", std::wstring(251, L'n') + L".txt"};
    const std::wstring cwd = text::Widen(dir.Path()) + L"\\";
    std::set<std::wstring> handled;
    std::string narrow, args;
    for (const std::wstring& name : names) {
        WriteWide(cwd + name, "report " + text::Narrow(name) + "\r\n");
        if (text::Narrow(name, narrow)) handled.insert(name);
    }
    for (size_t n = 1; n <= handled.size(); ++n) {
        const std::string number = std::to_string(n), standIn = "LRV" + std::string(5 - number.size(), '0') + number;
        args += standIn + ".TXT OUTPUT\\" + standIn + ".TXT REPORT.TMP\r\n";
    }
    const size_t leftAlone = std::size(names) - handled.size();
    EXPECT_EQ(leftAlone == 0, text::ProcessIsUtf8());
    std::set<std::wstring> inputs = WideNames(cwd + L"*");
    inputs.insert({L"args.log", L"REPORT.TXT"});
    engine.RefreshFileList(settings);
    EXPECT_EQ(ui.status.find(std::to_string(leftAlone) + " more file(s) left alone") != std::string::npos,
              leftAlone > 0);
    settings.rename = true;
    settings.standIns = StandInsAlways;
    Run();
    ASSERT_EQ(engine.FileCount(), handled.size());
    EXPECT_EQ(dir.ReadFile("args.log"), args);
    const std::string n = std::to_string(handled.size());
    EXPECT_NE(ui.status.find(n + " out of " + n + " files renamed."), std::string::npos) << ui.status;
    EXPECT_EQ(WideNames(cwd + L"OUTPUT\\*"), handled);  // nothing under a short name, nothing else
    const std::string report = dir.ReadFile("REPORT.TXT");
    for (const std::wstring& name : names) {
        const std::string expected = "report " + text::Narrow(name) + "\r\n";
        EXPECT_EQ(ReadWide(cwd + name), expected) << "input " << text::Narrow(name);
        if (!handled.count(name)) continue;
        EXPECT_EQ(ReadWide(cwd + L"OUTPUT\\" + name), expected) << "result " << text::Narrow(name);
        EXPECT_NE(report.find(" - " + text::Narrow(name) + "\r\n"), std::string::npos) << text::Narrow(name);
    }
    EXPECT_EQ(WideNames(cwd + L"*"), inputs);
    EXPECT_EQ(GetFileAttributesW((cwd + names[0]).c_str()), DWORD(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesA(platform.JournalPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RunBatchWineTest, FileNamesReachTheProgramAndRunNothing) {
    // Each name that the interpreter would read as commands, through the
    // program started directly and through a batch program that records
    // its arguments; q.bat tells if it ever runs. In the listing's order.
    const char* names[] = {"(d)&q.txt", "a&q&.txt",    "b & q & x.txt", "c^q.txt",
                           "e)q(.txt",  "f!PATH!.txt", "g%PATH%.txt"};
    for (const char* name : names) dir.WriteFile(name, "");
    dir.WriteFile("q.bat", "@echo ran>>ran-q.log\r\n");
    dir.WriteFile("rec.bat", "@set \"LORVANARGS=%*\"\r\n@set LORVANARGS>>bat.log\r\n");
    settings.handling = HandlingNone;
    settings.command = "\"**\" NUL NUL";
    Run();
    std::string args, recorded;
    for (const char* name : names) {
        args += std::string(name) + " NUL NUL\r\n";
        if (!std::strchr(name, '%')) recorded += "LORVANARGS=" + std::string(name) + " NUL NUL\r\n";
    }
    EXPECT_EQ(dir.ReadFile("args.log"), args);
    EXPECT_EQ(platform.directStarts, 7);

    settings.program = "rec.bat";
    settings.command = "** NUL NUL";
    Run();
    // The interpreter's last write may show a moment after its process ended.
    UiDriver::WaitUntil([&] { return dir.ReadFile("bat.log") == recorded; }, 2000);
    EXPECT_EQ(dir.ReadFile("bat.log"), recorded) << ui.status;
    EXPECT_NE(ui.status.find("\"g%PATH%.txt\"  \"G%PATH%.TXT\": Not run: the command interpreter would change the "
                             "\"%\" in its name\r\n"),
              std::string::npos)
        << ui.status;
    EXPECT_EQ(dir.ReadFile("ran-q.log"), "<missing>");
}

TEST_F(RunBatchWineTest, CommandsAtOnceRunTogetherAndEachEndIsItsOwn) {
    // The first command ends last: each status is still its own file's.
    dir.WriteFile("a.txt", "sleep 600\r\n");
    dir.WriteFile("b.txt", "exit 3\r\n");
    dir.WriteFile("c.txt", "noout\r\n");
    dir.WriteFile("d.txt", "sleep 300\r\n");
    settings.handling = HandlingNone;
    settings.rename = true;
    settings.commandsAtOnce = 4;
    Run();
    EXPECT_EQ(platform.mostRunning, 4);
    EXPECT_EQ(ui.status.rfind("Handling commands:\r\n\r\n\"a.txt\"  \"A.TXT\": OK\r\n\"b.txt\"  \"B.TXT\": Error 3\r\n"
                              "\"c.txt\"  \"C.TXT\": Failed\r\n\"d.txt\"  \"D.TXT\": OK\r\n\r\n",
                              0),
              0u)
        << ui.status;
    EXPECT_NE(ui.status.find("C.TXT to c.txt: Failed\r\nD.TXT to d.txt: OK\r\n\r\n3 out of 4 files renamed."),
              std::string::npos);
}

TEST_F(RunBatchWineTest, NoConsoleShowsAndAHangingCommandEndsFromTheWaitHook) {
    // As Lorvan's window runs: a program without a console of its own, Stop
    // from its message loop during the wait. Started directly, and through
    // the interpreter, whose program must end too.
    FreeConsole();
    dir.WriteFile("a.txt", "console\r\n");
    dir.WriteFile("b.txt", "sleep 180000\r\n");  // ended long before
    dir.WriteFile("c.txt", "x");
    settings.files = "?.txt";
    settings.rename = true;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
    int calls = 0;
    platform.SetWaitHook([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        // While b.txt's command sleeps: it wrote its arguments first.
        if (dir.ReadFile("args.log").find("B.TXT") != std::string::npos && ++calls == 3) {
            EXPECT_TRUE(engine.EndRunningCommands());
        }
    });
    for (const std::string redirect : {"", " >NUL"}) {
        settings.command = "* OUTPUT\\* REPORT.TMP" + redirect;
        calls = 0;
        Run();
        EXPECT_EQ(platform.directStarts, redirect.empty() ? 2 : 0);
        for (int wait = 0; wait < 40 && FakeDosProcesses() > 0; ++wait) Sleep(50);
        EXPECT_EQ(FakeDosProcesses(), 0) << redirect;
        EXPECT_EQ(ui.status,
                  "Handling commands:\r\n\r\n\"a.txt\"  \"A.TXT\": OK\r\n\"b.txt\"  \"B.TXT\": Ended\r\n"
                  "\r\nStopped after file 2 of 3: \"b.txt\".\r\n\r\nRenaming files:\r\n\r\nA.TXT to a.txt: OK\r\n"
                  "B.TXT to b.txt: Failed\r\n\r\n1 out of 2 files renamed.\r\n\r\nDone\r\n");  // b.txt made no result
        // What a.txt's command saw of its console.
        EXPECT_NE(dir.ReadFile("REPORT.TXT").find("\r\nA.TXT - a.txt\r\n"), std::string::npos);
        EXPECT_NE(dir.ReadFile("REPORT.TXT").find("\r\nno visible console\r\n"), std::string::npos);
    }
    KillTimer(nullptr, timer);
    EXPECT_FALSE(engine.EndRunningCommands());
}

TEST_F(RunBatchWineTest, AliasesShortPathsAndOneWriter) {
    dir.WriteFile("Annual Report.txt", "a");
    dir.WriteFile("README.TXT", "r");
    std::map<std::string, std::string> aliases;
    EXPECT_TRUE(platform.Enumerate("*.txt", [&](const FoundEntry& e) { aliases[e.name] = e.alternateName; }));
    EXPECT_NE(aliases["Annual Report.txt"].find('~'), std::string::npos);
    EXPECT_EQ(aliases["README.TXT"], "");
    std::string shortPath;
    ASSERT_TRUE(platform.ShortPath(dir.Path() + "\\Annual Report.txt", shortPath));
    EXPECT_EQ(shortPath.substr(shortPath.rfind('\\') + 1), aliases["Annual Report.txt"]);
    EXPECT_FALSE(platform.ShortPath("none", shortPath));

    // One writer at a time, and readers meanwhile: a second Lorvan's run
    // cannot take the stand-in journal of a run in progress.
    auto writer = platform.CreateForWriting("J.TXT");
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->Write("hello", 5));
    EXPECT_FALSE(platform.CreateForWriting("J.TXT"));
    EXPECT_FALSE(platform.OpenForWriting("J.TXT"));
    EXPECT_EQ(dir.ReadFile("J.TXT"), "hello");
}

TEST_F(RunBatchWineTest, CodePages) {
    const bool utf8 = text::ProcessIsUtf8();
    EXPECT_EQ(GetACP(), utf8 ? CP_UTF8 : 1252u);
    EXPECT_EQ(platform.ReportCharset(), utf8 ? "utf-8" : "windows-1252");
    const std::string cafe = text::Narrow(L"café.txt");
    std::string oem;
    // The OEM code page is the system's (437 here), also where GetOEMCP says UTF-8.
    EXPECT_TRUE(platform.ConvertToOem(cafe, oem));
    EXPECT_EQ(oem, utf8 ? cafe : "caf\x82.txt");  // a UTF-8 command line carries characters
    EXPECT_EQ(platform.DosLength(cafe), 8u);
    EXPECT_EQ(platform.FromOem("caf\x82 \xC4\xC4"), utf8 ? text::Narrow(L"café ──") : "caf\x82 \xC4\xC4");
    EXPECT_EQ(platform.UpperCase(cafe), text::Narrow(L"CAFÉ.TXT"));
    EXPECT_EQ(platform.CompareNoCase(text::Narrow(L"café.TMP"), text::Narrow(L"CAFÉ.tmp")), 0);
    if (utf8) {
        EXPECT_FALSE(platform.ConvertToOem(text::Narrow(L"ИМЯ.TXT"), oem));  // no DOS program reads it
        EXPECT_EQ(platform.UpperCase(text::Narrow(L"ωmega ǆ")), text::Narrow(L"ΩMEGA Ǆ"));
        EXPECT_EQ(platform.CompareNoCase(text::Narrow(L"Имя.txt"), text::Narrow(L"иМЯ.TXT")), 0);
    }
    EXPECT_LT(platform.CompareNoCase(".TMP", ".txt"), 0);
}

TEST_F(RunBatchWineTest, WhatCommandsSayAndWhenTheyEnd) {
    // A question ends at once (the input is empty), megabytes of output are
    // cut, a word in the DOS code page is converted, and a child left running
    // holds up nothing; then the time limit ends a hang with its child.
    dir.WriteFile("ASK.TXT", "say caf\x82\r\nask\r\nexit 3\r\n");
    dir.WriteFile("FLOOD.TXT", "flood 4096\r\nexit 1\r\n");
    dir.WriteFile("LEAVES.TXT", "child 180000\r\nsay bye\r\n");
    dir.WriteFile("HANG.DAT", "child 60000\r\nsleep 60000\r\n");
    settings.handling = HandlingNone;
    settings.showOutput = true;
    Run();
    EXPECT_EQ(FakeDosProcesses(), 1);  // the run ended with the child still running: not waited for
    settings.files = "*.DAT";
    settings.timeLimit = 1;
    const std::string said = ui.status;
    Run();
    const std::string cafe = text::ProcessIsUtf8() ? "caf\xC3\xA9" : "caf\x82";
    for (const std::string& part :
         {"\"ASK.TXT\"  (same): Error 3\r\n    " + cafe + "\r\n    File exists. Overwrite (Y/N)?\r\n    no answer\r\n",
          "\"FLOOD.TXT\"  (same): Error 1\r\n    " + std::string(56, '0') + "065536\r\n",
          std::string("    (65496 more line(s) not shown)\r\n\"LEAVES.TXT\"  (same): OK\r\n    bye\r\n")})
        EXPECT_NE(said.find(part), std::string::npos) << part << "\n" << said;
    EXPECT_NE(ui.status.find("\"HANG.DAT\"  (same): Out of time, ended after 1 second\r\n"), std::string::npos);
    EXPECT_EQ(FakeDosProcesses(), 1);  // the hang's child ended with it; the first child left running
}

TEST_F(RunBatchWineTest, CommandsEndWithLorvan) {
    // However Lorvan ends (the task manager, a crash), the system closes its
    // handles, as the platform's end does here: the commands' jobs end them.
    {
        Win32Platform lorvan;
        uint32_t id = 0;
        ASSERT_TRUE(lorvan.StartCommand(ExeDirectory() + "\\fakedos.exe", "fakedos --sleep 60000", id));
        EXPECT_TRUE(UiDriver::WaitUntil([] { return FakeDosProcesses() == 1; }, 10000));
    }
    EXPECT_TRUE(UiDriver::WaitUntil([] { return FakeDosProcesses() == 0; }, 10000));
}

TEST_F(RunBatchWineTest, ADosProgramIsToldBeforeAnythingRuns) {
    // 64-bit Windows cannot start one: one message, not a failure for every file.
    dir.WriteFile("OLD.COM", "\xB4\x4C\xCD\x21");  // MOV AH,4Ch; INT 21h
    dir.WriteFile("a.txt", "x");
    settings.program = "OLD";
    Run();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_NE(ui.asked[0].text.find(") is a 16-bit DOS program"), std::string::npos) << ui.asked[0].text;
    EXPECT_EQ(dir.ReadFile("args.log") + dir.ReadFile("OUTPUT\\a.txt"), "<missing><missing>");
}

TEST_F(RunBatchWineTest, RealDosProgramsThroughARealDosBox) {
    // dosbridge.exe stands in for dosbox.exe: it runs Debian's dosbox, which
    // this Wine cannot start and wait for itself. COPYARG copies its first
    // argument to its second, REPORT adds "NAME: seen" to its second, EXIT3
    // ends with 3; all three are real DOS programs.
    const std::string programs = ExeDirectory() + "\\";
    if (GetFileAttributesA((programs + "COPYARG.COM").c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA("Z:\\usr\\bin\\dosbox") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "needs nasm and dosbox (scripts/setup.sh installs them)";
    const std::wstring cwd = text::Widen(dir.Path()) + L"\\", kinds[] = {L"Résumé été ", L"Отчёт ", L"with spaces "};
    std::set<std::wstring> names;
    for (int n = 0; n < 20; ++n) {
        const std::wstring name = kinds[n % 3] + std::to_wstring(n) + L".txt";
        WriteWide(cwd + name, "content " + std::to_string(n));
        names.insert(name);
    }
    settings.emulator = EmulatorDosBox;
    settings.dosBoxPath = programs + "dosbridge.exe";
    settings.program = programs + "COPYARG.COM";
    settings.command = "* OUTPUT\\*";
    settings.handling = HandlingNone;
    settings.rename = true;
    Run();
    EXPECT_NE(ui.status.find("20 out of 20 files renamed."), std::string::npos) << ui.status;
    EXPECT_EQ(WideNames(cwd + L"OUTPUT\\*"), names);
    for (const std::wstring& name : names) EXPECT_EQ(ReadWide(cwd + L"OUTPUT\\" + name), ReadWide(cwd + name));
    EXPECT_EQ(WideNames(cwd + L"*"), names);  // no stand-in left, nothing else
    const std::string emulatorFolder = platform.JournalPath().substr(0, platform.JournalPath().rfind('\\'));
    EXPECT_TRUE(WideNames(text::Widen(emulatorFolder) + L"\\Emulator\\*").empty());  // no batch file left

    // The report gathered, and an exit code with what the program said.
    settings.program = programs + "REPORT.COM";
    settings.command = "* REPORT.TMP";
    settings.files = "Отчёт 1*.txt";
    settings.handling = HandlingNameTime;
    settings.rename = false;
    Run();
    const std::string report = dir.ReadFile("REPORT.TXT");
    EXPECT_NE(report.find(" - Отчёт 19.txt\r\n"), std::string::npos) << report;
    EXPECT_NE(report.find("LRV00005.TXT: seen"), std::string::npos) << report;
    settings.program = programs + "EXIT3.COM";
    settings.files = "Отчёт 1.txt";
    settings.handling = HandlingNone;
    Run();
    EXPECT_NE(ui.status.find("\"Отчёт 1.txt\"  \"LRV00001.TXT\": Error 3\r\n    exiting with 3\r\n"), std::string::npos)
        << ui.status;
}
