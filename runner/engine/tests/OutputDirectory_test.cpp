#include "EngineTest.h"

#include "runner/engine/FileDiscovery.h"
#include "runner/engine/OutputDirectory.h"

#include <gtest/gtest.h>

using namespace runner;

namespace {

const char* const deleteQuestion = "File(s) exist in the output directory, see the Status window.\r\n\r\nDelete?";
const char* const onlyUnderCwd =
    "Lorvan supports only a directory directly under the Current Working Directory as the output files directory";

}  // namespace

class OutputDirectoryTest : public EngineTest {
protected:
    void SetUp() override {
        settings.rename = true;
        ui.status = "listing\r\n";
    }
    bool Prepare() { return PrepareOutputDirectory(settings, ui, platform); }
};

TEST_F(OutputDirectoryTest, RefusesNamesNotDirectlyUnderCwd) {
    // Windows takes "/" for a backslash, and an empty name puts "\*.txt" in
    // the root of the drive: files there are never offered nor deleted.
    platform.AddFile("C:\\ROOT.TXT", "root");
    platform.AddDirectory("SUB");
    platform.AddFile("SUB\\KEEP.TXT", "sub");
    for (const char* name : {"A:B", "SUB\\OUT", "\\OUT", ".", "..", "", "/", "SUB/OUT", "../OUT", "../DATA/SUB", "SUB/",
                             "...", ". .", " "}) {
        ui.asked.clear();
        settings.output = name;
        EXPECT_FALSE(Prepare());
        EXPECT_EQ(ui.asked, std::vector<AskedQuestion>{{onlyUnderCwd}}) << name;
    }
    EXPECT_EQ(ui.focused, std::vector<Field>(14, Field::Output));
    EXPECT_EQ(platform.Content("C:\\ROOT.TXT") + platform.Content("SUB\\KEEP.TXT"), "rootsub");
    EXPECT_EQ(platform.fileOperations, 0);
}

TEST_F(OutputDirectoryTest, DeletesEarlierResultsIncludingHidden) {
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\A.TXT");
    platform.AddFile("OUTPUT\\hidden.txt", "", "", text::AttributeHidden);
    FakeNode& locked = platform.AddFile("OUTPUT\\B.TXT");
    locked.failDelete = true;
    platform.AddFile("OUTPUT\\C.TXT", "", "", text::AttributeReadOnly);
    platform.AddFile("OUTPUT\\sys.txt", "", "", text::AttributeSystem);
    platform.AddFile("OUTPUT\\off.txt", "", "", text::AttributeOffline);
    platform.AddDirectory("OUTPUT\\dir.txt");
    platform.AddFile("OUTPUT\\keep.doc");
    ui.answers = {Answer::No};
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(platform.Names("OUTPUT").size(), 8u);

    // Every delete is tried; one failed refuses.
    EXPECT_FALSE(Prepare());
    const AskedQuestion toDelete{deleteQuestion, "Lorvan", Buttons::YesNo};
    EXPECT_EQ(ui.asked, (std::vector<AskedQuestion>{toDelete,
                                                    toDelete,
                                                    {"One or more deletes failed, you must delete manually", "Lorvan",
                                                     Buttons::Ok, Icon::Exclamation}}));
    EXPECT_EQ(ui.status,
              "Checking output directory\r\n\r\n"
              "A.TXT\r\nhidden.txt\r\nB.TXT\r\nC.TXT\r\n"
              "\r\nDeleting files\r\n\r\n"
              "OUTPUT\\A.TXT: OK\r\nOUTPUT\\hidden.txt: OK\r\nOUTPUT\\B.TXT: Failed\r\nOUTPUT\\C.TXT: Failed\r\n");
    EXPECT_EQ(ui.progress, "/4 0 1 2 ");  // from the start, a step for each file deleted

    locked.failDelete = false;
    platform.Find("OUTPUT\\C.TXT")->attributes = text::AttributeArchive;
    EXPECT_TRUE(Prepare());
    EXPECT_EQ(platform.Names("OUTPUT"), (std::vector<std::string>{"sys.txt", "off.txt", "dir.txt", "keep.doc"}));
}

TEST_F(OutputDirectoryTest, CannotBeMade) {
    platform.failMakeDirectory = true;
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(ui.asked,
              (std::vector<AskedQuestion>{{"Creating the Output directory failed, you must create it yourself",
                                           "Lorvan", Buttons::Ok, Icon::Exclamation}}));
}

TEST_F(OutputDirectoryTest, RenamingAResultOnlyUnderItsOwnName) {
    // The Report's result is there, the Review's is missing. Renamed first,
    // the Report's result gets the alias ANNUAL~1.TXT, the Review's short
    // name: it must not then be renamed once more, to the Review's name.
    const std::vector<FileEntry> files = {{"ANNUAL~2.TXT", "Annual Report.txt"},
                                          {"ANNUAL~1.TXT", "Annual Review.txt"},
                                          {"", "README.TXT"},
                                          {"README2.TXT", "readme2.txt"},
                                          {"TAKEN~1.TXT", "Taken.txt"}};
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\TAKEN~1.TXT", "t");
    platform.AddFile("OUTPUT\\taken.txt", "another's");
    platform.AddFile("OUTPUT\\ANNUAL~2.TXT", "a");
    platform.AddFile("OUTPUT\\README.TXT", "r");
    platform.AddFile("OUTPUT\\README2.TXT", "r2");
    EXPECT_TRUE(ResultFileExists(settings, "ANNUAL~2.TXT", platform));
    EXPECT_FALSE(ResultFileExists(settings, "ANNUAL~1.TXT", platform));
    auto finish = [&](uint32_t needRenameCount) {
        ui.status.clear();
        FinishRenaming(settings, files, needRenameCount, ui, platform);
        return ui.status;
    };

    EXPECT_EQ(finish(4),
              "\r\nRenaming files:\r\n\r\n"
              "ANNUAL~2.TXT to Annual Report.txt: OK\r\n"
              "ANNUAL~1.TXT to Annual Review.txt: Failed\r\n"
              "README2.TXT to readme2.txt: OK\r\n"
              "TAKEN~1.TXT to Taken.txt: Failed, a file of that name exists\r\n"
              "\r\n2 out of 4 files renamed.\r\n");
    EXPECT_EQ(platform.Names("OUTPUT"),
              (std::vector<std::string>{"TAKEN~1.TXT", "taken.txt", "Annual Report.txt", "README.TXT", "readme2.txt"}));
    EXPECT_EQ(platform.Content("OUTPUT\\taken.txt") + platform.Content("OUTPUT\\Annual Report.txt"), "another'sa");
    EXPECT_EQ(platform.Find("OUTPUT\\Annual Report.txt")->alias, "ANNUAL~1.TXT");  // the first free, as NTFS
    EXPECT_FALSE(ResultFileExists(settings, "ANNUAL~1.TXT", platform));            // an alias is no result either
}
