#include "EngineTest.h"

#include "runner/engine/Emulator.h"
#include "runner/engine/RunEngine.h"

#include <sstream>

using namespace runner;

TEST(Emulator, CommandLineOfEach) {
    const std::string dosBox =
                          "\"C:\\Program Files\\DOSBox\\dosbox.exe\" -c \"mount c \\\"C:\\My Work\\\"\" -c "
                          "\"mount e C:\\TEMP\"",
                      calls = " -c c: -c \"call e:\\LRV00001.BAT\" -c exit";
    const struct {
        EmulatorRun run;
        std::string line;
    } rows[] = {
        {{EmulatorMsDosPlayer, "C:\\EMU\\msdos.exe", "C:\\BIN\\CONV.EXE"},
         "C:\\EMU\\msdos.exe C:\\BIN\\CONV.EXE A \"B C\""},
        {{EmulatorMsDosPlayer, "C:\\My Tools\\msdos.exe", "C:\\My Bin\\CONV.EXE"},
         "\"C:\\My Tools\\msdos.exe\" \"C:\\My Bin\\CONV.EXE\" A \"B C\""},
        {{EmulatorDosBox, "C:\\Program Files\\DOSBox\\dosbox.exe", "C:\\CONV.EXE", "C:\\My Work\\", "C:\\TEMP\\"},
         dosBox + calls},
        {{EmulatorDosBox, "C:\\Program Files\\DOSBox\\dosbox.exe", "D:\\CONV.EXE", "C:\\My Work", "C:\\TEMP\\",
          "C:\\BIN"},
         dosBox + " -c \"mount d C:\\BIN\"" + calls},
        {{EmulatorDosBoxX, "C:\\DX\\dosbox-x.exe", "C:\\CONV.EXE", "C:\\", "C:\\T\\"},
         "C:\\DX\\dosbox-x.exe -silent -c \"mount c C:\\.\" -c \"mount e C:\\T\"" + calls},
    };
    for (const auto& [run, line] : rows) EXPECT_EQ(EmulatorCommandLine(run, "A \"B C\"", "LRV00001.BAT"), line);
    EXPECT_EQ(QuoteArgument("a\\\"b\\"), "\"a\\\\\\\"b\\\\\"");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
    EXPECT_EQ(BatchProgramLine(rows[2].run, "100% A.TXT"), "C:\\CONV.EXE 100%% A.TXT");
}

TEST(Emulator, TheBatchRecordsEachExitCode) {
    const std::string batch = DosBatch("C:\\CONV.EXE A", "LRV00001.OUT", "LRV00001.COD");
    EXPECT_TRUE(batch.starts_with("@ECHO OFF\r\nSET LRVCODE=0\r\nC:\\CONV.EXE A >E:\\LRV00001.OUT\r\n"));
    EXPECT_TRUE(batch.ends_with("\r\nECHO %LRVCODE%>E:\\LRV00001.COD\r\n"));
    for (int code : {0, 1, 3, 254, 255}) {  // the ladder run as DOS runs it: ERRORLEVEL n holds from n on
        std::istringstream lines(batch);
        std::string line, recorded;
        int level = 0;
        while (std::getline(lines, line))
            if (std::sscanf(line.c_str(), "IF ERRORLEVEL %d SET", &level) == 1 && code >= level)
                recorded = line.substr(line.find('=') + 1);
            else if (line.starts_with("SET LRVCODE="))
                recorded = line.substr(12);
        EXPECT_EQ(RecordedExitCode(recorded), code);
    }
    const std::pair<std::string, int> read[] = {{"0\r\n", 0},    {"39\r\n", 39}, {"255\r\n", 255},        {"", -1},
                                                {"256\r\n", -1}, {"1000", -1},   {"ECHO is off.\r\n", -1}};
    for (const auto& [text, code] : read) EXPECT_EQ(RecordedExitCode(text), code) << text;
}

// A real DOS program, OLD.COM IN OUT: copies IN to OUT; exits with 3 for
// notes. Through DOSBox it runs from the batch file its command line calls.
class EmulatorRunTest : public EngineTest {
protected:
    RunEngine engine{ui, platform};
    const std::string scratch = "C:\\APPDATA\\Emulator\\";
    bool recordsCode = true;

    EmulatorRunTest() {
        platform.AddFile("Annual Report.txt", "ar", "ANNUAL~1.TXT");
        platform.AddFile("notes.txt", "nt");
        platform.AddFile("C:\\BIN\\OLD.COM", "\xB4\x4C\xCD\x21");
        platform.AddDirectory("C:\\EMU");
        platform.AddFile("C:\\EMU\\dosbox.exe");
        settings.program = "OLD";
        settings.rename = true;
        settings.handling = HandlingNone;
        settings.emulator = EmulatorDosBox;
        settings.dosBoxPath = settings.msDosPlayerPath = "C:\\EMU\\dosbox.exe";
        platform.onCommand = [this](const std::string& line) {
            const size_t call = line.find("call e:\\");
            std::string program, input, output, redirect;
            if (call == std::string::npos) {
                std::istringstream(line) >> program >> program >> input >> output;
                platform.AddFile(output, platform.Content(input));
                return input == "NOTES.TXT" ? 3 : 0;
            }
            const std::string batch = scratch + line.substr(call + 8, 12);
            std::istringstream text(platform.Content(batch).substr(26));  // after @ECHO OFF, SET
            text >> program >> input >> output >> redirect;
            platform.AddFile(output, platform.Content(input));
            platform.AddFile(scratch + redirect.substr(4), "copied " + input + "\r\n");
            if (recordsCode)
                platform.AddFile(scratch + batch.substr(scratch.size(), 8) + ".COD",
                                 input == "LRV00002.TXT" ? "3\r\n" : "0\r\n");
            platform.printed = "DOSBox version 0.74-3\r\n";
            platform.outOfTime = !recordsCode && input == "LRV00002.TXT";
            return 0;
        };
    }
};

TEST_F(EmulatorRunTest, DosBoxGivesStandInsAndItsBatchTheExitCode) {
    engine.RunBatch(settings);
    EXPECT_EQ(ui.status.substr(0, ui.status.find("\r\nRenaming")),
              "Handling commands:\r\n\r\n2 file(s) have a stand-in 8.3 name for this run.\r\n\"Annual Report.txt\"  "
              "\"LRV00001.TXT\": OK\r\n\"notes.txt\"  \"LRV00002.TXT\": Error 3\r\n    copied LRV00002.TXT\r\n");
    EXPECT_EQ(platform.commands[0],
              "C:\\EMU\\dosbox.exe -c \"mount c C:\\DATA\" -c \"mount e C:\\APPDATA\\Emulator\" "
              "-c \"mount d C:\\BIN\" -c c: -c \"call e:\\LRV00001.BAT\" -c exit");
    EXPECT_EQ(platform.Content("OUTPUT\\notes.txt"), "nt");
    EXPECT_TRUE(platform.Names("C:\\APPDATA\\Emulator").empty());
    EXPECT_EQ(platform.timeLimit, 600u);  // DOSBox left at its prompt ends after all
    // No exit code recorded: the emulator's own words say why, but for one
    // the time limit ended. A code file a crash left is not taken for one.
    recordsCode = false;
    settings.timeLimit = 5;
    platform.AddFile(scratch + "LRV00003.COD", "0\r\n");
    engine.RunBatch(settings);
    EXPECT_NE(ui.status.find(": System error\r\n    DOSBox version 0.74-3\r\n    (No exit code came back"),
              std::string::npos);
    EXPECT_NE(ui.status.find(": Out of time, ended after 5 seconds\r\n    DOSBox version 0.74-3\r\n\r\n"),
              std::string::npos)
        << ui.status;
    EXPECT_EQ(platform.timeLimit, 5u);
}

TEST_F(EmulatorRunTest, MsDosPlayerTestModeAndRefusals) {
    settings.emulator = EmulatorMsDosPlayer;
    engine.RunBatch(settings);
    EXPECT_EQ(platform.commands,
              (std::vector<std::string>{"C:\\EMU\\dosbox.exe C:\\BIN\\OLD.COM ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT",
                                        "C:\\EMU\\dosbox.exe C:\\BIN\\OLD.COM NOTES.TXT OUTPUT\\NOTES.TXT"}));
    EXPECT_NE(ui.status.find("\"notes.txt\"  \"NOTES.TXT\": Error 3"), std::string::npos);
    settings.test = true;
    settings.emulator = EmulatorDosBoxX;
    settings.dosBoxXPath = "C:\\EMU\\dosbox.exe";
    ui.asked.clear();
    engine.RunBatch(settings);
    EXPECT_EQ(ui.asked[0].text,
              "C:\\EMU\\dosbox.exe -silent -c \"mount c C:\\DATA\" -c \"mount e C:\\APPDATA\\Emulator\" -c "
              "\"mount d C:\\BIN\" -c c: -c \"call e:\\LRV00001.BAT\" -c exit\r\n\r\nIn DOSBox-X: "
              "D:\\OLD.COM ANNUAL~1.TXT OUTPUT\\ANNUAL~1.TXT");
    const struct {
        int32_t emulator;
        std::string path, program, told;
    } refusals[] = {
        {EmulatorDosBox, "", "OLD", "The DOS emulator DOSBox has no program file. Choose"},
        {EmulatorDosBox, "C:\\EMU\\none.exe", "OLD", "The DOS emulator DOSBox was not found at \"C:\\EMU\\none.exe\"."},
        {EmulatorDosBox, "C:\\EMU", "OLD", "The DOS emulator DOSBox was not found at \"C:\\EMU\"."},
        {EmulatorDosBox, "C:\\EMU\\dosbox.exe", "LONGNAME1", "DOSBox gives \"LONGNAME1.COM\" a short name of its own"},
        {EmulatorNone, "", "OLD",
         "\"OLD\" (C:\\BIN\\OLD.COM) is a 16-bit DOS program, and this Windows cannot start DOS programs. Choose a DOS "
         "emulator"},
    };
    platform.AddFile("C:\\BIN\\LONGNAME1.COM", "\xB4\x4C\xCD\x21");
    for (const auto& [emulator, path, program, told] : refusals) {
        settings.emulator = emulator;
        settings.dosBoxPath = path;
        settings.program = program;
        ui.asked.clear();
        engine.RunBatch(settings);
        ASSERT_EQ(ui.asked.size(), 1u);
        EXPECT_EQ(ui.asked[0].text.substr(0, told.size()), told);
    }
}

TEST_F(EmulatorRunTest, DosBoxMountsTheProgramsFolderHoweverItIsNamed) {
    settings.test = true;
    platform.AddDirectory("TOOLS");
    for (const char* path : {"TOOLS\\OLD.COM", "OLD.COM", "C:\\OLD.COM"}) platform.AddFile(path, "\xB4\x4C\xCD\x21");
    for (auto [program, mount] :
         {std::pair{"\\BIN\\OLD.COM", "mount d C:\\BIN\""},
          {"OLD.COM", "-c c: -c \"call e:\\LRV00001.BAT\" -c exit\r\n\r\nIn DOSBox: C:\\OLD.COM"},
          {"C:\\OLD.COM", "mount d C:\\.\""},
          {"TOOLS\\OLD.COM", "mount d C:\\DATA\\TOOLS\""},
          {"C:\\BIN\\OLD.COM", "mount d C:\\BIN\""}}) {
        settings.program = program;
        ui.asked.clear();
        engine.RunBatch(settings);
        ASSERT_FALSE(ui.asked.empty());
        EXPECT_NE(ui.asked[0].text.find(mount), std::string::npos) << program << ": " << ui.asked[0].text;
    }
    // No folder for the batch files: nothing starts, each file says so.
    settings.test = settings.rename = false;
    platform.failMakeDirectory = true;
    engine.RunBatch(settings);
    EXPECT_TRUE(platform.commands.empty());
    EXPECT_NE(ui.status.find("\"notes.txt\"  \"LRV00002.TXT\": System error"), std::string::npos) << ui.status;
}
