#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <gtest/gtest.h>

using namespace lorvan;

namespace {

RunSettings Filled()
{
    RunSettings s;
    s.program = "DOSCONV";
    s.files = "*.txt";
    s.command = "* OUTPUT\\*";
    return s;
}

}  // namespace

TEST(RunSettings, StartValues)
{
    RunSettings s;
    EXPECT_EQ(s.output, "OUTPUT");
    EXPECT_EQ(s.report, "REPORT.TXT");
    EXPECT_EQ(s.tempExt, ".TMP");
    EXPECT_EQ(s.handling, 0);
    EXPECT_EQ(s.symbols, 0);
    EXPECT_FALSE(s.rename || s.test || s.fullPath || s.handling0);
}

TEST(RunSettings, RunnableNeedsProgramFilesAndCommand)
{
    RunSettings s;
    EXPECT_FALSE(IsRunnable(s));
    s = Filled();
    EXPECT_TRUE(IsRunnable(s));
    for (std::string RunSettings::*field : {&RunSettings::program, &RunSettings::files, &RunSettings::command}) {
        RunSettings t = Filled();
        (t.*field).clear();
        EXPECT_FALSE(IsRunnable(t));
        (t.*field).assign(1, ' ');  // one space is not empty
        EXPECT_TRUE(IsRunnable(t));
    }
}

TEST(RunSettings, OutputNeededOnlyWithRename)
{
    RunSettings s = Filled();
    s.output = "";
    EXPECT_TRUE(IsRunnable(s));
    s.rename = true;
    EXPECT_FALSE(IsRunnable(s));
}

TEST(RunSettings, ReportAndTempExtNeededBelowModeFour)
{
    RunSettings s = Filled();
    s.handling = HandlingNone;
    s.report = "";
    s.tempExt = "";
    EXPECT_TRUE(IsRunnable(s));
    EXPECT_TRUE(IsTempExtAcceptable(s));
    s.tempExt = "TMP";
    EXPECT_TRUE(IsTempExtAcceptable(s));
    for (int h : {-1, 0, 1, 2, 3}) {
        RunSettings t = Filled();
        t.handling = h;
        EXPECT_TRUE(IsRunnable(t));
        t.report.clear();
        EXPECT_FALSE(IsRunnable(t)) << h;
        t.report.assign(1, 'R');
        t.tempExt.clear();
        EXPECT_FALSE(IsRunnable(t)) << h;
    }
}

TEST(RunSettings, TranslateAndFullPathNeverAffectRunnable)
{
    RunSettings s = Filled();
    s.translate = "C:\\X";
    s.symbols = -1;
    s.test = true;
    s.fullPath = true;
    EXPECT_TRUE(IsRunnable(s));
}

TEST(RunSettings, TempExtRule)
{
    RunSettings s = Filled();
    auto ok = [&](const char* ext) {
        s.tempExt = ext;
        return IsTempExtAcceptable(s);
    };
    EXPECT_TRUE(ok(""));
    EXPECT_FALSE(ok("."));
    EXPECT_TRUE(ok(".T"));
    EXPECT_TRUE(ok(".TMP"));
    EXPECT_FALSE(ok("TMP"));
    EXPECT_FALSE(ok("X.TM"));
    s.handling = -1;
    EXPECT_FALSE(ok("TMP"));
}

TEST(RunSettings, TranslateFlags)
{
    RunSettings s;
    auto flags = [&](const char* t) {
        s.translate = t;
        return std::make_pair(IsTranslateOn(s), IsTranslateAbsolute(s));
    };
    EXPECT_EQ(flags(""), std::make_pair(false, false));
    EXPECT_EQ(flags(" "), std::make_pair(false, false));
    EXPECT_EQ(flags("  "), std::make_pair(true, false));
    EXPECT_EQ(flags("\tX"), std::make_pair(false, false));
    EXPECT_EQ(flags("C:\\T"), std::make_pair(true, true));
    EXPECT_EQ(flags("\\T"), std::make_pair(true, true));
    EXPECT_EQ(flags("D:"), std::make_pair(true, true));
    EXPECT_EQ(flags("T\\X"), std::make_pair(true, false));
    EXPECT_EQ(flags("\xE9t\xE9"), std::make_pair(true, false));  // above 127 sorts after the space
}

TEST(RunSettings, PathSeparatorAndBlank)
{
    EXPECT_TRUE(HasPathSeparator("a:b"));
    EXPECT_TRUE(HasPathSeparator("a\\b"));
    EXPECT_FALSE(HasPathSeparator("a/b*.txt"));
    EXPECT_TRUE(HasAnySeparator("a/b*.txt"));
    EXPECT_TRUE(HasAnySeparator("a\\b"));
    EXPECT_FALSE(HasAnySeparator("a b*.txt"));
    EXPECT_TRUE(IsBlankEntry(""));
    EXPECT_TRUE(IsBlankEntry(" "));
    EXPECT_TRUE(IsBlankEntry("\t"));
    EXPECT_TRUE(IsBlankEntry(" "));
    EXPECT_FALSE(IsBlankEntry("  "));
    EXPECT_FALSE(IsBlankEntry("a"));
}

TEST(RunSettings, RenameForHandling)
{
    EXPECT_TRUE(RenameForHandling(0));
    EXPECT_FALSE(RenameForHandling(1));
    EXPECT_FALSE(RenameForHandling(2));
    EXPECT_FALSE(RenameForHandling(3));
    EXPECT_TRUE(RenameForHandling(4));
    EXPECT_TRUE(RenameForHandling(-1));
}

TEST(RunSettings, SuggestReportName)
{
    EXPECT_EQ(SuggestReportName(2, "REPORT.TXT"), "REPORT.LRV");
    EXPECT_EQ(SuggestReportName(3, "REPORT.TXT"), "REPORT.LRV");
    EXPECT_EQ(SuggestReportName(1, "REPORT.LRV"), "REPORT.TXT");
    EXPECT_EQ(SuggestReportName(0, "REPORT.LRV"), "REPORT.TXT");
    EXPECT_EQ(SuggestReportName(-1, "REPORT.LRV"), "REPORT.TXT");
    EXPECT_EQ(SuggestReportName(0, "MINE.TXT"), std::nullopt);
    EXPECT_EQ(SuggestReportName(2, "report.txt"), std::nullopt);
    EXPECT_EQ(SuggestReportName(4, "REPORT.TXT"), std::nullopt);
    EXPECT_EQ(SuggestReportName(4, "REPORT.LRV"), std::nullopt);
    EXPECT_EQ(SuggestReportName(2, "REPORT.LRV"), std::nullopt);
}

TEST(RunSettings, WantsRunInformation)
{
    RunSettings s;
    s.handling = 0;
    EXPECT_TRUE(WantsRunInformation(s));
    s.handling0 = true;
    EXPECT_FALSE(WantsRunInformation(s));
    for (int h : {1, 2, 3}) {
        s.handling = h;
        s.handling0 = true;
        EXPECT_TRUE(WantsRunInformation(s));
        s.handling0 = false;
        EXPECT_TRUE(WantsRunInformation(s));
    }
    s.handling = 4;
    EXPECT_FALSE(WantsRunInformation(s));
    s.handling = -1;
    EXPECT_FALSE(WantsRunInformation(s));
}

TEST(RunSettings, FixedListTexts)
{
    EXPECT_STREQ(handlingTexts[0], "Name/time for each report");
    EXPECT_STREQ(handlingTexts[3], "HTML + Table around list");
    EXPECT_STREQ(symbolSetTexts[2], "*#*, *$*, *%*");
}

TEST(RunServices, HistoryTakes)
{
    std::vector<std::string> list = {"A.EXE"};
    EXPECT_TRUE(HistoryTakes(list, "a.exe"));
    EXPECT_FALSE(HistoryTakes(list, "A.EXE"));
    EXPECT_TRUE(HistoryTakes(list, ""));
    list.push_back(" ");
    EXPECT_FALSE(HistoryTakes(list, ""));
    EXPECT_FALSE(HistoryTakes(list, " "));
    EXPECT_TRUE(HistoryTakes(list, "  "));
}
