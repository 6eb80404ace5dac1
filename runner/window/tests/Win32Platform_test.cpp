// The Win32 platform on real directories under Wine.
#include "WineTestDirectory.h"

#include "runner/window/Win32Platform.h"

#include <windows.h>

#include <gtest/gtest.h>

using namespace lorvan;

class Win32PlatformTest : public WineTestDirectory {
protected:
    Win32Platform platform;
};

TEST_F(Win32PlatformTest, EnumerationGivesAttributesAndAliases)
{
    PutFile("Annual Report.txt", "a");
    PutFile("README.TXT", "r");
    PutFile("hidden.txt", "h");
    SetFileAttributesA("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA("dir.txt", nullptr);
    std::map<std::string, FoundEntry> found;
    EXPECT_TRUE(platform.Enumerate("*.txt", [&](const FoundEntry& e) { found[e.name] = e; }));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_FALSE(found["Annual Report.txt"].alternateName.empty());
    EXPECT_NE(found["Annual Report.txt"].alternateName.find('~'), std::string::npos);
    EXPECT_EQ(found["README.TXT"].alternateName, "");
    EXPECT_TRUE(found["hidden.txt"].attributes & AttributeHidden);
    EXPECT_TRUE(found["dir.txt"].attributes & AttributeDirectory);
    EXPECT_FALSE(platform.Enumerate("*.none", [](const FoundEntry&) {}));
    EXPECT_FALSE(platform.Enumerate("nodir\\*", [](const FoundEntry&) {}));
}

TEST_F(Win32PlatformTest, ExistsShortPathAndNames)
{
    CreateDirectoryA("My Page_files", nullptr);
    uint32_t attributes = 0;
    EXPECT_TRUE(platform.Exists("My Page_files", &attributes));
    EXPECT_TRUE(attributes & AttributeDirectory);
    EXPECT_FALSE(platform.Exists("none"));
    std::string shortPath;
    ASSERT_TRUE(platform.ShortPath(Cwd() + "\\My Page_files", shortPath));
    EXPECT_EQ(shortPath.find(' '), std::string::npos);
    EXPECT_NE(shortPath.find('~'), std::string::npos);
    EXPECT_FALSE(platform.ShortPath("none", shortPath));
}

TEST_F(Win32PlatformTest, FileOperations)
{
    PutFile("a.txt", "a");
    EXPECT_TRUE(platform.MakeDirectory("OUT"));
    EXPECT_FALSE(platform.MakeDirectory("OUT"));
    EXPECT_TRUE(platform.RenameFile("a.txt", "OUT\\Long name.txt"));
    EXPECT_TRUE(platform.Exists("OUT\\Long name.txt"));
    PutFile("OUT\\UPPER.TXT", "u");
    EXPECT_TRUE(platform.RenameFile("OUT\\UPPER.TXT", "OUT\\upper.txt"));  // letter case only
    EXPECT_EQ(FoundName("OUT\\upper.txt"), "upper.txt");
    EXPECT_TRUE(platform.RemoveFile("OUT\\Long name.txt"));
    EXPECT_FALSE(platform.RemoveFile("OUT\\Long name.txt"));
}

TEST_F(Win32PlatformTest, ReportFileSharing)
{
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
    EXPECT_EQ(FileText("R.TXT"), "hello!");  // others may read meanwhile
    EXPECT_TRUE(writer->Truncate());
    EXPECT_EQ(writer->Size(), 0u);
    writer.reset();

    PutFile("T.TMP", "temp");
    auto reader = platform.OpenForReading("T.TMP");
    ASSERT_TRUE(reader);
    char buffer[16];
    size_t got = 0;
    EXPECT_TRUE(reader->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "temp");
    EXPECT_TRUE(reader->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(got, 0u);
    reader.reset();
    EXPECT_TRUE(platform.RemoveFile("T.TMP"));
}

TEST_F(Win32PlatformTest, ReadOnlyReportCannotBeOpened)
{
    PutFile("RO.TXT", "ro");
    if (!ReadOnlyEnforced())
        GTEST_SKIP() << "read-only files are writable here (Wine run by root)";
    SetFileAttributesA("RO.TXT", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(platform.OpenForWriting("RO.TXT"));
    EXPECT_FALSE(platform.CreateForWriting("RO.TXT"));
}

TEST_F(Win32PlatformTest, SystemReturnsTheExitStatus)
{
    EXPECT_EQ(platform.System("exit 3"), 3);
    EXPECT_EQ(platform.System("exit 0"), 0);
    EXPECT_EQ(platform.System("echo x>made.txt"), 0);
    EXPECT_EQ(FileText("made.txt"), "x\r\n");  // run in the current directory
}

TEST_F(Win32PlatformTest, CodePageServices)
{
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(platform.ConvertToOem("caf\xE9.txt"), "caf\x82.txt");
    EXPECT_EQ(platform.UpperCase("caf\xE9.txt"), "CAF\xC9.TXT");
    EXPECT_EQ(platform.CompareNoCase("caf\xE9.TMP", "CAF\xC9.tmp"), 0);
    EXPECT_LT(platform.CompareNoCase(".TMP", ".txt"), 0);
    EXPECT_GT(platform.CompareNoCase(".tmpx", ".TMP"), 0);
    std::tm now = platform.LocalTime();
    EXPECT_GE(now.tm_year, 120);
}
