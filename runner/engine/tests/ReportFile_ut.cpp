#include "FakePlatform.h"
#include "FakeServices.h"

#include "runner/engine/ReportFile.h"

#include <gtest/gtest.h>

using namespace lorvan;

namespace {

std::tm MondayMorning()
{
    std::tm t{};
    t.tm_year = 102;
    t.tm_mon = 5;
    t.tm_mday = 3;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_wday = 1;
    return t;
}

const std::string textInfo = "C:\\DATA\\*.txt\r\nMonday 2002-06-03 14:05:09\r\nDOSCONV * OUTPUT\\*\r\n\r\n";
const std::string htmlHead =
    "<html><head><title>Lorvan *.txt</title>\r\n"
    "<base target=\"lorvan\">\r\n"
    "<style><!-- h2, h3 {margin: 0} h4 {margin-top: 0} --></style>\r\n"
    "</head>\r\n"
    "<body bgcolor=\"#F0F0F0\">\r\n"
    "<h2 align=\"center\">C:\\DATA\\*.txt</h2>\r\n"
    "<h3 align=\"center\">Monday 2002-06-03 14:05:09</h3>\r\n"
    "<h4 align=\"center\">DOSCONV * OUTPUT\\*</h4>\r\n";
const std::string separator = "\r\n================================\r\n\r\n";

}  // namespace

class ReportTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings;
    FakeServices ui{settings};

    void SetUp() override
    {
        platform.now = MondayMorning();
        settings.cwd = platform.Cwd();
        settings.files = "*.txt";
        settings.program = "DOSCONV";
        settings.command = "* OUTPUT\\*";
    }

    // One run: open, one command report per (short, long, content), close.
    std::string Run(std::vector<std::tuple<std::string, std::string, std::string>> outputs)
    {
        ReportFile report(settings, ui, platform);
        if (!report.OpenReport())
            return "refused";
        for (auto& [shortValue, longName, content] : outputs) {
            platform.AddFile(report.TemporaryName(), content);
            report.CollectCommandReport(shortValue, longName);
            EXPECT_FALSE(platform.Has(report.TemporaryName()));
        }
        report.CloseReport();
        return platform.Has(settings.report) ? platform.Content(settings.report) : "deleted";
    }
};

TEST_F(ReportTest, TemporaryNames)
{
    auto name = [&](const char* report, const char* ext) {
        settings.report = report;
        settings.tempExt = ext;
        std::string temporary;
        return TemporaryReportName(settings, platform, temporary) ? temporary : "refused";
    };
    EXPECT_EQ(name("REPORT.TXT", ".TMP"), "REPORT.TMP");
    EXPECT_EQ(name("REPORT", ".TMP"), "REPORT.TMP");
    EXPECT_EQ(name("OLD.DIR\\REPORT", ".TMP"), "OLD.DIR\\REPORT.TMP");
    EXPECT_EQ(name("a.b.c", ".T"), "a.b.T");
    EXPECT_EQ(name("REPORT.TMP", ".tmp"), "refused");
    EXPECT_EQ(name("R.\xE9", ".\xC9"), "refused");  // ignoring case in the code page
}

TEST_F(ReportTest, EqualExtensionsRefusedBeforeAnythingIsOpened)
{
    settings.report = "REPORT.TMP";
    settings.tempExt = ".tmp";
    platform.AddFile("REPORT.tmp", "old");
    EXPECT_EQ(Run({}), "refused");
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "The Report and Temporary files' extensions must be different");
    EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.asked[0].icon, Icon::None);
    EXPECT_EQ(platform.Content("REPORT.TMP"), "old");
}

TEST_F(ReportTest, ModeZeroByteForByte)
{
    std::string report = Run({{"ANNUAL~1.TXT", "Annual Report.txt", "line one\r\n"},
                              {"EMPTY.TXT", "empty.txt", ""},
                              {"B.TXT", "B.TXT", "bee"}});
    EXPECT_EQ(report, textInfo +
                          "\r\nANNUAL~1.TXT - Annual Report.txt\r\n2002-06-03 14:05:09\r\nline one\r\n"
                          "\r\nB.TXT - B.TXT\r\n2002-06-03 14:05:09\r\nbee");
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(platform.Find("REPORT.TXT")->attributes & AttributeArchive, AttributeArchive);
}

TEST_F(ReportTest, ModeZeroWithoutRunInformation)
{
    settings.handling0 = true;
    EXPECT_EQ(Run({{"A.TXT", "a.txt", "x"}}), "\r\nA.TXT - a.txt\r\n2002-06-03 14:05:09\r\nx");
}

TEST_F(ReportTest, ModeZeroWithoutRunInformationNorOutputIsDeleted)
{
    settings.handling0 = true;
    EXPECT_EQ(Run({{"A.TXT", "a.txt", ""}}), "deleted");
}

TEST_F(ReportTest, ModeOneContentsBackToBack)
{
    settings.handling = HandlingFilesTime;
    settings.handling0 = true;  // no effect in mode 1
    EXPECT_EQ(Run({{"A.TXT", "a.txt", "one\r\n"}, {"B.TXT", "b.txt", "two"}}), textInfo + "one\r\ntwo");
}

TEST_F(ReportTest, ModeTwoHtml)
{
    settings.handling = HandlingHtml;
    settings.report = "REPORT.LRV";
    EXPECT_EQ(Run({{"A.TXT", "a.txt", "<p>one</p>"}}), htmlHead + "<p>one</p>\r\n</body>\r\n</html>");
    EXPECT_EQ(platform.Find("REPORT.TMP"), nullptr);
}

TEST_F(ReportTest, ModeThreeHtmlTable)
{
    settings.handling = HandlingHtmlTable;
    settings.report = "REPORT.LRV";
    EXPECT_EQ(Run({{"A.TXT", "a.txt", "<tr><td>1</td></tr>"}}),
              htmlHead + "<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\r\n" +
                  "<tr><td>1</td></tr>\r\n</table>\r\n</body>\r\n</html>");
}

TEST_F(ReportTest, NoModeSelected)
{
    settings.handling = -1;
    platform.AddFile("REPORT.TXT", "old");
    EXPECT_EQ(Run({{"A.TXT", "a.txt", "x"}, {"B.TXT", "b.txt", "y"}}), "xy");
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].buttons, Buttons::YesNoCancel);
}

TEST_F(ReportTest, ExistingReportTextModesAskYesNoCancel)
{
    for (int mode : {0, 1}) {
        settings.handling = mode;
        platform.RemoveFile("REPORT.TXT");
        platform.AddFile("REPORT.TXT", "old");
        ui.asked.clear();
        ui.answers = {Answer::No};
        EXPECT_EQ(Run({{"A.TXT", "a.txt", "x"}}),
                  "old" + separator + textInfo + (mode == 0 ? "\r\nA.TXT - a.txt\r\n2002-06-03 14:05:09\r\n" : "") + "x");
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text, "Report file already exists, delete?\r\n\r\n(Yes = delete, No = append)");
        EXPECT_EQ(ui.asked[0].title, "Lorvan");
        EXPECT_EQ(ui.asked[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(ui.asked[0].icon, Icon::Question);

        ui.answers = {Answer::Yes};
        EXPECT_EQ(Run({}), textInfo);
    }
}

TEST_F(ReportTest, AppendWithoutRunInformationKeepsSeparator)
{
    settings.handling0 = true;
    platform.AddFile("REPORT.TXT", "old");
    ui.answers = {Answer::No};
    EXPECT_EQ(Run({}), "old" + separator);
}

TEST_F(ReportTest, CancelLeavesReportUnchanged)
{
    platform.AddFile("REPORT.TXT", "old");
    platform.AddFile("REPORT.TMP", "stale");
    ui.answers = {Answer::Cancel};
    EXPECT_EQ(Run({}), "refused");
    EXPECT_EQ(platform.Content("REPORT.TXT"), "old");
    EXPECT_EQ(platform.Find("REPORT.TXT")->writers, 0);
    EXPECT_FALSE(platform.Has("REPORT.TMP"));  // deleted before the question, stays deleted
}

TEST_F(ReportTest, HtmlModesNeverOfferToAppend)
{
    settings.report = "REPORT.LRV";
    for (int mode : {2, 3}) {
        settings.handling = mode;
        platform.RemoveFile("REPORT.LRV");
        platform.AddFile("REPORT.LRV", "old");
        ui.asked.clear();
        std::string report = Run({});
        EXPECT_EQ(report.substr(0, 6), "<html>");
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text, "Report file already exists, delete?");
        EXPECT_EQ(ui.asked[0].buttons, Buttons::OkCancel);
        EXPECT_EQ(ui.asked[0].icon, Icon::Question);
    }
}

TEST_F(ReportTest, CannotCreate)
{
    settings.report = "NODIR\\REPORT.TXT";
    EXPECT_EQ(Run({}), "refused");
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Cannot create Report file");
    EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.asked[0].icon, Icon::None);
}

TEST_F(ReportTest, HeldOpenByAnotherWriterCannotBeCreated)
{
    platform.AddFile("REPORT.TXT", "old");
    auto other = platform.OpenForWriting("REPORT.TXT");
    EXPECT_EQ(Run({}), "refused");
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Cannot create Report file");
}

TEST_F(ReportTest, ReadOnlyReportCannotBeCreated)
{
    platform.AddFile("REPORT.TXT", "old", "", AttributeReadOnly);
    EXPECT_EQ(Run({}), "refused");
    EXPECT_EQ(ui.asked.at(0).text, "Cannot create Report file");
}

TEST_F(ReportTest, BlocksOfExactly1024Bytes)
{
    settings.handling = HandlingFilesTime;
    std::string exact(1024, 'e');
    std::string longer(2500, 'l');
    for (size_t i = 0; i < longer.size(); ++i)
        longer[i] = static_cast<char>(i % 251);
    EXPECT_EQ(Run({{"A", "a", exact}, {"B", "b", longer}}), textInfo + exact + longer);
}

TEST_F(ReportTest, DriveRootDoublesTheBackslash)
{
    FakePlatform root("C:\\");
    root.now = MondayMorning();
    settings.cwd = "C:\\";
    ReportFile report(settings, ui, root);
    ASSERT_TRUE(report.OpenReport());
    report.CloseReport();
    EXPECT_EQ(root.Content("C:\\REPORT.TXT").substr(0, 12), "C:\\\\*.txt\r\nM");
}

TEST_F(ReportTest, NoTemporaryFileWritesNothing)
{
    settings.handling0 = true;
    ReportFile report(settings, ui, platform);
    ASSERT_TRUE(report.OpenReport());
    report.CollectCommandReport("A.TXT", "a.txt");
    report.CloseReport();
    EXPECT_FALSE(platform.Has("REPORT.TXT"));
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(ReportTest, TemporaryFileHeldByAnotherProgramIsLeft)
{
    ReportFile report(settings, ui, platform);
    ASSERT_TRUE(report.OpenReport());
    platform.AddFile("REPORT.TMP", "x");
    auto other = platform.OpenForWriting("REPORT.TMP");
    report.CollectCommandReport("A.TXT", "a.txt");
    EXPECT_TRUE(platform.Has("REPORT.TMP"));
    report.CloseReport();
    EXPECT_EQ(platform.Content("REPORT.TXT"), textInfo);
}

TEST_F(ReportTest, EveryFailedWriteIsTold)
{
    settings.handling = HandlingHtmlTable;
    ReportFile report(settings, ui, platform);
    ASSERT_TRUE(report.OpenReport());
    platform.Find("REPORT.TXT")->failWrite = true;
    platform.AddFile("REPORT.TMP", std::string(1500, 'x'));
    report.CollectCommandReport("A.TXT", "a.txt");  // two blocks: two writes
    report.CloseReport();                          // the closing: one write
    ASSERT_EQ(ui.asked.size(), 3u);
    for (const AskedQuestion& q : ui.asked) {
        EXPECT_EQ(q.text, "Writing to the Report file failed");
        EXPECT_EQ(q.title, "Lorvan");
        EXPECT_EQ(q.buttons, Buttons::Ok);
        EXPECT_EQ(q.icon, Icon::Exclamation);
    }
    EXPECT_FALSE(platform.Has("REPORT.TMP"));
}

TEST(TimeTexts, Formats)
{
    std::tm t = MondayMorning();
    EXPECT_EQ(RunTimeText(t), "Monday 2002-06-03 14:05:09");
    EXPECT_EQ(FileTimeText(t), "2002-06-03 14:05:09");
}
