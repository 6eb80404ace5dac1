#include "EngineTest.h"

#include "runner/engine/RunEngine.h"
#include "runner/engine/StandIns.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace runner;

namespace {

const std::string journal = "C:\\APPDATA\\stand-ins.txt";

}  // namespace

class StandInsTest : public EngineTest {
protected:
    RunEngine engine{ui, platform};
    std::vector<std::string> seen;  // what each command found in the working directory, by its input

    void SetUp() override {
        settings.rename = true;
        settings.handling = HandlingNone;
        platform.AddFile("Annual Report.txt", "ar", "ANNUAL~1.TXT");
        platform.AddFile("a long name.txt", "ln", "", text::AttributeArchive | text::AttributeReadOnly);  // no alias
        platform.AddFile("caf\x80.txt", "cf", "");  // valid 8.3, but no DOS code page has the euro sign
        // DOSCONV IN OUT: copies IN to OUT. Seen: how many files another
        // Lorvan lists meanwhile (the stand-ins are none of them).
        platform.onCommand = [this](const std::string& line) {
            std::istringstream in(line);
            std::string program, input, output;
            in >> program >> input >> output;
            const FakeNode* file = platform.Find(input);
            FakeServices otherUi;
            RunEngine other{otherUi, platform};
            other.RefreshFileList(settings);
            seen.push_back(input + (file && (file->attributes & text::AttributeHidden) ? " hidden" : "") +
                           (platform.Has("a long name.txt") ? "" : " (long name gone)") + " " +
                           std::to_string(other.FileCount()));
            if (file) platform.AddFile(output, file->content);
            return 0;
        };
    }
    // The names of the working directory and of OUTPUT with their contents.
    std::string Listing() {
        std::string text;
        for (const char* directory : {"", "OUTPUT\\"})
            for (const std::string& name : platform.Names(directory[0] ? "OUTPUT" : "C:\\DATA"))
                if (name != "OUTPUT") text += directory + name + "=" + platform.Content(directory + name) + " ";
        return text;
    }
    // A run that may make no stand-in: nothing runs, and the one question says why.
    void RefusedRun(const std::string& question) {
        platform.commands.clear();
        ui.asked.clear();
        engine.RunBatch(settings);
        EXPECT_TRUE(platform.commands.empty());
        EXPECT_EQ(ui.asked.size() == 1 ? ui.asked[0].text : "", question);
        EXPECT_FALSE(platform.Has("LRV00001.TXT"));
    }
};

TEST(StandInName, NumberAndTheLongNamesExtension) {
    // The extension only when it is one to three letters or digits.
    for (auto [n, longName, name] : {std::tuple{42u, "Имя.tar.gz", "LRV00042.GZ"},
                                     {7u, "page.html", "LRV00007"},
                                     {7u, "data.é", "LRV00007"},
                                     {100000u, "x.c", "LR100000.C"}})
        EXPECT_EQ(StandInName(n, longName), name) << longName;
}

TEST_F(StandInsTest, GivenWhereNeededOrAlwaysAndTakenBackAfterTheRun) {
    platform.AddDirectory("LRV00001.TXT");  // a stand-in never takes a name that exists
    const std::string gone = " (long name gone) 1", out = "OUTPUT\\";
    // mode, hard links (none on FAT or exFAT: the file itself goes by the stand-in), what the commands saw
    const std::tuple<int, bool, std::vector<std::string>> rows[] = {
        {StandInsWhenNeeded, true, {"ANNUAL~1.TXT 3", "LRV00002.TXT 3", "LRV00003.TXT 3"}},
        {StandInsAlways, true, {"LRV00002.TXT 3", "LRV00003.TXT 3", "LRV00004.TXT 3"}},
        {StandInsWhenNeeded, false, {"ANNUAL~1.TXT" + gone, "LRV00002.TXT" + gone, "LRV00003.TXT" + gone}},
    };
    const std::string before = Listing(),
                      after =
                          before + "OUTPUT\\Annual Report.txt=ar OUTPUT\\a long name.txt=ln OUTPUT\\caf\x80.txt=cf ";
    for (const auto& [mode, hardLinks, expected] : rows) {
        settings.standIns = mode;
        platform.noHardLinks = !hardLinks;
        seen.clear();
        ui.answers = {Answer::Yes};  // delete the earlier results
        engine.RunBatch(settings);
        EXPECT_EQ(seen, expected) << mode;
        // Every result under its own long name, every name as before, no journal.
        EXPECT_EQ(Listing(), after) << mode;
        EXPECT_EQ(platform.Find("a long name.txt")->attributes, text::AttributeArchive | text::AttributeReadOnly);
        EXPECT_FALSE(platform.Has(journal));
    }
    EXPECT_NE(ui.status.find("2 file(s) have a stand-in 8.3 name for this run."), std::string::npos);
}

TEST_F(StandInsTest, TakenBackOnEveryWayOut) {
    const std::string before = Listing();
    // A stop during the first command. The journal says where the results go.
    platform.onCommand = [this](const std::string&) {
        EXPECT_TRUE(platform.Content(journal).starts_with("Output\tC:\\DATA\\OUTPUT\r\nC:\\DATA\\LRV00001.TXT\t"));
        engine.RequestStop();
        return 0;
    };
    engine.RunBatch(settings);
    EXPECT_NE(ui.status.find("Stopped after file 1 of 3"), std::string::npos);
    EXPECT_EQ(Listing(), before);
    EXPECT_FALSE(platform.Has(journal));

    // A report that cannot be written: told at each command, and the run goes on.
    settings.handling = HandlingFilesTime;
    platform.AddFile("REPORT.TXT").failWrite = true;
    platform.onCommand = [this](const std::string&) {
        platform.AddFile("REPORT.TMP", "x");
        return 0;
    };
    ui.answers = {Answer::Yes};
    engine.RunBatch(settings);
    EXPECT_FALSE(platform.Has("LRV00001.TXT"));
    EXPECT_FALSE(platform.Has(journal));

    // A stand-in that cannot go stays journaled and is told; the next start puts it back.
    settings.handling = HandlingNone;
    platform.onCommand = [this](const std::string& line) {
        if (line.find("LRV00001") != std::string::npos) platform.Find("LRV00001.TXT")->failDelete = true;
        return 0;
    };
    engine.RunBatch(settings);
    EXPECT_TRUE(platform.Has("LRV00001.TXT"));
    EXPECT_EQ(platform.Content(journal), "C:\\DATA\\LRV00001.TXT\tC:\\DATA\\a long name.txt\t33\r\n");
    EXPECT_NE(ui.status.find("The stand-in LRV00001.TXT of \"a long name.txt\" could not be taken back."),
              std::string::npos);
    EXPECT_EQ(ui.asked.empty() ? "" : ui.asked.back().text,
              "One or more stand-in names could not be taken back, see the Status window. Lorvan tries again at its "
              "next start.");
    platform.Find("LRV00001.TXT")->failDelete = false;
    ui.asked.clear();
    RecoverStandIns(ui, platform);
    EXPECT_FALSE(platform.Has("LRV00001.TXT"));
    EXPECT_FALSE(platform.Has(journal));
    EXPECT_EQ(ui.asked.size(), 1u);

    // While another Lorvan's run holds the journal, or without one, none is
    // made and nothing runs; a second Lorvan's start leaves the running one's alone.
    platform.AddFile(journal, "another run's\r\n");
    {
        auto held = platform.OpenForWriting(journal);
        RefusedRun("Lorvan cannot record its stand-in names in " + journal + ", so it makes none and runs nothing.");
        RecoverStandIns(ui, platform);
        EXPECT_EQ(ui.asked.size(), 1u);
    }
    EXPECT_EQ(platform.Content(journal), "another run's\r\n");
}

TEST_F(StandInsTest, AJournalLeftByACrashPutsEveryNameBackAndNeverLosesOne) {
    // A link whose long name is there; a renamed file; a stand-in whose long
    // name another file took meanwhile; one never made; a line cut short.
    // The run's result under a stand-in name is named, for the user.
    platform.AddDirectory("OUTPUT");
    platform.AddFile("OUTPUT\\LRV00002.DOC", "result");
    platform.MakeHardLink("a long name.txt", "LRV00001.TXT");
    platform.SetAttributes("LRV00001.TXT", text::AttributeArchive | text::AttributeHidden);
    platform.RenameFile("caf\x80.txt", "LRV00002.TXT");
    platform.AddFile("LRV00003.TXT", "old");
    platform.AddFile("taken.txt", "new");
    const std::string kept = "C:\\DATA\\LRV00003.TXT\tC:\\DATA\\taken.txt\t32\r\n";
    platform.AddFile(platform.JournalPath(),
                     "Output\tC:\\DATA\\OUTPUT\r\nC:\\DATA\\LRV00001.TXT\tC:\\DATA\\a long name.txt\t33\r\n"
                     "C:\\DATA\\LRV00002.TXT\tC:\\DATA\\caf\x80.txt\t32\r\n" +
                         kept + "C:\\DATA\\LRV00004.TXT\tC:\\DATA\\never.txt\t32\r\nC:\\DATA\\LRV00005.TX");
    RecoverStandIns(ui, platform);
    EXPECT_EQ(Listing(),
              "Annual Report.txt=ar a long name.txt=ln caf\x80.txt=cf LRV00003.TXT=old taken.txt=new "
              "OUTPUT\\LRV00002.DOC=result ");
    EXPECT_EQ(platform.Content(journal), kept);
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              "A run of Lorvan was interrupted. The names of 2 file(s) that had stand-in names are back.\r\n\r\n1 "
              "stand-in(s) could not be taken back: another file has the name, or the file is not there. They are "
              "listed in C:\\APPDATA\\stand-ins.txt.\r\n\r\nIts results under stand-in names, to be renamed by "
              "hand:\r\nC:\\DATA\\OUTPUT\\LRV00002.DOC (of \"caf\x80.txt\")");
    EXPECT_EQ(ui.asked[0].icon, Icon::Exclamation);
}
