// What Run does, and the file listing it starts with. The window's run
// controller owns one RunEngine and hands it the RunServices; the engine
// keeps the run's own state: busy, foundFiles, lastListedPattern and the
// commands that run.
#pragma once

#include "runner/engine/FileDiscovery.h"
#include "runner/engine/RunSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace runner {

struct CommandEnd;
struct CommandFormat;
struct EmulatorRun;
struct FileValues;

class Platform;
class ReportFile;
class RunServices;
class StandIns;
struct RunSettings;

class RunEngine {
public:
    RunEngine(RunServices& ui, Platform& platform);

    // A run with the settings as they stand when it starts: the engine keeps
    // its own copy, and never changes the caller's.
    void RunBatch(const RunSettings& settings);
    // Does nothing while a run is going on; the run lists by itself.
    void RefreshFileList(const RunSettings& settings);

    // Ends a run after the commands that run now, as if the files after them
    // were not there: results renamed and the report closed as at the end.
    // Meant for the user interface while commands run; nothing between runs.
    void RequestStop() {
        if (busy) stopRequested = true;
    }
    // Ends the commands that run now, which get the result ": Ended", and
    // stops the run after them; false when no command runs.
    bool EndRunningCommands();
    uint32_t CommandsRunning() const { return static_cast<uint32_t>(running.size()); }

    bool IsBusy() const { return busy; }
    const std::vector<FileEntry>& FoundFiles() const { return foundFiles; }
    uint32_t FileCount() const { return static_cast<uint32_t>(foundFiles.size()); }
    const std::string& LastListedPattern() const { return lastListedPattern; }

private:
    // A run goes in three steps: preparing (checks, history, output
    // directory, report, template, stand-ins) into a plan; running the
    // commands; finishing (renaming, report, stand-ins back, "Done").
    struct RunPlan;
    struct CommandLoop;

    void ListNow();
    // The checks of the settings and the files, and the question about
    // files without an 8.3 name; false when the run is not to go on.
    bool MayRun(RunPlan& plan);
    // The program looked up as a start finds it, and what it is: told once
    // (false) where no start could run it. A DOS program goes through the
    // emulator chosen, planned here.
    bool CheckProgram(RunPlan& plan);
    // The emulator's part of the plan; a message where it cannot be used.
    std::string PlanEmulator(const std::string& program, EmulatorRun& run);
    void AddToHistory();
    bool ParseTemplate(RunPlan& plan);
    void PlanCommands(RunPlan& plan);
    void RunCommands(const RunPlan& plan, ReportFile& report, CommandLoop& loop);
    // Begins the next file: its command started, or its line told; false
    // when Test mode's question was cancelled.
    bool BeginNext(const RunPlan& plan, ReportFile& report, CommandLoop& loop);
    // What Test mode shows of one file's command: the expansion, or the
    // emulator's whole command line.
    std::string TestText(const EmulatorRun& run, const std::string& expansion, uint32_t file) const;
    // Test mode's question about one file's command; false on Cancel.
    bool ShowTestCommand(uint32_t file, const std::string& expansion, bool tooLong);
    // Waits for one running command to end and tells its result.
    void CollectOne(const RunPlan& plan, ReportFile& report, CommandLoop& loop);
    // A file has ended: its line told in its turn, what its command wrote
    // to the temporary report collected, the progress bar moved.
    void Ended(const RunPlan& plan, ReportFile& report, CommandLoop& loop, uint32_t file, std::string line,
               const std::string* reportOf);
    void Finish(const RunPlan& plan, const CommandLoop& loop, ReportFile& report, StandIns& standIns);
    // Starts one file's command: directly when directProgram (the run's
    // resolved program, or empty) and the line allow it, else through the
    // interpreter. False when nothing started: blocked then holds a value's
    // character that no line can bring to the program, or 0 when the
    // interpreter could not start.
    bool StartCommand(const std::string& directProgram, const CommandFormat& format, const FileValues& values,
                      const std::string& expansion, uint32_t& id, char& blocked);
    // Starts one file's command through the emulator; batch gets the path
    // of its batch file (the DOSBox family). False when nothing started.
    bool StartThroughEmulator(const EmulatorRun& run, const std::string& tail, uint32_t& id, std::string& batch);

    RunSettings settings;  // those of the run or listing of the moment
    RunServices& ui;
    Platform& platform;
    bool busy = false;
    bool stopRequested = false;
    struct RunningCommand {
        uint32_t id = 0;    // the platform's
        uint32_t file = 0;  // 1 on, in foundFiles
        std::string shortValue;
        bool ended = false;  // by EndRunningCommands
        std::string batch;   // its batch file, through an emulator of the DOSBox family
    };
    // The exit code and output a command's batch file recorded take the
    // place of the emulator's own; the files are removed.
    void ReadBack(const RunningCommand& command, CommandEnd& end);
    std::vector<RunningCommand> running;  // in the order they started
    uint32_t lastBatch = 0;               // the number in the last batch file's name
    std::vector<FileEntry> foundFiles;
    std::string lastListedPattern;
};

}  // namespace runner
