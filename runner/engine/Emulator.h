// Starting a DOS program through a DOS emulator, where Windows cannot start
// one itself: the emulator's command line for one file's command and, for
// the DOSBox family, which gives no exit code back, the batch file that runs
// the program inside and records its exit code and output in files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runner {

// One argument as a Windows program's C runtime (and SDL's own parsing)
// gives it back: quoted where it holds a space, a tab or a quote, or is empty.
std::string QuoteArgument(std::string_view argument);

// What every command of a run through an emulator has in common.
struct EmulatorRun {
    int32_t emulator = 0;  // an EmulatorChoice, not EmulatorNone
    std::string path;      // the emulator's program file
    // MS-DOS Player: the DOS program's file as Windows names it. The DOSBox
    // family: its name inside the emulator ("C:\CONV.EXE", "D:\CONV.EXE").
    std::string program;
    // The DOSBox family, folders as Windows names them, mounted as drives:
    // the working directory (C:), the folder of the batch files (E:), and the
    // program's folder (D:) where it is not the working directory.
    std::string cwd, scratch, programFolder;
};

// Whether the emulator returns no exit code of its own: the DOSBox family,
// whose commands go through a batch file.
bool NeedsBatch(int32_t emulator);
// Whether it names host files by 8.3 names of its own (DOSBox, DOSBox
// Staging), so that Windows' short names mean nothing inside it.
bool MakesOwnShortNames(int32_t emulator);

// The whole command line that starts the emulator for one command, tail
// being the program's command tail; batchName names the command's batch
// file in run.scratch (the DOSBox family).
std::string EmulatorCommandLine(const EmulatorRun& run, std::string_view tail, std::string_view batchName);

// The line of the batch file that runs the program with its tail.
std::string BatchProgramLine(const EmulatorRun& run, std::string_view tail);
// The batch file for one command: the program line with its output into
// the file outputName and its exit code (0 to 255) written to codeName,
// both named on drive E:.
std::string DosBatch(std::string_view programLine, std::string_view outputName, std::string_view codeName);
// The exit code the batch file wrote; -1 when there is none (the batch
// never got there).
int RecordedExitCode(std::string_view text);

}  // namespace runner
