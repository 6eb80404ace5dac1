#include "FakePlatform.h"

#include "runner/engine/ProgramStart.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(ResolveProgram, LooksUpAsTheCommandInterpreter) {
    FakePlatform platform("C:\\DATA");
    platform.environment = {{"PATH", "C:\\BIN;;\"C:\\TOOLS\\\""}, {"PATHEXT", ".COM;.EXE;.BAT;.CMD"}};
    for (const char* directory : {"C:\\BIN", "C:\\TOOLS", "sub", "app.exe"}) platform.AddDirectory(directory);
    for (const char* file : {"both.exe", "both.com", "local.bat", "odd.exe.com", "sub\\conv.com", "C:\\BIN\\tool.exe",
                             "C:\\BIN\\local.exe", "C:\\BIN\\copy.exe", "C:\\BIN\\xopy.exe", "C:\\BIN\\app.exe",
                             "C:\\TOOLS\\tool.com", "C:\\TOOLS\\conv.exe", "C:\\TOOLS\\plain"})
        platform.AddFile(file);
    const std::pair<const char*, const char*> rows[] = {
        {"both", "both.COM"},                        // PATHEXT's order, not the name's
        {"both.exe", "both.exe"},                    // an extension as given
        {"local", "local.BAT"},                      // the working directory before PATH
        {"tool", "C:\\BIN\\tool.EXE"},               // PATH's order before PATHEXT's
        {"TOOL.EXE", "C:\\BIN\\TOOL.EXE"},           // the name as given
        {"tool.com", "C:\\TOOLS\\tool.com"},         // a quoted PATH entry ending in "\"
        {"app.exe", "C:\\BIN\\app.exe"},             // a directory is no program
        {"C:\\TOOLS\\conv", "C:\\TOOLS\\conv.EXE"},  // a path: that directory only
        {"sub\\conv", "sub\\conv.COM"},
        {"xopy", "C:\\BIN\\xopy.EXE"},  // one letter from a built-in command
    };
    for (const auto& [program, expected] : rows) EXPECT_EQ(ResolveProgram(program, platform), expected) << program;
    // Left to the interpreter: not found (plain: no name without an
    // extension is run), odd.exe missing while odd.exe.com is there (where
    // interpreters differ), built-in commands, names the interpreter ends
    // early or reads otherwise.
    for (const char* program : {"C:\\BIN\\none", "plain", "odd.exe", "copy", "Echo.exe", "both x", "both,x", "both;x",
                                "both=x", "C:/BIN/tool", "\\tool", "@both", "bo?h", "both&x", "(both)", "\"both\"", ""})
        EXPECT_EQ(ResolveProgram(program, platform), "") << program;
    // Without PATHEXT the interpreter's own default would decide.
    platform.environment.erase("PATHEXT");
    EXPECT_EQ(ResolveProgram("both.exe", platform), "");
}

TEST(ResolveProgram, DirectStartRule) {
    for (const char* file : {"a.exe", "A.EXE", "C:\\X\\A.Com", ".com"}) EXPECT_TRUE(IsDirectlyStartable(file)) << file;
    for (const char* file : {"a.bat", "a.cmd", "exe", "", "a.exe.txt"}) EXPECT_FALSE(IsDirectlyStartable(file)) << file;

    EXPECT_TRUE(InterpreterLeavesUnchanged("DOSCONV -q ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT a,b;c=d+e [x] @y *?"));
    EXPECT_TRUE(InterpreterLeavesUnchanged("DOSCONV \"Annual Report.txt\""));  // passed on as it is
    for (char special : std::string("<>|&^()%!\t\r\n", 13) + '\0')
        EXPECT_FALSE(InterpreterLeavesUnchanged(std::string("DOSCONV a") + special + "b")) << special;
}
