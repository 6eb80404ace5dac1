#include "EngineTest.h"

#include "runner/engine/ReportFile.h"

#include <gtest/gtest.h>

using namespace runner;

namespace {

const std::string runTime = "Monday 2002-06-03 14:05:09";
const std::string textInfo = "C:\\DATA\\*.txt\r\n" + runTime + "\r\nDOSCONV * OUTPUT\\*\r\n\r\n";
const std::string htmlHead =
    "<html><head><meta charset=\"utf-8\">\r\n<title>Lorvan *.txt</title>\r\n<base target=\"lorvan\">\r\n<style><!-- "
    "h2, h3 {margin: 0} h4 {margin-top: 0} --></style>\r\n</head>\r\n<body bgcolor=\"#F0F0F0\">\r\n<h2 "
    "align=\"center\">C:\\DATA\\*.txt</h2>\r\n<h3 align=\"center\">" +
    runTime + "</h3>\r\n<h4 align=\"center\">DOSCONV * OUTPUT\\*</h4>\r\n";
const std::string htmlEnd = "\r\n</body>\r\n</html>";
const std::string separator = "\r\n================================\r\n\r\n";
const std::string stamp = "\r\n2002-06-03 14:05:09\r\n";

using Outputs = std::vector<std::tuple<std::string, std::string, std::string>>;

}  // namespace

class ReportTest : public EngineTest {
protected:
    void SetUp() override { platform.now = {9, 5, 14, 3, 5, 102, 1}; }  // Monday 2002-06-03 14:05:09

    // One run: open, one command report per (short, long, content), close.
    std::string Run(const Outputs& outputs) {
        ReportFile report(settings, ui, platform);
        if (!report.OpenReport()) return "refused";
        std::string temporary;
        TemporaryReportName(settings, platform, temporary);
        for (auto& [shortValue, longName, content] : outputs) {
            platform.AddFile(temporary, content);
            report.CollectCommandReport(shortValue, longName);
            EXPECT_FALSE(platform.Has(temporary));
        }
        report.CloseReport();
        return platform.Has(settings.report) ? platform.Content(settings.report) : "deleted";
    }
    void OldReport(const char* name, const char* content = "old", uint32_t attributes = text::AttributeArchive) {
        settings.report = name;
        platform.RemoveFile(name);
        platform.AddFile(name, content, "", attributes);
    }
};

TEST_F(ReportTest, TemporaryNames) {
    // "/" is a separator too; case is ignored in the code page.
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"REPORT", ".TMP", "REPORT.TMP"},
        {"OLD.DIR\\REPORT", ".TMP", "OLD.DIR\\REPORT.TMP"},
        {"OLD.DIR/R.B.TXT", ".T", "OLD.DIR/R.B.T"},
        {"REPORT.TMP", ".tmp", "refused"},
        {"R.\xE9", ".\xC9", "refused"}};
    for (auto [report, ext, expected] : rows) {
        settings.report = report;
        settings.tempExt = ext;
        std::string temporary;
        EXPECT_EQ(TemporaryReportName(settings, platform, temporary) ? temporary : "refused", expected) << report;
    }

    // The user's own OLD.TMP is neither deleted nor taken for the temporary file.
    platform.AddDirectory("OLD.DIR");
    OldReport("OLD.TMP", "mine");
    settings.report = "OLD.DIR/REPORT";
    settings.handling = HandlingFilesTime;
    EXPECT_EQ(Run({{"A.TXT", "a.txt", "out"}}), textInfo + "out");
    EXPECT_EQ(platform.Content("OLD.TMP"), "mine");

    // Refused before anything is opened.
    settings.tempExt = ".tmp";
    OldReport("REPORT.TMP");
    EXPECT_EQ(Run({}), "refused");
    EXPECT_EQ(ui.asked, std::vector<AskedQuestion>{{"The Report and Temporary files' extensions must be different"}});
    EXPECT_EQ(platform.Content("REPORT.TMP"), "old");
}

TEST_F(ReportTest, EveryHandlingModeByteForByte) {
    const std::string table = "<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\r\n";
    // handling, without run information, report, outputs, the report's bytes; output that is not
    // UTF-8 is in the DOS code page: converted, each command's on its own.
    const std::tuple<int, bool, const char*, Outputs, std::string> rows[] = {
        {0,
         false,
         "REPORT.TXT",
         {{"A~1.TXT", "A b.txt", "one\r\n"}, {"E.TXT", "e.txt", ""}, {"B.TXT", "b", "b"}},
         textInfo + "\r\nA~1.TXT - A b.txt" + stamp + "one\r\n\r\nB.TXT - b" + stamp + "b"},
        {0, true, "REPORT.TXT", {{"A.TXT", "a.txt", "x"}}, "\r\nA.TXT - a.txt" + stamp + "x"},
        {0, true, "REPORT.TXT", {{"A.TXT", "a.txt", ""}}, "deleted"},  // nothing written
        {1, true, "REPORT.TXT", {{"A.TXT", "a.txt", "one\r\n"}, {"B.TXT", "b.txt", "two"}}, textInfo + "one\r\ntwo"},
        {1, false, "REPORT.TXT", {{"A", "a", "\x82"}, {"B", "b", "\xC3\xA9"}}, textInfo + "\xE9\xC3\xA9"},
        {2, false, "REPORT.LRV", {{"A.TXT", "a.txt", "<p>one</p>"}}, htmlHead + "<p>one</p>" + htmlEnd},
        {3, false, "REPORT.LRV", {{"A", "a", "<tr></tr>"}}, htmlHead + table + "<tr></tr>\r\n</table>" + htmlEnd},
        {-1, false, "REPORT.TXT", {{"A.TXT", "a.txt", "x"}, {"B.TXT", "b.txt", "y"}}, "xy"}};
    platform.charset = "utf-8";  // the HTML report says its code page
    for (const auto& [handling, withoutInformation, report, outputs, expected] : rows) {
        settings.handling = handling;
        settings.nameTimeWithoutRunInformation = withoutInformation;
        settings.report = report;
        platform.RemoveFile(report);
        EXPECT_EQ(Run(outputs), expected) << handling << " " << withoutInformation;
    }
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(platform.Find("REPORT.TXT")->attributes & text::AttributeArchive, text::AttributeArchive);

    // The bytes taken for UTF-8, and those that are not (a DOS letter, cut
    // short, no continuation, overlong, a surrogate, past U+10FFFF).
    for (std::string_view bytes : {"", "plain\r\n\x7F", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(IsAsciiOrUtf8(bytes)) << bytes;
    for (std::string_view bytes : {"caf\x82", "\xC3", "\xE2\x82", "\xC3(", "\xC0\x80", "\xE0\x9F\xBF",
                                   "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80"})
        EXPECT_FALSE(IsAsciiOrUtf8(bytes)) << bytes;
}

TEST_F(ReportTest, ExistingReportDeletedOrAppended) {
    for (int mode : {-1, 0, 1}) {
        settings.handling = mode;
        OldReport("REPORT.TXT");
        ui.asked.clear();
        ui.answers = {Answer::No};
        EXPECT_EQ(Run({{"A.TXT", "a.txt", "x"}}), "old" + separator + (mode < 0 ? "" : textInfo) +
                                                      (mode == 0 ? "\r\nA.TXT - a.txt" + stamp : "") + "x");
        EXPECT_EQ(ui.asked,
                  (std::vector<AskedQuestion>{{"Report file already exists, delete?\r\n\r\n(Yes = delete, No = append)",
                                               "Lorvan", Buttons::YesNoCancel, Icon::Question}}));
        ui.answers = {Answer::Yes};
        EXPECT_EQ(Run({}), mode < 0 ? "deleted" : textInfo);
    }
    // The HTML modes never offer to append.
    for (int mode : {2, 3}) {
        settings.handling = mode;
        OldReport("REPORT.LRV");
        ui.asked.clear();
        EXPECT_EQ(Run({}).substr(0, 6), "<html>");
        EXPECT_EQ(ui.asked, (std::vector<AskedQuestion>{
                                {"Report file already exists, delete?", "Lorvan", Buttons::OkCancel, Icon::Question}}));
    }
    // Cancel: the report stays as it is.
    OldReport("REPORT.TXT");
    ui.answers = {Answer::Cancel};
    EXPECT_EQ(Run({}), "refused");
    EXPECT_EQ(platform.Content("REPORT.TXT"), "old");
    EXPECT_EQ(platform.Find("REPORT.TXT")->writers, 0);
}

TEST_F(ReportTest, CannotCreate) {
    OldReport("RO.TXT", "old", text::AttributeReadOnly);
    EXPECT_EQ(Run({}), "refused");
    EXPECT_EQ(ui.asked, std::vector<AskedQuestion>{{"Cannot create Report file"}});
}

TEST_F(ReportTest, TemporaryFilesAndFailedWrites) {
    settings.handling = HandlingHtmlTable;
    ReportFile report(settings, ui, platform);
    ASSERT_TRUE(report.OpenReport());
    report.CollectCommandReport("A.TXT", "a.txt");  // none written: nothing happens

    // Every failed write is told; the output that did not reach the report
    // is kept out of the next command's way, and the status window says where.
    platform.Find("REPORT.TXT")->failWrite = true;
    platform.AddFile("REPORT-1.TMP", "the user's");
    for (const char* output : {"first", "second"}) {
        platform.AddFile("REPORT.TMP", output + std::string(1500, 'x'));
        report.CollectCommandReport("A.TXT", "a.txt");  // two blocks, written at once: told once
    }
    // The last kept name is used; with every one taken, the output stays
    // where the command wrote it.
    for (int n = 4; n < 999; ++n) platform.AddFile("REPORT-" + std::to_string(n) + ".TMP");
    for (const char* output : {"third", "fourth"}) {
        platform.AddFile("REPORT.TMP", output);
        report.CollectCommandReport("A.TXT", "a.txt");
    }
    report.CloseReport();  // the closing: one write
    EXPECT_EQ(ui.asked, std::vector<AskedQuestion>(
                            5, {"Writing to the Report file failed", "Lorvan", Buttons::Ok, Icon::Exclamation}));
    EXPECT_EQ(platform.Content("REPORT-999.TMP") + platform.Content("REPORT.TMP"), "thirdfourth");
    EXPECT_EQ(platform.Content("REPORT-1.TMP"), "the user's");
    EXPECT_EQ(platform.Content("REPORT-2.TMP"), "first" + std::string(1500, 'x'));
    EXPECT_EQ(platform.Content("REPORT-3.TMP"), "second" + std::string(1500, 'x'));
    EXPECT_EQ(ui.status,
              "Its report output is kept in REPORT-2.TMP\r\nIts report output is kept in REPORT-3.TMP\r\n"
              "Its report output is kept in REPORT-999.TMP\r\nIts report output is left in REPORT.TMP\r\n");
}
