#include "FakePlatform.h"

#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(RunSettings, RunnableOrWhatIsMissing) {
    // program, files, command, output, report, temporary extension, handling, rename, what is missing (none: runnable)
    using Row = std::tuple<const char*, const char*, const char*, const char*, const char*, const char*, int, bool,
                           const char*>;
    const char* noReport = "the report file name";
    const char* noTempExt = "the temporary extension";
    const Row rows[] = {
        {"", "", "", "OUTPUT", "R", ".TMP", 0, false, "the DOS program to run"},
        {"P", "", "C", "OUTPUT", "R", ".TMP", 0, false, "the files to pass"},
        {"P", "F", "", "OUTPUT", "R", ".TMP", 0, false, "the command"},
        {" ", " ", " ", "OUTPUT", "R", ".TMP", 0, false, nullptr},  // one space is not empty
        // The output directory counts only with renaming.
        {"P", "F", "C", "", "R", ".TMP", 0, false, nullptr},
        {"P", "F", "C", "", "R", ".TMP", 0, true, "the output directory (Rename is ticked)"},
        // Report and temporary extension count below mode 4, and with none selected.
        {"P", "F", "C", "OUTPUT", "", "", 4, false, nullptr},
        {"P", "F", "C", "OUTPUT", "", ".TMP", 3, false, noReport},
        {"P", "F", "C", "OUTPUT", "", ".TMP", 3, true, noReport},
        {"P", "F", "C", "OUTPUT", "R", "", 3, false, noTempExt},
        {"P", "F", "C", "OUTPUT", "R", "", -1, false, noTempExt},
        {"P", "F", "C", "OUTPUT", "R", ".TMP", -1, false, nullptr},
    };
    for (const auto& [program, files, command, output, report, tempExt, handling, rename, missing] : rows) {
        // Translate, Symbols, Test and Full path never count.
        const RunSettings s{"C:\\",   program, files,   command, "C:\\X", output, report,
                            handling, -1,      tempExt, rename,  true,    true};
        EXPECT_EQ(IsRunnable(s), !missing) << program << "|" << output << "|" << report << "|" << tempExt << handling;
        if (!missing) continue;
        EXPECT_EQ(MissingForRun(s), "Lorvan cannot run yet: enter " + std::string(missing) + ".");
    }
}

TEST(RunSettings, TempExtRule) {
    // The field rule, and what Run asks: a name Windows keeps as made (the
    // last row: a double-byte character ending in 0x5C).
    const FakePlatform japanese("C:\\DATA", 932);
    const std::tuple<const char*, int, bool, bool> rows[] = {
        {"", 0, true, false},      {".", 0, false, false},       {".TMP", 0, true, true}, {"TMP", 0, false, false},
        {"TMP", -1, false, false}, {"", 4, true, true},          {".T.", 0, true, false}, {".T", 0, true, true},
        {"TMP", 3, false, false},  {".\x95\x5C", 0, true, true},
    };
    for (auto [ext, handling, acceptable, usable] : rows) {
        RunSettings s;
        s.tempExt = ext;
        s.handling = handling;
        EXPECT_EQ(IsTempExtAcceptable(s), acceptable) << ext << " " << handling;
        EXPECT_EQ(IsTempExtUsable(s, japanese), usable) << ext << " " << handling;
    }
}

TEST(RunSettings, HandlingModes) {
    // handling, rename offered, run information (Handling 0 off, on)
    for (auto [handling, rename, info, without] :
         {std::tuple{0, true, true, false}, {1, false, true, true}, {3, false, true, true}, {4, true, false, false}}) {
        RunSettings s{"C:\\", "P", "F", "C", "", "OUTPUT", "R", handling};
        EXPECT_EQ(std::tuple(RenameForHandling(handling), WantsRunInformation(s)), std::tuple(rename, info))
            << handling;
        s.nameTimeWithoutRunInformation = true;
        EXPECT_EQ(WantsRunInformation(s), without) << handling;
    }
}

TEST(RunSettings, ReportNameSuggestedForAMode) {
    // Only the other kind's usual name is replaced.
    for (auto [handling, report, suggested] : {std::tuple{0, "REPORT.TXT", ""},
                                               {1, "REPORT.LRV", "REPORT.TXT"},
                                               {2, "REPORT.TXT", "REPORT.LRV"},
                                               {3, "REPORT.LRV", ""},
                                               {3, "REPORT.TXT", "REPORT.LRV"},
                                               {4, "REPORT.LRV", ""}})
        EXPECT_EQ(SuggestReportName(handling, report).value_or(""), suggested) << handling << report;
}

TEST(RunSettings, TranslateSeparatorsAndBlankEntries) {
    // text, IsTranslateOn, IsTranslateAbsolute, HasPathSeparator, HasAnySeparator, IsBlankEntry
    const std::tuple<const char*, bool, bool, bool, bool, bool> rows[] = {
        {" ", false, false, false, false, true},       {"  ", true, false, false, false, false},
        {"\tX", false, false, false, false, true},     {"C:\\T", true, true, true, true, false},
        {"\\T", true, true, true, true, false},        {"T\\X", true, false, true, true, false},
        {"a/b*.txt", true, false, false, true, false}, {"\xE9t\xE9", true, false, false, false, false},
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
