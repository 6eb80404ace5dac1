#include "EngineTest.h"

#include "runner/engine/RunEngine.h"

#include <gtest/gtest.h>

using namespace runner;

class FileDiscoveryTest : public EngineTest {
protected:
    RunEngine engine{ui, platform};

    void List(const char* pattern) {
        settings.files = pattern;
        engine.RefreshFileList(settings);
    }
};

TEST_F(FileDiscoveryTest, ListsInEnumerationOrderSkippingAttributes) {
    platform.AddFile("zeta.txt");
    platform.AddFile("Annual Report.txt", "", "ANNUAL~1.TXT");
    platform.AddDirectory("dir.txt");
    platform.AddFile("hidden.txt", "", "", text::AttributeHidden | text::AttributeSystem | text::AttributeOffline);
    platform.AddFile("README.TXT", "", "", text::AttributeReadOnly);
    platform.AddFile("a much longer name.txt");  // no alias: 8.3 names are off
    platform.AddFile("Annual Review.txt");
    platform.AddFile("Annual Report.text", "", "ANNUAL~1.TEX");
    platform.AddFile("?mega.txt", "", "_MEG~1.TXT");  // a name this Windows could not give
    List("*.txt");
    EXPECT_EQ(ui.status,
              "Finding files.\r\n\r\nLongName  ShortName\r\n\r\n"
              "\"zeta.txt\"  \"ZETA.TXT\"\r\n"
              "\"Annual Report.txt\"  \"ANNUAL~1.TXT\"\r\n"
              "\"README.TXT\"  (same)\r\n"
              "\"a much longer name.txt\"  \"A MUCH LONGER NAME.TXT\"\r\n"
              "\"Annual Review.txt\"  \"ANNUAL REVIEW.TXT\"\r\n"
              "\r\n5 file(s)\r\n"
              "1 more file(s) left alone: this version of Windows cannot give Lorvan their names "
              "(Windows 10 version 1903 and later can).\r\n"
              "\r\n2 of them have no 8.3 name: the DOS program gets their long names.\r\n"
              "Rename them, or have an administrator turn on 8.3 names for the volume (fsutil 8dot3name); "
              "only files made after that get one.\r\n");
    EXPECT_EQ(ui.fileCountText, "5");
    ASSERT_EQ(engine.FileCount(), 5u);
    EXPECT_EQ(engine.FoundFiles()[2].shortName, "");

    // Matching looks at the aliases too; each listing starts afresh; an
    // empty pattern empties the list and tells nothing.
    List("*.tex");
    ASSERT_EQ(engine.FileCount(), 1u);
    EXPECT_EQ(ui.status.find("8.3 name"), std::string::npos);
    ui.status = "before";
    List("");
    EXPECT_EQ(ui.status + ui.fileCountText, "before0");
}

TEST_F(FileDiscoveryTest, SeparatorsRefused) {
    platform.AddFile("a.txt");
    platform.AddFile("C:\\up.txt");
    for (const char* pattern : {"C:*.txt", "sub\\*.txt", "../*.txt", "/*.txt"}) {
        List("*.txt");
        ui.status = "before";
        ui.asked.clear();
        List(pattern);
        EXPECT_EQ(ui.asked, std::vector<AskedQuestion>{
                                {"Lorvan supports only the Current Working Directory as the input files directory"}});
        EXPECT_EQ(ui.status, "before");
        EXPECT_EQ(engine.LastListedPattern(), pattern);
    }
    EXPECT_EQ(ui.focused, std::vector<Field>(4, Field::Files));
}

TEST_F(FileDiscoveryTest, TheReportFilesOfARunAreNoInput) {
    for (const char* name : {"report.txt", "REPORT.TMP", "OLD.TXT"}) platform.AddFile(name);
    platform.AddDirectory("OLD.DIR");
    platform.AddFile("OLD.DIR\\OLD.TXT");
    const std::string both = "\r\nLeft out: \"report.txt\" and \"REPORT.TMP\", Lorvan's report files.\r\n";
    // mode, report, how many listed (with one, the line that says what was left out)
    for (auto [mode, report, listed] : {std::tuple{HandlingNameTime, "REPORT.TXT", 1u},
                                        {HandlingHtml, "C:\\DATA\\report.txt", 1u},
                                        {HandlingNone, "REPORT.TXT", 3u},
                                        {HandlingFilesTime, "OLD.DIR\\OLD.TXT", 3u}}) {
        settings.handling = mode;
        settings.report = report;
        List("*.T*");
        EXPECT_EQ(engine.FileCount(), listed) << report;
        EXPECT_EQ(ui.status.find(listed == 1 ? both : "Left out") != std::string::npos, listed == 1) << report;
    }
}

TEST(FileDiscovery, JapanesePatternIsInCwd) {
    // Code page 932: "\x95\x5C" is one character whose second byte is 0x5C.
    const std::string character = "\x95\x5C";
    FakePlatform platform("C:\\" + character, 932);
    RunSettings settings{platform.Cwd(), "DOSCONV", character + "*.txt"};
    FakeServices ui;
    RunEngine engine{ui, platform};
    platform.AddFile(character + "1.txt", "", character + "1.TXT");
    platform.AddFile(character + "a.txt");
    platform.AddFile("other.txt");
    engine.RefreshFileList(settings);
    EXPECT_TRUE(ui.asked.empty());
    ASSERT_EQ(engine.FileCount(), 2u);
    EXPECT_EQ(engine.FoundFiles()[1].shortName, character + "A.TXT");  // the character itself keeps its bytes
}

TEST(ShortNames, WhatAValid83NameIs) {
    for (const char* name : {"README.TXT", "notes.txt", "A", "12345678.123", "NO_EXT", "a~b!#$%&.{}"})
        EXPECT_TRUE(IsValidShortName(name, text::SingleByteCodePage())) << name;
    for (const char* name :
         {"123456789.TXT", "NAME.TEXT", "A.B.C", "A+B.TXT", "+AB.TXT", "[X].TXT", ".TXT", "NAME.", ""})
        EXPECT_FALSE(IsValidShortName(name, text::SingleByteCodePage())) << name;
}
