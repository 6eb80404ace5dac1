#include "FakePlatform.h"
#include "FakeServices.h"

#include "runner/engine/FileDiscovery.h"
#include "runner/engine/OutputDirectory.h"

#include <gtest/gtest.h>

using namespace lorvan;

namespace {

const char* const onlyUnderCwd =
    "Lorvan supports only a directory directly under the Current Working Directory as the output files directory";
const char* const deleteQuestion = "File(s) exist in the output directory, see the Status window.\r\n\r\nDelete?";

}  // namespace

class OutputDirectoryTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings;
    FakeServices ui{settings};

    void SetUp() override
    {
        settings.cwd = platform.Cwd();
        settings.files = "*.txt";
        settings.rename = true;
        ui.status = "listing\r\n";
    }
    bool Prepare() { return PrepareOutputDirectory(settings, ui, platform); }
};

TEST_F(OutputDirectoryTest, RefusesNamesNotDirectlyUnderCwd)
{
    for (const char* name : {"A:B", "SUB\\OUT", "\\OUT", ".", "..", "", "/", "SUB/OUT", "../OUT"}) {
        ui.asked.clear();
        ui.focused.clear();
        settings.output = name;
        EXPECT_FALSE(Prepare());
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text, onlyUnderCwd);
        EXPECT_EQ(ui.asked[0].title, "Lorvan");
        EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
        EXPECT_EQ(ui.asked[0].icon, Icon::None);
        EXPECT_EQ(ui.focused, std::vector<int>{1006});
    }
    EXPECT_EQ(platform.fileOperations, 0);
}

TEST_F(OutputDirectoryTest, FilesOutsideCwdAreNeverOfferedNorDeleted)
{
    // Windows takes "/" for a backslash, and an empty name puts "\*.txt" in
    // the root of the drive.
    platform.AddFile("C:\\ROOT.TXT", "root");
    platform.AddDirectory("SUB");
    platform.AddFile("SUB\\KEEP.TXT", "sub");
    for (const char* name : {"", "/", "SUB/", "../DATA/SUB"}) {
        settings.output = name;
        EXPECT_FALSE(Prepare()) << name;
    }
    for (const AskedQuestion& q : ui.asked)
        EXPECT_EQ(q.text, onlyUnderCwd);
    EXPECT_EQ(platform.Content("C:\\ROOT.TXT"), "root");
    EXPECT_EQ(platform.Content("SUB\\KEEP.TXT"), "sub");
    EXPECT_EQ(platform.fileOperations, 0);
}

TEST_F(OutputDirectoryTest, CreatesAMissingDirectorySilently)
{
    EXPECT_TRUE(Prepare());
    EXPECT_TRUE(platform.Find("OUTPUT")->IsDirectory());
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ui.status, "listing\r\n");
}

TEST_F(OutputDirectoryTest, ExistingDirectoryWithoutMatchesIsUsedWithoutQuestion)
{
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\keep.doc");
    EXPECT_TRUE(Prepare());
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ui.status, "listing\r\n");
    EXPECT_TRUE(platform.Has("OUTPUT\\keep.doc"));
}

TEST_F(OutputDirectoryTest, OnlyDirectoriesMatchingStillShowsTheCheck)
{
    // "." and ".." match "*": the check is shown, nothing is asked or deleted.
    platform.AddDirectory("OUTPUT");
    platform.AddDirectory("OUTPUT\\sub.txt");
    settings.files = "*";
    EXPECT_TRUE(Prepare());
    EXPECT_TRUE(ui.asked.empty());
    EXPECT_EQ(ui.status, "Checking output directory\r\n\r\n\r\nDeleting files\r\n\r\n");
    EXPECT_EQ(ui.progressRange, 0u);
}

TEST_F(OutputDirectoryTest, DeletesEarlierResultsIncludingHidden)
{
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\A.TXT");
    platform.AddFile("OUTPUT\\hidden.txt", "", "", AttributeHidden);
    platform.AddFile("OUTPUT\\sys.txt", "", "", AttributeSystem);
    platform.AddFile("OUTPUT\\off.txt", "", "", AttributeOffline);
    platform.AddDirectory("OUTPUT\\dir.txt");
    platform.AddFile("OUTPUT\\keep.doc");
    EXPECT_TRUE(Prepare());
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, deleteQuestion);
    EXPECT_EQ(ui.asked[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.asked[0].icon, Icon::None);
    EXPECT_EQ(ui.status,
              "Checking output directory\r\n\r\n"
              "A.TXT\r\nhidden.txt\r\n"
              "\r\nDeleting files\r\n\r\n"
              "OUTPUT\\A.TXT: OK\r\nOUTPUT\\hidden.txt: OK\r\n");
    EXPECT_EQ(ui.progressRange, 2u);
    EXPECT_EQ(ui.progressPos, 2u);
    EXPECT_EQ(platform.Names("OUTPUT"),
              (std::vector<std::string>{"sys.txt", "off.txt", "dir.txt", "keep.doc"}));
}

TEST_F(OutputDirectoryTest, AnsweringNoRefusesAndDeletesNothing)
{
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\A.TXT");
    ui.answers = {Answer::No};
    EXPECT_FALSE(Prepare());
    EXPECT_TRUE(platform.Has("OUTPUT\\A.TXT"));
    EXPECT_EQ(ui.status, "Checking output directory\r\n\r\nA.TXT\r\n");
}

TEST_F(OutputDirectoryTest, FailedDeleteRefusesAfterTryingAll)
{
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\A.TXT").failDelete = true;
    platform.AddFile("OUTPUT\\B.TXT");
    platform.AddFile("OUTPUT\\C.TXT", "", "", AttributeReadOnly);
    EXPECT_FALSE(Prepare());
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.asked[1].text, "One or more deletes failed, you must delete manually");
    EXPECT_EQ(ui.asked[1].buttons, Buttons::Ok);
    EXPECT_EQ(ui.asked[1].icon, Icon::Exclamation);
    EXPECT_NE(ui.status.find("OUTPUT\\A.TXT: Failed\r\nOUTPUT\\B.TXT: OK\r\nOUTPUT\\C.TXT: Failed\r\n"),
              std::string::npos);
    EXPECT_EQ(ui.progressPos, 1u);
    EXPECT_FALSE(platform.Has("OUTPUT\\B.TXT"));  // stays deleted
}

TEST_F(OutputDirectoryTest, CreationFailure)
{
    platform.failMakeDirectory = true;
    EXPECT_FALSE(Prepare());
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, "Creating the Output directory failed, you must create it yourself");
    EXPECT_EQ(ui.asked[0].icon, Icon::Exclamation);
}

TEST_F(OutputDirectoryTest, AFileBearsTheName)
{
    platform.AddFile("OUTPUT");
    EXPECT_FALSE(Prepare());
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              "A file with the same name as the Output directory exists, you must delete that file to continue");
    EXPECT_EQ(ui.asked[0].buttons, Buttons::Ok);
    EXPECT_EQ(ui.asked[0].icon, Icon::Exclamation);
}

TEST_F(OutputDirectoryTest, ResultFileExists)
{
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\ANNUAL~1.TXT");
    EXPECT_TRUE(ResultFileExists(settings, "ANNUAL~1.TXT", platform));
    EXPECT_FALSE(ResultFileExists(settings, "OTHER.TXT", platform));
}

class RenamingTest : public OutputDirectoryTest {
protected:
    std::vector<FileEntry> files = {
        {"ANNUAL~1.TXT", "Annual Report.txt"},
        {"", "README.TXT"},
        {"README2.TXT", "readme2.txt"},
        {"MISSIN~1.TXT", "Missing one.txt"},
    };
    void SetUp() override
    {
        OutputDirectoryTest::SetUp();
        ui.status.clear();
        platform.AddDirectory("OUTPUT");
        platform.AddFile("OUTPUT\\ANNUAL~1.TXT", "a");
        platform.AddFile("OUTPUT\\README.TXT", "r");
        platform.AddFile("OUTPUT\\README2.TXT", "r2");
    }
};

TEST_F(RenamingTest, RenamesShortToLong)
{
    FinishRenaming(settings, files, 3, ui, platform);
    EXPECT_EQ(ui.status,
              "\r\nRenaming files:\r\n\r\n"
              "ANNUAL~1.TXT to Annual Report.txt: OK\r\n"
              "README2.TXT to readme2.txt: OK\r\n"
              "MISSIN~1.TXT to Missing one.txt: Failed\r\n"
              "\r\n2 out of 3 files renamed.\r\n");
    EXPECT_EQ(platform.Names("OUTPUT"),
              (std::vector<std::string>{"Annual Report.txt", "README.TXT", "readme2.txt"}));
    EXPECT_EQ(platform.Content("OUTPUT\\Annual Report.txt"), "a");
    EXPECT_EQ(ui.progressRange, 3u);
    EXPECT_EQ(ui.progressPos, 2u);
}

TEST_F(RenamingTest, NoFilesNeedRenaming)
{
    FinishRenaming(settings, files, 0, ui, platform);
    EXPECT_EQ(ui.status, "\r\nNo files need renaming.\r\n");
    EXPECT_TRUE(platform.Has("OUTPUT\\ANNUAL~1.TXT"));
}

TEST_F(RenamingTest, TestModeOnlyCounts)
{
    settings.test = true;
    FinishRenaming(settings, files, 2, ui, platform);
    EXPECT_EQ(ui.status, "\r\n2 file(s) need renaming\r\n");
    EXPECT_EQ(platform.fileOperations, 0);
}

TEST_F(RenamingTest, FailedRenameGoesOn)
{
    platform.Find("OUTPUT\\ANNUAL~1.TXT")->failRename = true;
    FinishRenaming(settings, files, 3, ui, platform);
    EXPECT_NE(ui.status.find("ANNUAL~1.TXT to Annual Report.txt: Failed\r\n"
                             "README2.TXT to readme2.txt: OK\r\n"),
              std::string::npos);
    EXPECT_NE(ui.status.find("\r\n1 out of 3 files renamed.\r\n"), std::string::npos);
}
