// The Win32 platform on real directories under Wine, for what whole runs
// do not show: attributes, failures, sharing and the code page.
#include "common/text/win32/Text.h"
#include "runner/engine/win32/Win32Platform.h"
#include "testing/WindowTestSupport.h"

#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

using namespace lorvan;

class Win32PlatformTest : public InScratchDir {
protected:
    Win32Platform platform;
};

TEST_F(Win32PlatformTest, EnumerationExistenceAndShortPaths) {
    dir.WriteFile("Annual Report.txt", "a");
    dir.WriteFile("README.TXT", "r");
    dir.WriteFile("hidden.txt", "h");
    SetFileAttributesA("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA("dir.txt", nullptr);
    std::map<std::string, FoundEntry> found;
    EXPECT_TRUE(platform.Enumerate("*.txt", [&](const FoundEntry& e) { found[e.name] = e; }));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_NE(found["Annual Report.txt"].alternateName.find('~'), std::string::npos);
    EXPECT_EQ(found["README.TXT"].alternateName, "");
    EXPECT_TRUE(found["hidden.txt"].attributes & text::AttributeHidden);
    EXPECT_TRUE(found["dir.txt"].attributes & text::AttributeDirectory);
    EXPECT_FALSE(platform.Enumerate("*.none", [](const FoundEntry&) {}));
    EXPECT_FALSE(platform.Enumerate("nodir\\*", [](const FoundEntry&) {}));

    uint32_t attributes = 0;
    EXPECT_TRUE(platform.Exists("dir.txt", &attributes));
    EXPECT_TRUE(attributes & text::AttributeDirectory);
    EXPECT_FALSE(platform.Exists("none"));
    std::string shortPath;
    ASSERT_TRUE(platform.ShortPath(Cwd() + "\\Annual Report.txt", shortPath));
    EXPECT_EQ(shortPath.find(' '), std::string::npos);
    EXPECT_NE(shortPath.find('~'), std::string::npos);
    EXPECT_FALSE(platform.ShortPath("none", shortPath));
}

TEST_F(Win32PlatformTest, FileOperationsAndSharing) {
    EXPECT_TRUE(platform.MakeDirectory("OUT"));
    EXPECT_FALSE(platform.MakeDirectory("OUT"));
    dir.WriteFile("OUT\\UPPER.TXT", "u");
    EXPECT_TRUE(platform.RenameFile("OUT\\UPPER.TXT", "OUT\\upper.txt"));  // letter case only
    EXPECT_FALSE(platform.RenameFile("OUT\\none.txt", "OUT\\x.txt"));
    EXPECT_EQ(dir.Listing("OUT"), (std::map<std::string, std::string>{{"upper.txt", "u"}}));

    auto created = platform.CreateForWriting("R.TXT");
    ASSERT_TRUE(created);
    EXPECT_FALSE(platform.CreateForWriting("R.TXT"));
    EXPECT_FALSE(platform.OpenForWriting("R.TXT"));  // one writer only
    EXPECT_TRUE(created->Write("hello", 5));
    EXPECT_EQ(created->Size(), 5u);
    created.reset();
    EXPECT_TRUE(GetFileAttributesA("R.TXT") & FILE_ATTRIBUTE_ARCHIVE);
    auto writer = platform.OpenForWriting("R.TXT");
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->SeekToEnd());
    EXPECT_TRUE(writer->Write("!", 1));
    EXPECT_EQ(dir.ReadFile("R.TXT"), "hello!");  // others may read meanwhile
    EXPECT_TRUE(writer->Truncate());
    EXPECT_EQ(writer->Size(), 0u);
    writer.reset();

    dir.WriteFile("T.TMP", "temp");
    auto reader = platform.OpenForReading("T.TMP");
    ASSERT_TRUE(reader);
    EXPECT_FALSE(platform.RemoveFile("T.TMP"));  // shared with nobody
    char buffer[16];
    size_t got = 0;
    EXPECT_TRUE(reader->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "temp");
    EXPECT_TRUE(reader->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(got, 0u);

    if (dir.ReadOnlyEnforced()) {  // not when Wine runs as root
        SetFileAttributesA("R.TXT", FILE_ATTRIBUTE_READONLY);
        EXPECT_FALSE(platform.OpenForWriting("R.TXT"));
    }
}

TEST_F(Win32PlatformTest, CodePageAndClock) {
    EXPECT_GE(platform.LocalTime().tm_year, 120);
    const bool utf8 = text::ProcessIsUtf8();
    EXPECT_EQ(GetACP(), utf8 ? CP_UTF8 : 1252u);
    EXPECT_EQ(platform.ReportCharset(), utf8 ? "utf-8" : "windows-1252");
    const std::string cafe = text::Narrow(L"café.txt");
    std::string oem;
    // The OEM code page is the system's (437 here), also where GetOEMCP says UTF-8.
    EXPECT_TRUE(platform.ConvertToOem(cafe, oem));
    EXPECT_EQ(oem, utf8 ? cafe : "caf\x82.txt");  // a UTF-8 command line carries characters
    EXPECT_EQ(platform.DosLength(cafe), 8u);
    EXPECT_EQ(platform.FromOem("caf\x82 \xC4\xC4"), utf8 ? text::Narrow(L"café ──") : "caf\x82 \xC4\xC4");
    EXPECT_EQ(platform.UpperCase(cafe), text::Narrow(L"CAFÉ.TXT"));
    EXPECT_EQ(platform.CompareNoCase(text::Narrow(L"café.TMP"), text::Narrow(L"CAFÉ.tmp")), 0);
    if (utf8) {
        EXPECT_FALSE(platform.ConvertToOem(text::Narrow(L"ИМЯ.TXT"), oem));  // no DOS program reads it
        EXPECT_EQ(platform.UpperCase(text::Narrow(L"ωmega ǆ")), text::Narrow(L"ΩMEGA Ǆ"));
        EXPECT_EQ(platform.CompareNoCase(text::Narrow(L"Имя.txt"), text::Narrow(L"иМЯ.TXT")), 0);
    }
    EXPECT_LT(platform.CompareNoCase(".TMP", ".txt"), 0);
    EXPECT_GT(platform.CompareNoCase(".tmpx", ".TMP"), 0);
}

TEST_F(Win32PlatformTest, CommandsAsTheRuntimesSystemGivesThem) {
    // The interpreter gets the line as system() gives it, so its statuses,
    // redirections and "%" stay; a program started directly gives the same.
    const std::string fakedos = ExeDirectory() + "\\fakedos.exe";
    dir.WriteFile("in.txt", "exit 5\r\necho said\r\n");
    const std::string lines[] = {
        "exit 3",
        "nosuch-program a b",
        fakedos + " in.txt out.txt t.tmp >said.log",
        fakedos + " in.txt",
        "echo 100%% %%PATH%% >pct.log",
    };
    for (const std::string& line : lines) {
        std::string logs[2];
        int statuses[2];
        for (int way = 0; way < 2; ++way) {
            DeleteFileA("said.log");
            DeleteFileA("pct.log");
            statuses[way] = way == 0 ? std::system(line.c_str()) : platform.System(line);
            logs[way] = dir.ReadFile("said.log") + "|" + dir.ReadFile("pct.log");
        }
        EXPECT_EQ(statuses[1], statuses[0]) << line;
        EXPECT_EQ(logs[1], logs[0]) << line;
        if (line.find(">said.log") != std::string::npos) {
            EXPECT_EQ(logs[1], "said\r\n|<missing>");
        }
    }
    int status = 0;
    EXPECT_TRUE(platform.StartProgram(fakedos, "fakedos in.txt out.txt t.tmp", status));
    EXPECT_EQ(status, 5);
    EXPECT_FALSE(platform.StartProgram(Cwd() + "\\none.exe", "none", status));
    EXPECT_FALSE(platform.EndRunningCommand());
}
