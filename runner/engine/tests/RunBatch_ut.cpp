#include "FakePlatform.h"
#include "FakeServices.h"

#include "runner/engine/RunEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

using namespace lorvan;
using namespace std::string_literals;

namespace {

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

}  // namespace

class RunBatchTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings;
    FakeServices ui{settings};
    RunEngine engine{settings, ui, platform};
    // Exit status of the pretend DOS program by its first argument.
    std::map<std::string, int> statusOf;
    // Arguments for which it writes no result file.
    std::set<std::string> noResult;

    void SetUp() override
    {
        settings.cwd = platform.Cwd();
        settings.program = "DOSCONV";
        settings.files = "*.txt";
        settings.command = "* OUTPUT\\*";
        platform.now.tm_year = 102;
        platform.now.tm_mday = 3;
        platform.now.tm_mon = 5;
        platform.now.tm_wday = 1;
        platform.AddFile("Annual Report.txt", "ar", "ANNUAL~1.TXT");
        platform.AddFile("README.TXT", "rm");
        platform.AddFile("notes.txt", "nt");
        // DOSCONV IN OUT: copies IN to OUT and reports to REPORT.TMP.
        platform.onCommand = [this](const std::string& line) {
            std::vector<std::string> words = Words(line);
            if (words.size() >= 3 && !noResult.count(words[1]) && platform.Has("OUTPUT"))
                platform.AddFile(words[2], platform.Content(words[1]));
            if (words.size() >= 2 && !platform.Has("REPORT.TMP"))
                platform.AddFile("REPORT.TMP", "converted " + words[1] + "\r\n");
            return statusOf.count(words.at(1)) ? statusOf[words[1]] : 0;
        };
    }
};

TEST_F(RunBatchTest, NoFilesFound)
{
    settings.files = "*.none";
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "No files were found matching \"*.none\".");
    EXPECT_EQ(ui.asked[0].title, "Lorvan");
    EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.asked[0].icon, Icon::None);
    EXPECT_EQ(ui.readCount, 0);
    for (auto& list : ui.history)
        EXPECT_TRUE(list.empty());
    EXPECT_FALSE(engine.IsBusy());
    EXPECT_TRUE(platform.commands.empty());
}

TEST_F(RunBatchTest, RefusedPatternAlsoFindsNoFiles)
{
    settings.files = "sub\\*.txt";
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.asked[0].text, "Lorvan supports only the Current Working Directory as the input files directory");
    EXPECT_EQ(ui.asked[1].text, "No files were found matching \"sub\\*.txt\".");
}

TEST_F(RunBatchTest, RealRunWithoutRenameStatusLineByLine)
{
    settings.handling = HandlingNone;
    statusOf["README.TXT"] = 2;
    statusOf["NOTES.TXT"] = -1;
    engine.RunBatch();
    EXPECT_EQ(ui.status,
              "Handling commands:\r\n"
              "\r\n"
              "\"Annual Report.txt\"  \"ANNUAL~1.TXT\": OK\r\n"
              "\"README.TXT\"  (same): Error 2\r\n"
              "\"notes.txt\"  \"NOTES.TXT\": System error\r\n"
              "\r\n"
              "Done\r\n");
    EXPECT_EQ(platform.commands,
              (std::vector<std::string>{"DOSCONV ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT",
                                        "DOSCONV README.TXT OUTPUT\\README.TXT",
                                        "DOSCONV NOTES.TXT OUTPUT\\NOTES.TXT"}));
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ui.progressRange, 3u);
    EXPECT_EQ(ui.progressPos, 0u);
    EXPECT_FALSE(engine.IsBusy());
    // Mode 4: the temporary file is neither read nor deleted, no report made.
    EXPECT_TRUE(platform.Has("REPORT.TMP"));
    EXPECT_FALSE(platform.Has("REPORT.TXT"));
}

TEST_F(RunBatchTest, ErrorStatusIsUnsigned)
{
    settings.handling = HandlingNone;
    statusOf["ANNUAL~1.TXT"] = -5;
    engine.RunBatch();
    EXPECT_NE(ui.status.find("\"ANNUAL~1.TXT\": Error 4294967291\r\n"), std::string::npos);
}

TEST_F(RunBatchTest, SequenceOfTheRun)
{
    settings.rename = true;
    engine.RunBatch();
    // Listing, record read, history, output check, report, commands.
    std::vector<std::string> expected = {"SetStatus", "ReadRecord", "AddToHistory", "AddToHistory",
                                         "AddToHistory", "AddToHistory", "SetStatus", "Range 3"};
    ASSERT_GE(ui.calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(ui.calls.begin(), ui.calls.begin() + expected.size()), expected);
    EXPECT_EQ(ui.showCount, 4);  // before the loop and after each file
}

TEST_F(RunBatchTest, RealRunWithRenameAndReport)
{
    settings.rename = true;
    noResult.insert("NOTES.TXT");
    statusOf["README.TXT"] = 1;
    engine.RunBatch();
    EXPECT_EQ(ui.status,
              "Handling commands:\r\n"
              "\r\n"
              "\"Annual Report.txt\"  \"ANNUAL~1.TXT\": OK\r\n"
              "\"README.TXT\"  (same): Error 1\r\n"
              "\"notes.txt\"  \"NOTES.TXT\": Failed\r\n"
              "\r\n"
              "Renaming files:\r\n"
              "\r\n"
              "ANNUAL~1.TXT to Annual Report.txt: OK\r\n"
              "NOTES.TXT to notes.txt: Failed\r\n"
              "\r\n"
              "1 out of 2 files renamed.\r\n"
              "\r\n"
              "Done\r\n");
    EXPECT_EQ(platform.Names("OUTPUT"), (std::vector<std::string>{"Annual Report.txt", "README.TXT"}));
    EXPECT_EQ(platform.Content("OUTPUT\\Annual Report.txt"), "ar");
    EXPECT_EQ(platform.Content("REPORT.TXT"),
              "C:\\DATA\\*.txt\r\nMonday 2002-06-03 00:00:00\r\nDOSCONV * OUTPUT\\*\r\n\r\n"
              "\r\nANNUAL~1.TXT - Annual Report.txt\r\n2002-06-03 00:00:00\r\nconverted ANNUAL~1.TXT\r\n"
              "\r\nREADME.TXT - README.TXT\r\n2002-06-03 00:00:00\r\nconverted README.TXT\r\n"
              "\r\nNOTES.TXT - notes.txt\r\n2002-06-03 00:00:00\r\nconverted NOTES.TXT\r\n");
    EXPECT_FALSE(platform.Has("REPORT.TMP"));
    EXPECT_EQ(ui.progressPos, 0u);
}

TEST_F(RunBatchTest, EarlierResultsDeletedAfterQuestion)
{
    settings.rename = true;
    settings.handling = HandlingNone;
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\old.txt", "", "", AttributeHidden);
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_FALSE(platform.Has("OUTPUT\\old.txt"));
    EXPECT_EQ(platform.commands.size(), 3u);
}

TEST_F(RunBatchTest, NoToDeleteStopsBeforeReportAndCommands)
{
    settings.rename = true;
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\old.txt");
    ui.answers = {Answer::No};
    engine.RunBatch();
    EXPECT_TRUE(platform.commands.empty());
    EXPECT_FALSE(platform.Has("REPORT.TXT"));
    EXPECT_EQ(ui.status, "Checking output directory\r\n\r\nold.txt\r\n");
    EXPECT_EQ(ui.History(HistoryList::Program), std::vector<std::string>{"DOSCONV"});
    EXPECT_FALSE(engine.IsBusy());
}

TEST_F(RunBatchTest, ReportCancelStops)
{
    platform.AddFile("REPORT.TXT", "old");
    ui.answers = {Answer::Cancel};
    engine.RunBatch();
    EXPECT_TRUE(platform.commands.empty());
    EXPECT_EQ(platform.Content("REPORT.TXT"), "old");
    EXPECT_FALSE(engine.IsBusy());
}

TEST_F(RunBatchTest, TooManySymbolsAfterOutputAndReport)
{
    settings.rename = true;
    settings.handling = HandlingHtml;
    settings.report = "REPORT.LRV";
    settings.command = "* * * * * * * * * * *";
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Too many symbols in the Command string, max 10");
    EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.asked[0].icon, Icon::None);
    EXPECT_TRUE(platform.Has("OUTPUT"));
    // Closed without the closing tags.
    std::string report = platform.Content("REPORT.LRV");
    EXPECT_EQ(report.substr(report.size() - 5), "</h4>\r\n"s.substr(2));
    EXPECT_EQ(platform.Find("REPORT.LRV")->writers, 0);
    EXPECT_TRUE(platform.commands.empty());
    EXPECT_FALSE(engine.IsBusy());
    EXPECT_EQ(ui.status.find("Handling commands"), std::string::npos);
}

TEST_F(RunBatchTest, TooLongCommandNotRun)
{
    settings.command = std::string(116, 'x') + "*";  // 126 with README.TXT, 128 with ANNUAL~1.TXT
    settings.handling = HandlingFilesTime;
    platform.AddFile("REPORT.TMP", "left by someone");
    engine.RunBatch();
    EXPECT_EQ(ui.status,
              "Handling commands:\r\n\r\n"
              "\"Annual Report.txt\"  \"ANNUAL~1.TXT\": Cmd too long\r\n"
              "\"README.TXT\"  (same): OK\r\n"
              "\"notes.txt\"  \"NOTES.TXT\": OK\r\n"
              "\r\nDone\r\n");
    ASSERT_EQ(platform.commands.size(), 2u);
    EXPECT_EQ(platform.commands[0].size(), 8u + 126u);
}

TEST_F(RunBatchTest, PercentReachesSystemDoubled)
{
    settings.handling = HandlingNone;
    settings.program = "P%1";
    settings.command = "100%% %PATH% *";
    engine.RunBatch();
    EXPECT_EQ(platform.commands.at(0), "P%%1 100%% %%PATH%% ANNUAL~1.TXT");
}

TEST_F(RunBatchTest, OemShortValueInCommandResultCheckAndReport)
{
    platform.AddFile("CAF\xC9.TXT", "c");  // a valid 8.3 name in the ANSI code page
    settings.files = "CAF*.TXT";
    settings.rename = true;
    engine.RunBatch();
    EXPECT_EQ(platform.commands.at(0), "DOSCONV CAF\x90.TXT OUTPUT\\CAF\x90.TXT");
    EXPECT_NE(ui.status.find("\"CAF\xC9.TXT\"  (same): OK\r\n"), std::string::npos);
    EXPECT_NE(platform.Content("REPORT.TXT").find("\r\nCAF\x90.TXT - CAF\xC9.TXT\r\n"), std::string::npos);
}

TEST_F(RunBatchTest, HistoryAddedOnceInOrder)
{
    settings.handling = HandlingNone;
    engine.RunBatch();
    engine.RunBatch();
    EXPECT_EQ(ui.History(HistoryList::Program), std::vector<std::string>{"DOSCONV"});
    EXPECT_EQ(ui.History(HistoryList::Files), std::vector<std::string>{"*.txt"});
    EXPECT_EQ(ui.History(HistoryList::Command), std::vector<std::string>{"* OUTPUT\\*"});
    EXPECT_EQ(ui.History(HistoryList::Translate), std::vector<std::string>{""});
}

TEST_F(RunBatchTest, ControlsAreReadAfterTheListing)
{
    // The listing uses the record as it stands; the run uses what the controls hold.
    RunSettings controls = settings;
    controls.files = "*.none";
    controls.test = true;
    ui.controls = controls;
    engine.RunBatch();
    EXPECT_EQ(engine.FileCount(), 3u);
    EXPECT_EQ(ui.asked.size(), 3u);  // Test mode, from the controls
    EXPECT_TRUE(platform.commands.empty());
}

TEST_F(RunBatchTest, TestModeCancelAtKthFile)
{
    platform.AddFile("more.txt", "", "MORE~1.TXT");
    settings.test = true;
    settings.rename = true;
    for (int k = 1; k <= 4; ++k) {
        ui.asked.clear();
        ui.answers.assign(k - 1, Answer::Ok);
        ui.answers.push_back(Answer::Cancel);
        int before = platform.fileOperations;
        engine.RunBatch();
        ASSERT_EQ(ui.asked.size(), size_t(k));
        EXPECT_EQ(ui.asked[0].title, "Lorvan test: \"DOSCONV\" command 1 of 4");
        EXPECT_EQ(ui.asked[k - 1].title, "Lorvan test: \"DOSCONV\" command " + std::to_string(k) + " of 4");
        EXPECT_EQ(ui.asked[0].text, "ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT");
        EXPECT_EQ(ui.asked[0].buttons, Buttons::OkCancel);
        EXPECT_EQ(ui.asked[0].icon, Icon::None);
        const char* lines[] = {"\"Annual Report.txt\"  \"ANNUAL~1.TXT\": Handled\r\n",
                               "\"README.TXT\"  (same): Handled\r\n",
                               "\"notes.txt\"  \"NOTES.TXT\": Handled\r\n"};
        std::string expected = "Handling commands:\r\n\r\n";
        for (int i = 0; i < k - 1; ++i)
            expected += lines[i];
        const int needRename[] = {1, 1, 2, 3};  // files 1 to k; README.TXT needs none
        expected += "\r\n";
        expected += std::to_string(needRename[k - 1]);
        expected += " file(s) need renaming\r\n\r\nDone\r\n";
        EXPECT_EQ(ui.status, expected) << k;
        EXPECT_EQ(platform.fileOperations, before);
        EXPECT_TRUE(platform.commands.empty());
        EXPECT_FALSE(platform.Has("OUTPUT"));
        EXPECT_FALSE(engine.IsBusy());
    }
}

TEST_F(RunBatchTest, TestModeTooLong)
{
    settings.test = true;
    settings.handling = HandlingNone;
    settings.files = "README.TXT";
    settings.command = std::string(120, 'x') + "*";
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, std::string(120, 'x') + "README.TXT\r\n\r\nCOMMAND STRING TOO LONG! Max 126 characters");
    EXPECT_EQ(ui.asked[0].icon, Icon::Exclamation);
    EXPECT_NE(ui.status.find("\"README.TXT\"  (same): Command string too long\r\n"), std::string::npos);

    // 650 characters or more: shown without the addition.
    ui.asked.clear();
    settings.command = std::string(639, 'x') + "*";  // 649
    engine.RunBatch();
    EXPECT_EQ(ui.asked.at(0).text.size(), 649u + 47u);
    ui.asked.clear();
    settings.command = std::string(640, 'x') + "*";  // 650
    engine.RunBatch();
    EXPECT_EQ(ui.asked.at(0).text, std::string(640, 'x') + "README.TXT");
    EXPECT_EQ(ui.asked.at(0).icon, Icon::Exclamation);
}

TEST_F(RunBatchTest, TestModeTranslateValueWorkedOut)
{
    platform.AddDirectory("Annual Report_files", "ANNUAL~2");
    settings.test = true;
    settings.files = "Annual*";
    settings.translate = "**_files";
    settings.command = "*** *";
    engine.RunBatch();
    EXPECT_EQ(ui.asked.at(0).text, "ANNUAL~2 ANNUAL~1.TXT");
}

TEST_F(RunBatchTest, SecondRunWhileBusyIsIgnored)
{
    settings.test = true;
    int nested = 0;
    ui.onAsk = [&](const AskedQuestion&) {
        ++nested;
        engine.RunBatch();        // e.g. Run pressed from a message box's loop
        engine.RefreshFileList(); // a listing asked for meanwhile
    };
    engine.RunBatch();
    EXPECT_EQ(nested, 3);
    EXPECT_EQ(ui.asked.size(), 3u);
    EXPECT_EQ(engine.FileCount(), 3u);
    EXPECT_FALSE(engine.IsBusy());
}

TEST_F(RunBatchTest, StoppedRunKeepsProgress)
{
    settings.rename = true;
    ui.progressPos = 7;
    platform.AddFile("OUTPUT");
    engine.RunBatch();
    EXPECT_EQ(ui.progressPos, 7u);
}

TEST_F(RunBatchTest, ProgressRangeBeyondSixteenBits)
{
    FakePlatform many("C:\\MANY");
    for (int i = 0; i < 70000; ++i)
        many.AddFile(std::string("F").append(std::to_string(i)).append(".TXT"));
    RunSettings s = settings;
    s.cwd = many.Cwd();
    s.test = true;
    FakeServices services(s);
    services.answers = {Answer::Cancel};
    RunEngine big(s, services, many);
    big.RunBatch();
    EXPECT_EQ(services.progressRange, 70000u);
    EXPECT_NE(services.calls.end(), std::find(services.calls.begin(), services.calls.end(), "Range 70000"));
}

TEST_F(RunBatchTest, NoSymbolSetSelectedMakesTheTemplateLiteral)
{
    settings.symbols = -1;
    settings.handling = HandlingNone;
    engine.RunBatch();
    EXPECT_EQ(platform.commands.at(0), "DOSCONV * OUTPUT\\*");
}

TEST_F(RunBatchTest, FailingReportWritesAreToldAndTheRunGoesOn)
{
    settings.handling = HandlingHtml;
    settings.report = "REPORT.LRV";
    auto command = platform.onCommand;
    platform.onCommand = [&](const std::string& line) {
        platform.Find("REPORT.LRV")->failWrite = true;  // e.g. the disk is full now
        return command(line);
    };
    engine.RunBatch();
    // One failed write per command's content, and the closing texts.
    ASSERT_EQ(ui.asked.size(), 4u);
    for (const AskedQuestion& q : ui.asked)
        EXPECT_EQ(q.text, "Writing to the Report file failed");
    EXPECT_EQ(platform.commands.size(), 3u);
    EXPECT_NE(ui.status.find("\r\nDone\r\n"), std::string::npos);
    EXPECT_FALSE(platform.Has("REPORT.TMP"));
}

TEST_F(RunBatchTest, TranslateValueInARealRun)
{
    platform.AddDirectory("Annual Report_files", "ANNUAL~2");
    settings.handling = HandlingNone;
    settings.files = "Annual*";
    settings.translate = "**_files";
    settings.command = "* ***\\INDEX.HTM";
    engine.RunBatch();
    EXPECT_EQ(platform.commands.at(0), "DOSCONV ANNUAL~1.TXT ANNUAL~2\\INDEX.HTM");
    settings.files = "README.TXT";
    engine.RunBatch();
    EXPECT_EQ(platform.commands.at(1), "DOSCONV README.TXT _No_t_d_\\INDEX.HTM");
}
