// Figures for Lorvan's run engine.
//   engine_bench fake [N]    listing, expanding and building command lines for
//                            N files (100,000) on the in-memory platform
//   engine_bench standins [N] (Windows/Wine) real runs of N files (1,000) with
//                            a trivial program, stand-ins Off and Always by turns
//   engine_bench parallel [N] (Windows/Wine) real runs of N files (200) with a
//                            program that works about 50 ms of processor time,
//                            1 and 2 commands at once by turns
//   engine_bench real [N]    (Windows/Wine) real runs of N files (200) with a
//                            program that says one line, its words captured,
//                            as from a program without a console, beside a raw
//                            system() loop and one "cmd /c for" loop running
//                            the same program
//   engine_bench emulator [N] (Windows/Wine) a real run of N files (50) of a
//                            real DOS program through DOSBox (the tests'
//                            bridge to Debian's dosbox) beside a plain loop
//                            that starts the same dosbox command per file
#include "runner/engine/CommandTemplate.h"
#include "runner/engine/RunEngine.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/tests/FakePlatform.h"

#include "BenchWork.h"

#ifdef _WIN32
#include "runner/engine/win32/Win32Platform.h"
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

using namespace runner;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Services that keep what a dialog would show, without drawing.
class QuietServices : public RunServices {
public:
    size_t statusBytes = 0;
    std::string lastLines;  // the last few, to tell what went wrong
    void SetStatus(std::string_view text) override { statusBytes = text.size() + 2; }
    void AppendStatus(std::string_view text) override {
        lastLines = lastLines.substr(lastLines.size() > 2000 ? lastLines.size() - 2000 : 0).append(text) + "\n";
        statusBytes += text.size() + 2;
    }
    void SetFileCount(std::string_view) override {}
    void SetFileCount(uint32_t) override {}
    void SetProgressRange(uint32_t) override {}
    void SetProgressPos(uint32_t) override {}
    Answer Ask(std::string_view, std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void FocusField(Field) override {}
    void AddToHistory(HistoryList, std::string_view) override {}
};

int BenchFake(int count) {
    FakePlatform platform("C:\\DATA");
    platform.AddDirectory("Page 1_files", "PAGE1_~1");
    for (int i = 0; i < count; ++i) {
        std::string number = std::to_string(i);
        platform.AddFile(std::string("Annual report number ").append(number).append(".txt"), {},
                         std::string("AN").append(number).append("~1.TXT"));
    }
    RunSettings settings;
    settings.cwd = platform.Cwd();
    settings.program = "DOSCONV";
    settings.files = "*.txt";
    settings.command = "-q * OUTPUT\\* \"**\" ***";
    settings.translate = "Page 1_files";
    QuietServices ui;
    RunEngine engine(ui, platform);

    Clock::time_point start = Clock::now();
    engine.RefreshFileList(settings);
    const double listing = Seconds(start);

    start = Clock::now();
    const SymbolSet symbols = ReadSymbolSet(symbolSetTexts[settings.symbols]);
    CommandFormat format;
    ParseCommandTemplate(settings.command, symbols, format);
    size_t bytes = 0;
    for (const FileEntry& entry : engine.FoundFiles()) {
        FileValues values = MakeFileValues(entry, settings, symbols, platform);
        std::string expansion = ExpandCommand(format, values);
        if (!IsCommandTooLong(expansion.size())) bytes += BuildCommandLine(settings.program, expansion).size();
    }
    const double building = Seconds(start);
    const double files = engine.FileCount();
    std::printf("fake platform, %u files\n", engine.FileCount());
    std::printf("  listing:                    %8.1f ms  %6.2f us/file\n", listing * 1e3, listing * 1e6 / files);
    std::printf("  values+expand+command line: %8.1f ms  %6.2f us/file (%zu bytes of command lines)\n", building * 1e3,
                building * 1e6 / files, bytes);
    std::printf("  together:                   %8.1f ms  %6.2f us/file\n", (listing + building) * 1e3,
                (listing + building) * 1e6 / files);
    return 0;
}

#ifdef _WIN32
std::string ExeDirectory() {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, length);
    return path.substr(0, path.rfind('\\'));
}

// A working directory of count files in the temporary folder, made its
// current directory, with the settings of a run of the trivial program
// over them; gone with the object.
struct BenchDirectory {
    std::string temp, dir;
    int count;
    RunSettings settings;
    BenchDirectory(const char* name, int count) : count(count) {
        char path[MAX_PATH];
        GetTempPathA(MAX_PATH, path);
        temp = path;
        dir = temp + name + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        SetCurrentDirectoryA(dir.c_str());
        for (int i = 0; i < count; ++i) std::ofstream("Bench file number " + std::to_string(i) + ".txt") << i;
        settings.cwd = dir;
        settings.program = ExeDirectory() + "\\bench_noop.exe";
        settings.files = "*.txt";
        settings.command = "*";
        settings.handling = HandlingNone;
    }
    ~BenchDirectory() {
        SetCurrentDirectoryA(temp.c_str());
        for (int i = 0; i < count; ++i)
            DeleteFileA((dir + "\\Bench file number " + std::to_string(i) + ".txt").c_str());
        RemoveDirectoryA(dir.c_str());
    }
};

int BenchReal(int count) {
    BenchDirectory bench("lorvan-bench-", count);
    RunSettings settings = bench.settings;
    settings.showOutput = true;  // every command's line, captured and shown
    const std::string& noop = settings.program;
    Win32Platform platform;
    QuietServices ui;
    RunEngine engine(ui, platform);

    // As from Lorvan's window: a program without a console. The first run
    // makes the hidden console the commands share; later runs find it.
    FreeConsole();
    Clock::time_point start = Clock::now();
    engine.RunBatch(settings);
    const double firstRun = Seconds(start);
    start = Clock::now();
    engine.RunBatch(settings);
    const double run = Seconds(start);

    // The floor: one command interpreter per file, no engine.
    start = Clock::now();
    for (const FileEntry& entry : engine.FoundFiles()) std::system((noop + " " + entry.EffectiveShortName()).c_str());
    const double raw = Seconds(start);

    // One command interpreter for all files.
    start = Clock::now();
    std::system(("for %f in (*.txt) do @" + noop + " \"%f\"").c_str());
    const double loop = Seconds(start);

    const double n = engine.FileCount();
    std::printf("real run of a program that says one line, %u files, its words captured, program %s\n",
                engine.FileCount(), noop.c_str());
    std::printf("  Lorvan's first run (RunBatch):  %7.2f s  %6.1f ms/file\n", firstRun, firstRun * 1e3 / n);
    std::printf("  Lorvan run (RunBatch):          %7.2f s  %6.1f ms/file\n", run, run * 1e3 / n);
    std::printf("  system() loop, no engine:       %7.2f s  %6.1f ms/file\n", raw, raw * 1e3 / n);
    std::printf("  cmd /c for loop:                %7.2f s  %6.1f ms/file\n", loop, loop * 1e3 / n);
    std::printf("  ratio run / for loop:           %7.2f\n", run / loop);
    std::printf("  ratio run / system() loop:      %7.2f  (a run as through the interpreter)\n", run / raw);

    return 0;
}

int BenchStandIns(int count) {
    BenchDirectory bench("lorvan-standins-", count);
    RunSettings& settings = bench.settings;
    Win32Platform platform;
    QuietServices ui;
    RunEngine engine(ui, platform);
    FreeConsole();
    engine.RunBatch(settings);  // the first run makes the hidden console

    // By turns, so that a slower spell of the machine falls on both; the
    // fastest of three runs each.
    double best[2] = {1e9, 1e9};
    for (int round = 0; round < 3; ++round)
        for (int always = 0; always < 2; ++always) {
            settings.standIns = always ? StandInsAlways : StandInsOff;
            const Clock::time_point start = Clock::now();
            engine.RunBatch(settings);
            best[always] = std::min(best[always], Seconds(start));
        }
    const double n = count;
    std::printf("real runs of a trivial program, %d files, fastest of 3 each\n", count);
    std::printf("  stand-ins Off:     %7.2f s  %6.2f ms/file\n", best[0], best[0] * 1e3 / n);
    std::printf("  stand-ins Always:  %7.2f s  %6.2f ms/file\n", best[1], best[1] * 1e3 / n);
    std::printf("stand-ins Always / Off = %.2f\n", best[1] / best[0]);

    return 0;
}

// The rounds of BenchWork that take about ms milliseconds here.
uint64_t RoundsFor(double ms) {
    uint64_t rounds = 1000000;
    for (;;) {
        const Clock::time_point start = Clock::now();
        volatile uint64_t sink = BenchWork(rounds);
        (void)sink;
        const double took = Seconds(start) * 1e3;
        if (took > 20) return static_cast<uint64_t>(rounds * ms / took);
        rounds *= 4;
    }
}

int BenchParallel(int count) {
    BenchDirectory bench("lorvan-parallel-", count);
    RunSettings& settings = bench.settings;
    settings.program = ExeDirectory() + "\\bench_busy.exe";
    // The fastest of three calibrations: the others ran beside something else.
    uint64_t rounds = UINT64_MAX;
    for (int i = 0; i < 3; ++i) rounds = std::min(rounds, RoundsFor(50));
    settings.command = "* " + std::to_string(rounds);
    Win32Platform platform;
    QuietServices ui;
    RunEngine engine(ui, platform);
    FreeConsole();
    // One command's work, timed here.
    Clock::time_point start = Clock::now();
    volatile uint64_t sink = BenchWork(rounds);
    (void)sink;
    const double work = Seconds(start);

    double best[2] = {1e9, 1e9};
    for (int round = 0; round < 2; ++round)
        for (int two = 0; two < 2; ++two) {
            settings.commandsAtOnce = two ? 2 : 1;
            start = Clock::now();
            engine.RunBatch(settings);
            best[two] = std::min(best[two], Seconds(start));
        }
    const double n = count;
    std::printf(
        "real runs of a busy program (%llu rounds of work, %.1f ms of them alone), %d files,\n"
        "fastest of 2 each, on %lu logical processors\n",
        static_cast<unsigned long long>(rounds), work * 1e3, count,
        static_cast<unsigned long>(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)));
    std::printf("  1 at once:  %7.2f s  %6.1f ms/file\n", best[0], best[0] * 1e3 / n);
    std::printf("  2 at once:  %7.2f s  %6.1f ms/file\n", best[1], best[1] * 1e3 / n);
    std::printf("2 at once / 1 at once = %.2f\n", best[1] / best[0]);
    return 0;
}

int BenchEmulator(int count) {
    BenchDirectory bench("lorvan-emulator-", count);
    RunSettings settings = bench.settings;
    const std::string tests = ExeDirectory() + "\\..\\..\\runner\\engine\\win32\\";
    settings.emulator = EmulatorDosBox;
    settings.dosBoxPath = tests + "dosbridge.exe";
    settings.program = tests + "COPYARG.COM";
    settings.command = "* OUTPUT\\*";
    settings.rename = true;
    Win32Platform platform;
    QuietServices ui;
    RunEngine engine(ui, platform);
    FreeConsole();
    Clock::time_point start = Clock::now();
    engine.RunBatch(settings);
    const double run = Seconds(start);

    // By hand: one file, the same dosbox command for each of the files.
    std::ofstream("IN.TXT") << "in";
    char shortTests[MAX_PATH], shortDir[MAX_PATH];
    GetShortPathNameA(tests.substr(0, tests.size() - 1).c_str(), shortTests, MAX_PATH);
    GetShortPathNameA(bench.dir.c_str(), shortDir, MAX_PATH);
    std::string line = "\"" + settings.dosBoxPath + "\" -c \"mount c " + shortDir + "\" -c \"mount d " + shortTests +
                       "\" -c c: -c \"D:\\COPYARG.COM IN.TXT OUT.TXT\" -c exit";
    start = Clock::now();
    for (int i = 0; i < count; ++i) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                            &process))
            return std::fprintf(stderr, "the plain loop could not start the emulator\n"), 1;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    const double loop = Seconds(start);
    const bool copied = std::ifstream("OUT.TXT").good() &&
                        GetFileAttributesA("OUTPUT\\Bench file number 0.txt") != INVALID_FILE_ATTRIBUTES;
    for (int i = 0; i < count; ++i) DeleteFileA(("OUTPUT\\Bench file number " + std::to_string(i) + ".txt").c_str());
    RemoveDirectoryA("OUTPUT");
    DeleteFileA("IN.TXT");
    DeleteFileA("OUT.TXT");
    if (!copied) return std::fprintf(stderr, "the DOS program copied nothing:\n%s", ui.lastLines.c_str()), 1;
    const double n = count;
    std::printf("a real DOS program through DOSBox, %d files, each copied and renamed back\n", count);
    std::printf("  Lorvan run (stand-ins, batch files, exit codes):  %7.2f s  %6.1f ms/file\n", run, run * 1e3 / n);
    std::printf("  plain loop, the same dosbox command per file:     %7.2f s  %6.1f ms/file\n", loop, loop * 1e3 / n);
    std::printf("emulator run / bare loop = %.2f\n", run / loop);
    return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "fake";
    if (mode == "fake") return BenchFake(argc > 2 ? std::atoi(argv[2]) : 100000);
#ifdef _WIN32
    if (mode == "real") return BenchReal(argc > 2 ? std::atoi(argv[2]) : 200);
    if (mode == "standins") return BenchStandIns(argc > 2 ? std::atoi(argv[2]) : 1000);
    if (mode == "parallel") return BenchParallel(argc > 2 ? std::atoi(argv[2]) : 200);
    if (mode == "emulator") return BenchEmulator(argc > 2 ? std::atoi(argv[2]) : 50);
#endif
    std::fprintf(stderr, "usage: engine_bench fake|real|standins|parallel|emulator [files]\n");
    return 2;
}
