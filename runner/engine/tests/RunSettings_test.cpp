#include "FakePlatform.h"

#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(RunSettings, RunnableOrWhatIsMissing) {
    struct Row {
        const char *program, *files, *command, *output, *report, *tempExt;
        int handling;
        bool rename;
        const char* missing;  // none: runnable
    };
    const char* program = "the DOS program to run";
    const char* report = "the report file name";
    const char* tempExt = "the temporary extension";
    const Row rows[] = {
        {"P", "F", "C", "OUTPUT", "R", ".TMP", 0, false, nullptr},
        {"", "", "", "OUTPUT", "R", ".TMP", 0, false, program},
        {"P", "", "C", "OUTPUT", "R", ".TMP", 0, false, "the files to pass"},
        {"P", "F", "", "OUTPUT", "R", ".TMP", 0, false, "the command"},
        {" ", " ", " ", "OUTPUT", "R", ".TMP", 0, false, nullptr},  // one space is not empty
        // The output directory counts only with renaming.
        {"P", "F", "C", "", "R", ".TMP", 0, false, nullptr},
        {"P", "F", "C", "", "R", ".TMP", 0, true, "the output directory (Rename is ticked)"},
        {"P", "F", "C", "", "", ".TMP", 0, false, report},
        // Report and temporary extension count below mode 4, and with none selected.
        {"P", "F", "C", "OUTPUT", "", "", 4, false, nullptr},
        {"P", "F", "C", "OUTPUT", "", ".TMP", 3, false, report},
        {"P", "F", "C", "OUTPUT", "R", "", 3, false, tempExt},
        {"P", "F", "C", "OUTPUT", "R", "", -1, false, tempExt},
        {"P", "F", "C", "OUTPUT", "R", ".TMP", -1, false, nullptr},
    };
    for (const Row& row : rows) {
        // Translate, Symbols, Test and Full path never count.
        const RunSettings s{"C:\\",       row.program, row.files,   row.command, "C:\\X", row.output, row.report,
                            row.handling, -1,          row.tempExt, row.rename,  true,    true};
        EXPECT_EQ(IsRunnable(s), !row.missing)
            << row.program << "|" << row.output << "|" << row.report << "|" << row.tempExt << "|" << row.handling;
        if (!row.missing) continue;
        EXPECT_EQ(MissingForRun(s), "Lorvan cannot run yet: enter " + std::string(row.missing) + ".");
    }
}

TEST(RunSettings, TempExtRule) {
    // The field rule, and what Run asks: a name Windows keeps as made (the
    // last row: a double-byte character ending in 0x5C).
    const FakePlatform japanese("C:\\DATA", 932);
    const std::tuple<const char*, int, bool, bool> rows[] = {
        {"", 0, true, false},         {".", 0, false, false},    {".TMP", 0, true, true}, {"TMP", 0, false, false},
        {"X.TM", 0, false, false},    {"TMP", -1, false, false}, {"TMP", 4, true, true},  {"", 4, true, true},
        {"..", 0, true, false},       {".T.", 0, true, false},   {"./T", 0, true, false}, {".T*", 0, true, false},
        {".\x95\x5C", 0, true, true},
    };
    for (auto [ext, handling, acceptable, usable] : rows) {
        RunSettings s;
        s.tempExt = ext;
        s.handling = handling;
        EXPECT_EQ(IsTempExtAcceptable(s), acceptable) << ext << " " << handling;
        EXPECT_EQ(IsTempExtUsable(s, japanese), usable) << ext << " " << handling;
    }
}

TEST(RunSettings, TranslateSeparatorsAndBlankEntries) {
    // text, IsTranslateOn, IsTranslateAbsolute, HasPathSeparator, HasAnySeparator, IsBlankEntry
    const std::tuple<const char*, bool, bool, bool, bool, bool> rows[] = {
        {"", false, false, false, false, true},          {" ", false, false, false, false, true},
        {"  ", true, false, false, false, false},        {"\tX", false, false, false, false, true},
        {"\t", false, false, false, false, true},        {"C:\\T", true, true, true, true, false},
        {"\\T", true, true, true, true, false},          {"D:", true, true, true, true, false},
        {"T\\X", true, false, true, true, false},        {"a/b*.txt", true, false, false, true, false},
        {"\xE9t\xE9", true, false, false, false, false},  // above 127 sorts after the space
    };
    for (auto [text, on, absolute, path, any, blank] : rows) {
        RunSettings s;
        s.translate = text;
        EXPECT_EQ(IsTranslateOn(s), on) << text;
        EXPECT_EQ(IsTranslateAbsolute(s, text::SingleByteCodePage()), absolute) << text;
        EXPECT_EQ(HasPathSeparator(text, text::SingleByteCodePage()), path) << text;
        EXPECT_EQ(HasAnySeparator(text, text::SingleByteCodePage()), any) << text;
        EXPECT_EQ(IsBlankEntry(text), blank) << text;
    }
}

TEST(RunSettings, HandlingModes) {
    // handling, rename offered, run information (Handling 0 off, on)
    const std::tuple<int, bool, bool, bool> rows[] = {
        {-1, true, false, false}, {0, true, true, false}, {1, false, true, true},
        {2, false, true, true},   {3, false, true, true}, {4, true, false, false},
    };
    for (auto [handling, rename, info, infoWithHandling0] : rows) {
        RunSettings s;
        s.handling = handling;
        EXPECT_EQ(RenameForHandling(handling), rename) << handling;
        EXPECT_EQ(WantsRunInformation(s), info) << handling;
        s.nameTimeWithoutRunInformation = true;
        EXPECT_EQ(WantsRunInformation(s), infoWithHandling0) << handling;
    }
}
