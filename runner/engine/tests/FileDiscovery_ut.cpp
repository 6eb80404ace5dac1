#include "FakePlatform.h"
#include "FakeServices.h"

#include "runner/engine/FileDiscovery.h"
#include "runner/engine/RunEngine.h"

#include <gtest/gtest.h>

using namespace lorvan;

class FileDiscoveryTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings;
    FakeServices ui{settings};
    RunEngine engine{settings, ui, platform};

    void SetUp() override { settings.cwd = platform.Cwd(); }
};

TEST(FileEntry, Queries)
{
    FileEntry aliased{"MYLETT~1.TXT", "My Letter.txt"};
    EXPECT_TRUE(aliased.needsRenaming());
    EXPECT_EQ(aliased.effectiveShortName(), "MYLETT~1.TXT");
    EXPECT_EQ(DisplayLine(aliased), "\"My Letter.txt\"  \"MYLETT~1.TXT\"");
    FileEntry same{"", "README.TXT"};
    EXPECT_FALSE(same.needsRenaming());
    EXPECT_EQ(same.effectiveShortName(), "README.TXT");
    EXPECT_EQ(DisplayLine(same), "\"README.TXT\"  (same)");
}

TEST_F(FileDiscoveryTest, ListsInEnumerationOrderWithShortNames)
{
    platform.AddFile("zeta.txt");
    platform.AddFile("Annual Report.txt", "", "ANNUAL~1.TXT");
    platform.AddFile("README.TXT");
    platform.AddFile("other.doc");
    settings.files = "*.txt";
    engine.RefreshFileList();

    ASSERT_EQ(engine.FileCount(), 3u);
    const auto& files = engine.FoundFiles();
    EXPECT_EQ(files[0].longName, "zeta.txt");
    EXPECT_EQ(files[0].shortName, "ZETA.TXT");
    EXPECT_EQ(files[1].shortName, "ANNUAL~1.TXT");
    EXPECT_EQ(files[2].shortName, "");
    EXPECT_EQ(ui.status,
              "Finding files.\r\n\r\nLongName  ShortName\r\n\r\n"
              "\"zeta.txt\"  \"ZETA.TXT\"\r\n"
              "\"Annual Report.txt\"  \"ANNUAL~1.TXT\"\r\n"
              "\"README.TXT\"  (same)\r\n"
              "\r\n3 file(s)\r\n");
    EXPECT_EQ(ui.fileCountText, "3");
    EXPECT_EQ(engine.LastListedPattern(), "*.txt");
}

TEST_F(FileDiscoveryTest, SkipsDirectoriesHiddenSystemOffline)
{
    platform.AddDirectory("dir.txt");
    platform.AddFile("hidden.txt", "", "", AttributeHidden);
    platform.AddFile("system.txt", "", "", AttributeSystem);
    platform.AddFile("offline.txt", "", "", AttributeOffline);
    platform.AddFile("ro.txt", "", "", AttributeReadOnly);
    platform.AddFile("plain.txt", "", "", AttributeNormal);
    settings.files = "*.txt";
    engine.RefreshFileList();
    ASSERT_EQ(engine.FileCount(), 2u);
    EXPECT_EQ(engine.FoundFiles()[0].longName, "ro.txt");
    EXPECT_EQ(engine.FoundFiles()[1].longName, "plain.txt");
    EXPECT_NE(ui.status.find("\r\n2 file(s)\r\n"), std::string::npos);
}

TEST_F(FileDiscoveryTest, MatchesThroughTheAlias)
{
    platform.AddFile("Annual Report.text", "", "ANNUAL~1.TEX");
    settings.files = "*.tex";
    engine.RefreshFileList();
    EXPECT_EQ(engine.FileCount(), 1u);
}

TEST_F(FileDiscoveryTest, NothingMatches)
{
    settings.files = "*.none";
    engine.RefreshFileList();
    EXPECT_EQ(engine.FileCount(), 0u);
    EXPECT_EQ(ui.status, "Finding files.\r\n\r\nLongName  ShortName\r\n\r\n\r\n0 file(s)\r\n");
    EXPECT_EQ(ui.fileCountText, "0");
}

TEST_F(FileDiscoveryTest, EmptyPatternChangesNothing)
{
    platform.AddFile("a.txt");
    settings.files = "*.txt";
    engine.RefreshFileList();
    ui.status = "before";
    settings.files = "";
    engine.RefreshFileList();
    EXPECT_EQ(engine.FileCount(), 0u);
    EXPECT_EQ(ui.status, "before");
    EXPECT_EQ(ui.fileCountText, "0");
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(FileDiscoveryTest, SeparatorsRefused)
{
    platform.AddFile("a.txt");
    platform.AddFile("C:\\up.txt");
    for (const char* pattern : {"C:*.txt", "sub\\*.txt", "..\\*", "../*.txt", "/*.txt"}) {
        settings.files = "*.txt";
        engine.RefreshFileList();
        ASSERT_EQ(engine.FileCount(), 1u);
        ui.status = "before";
        ui.asked.clear();
        ui.focused.clear();
        settings.files = pattern;
        engine.RefreshFileList();
        EXPECT_EQ(engine.FileCount(), 0u);
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text, "Lorvan supports only the Current Working Directory as the input files directory");
        EXPECT_EQ(ui.asked[0].title, "Lorvan");
        EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
        EXPECT_EQ(ui.asked[0].icon, Icon::None);
        EXPECT_EQ(ui.focused, std::vector<int>{1004});
        EXPECT_EQ(ui.status, "before");
        EXPECT_EQ(engine.LastListedPattern(), pattern);
    }
}

TEST_F(FileDiscoveryTest, ListingAgainStartsAfresh)
{
    platform.AddFile("a.txt");
    platform.AddFile("b.txt");
    settings.files = "*.txt";
    engine.RefreshFileList();
    ASSERT_TRUE(platform.RemoveFile("a.txt"));
    engine.RefreshFileList();
    ASSERT_EQ(engine.FileCount(), 1u);
    EXPECT_EQ(engine.FoundFiles()[0].longName, "b.txt");
}

TEST_F(FileDiscoveryTest, TenThousandFilesWithLongNames)
{
    std::string name(255, 'n');
    for (int i = 0; i < 10000; ++i) {
        std::string number = std::to_string(i);
        platform.AddFile(name.substr(0, 255 - number.size()) + number + ".txt", "", "N" + number + "~1.TXT");
    }
    settings.files = "*.txt";
    engine.RefreshFileList();
    EXPECT_EQ(engine.FileCount(), 10000u);
    EXPECT_EQ(ui.fileCountText, "10000");
    EXPECT_EQ(engine.FoundFiles()[9999].longName.size(), 259u);
    EXPECT_NE(ui.status.find("\r\n10000 file(s)\r\n"), std::string::npos);
}
