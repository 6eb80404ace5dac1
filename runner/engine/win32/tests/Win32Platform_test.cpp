// The Win32 platform on a real volume under Wine, for what runs do not
// show: aliases and short paths, sharing, and the code pages.
#include "common/text/win32/Text.h"
#include "runner/engine/win32/Win32Platform.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace runner;

class Win32PlatformTest : public InScratchDir {
protected:
    Win32Platform platform;
};

TEST_F(Win32PlatformTest, AliasesShortPathsAndOneWriter) {
    dir.WriteFile("Annual Report.txt", "a");
    dir.WriteFile("README.TXT", "r");
    std::map<std::string, std::string> aliases;
    EXPECT_TRUE(platform.Enumerate("*.txt", [&](const FoundEntry& e) { aliases[e.name] = e.alternateName; }));
    EXPECT_NE(aliases["Annual Report.txt"].find('~'), std::string::npos);
    EXPECT_EQ(aliases["README.TXT"], "");
    std::string shortPath;
    ASSERT_TRUE(platform.ShortPath(Cwd() + "\\Annual Report.txt", shortPath));
    EXPECT_EQ(shortPath.substr(shortPath.rfind('\\') + 1), aliases["Annual Report.txt"]);
    EXPECT_FALSE(platform.ShortPath("none", shortPath));

    // One writer at a time, and readers meanwhile: a second Lorvan's run
    // cannot take the stand-in journal of a run in progress.
    auto writer = platform.CreateForWriting("J.TXT");
    ASSERT_TRUE(writer);
    EXPECT_TRUE(writer->Write("hello", 5));
    EXPECT_FALSE(platform.CreateForWriting("J.TXT"));
    EXPECT_FALSE(platform.OpenForWriting("J.TXT"));
    EXPECT_EQ(dir.ReadFile("J.TXT"), "hello");
}

TEST_F(Win32PlatformTest, CodePages) {
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
}
