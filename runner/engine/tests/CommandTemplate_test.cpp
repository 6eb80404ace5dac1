#include "FakePlatform.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/FileDiscovery.h"
#include "runner/engine/RunSettings.h"

#include <gtest/gtest.h>

using namespace runner;

namespace {

// The set of a Symbols entry; -1 for none selected.
SymbolSet Set(int index) {
    return ReadSymbolSet(index < 0 ? "" : symbolSetTexts[index]);
}

}  // namespace

TEST(BuildInterpreterLine, NamesReachTheProgramUnchanged) {
    // What the interpreter must get so that the program receives each name
    // as it is: "^" before what it reads outside quotes, nothing inside
    // them; whether a place is quoted comes from the user's text alone.
    struct Row {
        const char* command;
        const char* longName;
        const char* line;  // empty when not run
        char blocked;
    };
    const Row rows[] = {
        {"**", "a&q&.txt", "p a^&q^&.txt", 0},
        {"\"**\"", "b & q & x.txt", "p \"b & q & x.txt\"", 0},
        {"** >x", "c^d|e<f>g(h).txt", "p c^^d^|e^<f^>g^(h^).txt >x", 0},
        {"\"**\" ** \"a\"**", "(a)", "p \"(a)\" ^(a^) \"a\"^(a^)", 0},
        {"**", "g!PATH!.txt", "p g!PATH!.txt", 0},  // the interpreter runs with delayed expansion off
        {"50%% ** %", "x", "p 50%% x %%", 0},       // the user's own "%" as the line has always had it
        {"**", "f%PATH%.txt", "", '%'},
        {"\"**\"", "f%.txt", "", '%'},
        {"**", "a\"b", "", '"'},
        {"* **", "a\rb", "", '\r'},
    };
    for (const Row& row : rows) {
        CommandFormat format;
        ASSERT_TRUE(ParseCommandTemplate(row.command, Set(0), format));
        const InterpreterLine line = BuildInterpreterLine("p", format, {"SHORT", row.longName, ""});
        EXPECT_EQ(line.line, row.line) << row.command;
        EXPECT_EQ(line.blocked, row.blocked) << row.command;
    }
}

TEST(UserTextNeedsInterpreter, DecidedByTheUsersTextAlone) {
    for (auto [command, needs] : {std::pair{"\"**\" -q", false}, {"* >NUL", true}, {"(*)", true}}) {
        CommandFormat format;
        ASSERT_TRUE(ParseCommandTemplate(command, Set(0), format));
        EXPECT_EQ(UserTextNeedsInterpreter("DOSCONV", format), needs) << command;
    }
}

TEST(RelativeToCwd, DropsTheWorkingDirectory) {
    // A drive root's separator doubled; fewer backslashes than the working directory: what follows the last.
    for (auto [shortPath, cwd, expected] : {std::tuple{"C:\\DATA\\SUB\\X", "C:\\Data\\Sub", "X"},
                                            {"C:\\\\MYPAGE~1", "C:\\", "MYPAGE~1"},
                                            {"C:\\DATA\\MYPAGE~1\\SUB", "C:\\DATA", "MYPAGE~1\\SUB"},
                                            {"\\\\SRV\\SHARE\\DIR\\X", "\\\\srv\\share\\dir", "X"},
                                            {"C:\\X", "C:\\A\\B\\C", "X"},
                                            {"C:\\MYPAGE~1\\SUB", "C:\\", "MYPAGE~1\\SUB"},
                                            {"NOSLASH", "C:\\A", "NOSLASH"}})
        EXPECT_EQ(RelativeToCwd(shortPath, cwd, text::SingleByteCodePage()), expected) << shortPath << " in " << cwd;
    // Code page 932: the second byte 0x5C of a character is no backslash.
    const FakePlatform japanese("C:\\DATA", 932);
    EXPECT_EQ(RelativeToCwd("C:\\\x95\x5C\\PAGE~1", "C:\\\x95\x5C", japanese), "PAGE~1");
    EXPECT_EQ(RelativeToCwd("C:\\DATA\\\x83\x5C~1", "C:\\DATA", japanese), "\x83\x5C~1");
}
