#include "FakePlatform.h"

#include "runner/engine/ProgramStart.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(ResolveProgram, LooksUpAsTheCommandInterpreter) {
    FakePlatform platform("C:\\DATA");
    platform.environment = {{"PATH", "C:\\BIN;;\"C:\\TOOLS\\\""}, {"PATHEXT", ".COM;.EXE;.BAT"}};
    for (const char* directory : {"C:\\BIN", "C:\\TOOLS", "app.exe"}) platform.AddDirectory(directory);
    for (const char* file : {"both.exe", "both.com", "local.bat", "C:\\BIN\\tool.exe", "C:\\BIN\\local.exe",
                             "C:\\BIN\\copy.exe", "C:\\BIN\\app.exe", "C:\\TOOLS\\tool.com", "C:\\TOOLS\\plain"})
        platform.AddFile(file);
    // PATHEXT's order, not the name's; the working directory before PATH;
    // PATH's order before PATHEXT's; a quoted PATH entry ending in "\".
    for (auto [program, expected] : {std::pair{"both", "both.COM"},
                                     {"local", "local.BAT"},
                                     {"tool", "C:\\BIN\\tool.EXE"},
                                     {"tool.com", "C:\\TOOLS\\tool.com"},
                                     {"app.exe", "C:\\BIN\\app.exe"}})
        EXPECT_EQ(ResolveProgram(program, platform), expected) << program;
    // Left to the interpreter: not found, without an extension, built-in
    // commands, names it ends early or reads otherwise.
    for (const char* program : {"none", "plain", "copy", "both x", "C:/BIN/tool", "@both", "both&x", "\"both\""})
        EXPECT_EQ(ResolveProgram(program, platform), "") << program;
}

TEST(ResolveProgram, DirectStartRule) {
    for (const char* file : {"a.exe", "A.EXE", "C:\\X\\A.Com", ".com"}) EXPECT_TRUE(IsDirectlyStartable(file)) << file;
    for (const char* file : {"a.bat", "a.cmd", "exe", "", "a.exe.txt"}) EXPECT_FALSE(IsDirectlyStartable(file)) << file;

    EXPECT_TRUE(InterpreterLeavesUnchanged("DOSCONV -q ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT a,b;c=d+e [x] @y *?"));
    EXPECT_TRUE(InterpreterLeavesUnchanged("DOSCONV \"Annual Report.txt\""));  // passed on as it is
    for (char special : std::string("<>|&^()%!\t\r\n", 13) + '\0')
        EXPECT_FALSE(InterpreterLeavesUnchanged(std::string("DOSCONV a") + special + "b")) << special;
}
