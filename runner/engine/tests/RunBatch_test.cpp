#include "EngineTest.h"

#include "runner/engine/RunEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using namespace runner;

namespace {

const char* const longNames[] = {"Annual Report.txt", "README.TXT", "notes.txt", "more.txt"};
const char* const shortNames[] = {"ANNUAL~1.TXT", "README.TXT", "NOTES.TXT", "MORE~1.TXT"};
const char* const fileLines[] = {"\"Annual Report.txt\"  \"ANNUAL~1.TXT\"", "\"README.TXT\"  (same)",
                                 "\"notes.txt\"  \"NOTES.TXT\"", "\"more.txt\"  \"MORE~1.TXT\""};
const std::string handling = "Handling commands:\r\n\r\n",
                  reportInfo = "C:\\DATA\\*.txt\r\nMonday 2002-06-03 00:00:00\r\n";
// The report's part for the i-th file, as the pretend program writes it.
std::string ReportPart(size_t i) {
    return "\r\n" + std::string(shortNames[i]) + " - " + longNames[i] + "\r\n2002-06-03 00:00:00\r\nconverted " +
           shortNames[i] + "\r\n";
}

}  // namespace

class RunBatchTest : public EngineTest {
protected:
    RunEngine engine{ui, platform};
    std::map<std::string, int> statusOf;  // the pretend DOS program's exit status by its input
    std::set<std::string> noResult;       // inputs for which it writes no result file

    void SetUp() override {
        platform.now = {0, 0, 0, 3, 5, 102, 1};
        platform.AddFile("Annual Report.txt", "ar", "ANNUAL~1.TXT");
        platform.AddFile("README.TXT", "rm");
        platform.AddFile("notes.txt", "nt");
        // DOSCONV IN OUT: copies IN to OUT and reports to REPORT.TMP.
        platform.onCommand = [this](const std::string& line) {
            std::istringstream in(line);
            std::string program, input, output;
            in >> program >> input >> output;
            if (!output.empty() && !noResult.count(input) && platform.Has("OUTPUT"))
                platform.AddFile(output, platform.Content(input));
            if (!platform.Has("REPORT.TMP")) platform.AddFile("REPORT.TMP", "converted " + input + "\r\n");
            return statusOf.count(input) ? statusOf[input] : 0;
        };
    }
    // Calls act once, when a command ends with k started in this run.
    void During(size_t k, std::function<void()> act) {
        const size_t before = platform.commands.size();
        platform.onCommand = [this, before, k, act, convert = platform.onCommand](const std::string& line) mutable {
            if (act && platform.commands.size() - before == k) std::exchange(act, nullptr)();
            return convert(line);
        };
    }
};

TEST_F(RunBatchTest, RealRunWithoutRename) {
    platform.AddFile("more.txt", "mo", "MORE~1.TXT");
    settings.handling = HandlingNone;
    statusOf = {{"README.TXT", 2}, {"NOTES.TXT", -1}, {"MORE~1.TXT", -5}};
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status, handling + fileLines[0] + ": OK\r\n" + fileLines[1] + ": Error 2\r\n" + fileLines[2] +
                             ": System error\r\n" + fileLines[3] + ": Error 4294967291\r\n\r\nDone\r\n");
    std::vector<std::string> commands;
    for (const char* name : shortNames) commands.push_back("DOSCONV " + std::string(name) + " OUTPUT\\" + name);
    EXPECT_EQ(platform.commands, commands);
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ui.progressRange, 4u);
    EXPECT_EQ(ui.progressPos, 0u);
    EXPECT_FALSE(engine.IsBusy());
    // Mode 4: the temporary file is neither read nor deleted, no report made.
    EXPECT_TRUE(platform.Has("REPORT.TMP"));
    EXPECT_FALSE(platform.Has("REPORT.TXT"));
    engine.RunBatch(settings);  // the same values go to the history once
    const std::vector<std::string> history[] = {{"DOSCONV"}, {"*.txt"}, {"* OUTPUT\\*"}, {""}};
    for (HistoryList list : {HistoryList::Program, HistoryList::Files, HistoryList::Command, HistoryList::Translate})
        EXPECT_EQ(ui.history[int(list)], history[int(list)]);
}

TEST_F(RunBatchTest, ReportFramingAndRenaming) {
    settings.rename = true;
    noResult.insert("NOTES.TXT");
    statusOf["README.TXT"] = 1;
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status, handling + fileLines[0] + ": OK\r\n" + fileLines[1] + ": Error 1\r\n" + fileLines[2] +
                             ": Failed\r\n\r\nRenaming files:\r\n\r\nANNUAL~1.TXT to Annual Report.txt: OK\r\n"
                             "NOTES.TXT to notes.txt: Failed\r\n\r\n1 out of 2 files renamed.\r\n\r\nDone\r\n");
    EXPECT_EQ(platform.Names("OUTPUT"), (std::vector<std::string>{"Annual Report.txt", "README.TXT"}));
    EXPECT_EQ(platform.Content("OUTPUT\\Annual Report.txt"), "ar");
    EXPECT_EQ(platform.Content("REPORT.TXT"),
              reportInfo + "DOSCONV * OUTPUT\\*\r\n\r\n" + ReportPart(0) + ReportPart(1) + ReportPart(2));
    EXPECT_FALSE(platform.Has("REPORT.TMP"));
    EXPECT_EQ(ui.progress, "/3 0 1 2 3 /2 0 1 0 ");  // each file, then each file renamed, then back to the start

    // HTML: closed at the run's end; without a Symbols entry the stars are text.
    settings = {platform.Cwd(), "DOSCONV", "*.txt", "* OUTPUT\\*"};
    settings.handling = HandlingHtml;
    settings.report = "REPORT.LRV";
    for (int none : {-1, symbolSetCount}) {
        settings.symbols = none;
        engine.RunBatch(settings);
        EXPECT_EQ(platform.commands.back(), "DOSCONV * OUTPUT\\*");
    }
    const std::string html = platform.Content("REPORT.LRV");
    EXPECT_EQ(html.substr(html.rfind("\r\n</body>")), "\r\n</body>\r\n</html>") << html;
}

TEST_F(RunBatchTest, RefusedBeforeAnyCommand) {
    // No to deleting earlier results: no report either, the history is kept.
    settings.rename = true;
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\old.txt", "old");
    ui.answers = {Answer::No};
    ui.progressPos = 7;
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status, "Checking output directory\r\n\r\nold.txt\r\n");
    EXPECT_EQ(ui.history[int(HistoryList::Program)], std::vector<std::string>{"DOSCONV"});
    EXPECT_FALSE(platform.Has("REPORT.TXT"));
    settings.rename = false;  // Cancel to the existing report
    platform.AddFile("REPORT.TXT", "old");
    ui.answers = {Answer::Cancel};
    engine.RunBatch(settings);
    EXPECT_EQ(platform.Content("REPORT.TXT"), "old");
    settings.rename = true;  // a file named as the output directory
    platform.RemoveFile("OUTPUT\\old.txt");
    platform.AddFile("C:\\DATA\\OUT", "old");
    settings.output = "OUT";
    engine.RunBatch(settings);
    EXPECT_EQ(platform.Content("OUT"), "old");
    EXPECT_EQ(ui.asked.size(), 3u);
    EXPECT_TRUE(platform.commands.empty());
    EXPECT_EQ(ui.progressPos, 7u);  // a stopped run leaves the progress bar
    EXPECT_FALSE(engine.IsBusy());

    // Too many symbols, found after the output directory and the report are
    // made: the report is closed without its closing tags; an empty one is not kept.
    settings = {platform.Cwd(), "DOSCONV", "*.txt", "* * * * * * * * * * *"};
    settings.rename = true;
    settings.output = "MADE";
    platform.RemoveFile("REPORT.TXT");
    for (auto [mode, withoutRunInformation, report] :
         {std::tuple{HandlingHtml, false, "REPORT.LRV"}, std::tuple{HandlingNameTime, true, "REPORT.TXT"}}) {
        settings.handling = mode;
        settings.nameTimeWithoutRunInformation = withoutRunInformation;
        settings.report = report;
        ui.asked.clear();
        engine.RunBatch(settings);
        EXPECT_EQ(ui.asked, std::vector<AskedQuestion>{{"Too many symbols in the Command string, max 10"}});
        EXPECT_TRUE(platform.Has("MADE"));
        EXPECT_TRUE(platform.commands.empty());
        EXPECT_EQ(ui.status.find("Handling commands"), std::string::npos);
    }
    EXPECT_TRUE(platform.Content("REPORT.LRV").ends_with("</h4>\r\n"));
    EXPECT_EQ(platform.Find("REPORT.LRV")->writers, 0);
    EXPECT_FALSE(platform.Has("REPORT.TXT"));
}

TEST_F(RunBatchTest, PatternTempExtAndNamesCheckedBeforeAnythingIsTouched) {
    // REPORT is what "REPORT." names on Windows, and "..\\*" in OUTPUT would
    // find the working directory's own files. A pattern out of cwd is refused
    // by the listing, which then finds nothing.
    settings.rename = true;
    platform.AddFile("REPORT", "mine");
    platform.AddFile("C:\\up.txt", "up");
    const AskedQuestion outOfCwd{"Lorvan supports only the Current Working Directory as the input files directory"},
        tempExt{std::string(tempExtMessage)};
    auto none = [](const char* files) {
        return AskedQuestion{"No files were found matching \"" + std::string(files) + "\"."};
    };
    const std::tuple<const char*, const char*, std::vector<AskedQuestion>, std::vector<Field>> rows[] = {
        {"*.txt", ".", {tempExt}, {Field::TempExt}},
        {"*.txt", "..", {tempExt}, {Field::TempExt}},
        {"*.txt", ". ", {tempExt}, {Field::TempExt}},
        {"*.txt", "", {tempExt}, {Field::TempExt}},
        {"*.none", ".TMP", {none("*.none")}, {}},
        {"sub\\*.txt", ".TMP", {outOfCwd, none("sub\\*.txt")}, {Field::Files}},
        {"..\\*", ".TMP", {outOfCwd, none("..\\*")}, {Field::Files}},
        {"../*.txt", ".TMP", {outOfCwd, none("../*.txt")}, {Field::Files}},
        {"C:*.txt", ".TMP", {outOfCwd, none("C:*.txt")}, {Field::Files}},
    };
    for (const auto& [files, ext, told, focus] : rows) {
        settings.files = files;
        settings.tempExt = ext;
        ui.asked.clear();
        ui.focused.clear();
        engine.RunBatch(settings);
        EXPECT_EQ(ui.asked, told) << files << " " << ext;
        EXPECT_EQ(ui.focused, focus) << files << " " << ext;
    }
    // A program one letter off: found nowhere, told once (where Lorvan looked is the program check's).
    settings = {platform.Cwd(), "DOSKONV", "*.txt", "* OUTPUT\\*"};
    settings.rename = true;
    ui.focused.clear();
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.back().text.substr(0, 35), "The program \"DOSKONV\" was not found");
    EXPECT_EQ(ui.focused, std::vector<Field>{Field::Program});
    platform.AddFile("C:\\BIN\\OLD.COM", "\xB4\x4C\xCD\x21");  // a DOS program, which 64-bit Windows cannot start
    settings.program = "OLD";
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.back().text.substr(0, 51), "\"OLD\" (C:\\BIN\\OLD.COM) is a 16-bit DOS program, and");
    EXPECT_EQ(platform.fileOperations, 0);
    EXPECT_EQ(platform.Content("REPORT"), "mine");
    EXPECT_EQ(platform.Names(""), (std::vector<std::string>{"Annual Report.txt", "README.TXT", "notes.txt", "REPORT"}));
    EXPECT_TRUE(ui.history[int(HistoryList::Program)].empty());
    EXPECT_TRUE(platform.commands.empty());

    // A file without a short name: asked once; No leaves everything as it was.
    platform.AddFile("a long name.txt", "ln");
    settings = {platform.Cwd(), "DOSCONV", "*.txt", "* OUTPUT\\*"};
    settings.rename = true;
    settings.standIns = StandInsOff;
    const AskedQuestion question{"1 of the 4 files has no 8.3 name: the DOS program gets its long name.\r\n\r\nGo on?",
                                 "Lorvan", Buttons::YesNo, Icon::Question};
    for (const bool test : {false, true}) {
        settings.test = test;
        ui.asked.clear();
        ui.answers = {Answer::No};
        engine.RunBatch(settings);
        EXPECT_EQ(ui.asked, std::vector<AskedQuestion>{question}) << test;
        EXPECT_TRUE(platform.commands.empty());
        EXPECT_FALSE(platform.Has("OUTPUT") || platform.Has("REPORT.TXT"));
        EXPECT_TRUE(ui.history[int(HistoryList::Program)].empty());
    }
    settings.test = false;  // Yes: the long name is where the short one would be
    ui.asked.clear();
    ui.answers = {Answer::Yes};
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.at(0), question);
    EXPECT_EQ(platform.commands.back(), "DOSCONV A LONG NAME.TXT OUTPUT\\A LONG NAME.TXT");
    // In mode 4 no temporary file is used: any extension will do.
    for (const char* made : {"a long name.txt", "REPORT.TXT"}) platform.RemoveFile(made);
    settings.handling = HandlingNone;
    settings.tempExt = ".";
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands.size(), 4u + 3u);
}

TEST_F(RunBatchTest, WhatACommandGets) {
    settings.command = std::string(116, 'x') + "*";  // 126 with README.TXT, 128 with ANNUAL~1.TXT
    settings.handling = HandlingFilesTime;
    platform.AddFile("REPORT.TMP", "left by someone");
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status, handling + fileLines[0] + ": Cmd too long\r\n" + fileLines[1] + ": OK\r\n" + fileLines[2] +
                             ": OK\r\n\r\nDone\r\n");
    ASSERT_EQ(platform.commands.size(), 2u);
    EXPECT_EQ(platform.commands[0].size(), 8u + 126u);

    platform.RemoveFile("REPORT.TXT");
    settings = {platform.Cwd(), "P%1", "Annual*", "100%% %PATH% *"};
    settings.handling = HandlingNone;
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands.at(2), "P%%1 100%% %%PATH%% ANNUAL~1.TXT");
    // The OEM form goes into the command, is the result looked for and the name in the report.
    platform.AddFile("CAF\xC9.TXT", "c");  // a valid 8.3 name in the ANSI code page
    settings = {platform.Cwd(), "DOSCONV", "CAF*.TXT", "* OUTPUT\\*"};
    settings.rename = true;
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands.at(3), "DOSCONV CAF\x90.TXT OUTPUT\\CAF\x90.TXT");
    EXPECT_NE(ui.status.find("\"CAF\xC9.TXT\"  (same): OK\r\n"), std::string::npos);
    EXPECT_NE(platform.Content("REPORT.TXT").find("\r\nCAF\x90.TXT - CAF\xC9.TXT\r\n"), std::string::npos);
    // A short value without an OEM form reaches no DOS program: without a stand-in that file is not run.
    platform.AddFile("CAF\x80.TXT", "e");
    settings.standIns = StandInsOff;
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands.size(), 5u);
    EXPECT_NE(ui.status.find("\"CAF\x80.TXT\"  (same): Name not readable by the DOS program\r\n"), std::string::npos);
    EXPECT_EQ(platform.Content("CAF\x80.TXT"), "e");
}

TEST_F(RunBatchTest, FileNamesNeverChooseTheInterpreter) {
    // Started directly they reach the program as they are; through the
    // interpreter (a batch program) escaped, and a "%" it would expand is not run.
    platform.environment = {{"PATHEXT", ".COM;.EXE;.BAT"}};
    platform.AddFile("a&q&.txt");
    platform.AddFile("b & q & x.txt", "", "BQX~1.TXT");
    platform.AddFile("c%PATH%.txt", "", "CPATH~1.TXT");
    settings = {platform.Cwd(), "DOSCONV", "?*&*.txt", "* \"**\""};
    settings.handling = HandlingNone;
    platform.AddFile("DOSCONV.EXE");
    engine.RunBatch(settings);
    EXPECT_EQ(platform.directStarts, std::vector<std::string>(2, "DOSCONV.EXE"));
    EXPECT_EQ(platform.commands,
              (std::vector<std::string>{"DOSCONV A&Q&.TXT \"a&q&.txt\"", "DOSCONV BQX~1.TXT \"b & q & x.txt\""}));
    EXPECT_NE(ui.status.find("\"BQX~1.TXT\": OK\r\n\r\nDone"), std::string::npos) << ui.status;
    platform.RemoveFile("DOSCONV.EXE");
    platform.AddFile("DOSCONV.BAT");
    settings.files = "*%*.txt";
    platform.commands.clear();
    engine.RunBatch(settings);
    EXPECT_TRUE(platform.commands.empty()) << platform.commands.front();
    EXPECT_NE(ui.status.find("\"c%PATH%.txt\"  \"CPATH~1.TXT\": Not run: the command interpreter would change the "
                             "\"%\" in its name\r\n"),
              std::string::npos)
        << ui.status;
    settings.files = "?*&*.txt";
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands,
              (std::vector<std::string>{"DOSCONV A^&Q^&.TXT \"a&q&.txt\"", "DOSCONV BQX~1.TXT \"b & q & x.txt\""}));
}

TEST_F(RunBatchTest, TestMode) {
    // Cancel at the k-th file: nothing touched, the files that need renaming counted.
    platform.AddFile("more.txt", "", "MORE~1.TXT");
    settings.test = settings.rename = true;
    const int needRename[] = {1, 1, 2, 3};  // files 1 to k; README.TXT needs none
    for (size_t k = 1; k <= 4; ++k) {
        ui.asked.clear();
        ui.answers.assign(k - 1, Answer::Ok);
        ui.answers.push_back(Answer::Cancel);
        engine.RunBatch(settings);
        ASSERT_EQ(ui.asked.size(), k);
        EXPECT_EQ(ui.asked[0], (AskedQuestion{"ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT",
                                              "Lorvan test: \"DOSCONV\" command 1 of 4", Buttons::OkCancel}));
        EXPECT_EQ(ui.asked[k - 1].title, "Lorvan test: \"DOSCONV\" command " + std::to_string(k) + " of 4");
        std::string expected = handling;
        for (size_t i = 0; i + 1 < k; ++i) expected += fileLines[i] + std::string(": Handled\r\n");
        EXPECT_EQ(ui.status,
                  expected + "\r\n" + std::to_string(needRename[k - 1]) + " file(s) need renaming\r\n\r\nDone\r\n");
    }
    EXPECT_EQ(platform.fileOperations, 0);
    EXPECT_TRUE(platform.commands.empty());

    // Too long: told, shown whole up to 649 characters with the addition.
    settings = {platform.Cwd(), "DOSCONV", "README.TXT", std::string(120, 'x') + "*"};
    settings.test = true;
    ui.asked.clear();
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.at(0),
              (AskedQuestion{std::string(120, 'x') + "README.TXT\r\n\r\nCOMMAND STRING TOO LONG! Max "
                                                     "126 characters",
                             "Lorvan test: \"DOSCONV\" command 1 of 1", Buttons::OkCancel, Icon::Exclamation}));
    EXPECT_NE(ui.status.find("\"README.TXT\"  (same): Command string too long\r\n"), std::string::npos);
    settings.command = std::string(639, 'x') + "*";  // 649
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.at(1).text.size(), 649u + 47u);
    settings.command = std::string(640, 'x') + "*";  // 650
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.at(2).text, std::string(640, 'x') + "README.TXT");
    EXPECT_EQ(ui.asked.at(2).icon, Icon::Exclamation);
    platform.AddDirectory("Annual Report_files", "ANNUAL~2");
    settings = {platform.Cwd(), "DOSCONV", "Annual*", "*** *"};
    settings.translate = "**_files";
    settings.test = true;
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.at(3).text, "ANNUAL~2 ANNUAL~1.TXT");
    // A directory with a valid 8.3 name has no alias: its name is upper-cased, in full with Full path.
    platform.AddDirectory("rep");
    settings.translate = "rep";
    settings.fullPath = true;
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked.at(4).text, platform.Cwd() + "\\REP ANNUAL~1.TXT");

    // Run pressed from a message box's loop, and a listing asked for meanwhile: ignored.
    int nested = 0;
    settings = {platform.Cwd(), "DOSCONV", "*.txt", "* OUTPUT\\*"};
    settings.test = true;
    ui.asked.clear();
    ui.onAsk = [&] {
        ++nested;
        engine.RunBatch(settings);
        engine.RefreshFileList(settings);
    };
    engine.RunBatch(settings);
    EXPECT_EQ(nested, 4);
    EXPECT_EQ(ui.asked.size(), 4u);
    EXPECT_EQ(engine.FileCount(), 4u);
    EXPECT_FALSE(engine.IsBusy());
}

TEST_F(RunBatchTest, StopAfterTheCommandsThatRun) {
    // Stop, or end the commands that run (they hang), when a command ends
    // with k started: none starts after, the results of those that ran are
    // renamed, and the report is as at the end.
    settings.rename = true;
    const char* renames[] = {"ANNUAL~1.TXT to Annual Report.txt: OK\r\n", "", "NOTES.TXT to notes.txt: OK\r\n"};
    const auto convert = platform.onCommand;
    for (auto [atOnce, k, end] : {std::tuple{1, 1, false}, {1, 2, true}, {1, 3, false}, {3, 3, false}, {3, 3, true}}) {
        SCOPED_TRACE(std::to_string(atOnce) + " " + std::to_string(k) + (end ? " ended" : ""));
        settings.commandsAtOnce = atOnce;
        settings.handling = atOnce > 1 ? HandlingNone : HandlingNameTime;
        platform.RemoveFile("REPORT.TXT");
        const auto commandsBefore = platform.commands.size();
        During(k,
               [&, ending = end] { EXPECT_TRUE(ending ? engine.EndRunningCommands() : (engine.RequestStop(), true)); });
        ui.answers = {Answer::Yes};  // the earlier results go
        engine.RunBatch(settings);
        platform.onCommand = convert;
        EXPECT_EQ(platform.commands.size() - commandsBefore, size_t(k));
        std::string status = handling, report = reportInfo + "DOSCONV * OUTPUT\\*\r\n\r\n", renamed;
        size_t renameCount = 0;
        for (int i = 0; i < k; ++i) {
            status += fileLines[i] + std::string(end && (atOnce > 1 || i == k - 1) ? ": Ended" : ": OK") + "\r\n";
            report += ReportPart(i);
            renamed += renames[i];
            renameCount += *renames[i] != 0;
        }
        const std::string count = std::to_string(renameCount);
        EXPECT_EQ(ui.status, status + "\r\nStopped after file " + std::to_string(k) + " of 3: \"" + longNames[k - 1] +
                                 "\".\r\n\r\nRenaming files:\r\n\r\n" + renamed + "\r\n" + count + " out of " + count +
                                 " files renamed.\r\n\r\nDone\r\n");
        EXPECT_EQ(platform.Content("REPORT.TXT"), atOnce > 1 ? "" : report);
        EXPECT_TRUE(atOnce > 1 || !platform.Has("REPORT.TMP"));
        EXPECT_EQ(platform.Names("OUTPUT"), std::vector<std::string>(longNames, longNames + k));
        EXPECT_EQ(ui.progressPos, 0u);
    }
    EXPECT_EQ(platform.endedCount, 4);
    // Between runs there is nothing to stop or end, and the next run is whole.
    engine.RequestStop();
    EXPECT_FALSE(engine.EndRunningCommands());
    ui.answers = {Answer::Yes};
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status.find("Stopped"), std::string::npos);
    EXPECT_EQ(platform.Names("OUTPUT"), std::vector<std::string>(longNames, longNames + 3));
    // Stopped from a question's loop before any command: none runs, and no file is named.
    const size_t commandsBefore = platform.commands.size();
    ui.onAsk = [&] { engine.RequestStop(); };
    ui.answers = {Answer::Yes, Answer::Yes};
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands.size(), commandsBefore);
    EXPECT_EQ(ui.status.find("Stopped"), std::string::npos) << ui.status;
}

TEST_F(RunBatchTest, CommandsAtOnceEndInAnyOrderAndAreToldInFileOrder) {
    // Seven files, one never run (its line is told in its turn), one without
    // a result; the fake ends the running commands in the order a policy
    // picks. Each run equals the same run one command at a time; in a report
    // mode they go one at a time, and the status says so once.
    platform.AddFile("more.txt", "mo", "MORE~1.TXT");
    platform.AddFile("c%PATH%.txt", "pc", "CPATH~1.TXT");
    platform.AddFile("zeta.txt", "ze");
    platform.AddFile("omega.txt", "om");
    settings.rename = true;
    settings.command = "* OUTPUT\\* \"**\"";
    statusOf["README.TXT"] = 2;
    noResult.insert("MORE~1.TXT");
    platform.onCommand = [convert = platform.onCommand, this](const std::string& line) {
        platform.printed = "said by " + line.substr(8, line.find(' ', 8) - 8);  // shown beneath the lines not OK
        return convert(line);
    };
    using Policy = size_t (*)(size_t running);
    const Policy first = [](size_t) -> size_t { return 0; }, last = [](size_t n) { return n - 1; },
                 middle = [](size_t n) { return n / 2; };
    size_t most = 0;
    auto run = [&](int32_t mode, int32_t atOnce, Policy policy) {
        platform.endingNext = [&most, policy](size_t running) {
            most = std::max(most, running);
            return policy(running);
        };
        most = 0;
        settings.handling = mode;
        settings.commandsAtOnce = atOnce;
        for (const std::string& name : platform.Names("OUTPUT")) platform.RemoveFile("OUTPUT\\" + name);
        platform.RemoveFile(settings.report);
        ui.progress.clear();
        engine.RunBatch(settings);
        std::vector<std::string> output = platform.Names("OUTPUT");
        std::sort(output.begin(), output.end());  // made in the order the commands ended
        return std::tuple{ui.status, ui.progress, output, platform.Content(settings.report)};
    };
    const auto one = run(HandlingNone, 1, first);
    EXPECT_NE(std::get<0>(one).find(fileLines[1] + std::string(": Error 2\r\n    said by README.TXT\r\n") +
                                    fileLines[2] + ": OK\r\n" + fileLines[3] +
                                    ": Failed\r\n    said by MORE~1.TXT\r\n\"c%PATH%.txt\"  \"CPATH~1.TXT\": Not run"),
              std::string::npos)
        << std::get<0>(one);
    const std::string oneAtATime = "Commands run one at a time: each of them writes the one temporary report file.\r\n";
    // mode, at once, policy, most running (six of the seven files run; out of range counts as 1)
    for (auto [mode, atOnce, policy, running] : {std::tuple{HandlingNone, 2, first, 2},
                                                 {HandlingNone, 3, last, 3},
                                                 {HandlingNone, 64, middle, 6},
                                                 {HandlingNone, 0, last, 1},
                                                 {HandlingNone, commandsAtOnceRange.high + 1, last, 1},
                                                 {HandlingNameTime, 4, last, 1}}) {
        SCOPED_TRACE(std::to_string(mode) + " " + std::to_string(atOnce));
        auto expected = mode == HandlingNone ? one : run(mode, 1, first);
        const auto several = run(mode, atOnce, policy);
        if (mode != HandlingNone) std::get<0>(expected).insert(handling.size(), oneAtATime);
        EXPECT_EQ(several, expected);
        EXPECT_EQ(most, size_t(running));
    }
}

TEST_F(RunBatchTest, WhatACommandSaysAndTheTimeLimit) {
    // Shown beneath the lines not OK (in the DOS code page where not UTF-8),
    // or beneath every line; a command the time limit ended says so.
    settings.handling = HandlingNone;
    settings.timeLimit = 90;
    statusOf["README.TXT"] = 2;
    platform.onCommand = [convert = platform.onCommand, this](const std::string& line) {
        const std::map<std::string, std::string> says = {{"ANNUAL~1.TXT", "fine\r\n"},
                                                         {"README.TXT", "Bad input\r\n\x82t\x82\n\r\nusage: X"},
                                                         {"NOTES.TXT", "Overwrite (Y/N)?"}};
        const std::string input = line.substr(8, line.find(' ', 8) - 8);
        platform.printed = says.at(input);
        platform.outOfTime = input == "NOTES.TXT";
        return convert(line);
    };
    const std::string notOk =
        fileLines[1] + std::string(": Error 2\r\n    Bad input\r\n    \xE9t\xE9\r\n    \r\n    usage: X\r\n") +
        fileLines[2] + ": Out of time, ended after 0:01:30\r\n    Overwrite (Y/N)?\r\n\r\nDone\r\n";
    for (const bool all : {false, true}) {
        settings.showOutput = all;
        engine.RunBatch(settings);
        EXPECT_EQ(ui.status, handling + fileLines[0] + ": OK\r\n" + (all ? "    fine\r\n" : "") + notOk);
    }
    EXPECT_EQ(platform.timeLimit, 90u);
}
