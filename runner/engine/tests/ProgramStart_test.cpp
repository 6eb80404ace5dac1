#include "FakePlatform.h"

#include "runner/engine/ProgramStart.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(ResolveProgram, LooksUpAsTheCommandInterpreter) {
    FakePlatform platform("C:\\DATA");
    platform.environment = {{"PATH", "C:\\BIN;;\"C:\\TOOLS\\\""}, {"PATHEXT", ".COM;.EXE;.BAT"}};
    for (const char* directory : {"C:\\BIN", "C:\\TOOLS", "app.exe", "sub"}) platform.AddDirectory(directory);
    for (const char* file :
         {"both.exe", "both.com", "local.bat", "C:\\BIN\\tool.exe", "C:\\BIN\\local.exe", "C:\\BIN\\copy.exe",
          "C:\\BIN\\app.exe", "C:\\TOOLS\\tool.com", "C:\\TOOLS\\plain", "C:\\TOOLS\\conv.exe", "sub\\conv.com"})
        platform.AddFile(file);
    // PATHEXT's order, not the name's; the working directory before PATH;
    // PATH's order before PATHEXT's; a quoted PATH entry ending in "\"; a path: that directory only.
    for (auto [program, expected] : {std::pair{"both", "both.COM"},
                                     {"local", "local.BAT"},
                                     {"tool", "C:\\BIN\\tool.EXE"},
                                     {"tool.com", "C:\\TOOLS\\tool.com"},
                                     {"app.exe", "C:\\BIN\\app.exe"},
                                     {"C:\\TOOLS\\conv", "C:\\TOOLS\\conv.EXE"},
                                     {"sub\\conv", "sub\\conv.COM"}})
        EXPECT_EQ(ResolveProgram(program, platform), expected) << program;
    // Left to the interpreter: not found, without an extension, built-in
    // commands, names it ends early or reads otherwise.
    for (const char* program : {"none", "plain", "copy", "both x", "C:/BIN/tool", "@both", "both&x", "\"both\""})
        EXPECT_EQ(ResolveProgram(program, platform), "") << program;

    // Checked before a run: found, or one message naming it and where Lorvan looked.
    platform.AddFile("notes.txt");
    const std::string extensions = "also with the extensions .COM;.EXE;.BAT, in:\r\n\r\n";
    for (auto [program, told] : {std::pair<const char*, std::string>{"copy", ""},
                                 {"app.exe", ""},
                                 {"sub", "\"sub\" is a folder, not a program."},
                                 {"notes.txt",
                                  "\"notes.txt\" is no program: Windows would open it with the program its "
                                  "extension belongs to. Programs end in .COM;.EXE;.BAT."},
                                 {"plain", "The program \"plain\" was not found. Lorvan looked for it, " + extensions +
                                               "the working directory\r\nC:\\BIN\r\nC:\\TOOLS"},
                                 {"C:\\TOOLS\\x.exe",
                                  "The program \"C:\\TOOLS\\x.exe\" was not found. Lorvan looked for "
                                  "it, " +
                                      extensions + "C:\\TOOLS"}})
        EXPECT_EQ(ProgramProblem(program, platform), told) << program;
}

TEST(KindOfProgram, ByTheFirstBytesAndTheName) {
    // An MZ header whose e_lfanew (at 3Ch) leads to a signature, or nowhere.
    auto mz = [](uint32_t next, std::string signature) {
        std::string header(0x40, '\0');
        header.replace(0, 2, "MZ");
        for (int i = 0; i < 4; ++i) header[0x3C + i] = char(next >> (8 * i));
        return next == 0x40 ? header + signature : header;
    };
    using K = ProgramKind;
    for (auto [header, name, kind] : {std::tuple{mz(0x40, std::string("PE\0\0", 4)), "a.exe", K::Windows},
                                      {mz(0x40, std::string("PE\0\0", 4)), "p.com", K::Windows},
                                      {mz(0x40, "NE"), "w.exe", K::Windows16},
                                      {mz(0x40, "LE"), "x.exe", K::Dos},
                                      {mz(0x400, "PE"), "d.exe", K::Dos},
                                      {std::string("MZ"), "y.exe", K::Dos},
                                      {std::string("\xB4\x4C\xCD\x21"), "OLD.COM", K::Dos},
                                      {std::string("@echo off"), "x.bat", K::Other}})
        EXPECT_EQ(KindOfProgram(header, name), kind) << name;
}
