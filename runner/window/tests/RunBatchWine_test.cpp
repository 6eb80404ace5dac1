// Whole runs under Wine: real directories with real 8.3 aliases, the real
// cmd.exe, and fakedos.exe standing in for the DOS program.
#include "WineTestDirectory.h"

#include "runner/engine/RunEngine.h"
#include "runner/engine/tests/FakeServices.h"
#include "runner/window/Win32Platform.h"

#include <gtest/gtest.h>

using namespace lorvan;

namespace {

// The real platform with a fixed clock, so that reports compare byte for byte.
class FixedTimePlatform : public Win32Platform {
public:
    std::tm LocalTime() override
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
};

const std::string runTime = "Monday 2002-06-03 14:05:09";
const std::string fileTime = "2002-06-03 14:05:09";
const std::string resume = "R\xE9sum\xE9 long.txt";  // "Résumé long.txt" in code page 1252

}  // namespace

class RunBatchWineTest : public WineTestDirectory {
protected:
    FixedTimePlatform platform;
    RunSettings settings;
    FakeServices ui{settings};
    RunEngine engine{settings, ui, platform};

    void SetUp() override
    {
        WineTestDirectory::SetUp();
        settings.cwd = Cwd();
        settings.program = ExeDirectory() + "\\fakedos.exe";
        settings.files = "*.txt";
        settings.command = "* OUTPUT\\* REPORT.TMP";
    }

    // The status line of an entry of the listing with its result.
    static std::string Line(const FileEntry& entry, const std::string& result)
    {
        return DisplayLine(entry) + result + "\r\n";
    }
    const FileEntry& Entry(const std::string& longName)
    {
        for (const FileEntry& entry : engine.FoundFiles())
            if (entry.longName == longName)
                return entry;
        throw std::runtime_error("not listed: " + longName);
    }
};

TEST_F(RunBatchWineTest, WholeRunWithRenameAndNameTimeReport)
{
    PutFile("Annual Report.txt", "report annual\r\n");
    PutFile("README.TXT", "exit 3\r\nreport readme failed\r\n");
    PutFile("notes.txt", "noout\r\n");
    PutFile(resume, "report-bytes 1024\r\n");
    PutFile("empty.txt", "empty-report\r\n");
    PutFile("skip.doc", "not passed");
    PutFile("hidden.txt", "hidden");
    SetFileAttributesA("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    settings.rename = true;

    engine.RunBatch();
    ASSERT_EQ(engine.FileCount(), 5u);
    EXPECT_TRUE(ui.asked.empty());

    // Short names: the real aliases, and the upper-cased valid 8.3 names.
    EXPECT_EQ(Entry("Annual Report.txt").shortName, AliasOf("Annual Report.txt"));
    EXPECT_NE(Entry("Annual Report.txt").shortName.find('~'), std::string::npos);
    EXPECT_EQ(Entry("README.TXT").shortName, "");
    EXPECT_EQ(Entry("notes.txt").shortName, "NOTES.TXT");
    EXPECT_EQ(Entry("empty.txt").shortName, "EMPTY.TXT");
    // Wine gives every name above ASCII an alias, so the OEM form is ASCII.
    const std::string resumeShort = Entry(resume).shortName;
    EXPECT_EQ(resumeShort, AliasOf(resume));
    EXPECT_EQ(platform.ConvertToOem(resumeShort), resumeShort);

    const std::map<std::string, std::string> results = {
        {"Annual Report.txt", ": OK"}, {"README.TXT", ": Error 3"}, {"notes.txt", ": Failed"},
        {resume, ": OK"}, {"empty.txt", ": OK"},
    };
    std::string status = "Handling commands:\r\n\r\n";
    std::string report = Cwd() + "\\*.txt\r\n" + runTime + "\r\n" + settings.program + " " + settings.command +
                         "\r\n\r\n";
    std::string renames;
    std::string args;
    for (const FileEntry& entry : engine.FoundFiles()) {
        status += Line(entry, results.at(entry.longName));
        const std::string& shortName = entry.effectiveShortName();
        args += shortName + " OUTPUT\\" + shortName + " REPORT.TMP\r\n";
        std::string content;
        if (entry.longName == "Annual Report.txt")
            content = "annual\r\n";
        else if (entry.longName == "README.TXT")
            content = "readme failed\r\n";
        else if (entry.longName == resume)
            content = std::string(1024, 'x');
        if (!content.empty())
            report += "\r\n" + shortName + " - " + entry.longName + "\r\n" + fileTime + "\r\n" + content;
        if (entry.needsRenaming())
            renames += entry.shortName + " to " + entry.longName +
                       (entry.longName == "notes.txt" ? ": Failed" : ": OK") + "\r\n";
    }
    status += "\r\nRenaming files:\r\n\r\n" + renames + "\r\n3 out of 4 files renamed.\r\n\r\nDone\r\n";
    EXPECT_EQ(ui.status, status);
    EXPECT_EQ(FileText("REPORT.TXT"), report);
    EXPECT_EQ(FileText("args.log"), args);
    EXPECT_EQ(FoundName("REPORT.TMP"), "");

    const std::map<std::string, std::string> output = {
        {"Annual Report.txt", "report annual\r\n"},
        {"README.TXT", "exit 3\r\nreport readme failed\r\n"},
        {resume, "report-bytes 1024\r\n"},
        {"empty.txt", "empty-report\r\n"},
    };
    EXPECT_EQ(Listing("OUTPUT"), output);
    EXPECT_EQ(ui.progressRange, 4u);  // the renaming's range
    EXPECT_EQ(ui.progressPos, 0u);
}

TEST_F(RunBatchWineTest, HtmlTableReportAndEarlierResults)
{
    PutFile("Page One.txt", "report <tr><td>one</td></tr>\r\n");
    CreateDirectoryA("OUTPUT", nullptr);
    PutFile("OUTPUT\\old.txt", "earlier");
    SetFileAttributesA("OUTPUT\\old.txt", FILE_ATTRIBUTE_HIDDEN);
    PutFile("OUTPUT\\keep.doc", "kept");
    PutFile("REPORT.LRV", "an older report");
    settings.rename = true;
    settings.handling = HandlingHtmlTable;
    settings.report = "REPORT.LRV";

    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.asked[0].text, "File(s) exist in the output directory, see the Status window.\r\n\r\nDelete?");
    EXPECT_EQ(ui.asked[1].text, "Report file already exists, delete?");
    EXPECT_EQ(FileText("REPORT.LRV"),
              "<html><head><title>Lorvan *.txt</title>\r\n"
              "<base target=\"lorvan\">\r\n"
              "<style><!-- h2, h3 {margin: 0} h4 {margin-top: 0} --></style>\r\n"
              "</head>\r\n"
              "<body bgcolor=\"#F0F0F0\">\r\n"
              "<h2 align=\"center\">" + Cwd() + "\\*.txt</h2>\r\n"
              "<h3 align=\"center\">" + runTime + "</h3>\r\n"
              "<h4 align=\"center\">" + settings.program + " " + settings.command + "</h4>\r\n"
              "<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\r\n"
              "<tr><td>one</td></tr>\r\n"
              "\r\n</table>\r\n</body>\r\n</html>");
    const std::map<std::string, std::string> output = {
        {"Page One.txt", "report <tr><td>one</td></tr>\r\n"}, {"keep.doc", "kept"}};
    EXPECT_EQ(Listing("OUTPUT"), output);
}

TEST_F(RunBatchWineTest, AppendingToATextReport)
{
    PutFile("a.txt", "report first\r\n");
    PutFile("REPORT.TXT", "old run");
    settings.handling = HandlingFilesTime;
    ui.answers = {Answer::No};
    engine.RunBatch();
    EXPECT_EQ(FileText("REPORT.TXT"), "old run\r\n================================\r\n\r\n" + Cwd() +
                                          "\\*.txt\r\n" + runTime + "\r\n" + settings.program + " " +
                                          settings.command + "\r\n\r\nfirst\r\n");
}

TEST_F(RunBatchWineTest, ReportMadeReadOnlyDuringTheRun)
{
    // The first command makes the report read-only. The run's handle was
    // opened for writing before, and keeps its access: the run goes on and
    // the report is whole.
    PutFile("a.txt", "readonly REPORT.TXT\r\nreport one\r\n");
    PutFile("b.txt", "report two\r\n");
    settings.handling = HandlingHtml;
    engine.RunBatch();
    EXPECT_TRUE(GetFileAttributesA("REPORT.TXT") & FILE_ATTRIBUTE_READONLY);
    std::string report = FileText("REPORT.TXT");
    EXPECT_NE(report.find("one\r\n"), std::string::npos);
    EXPECT_NE(report.find("two\r\n\r\n</body>\r\n</html>"), std::string::npos);
    EXPECT_TRUE(ui.asked.empty());

    // The next run cannot open it, nor create it; unless read-only binds
    // nobody here (Wine run by root), when it is asked about as usual.
    ui.answers = {Answer::Cancel};
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              ReadOnlyEnforced() ? "Cannot create Report file" : "Report file already exists, delete?");
    EXPECT_EQ(FileText("REPORT.TXT"), report);
}

TEST_F(RunBatchWineTest, NoneHandlingLeavesTheTemporaryFile)
{
    PutFile("a.txt", "report one\r\n");
    settings.handling = HandlingNone;
    engine.RunBatch();
    EXPECT_EQ(FileText("REPORT.TMP"), "one\r\n");
    EXPECT_EQ(FoundName("REPORT.TXT"), "");
    EXPECT_EQ(ui.status, "Handling commands:\r\n\r\n\"a.txt\"  \"A.TXT\": OK\r\n\r\nDone\r\n");
}

TEST_F(RunBatchWineTest, TranslateDirectoryShortForm)
{
    PutFile("My Page.txt", "x");
    CreateDirectoryA("My Page_files", nullptr);
    settings.test = true;
    settings.translate = "**_files";
    settings.command = "***";
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text, AliasOf("My Page_files"));
    settings.fullPath = true;
    ui.asked.clear();
    engine.RunBatch();
    char shortCwd[MAX_PATH];
    GetShortPathNameA(Cwd().c_str(), shortCwd, MAX_PATH);
    std::string expected = std::string(shortCwd) + "\\" + AliasOf("My Page_files");
    for (char& c : expected)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ui.asked.at(0).text, expected);
}

TEST_F(RunBatchWineTest, OutputNamedWithSlashIsRefusedAndNothingDeleted)
{
    // Windows takes "/" for a backslash: SUB/OUT is not directly under the
    // working directory, and what it holds is never offered for deletion.
    PutFile("a.txt", "x");
    CreateDirectoryA("SUB", nullptr);
    CreateDirectoryA("SUB\\OUT", nullptr);
    PutFile("SUB\\OUT\\a.txt", "keep");
    settings.rename = true;
    settings.output = "SUB/OUT";
    engine.RunBatch();
    ASSERT_EQ(ui.asked.size(), 1u);
    EXPECT_EQ(ui.asked[0].text,
              "Lorvan supports only a directory directly under the Current Working Directory as the output files "
              "directory");
    EXPECT_EQ(FileText("SUB\\OUT\\a.txt"), "keep");
    EXPECT_EQ(FoundName("args.log"), "");  // nothing was run
    EXPECT_EQ(FoundName("REPORT.TXT"), "");
}
