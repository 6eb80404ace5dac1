#include "FakePlatform.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/FileDiscovery.h"
#include "runner/engine/RunSettings.h"

#include <gtest/gtest.h>

using namespace lorvan;

namespace {

SymbolSet Set(int index)
{
    return ReadSymbolSet(symbolSetTexts[index]);
}

// The format written as text: literals as they are, slots as <S>, <L>, <T>.
std::string Show(const CommandFormat& format)
{
    std::string out;
    for (const CommandItem& item : format.items) {
        switch (item.kind) {
        case SlotKind::Literal: out += item.text; break;
        case SlotKind::ShortSlot: out += "<S>"; break;
        case SlotKind::LongSlot: out += "<L>"; break;
        case SlotKind::TranslateSlot: out += "<T>"; break;
        }
    }
    return out;
}

std::string Parse(std::string_view text, int set)
{
    CommandFormat format;
    if (!ParseCommandTemplate(text, Set(set), format))
        return "TooManySymbols";
    return Show(format);
}

FileValues Values(const char* s, const char* l, const char* t)
{
    return FileValues{s, l, t};
}

}  // namespace

TEST(ReadSymbolSet, AllFiveSets)
{
    const char* expected[5][3] = {
        {"*", "**", "***"}, {"*.*", "*:*", "*-*"}, {"*#*", "*$*", "*%*"},
        {"*s*", "*l*", "*t*"}, {"*S*", "*L*", "*T*"},
    };
    for (int i = 0; i < 5; ++i) {
        SymbolSet set = Set(i);
        EXPECT_EQ(set.shortSymbol, expected[i][0]);
        EXPECT_EQ(set.longSymbol, expected[i][1]);
        EXPECT_EQ(set.translateSymbol, expected[i][2]);
    }
}

TEST(ReadSymbolSet, WithoutTwoCommasNoSymbols)
{
    for (const char* text : {"", "*", "*, **", ",", "*,"}) {
        SymbolSet set = ReadSymbolSet(text);
        EXPECT_TRUE(set.shortSymbol.empty() && set.longSymbol.empty() && set.translateSymbol.empty()) << text;
    }
    // Commas without the spaces are not read past.
    SymbolSet set = ReadSymbolSet("*,,");
    EXPECT_EQ(set.shortSymbol, "*");
    EXPECT_EQ(set.longSymbol, "");
    EXPECT_EQ(set.translateSymbol, "");
}

TEST(ParseCommandTemplate, SetZeroLongestFirst)
{
    EXPECT_EQ(Parse("* OUTPUT\\*", 0), "<S> OUTPUT\\<S>");
    EXPECT_EQ(Parse("**", 0), "<L>");
    EXPECT_EQ(Parse("***", 0), "<T>");
    EXPECT_EQ(Parse("****", 0), "<T><S>");
    EXPECT_EQ(Parse("*****", 0), "<T><L>");
    EXPECT_EQ(Parse("x*", 0), "x<S>");
    EXPECT_EQ(Parse("***.LOG", 0), "<T>.LOG");
}

TEST(ParseCommandTemplate, ThreeCharacterSetsKeepOtherStarsLiteral)
{
    EXPECT_EQ(Parse("**.*", 1), "*<S>");
    EXPECT_EQ(Parse("a *:* b *-* c*", 1), "a <L> b <T> c*");
    EXPECT_EQ(Parse("*", 1), "*");
    EXPECT_EQ(Parse("*#* *$* *%*", 2), "<S> <L> <T>");
    EXPECT_EQ(Parse("*s* *l* *t* *S*", 3), "<S> <L> <T> *S*");
    EXPECT_EQ(Parse("*S* *L* *T* *s*", 4), "<S> <L> <T> *s*");
    EXPECT_EQ(Parse("*s", 3), "*s");  // the template ends before the symbol
}

TEST(ParseCommandTemplate, TenSymbolsParseTheEleventhFails)
{
    EXPECT_EQ(Parse("* * * * * * * * * *", 0), "<S> <S> <S> <S> <S> <S> <S> <S> <S> <S>");
    EXPECT_EQ(Parse("* * * * * * * * * * *", 0), "TooManySymbols");
    EXPECT_EQ(Parse("*s**s**s**s**s**s**s**s**s**s*", 3), "<S><S><S><S><S><S><S><S><S><S>");
    EXPECT_EQ(Parse("*s**s**s**s**s**s**s**s**s**s**s*", 3), "TooManySymbols");
    // Literal stars do not count.
    EXPECT_EQ(Parse("*.* * * * * * * * * * * * *", 1), "<S> * * * * * * * * * * * *");
}

TEST(ParseCommandTemplate, WithoutSymbolsAllIsLiteral)
{
    CommandFormat format;
    ASSERT_TRUE(ParseCommandTemplate("-x * ** ***", ReadSymbolSet(""), format));
    EXPECT_EQ(Show(format), "-x * ** ***");
    ASSERT_EQ(format.items.size(), 1u);
}

TEST(ParseCommandTemplate, AlwaysEndsWithLiteral)
{
    CommandFormat format;
    ASSERT_TRUE(ParseCommandTemplate("*", Set(0), format));
    ASSERT_EQ(format.items.size(), 3u);
    EXPECT_EQ(format.items[0].kind, SlotKind::Literal);
    EXPECT_EQ(format.items[1].kind, SlotKind::ShortSlot);
    EXPECT_EQ(format.items[2].kind, SlotKind::Literal);
    EXPECT_EQ(format.items[2].text, "");
}

TEST(ParseCommandTemplate, PercentInLiteralText)
{
    EXPECT_EQ(Parse("100%% *", 0), "100% <S>");
    EXPECT_EQ(Parse("%s %d %", 0), "%s %d %");
    EXPECT_EQ(Parse("%%%", 0), "%%");
    EXPECT_EQ(Parse("%*%", 0), "%<S>%");  // a slot splits "%%"
}

TEST(ParseCommandTemplate, LongTemplate)
{
    std::string text(1000, 'x');
    for (size_t i = 0; i < text.size(); i += 100)
        text[i] = '*';
    EXPECT_EQ(Parse(text, 0).size(), 1000u - 10 + 30);
    EXPECT_EQ(Parse(text + "*", 0), "TooManySymbols");
    EXPECT_EQ(Parse(std::string(1000, '%'), 0), std::string(500, '%'));
}

TEST(ExpandCommand, PutsValuesInSlots)
{
    CommandFormat format;
    ASSERT_TRUE(ParseCommandTemplate("* OUTPUT\\* \"**\" ***.LOG", Set(0), format));
    EXPECT_EQ(ExpandCommand(format, Values("ANNUAL~1.TXT", "Annual Report.txt", "_No_t_d_")),
              "ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT \"Annual Report.txt\" _No_t_d_.LOG");
    ASSERT_TRUE(ParseCommandTemplate("-v", Set(0), format));
    EXPECT_EQ(ExpandCommand(format, Values("A", "B", "C")), "-v");
}

TEST(ExpandCommand, LengthBoundary)
{
    CommandFormat format;
    ASSERT_TRUE(ParseCommandTemplate(std::string(114, 'x') + "*", Set(0), format));
    std::string fits = ExpandCommand(format, Values("ABCDEFGH.TXT", "", ""));
    EXPECT_EQ(fits.size(), 126u);
    EXPECT_FALSE(IsCommandTooLong(fits));
    std::string over = ExpandCommand(format, Values("ABCDEFGH.TXTX", "", ""));
    EXPECT_EQ(over.size(), 127u);
    EXPECT_TRUE(IsCommandTooLong(over));
}

TEST(BuildCommandLine, DoublesEveryPercent)
{
    EXPECT_EQ(BuildCommandLine("prog", "-t MYFILE.ZIP"), "prog -t MYFILE.ZIP");
    EXPECT_EQ(BuildCommandLine("p%1", "50% %PATH%"), "p%%1 50%% %%PATH%%");
    CommandFormat format;
    ASSERT_TRUE(ParseCommandTemplate("%% *", Set(0), format));
    EXPECT_EQ(BuildCommandLine("p", ExpandCommand(format, Values("A%B", "", ""))), "p %% A%%B");
}

TEST(RelativeToCwd, DropsTheWorkingDirectory)
{
    EXPECT_EQ(RelativeToCwd("C:\\DATA\\MYPAGE~1", "C:\\DATA"), "MYPAGE~1");
    EXPECT_EQ(RelativeToCwd("C:\\DATA\\MYPAGE~1\\SUB", "C:\\DATA"), "MYPAGE~1\\SUB");
    EXPECT_EQ(RelativeToCwd("C:\\DATA\\SUB\\X", "C:\\Data\\Sub"), "X");
    // A drive root: the doubled separator kept or shortened.
    EXPECT_EQ(RelativeToCwd("C:\\MYPAGE~1", "C:\\"), "MYPAGE~1");
    EXPECT_EQ(RelativeToCwd("C:\\\\MYPAGE~1", "C:\\"), "MYPAGE~1");
    EXPECT_EQ(RelativeToCwd("C:\\MYPAGE~1\\SUB", "C:\\"), "MYPAGE~1\\SUB");
    // Fewer backslashes than the working directory: what follows the last.
    EXPECT_EQ(RelativeToCwd("C:\\X", "C:\\A\\B\\C"), "X");
    EXPECT_EQ(RelativeToCwd("NOSLASH", "C:\\A"), "NOSLASH");
    EXPECT_EQ(RelativeToCwd("", "C:\\A"), "");
    EXPECT_EQ(RelativeToCwd("\\\\SRV\\SHARE\\DIR\\X", "\\\\srv\\share\\dir"), "X");
}

class FileValuesTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings;
    SymbolSet set0 = Set(0);

    void SetUp() override { settings.cwd = platform.Cwd(); }
    FileValues Make(const FileEntry& entry) { return MakeFileValues(entry, settings, set0, platform); }
};

TEST_F(FileValuesTest, ShortValueConvertedOnlyInRealRun)
{
    FileEntry entry{"", "CAF\xC9.TXT"};
    EXPECT_EQ(Make(entry).shortValue, "CAF\x90.TXT");
    EXPECT_EQ(Make(entry).longValue, "CAF\xC9.TXT");
    settings.test = true;
    EXPECT_EQ(Make(entry).shortValue, "CAF\xC9.TXT");
    FileEntry aliased{"R\xC9SUM~1.TXT", "R\xE9sum\xE9 long.txt"};
    settings.test = false;
    EXPECT_EQ(Make(aliased).shortValue, "R\x90SUM~1.TXT");
    EXPECT_EQ(Make(aliased).longValue, "R\xE9sum\xE9 long.txt");
}

TEST_F(FileValuesTest, TranslateOffGivesMarker)
{
    platform.AddDirectory("My Page_files", "MYPAGE~1");
    FileEntry entry{"MYPAGE~1.HTM", "My Page.htm"};
    for (const char* t : {"", " ", "\t**_files"}) {
        settings.translate = t;
        EXPECT_EQ(Make(entry).translateValue, "_No_t_d_") << t;
    }
}

TEST_F(FileValuesTest, TranslateRelative)
{
    platform.AddDirectory("My Page_files", "MYPAGE~1");
    settings.translate = "**_files";
    FileEntry entry{"MYPAGE~1.HTM", "My Page.htm"};
    EXPECT_EQ(Make(entry).translateValue, "MYPAGE~1");
    settings.fullPath = true;
    EXPECT_EQ(Make(entry).translateValue, "C:\\DATA\\MYPAGE~1");
}

TEST_F(FileValuesTest, TranslateBaseNameAndUpperCase)
{
    platform.AddDirectory("a.b_files");      // valid 8.3? no: kept lower, upper-cased here
    platform.AddDirectory("noext_x");
    platform.AddDirectory("_x");
    settings.translate = "**_files";
    EXPECT_EQ(Make({"", "a.b.htm"}).translateValue, "A.B_FILES");
    settings.translate = "**_x";
    EXPECT_EQ(Make({"", "noext"}).translateValue, "NOEXT_X");
    EXPECT_EQ(Make({"", ".htm"}).translateValue, "_X");
    // Every occurrence of the long symbol, left to right.
    platform.AddDirectory("p");
    platform.AddDirectory("p\\p");
    settings.translate = "**\\**";
    EXPECT_EQ(Make({"", "p.htm"}).translateValue, "P\\P");
}

TEST_F(FileValuesTest, TranslateSymbolOfTheChosenSet)
{
    platform.AddDirectory("Page_files", "PAGE_F~1");
    settings.translate = "*l*_files";
    set0 = Set(3);
    EXPECT_EQ(Make({"PAGE~1.HTM", "Page.htm"}).translateValue, "PAGE_F~1");
    set0 = Set(4);  // *L* does not match *l*
    EXPECT_EQ(Make({"PAGE~1.HTM", "Page.htm"}).translateValue, "_No_t_d_");
}

TEST_F(FileValuesTest, TranslateAbsoluteIsFullPath)
{
    platform.AddDirectory("C:\\WORK");
    platform.AddDirectory("C:\\WORK\\Long Name", "LONGNA~1");
    settings.translate = "C:\\WORK\\**";
    settings.fullPath = false;  // held on by the dialog; the engine holds it too
    EXPECT_EQ(Make({"", "Long Name.txt"}).translateValue, "C:\\WORK\\LONGNA~1");
    settings.translate = "\\WORK\\**";
    EXPECT_EQ(Make({"", "Long Name.txt"}).translateValue, "C:\\WORK\\LONGNA~1");
}

TEST_F(FileValuesTest, MissingOrUnusableGivesMarker)
{
    settings.translate = "**_files";
    EXPECT_EQ(Make({"", "NONE.HTM"}).translateValue, "_No_t_d_");
    platform.AddDirectory("X_files").failShortPath = true;
    EXPECT_EQ(Make({"", "X.HTM"}).translateValue, "_No_t_d_");
    // A short form longer than 223 characters does not fit its buffer.
    std::string deep = "C:\\DATA";
    std::string name(60, 'd');
    for (int i = 0; i < 4; ++i) {
        deep += "\\" + name;
        platform.AddDirectory(deep);
    }
    settings.translate = deep;  // 7 + 4 * 61 = 251 characters
    EXPECT_EQ(Make({"", "Y.HTM"}).translateValue, "_No_t_d_");
}

TEST_F(FileValuesTest, DriveRootWorkingDirectory)
{
    FakePlatform root("C:\\");
    root.AddDirectory("My Page_files", "MYPAGE~1");
    settings.cwd = "C:\\";
    settings.translate = "**_files";
    FileValues values = MakeFileValues({"MYPAGE~1.HTM", "My Page.htm"}, settings, set0, root);
    EXPECT_EQ(values.translateValue, "MYPAGE~1");
    settings.fullPath = true;
    values = MakeFileValues({"MYPAGE~1.HTM", "My Page.htm"}, settings, set0, root);
    EXPECT_EQ(values.translateValue, "C:\\MYPAGE~1");
}
