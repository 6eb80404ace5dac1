#include "runner/engine/RunEngine.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/FileOrder.h"
#include "runner/engine/OutputDirectory.h"
#include "runner/engine/Platform.h"
#include "runner/engine/ProgramStart.h"
#include "runner/engine/ReportFile.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/StandIns.h"

#include <algorithm>

namespace runner {

namespace {

// A too-long expansion this long or longer is shown without the warning.
constexpr size_t maxWarnedExpansion = 650;

std::string ResultText(int status, bool resultMissing) {
    if (status == -1) return ": System error";
    if (status != 0) return ": Error " + std::to_string(static_cast<unsigned>(status));
    return resultMissing ? ": Failed" : ": OK";
}

// A file whose names the interpreter would change: not run.
std::string BlockedText(char c) {
    if (c == '%') return ": Not run: the command interpreter would change the \"%\" in its name";
    return ": Not run: the command interpreter cannot pass its name unchanged";
}

}  // namespace

RunEngine::RunEngine(RunServices& ui, Platform& platform) : ui(ui), platform(platform) {}

void RunEngine::RefreshFileList(const RunSettings& given) {
    // A listing asked for from outside while a run is going on (a message
    // box's message loop) would replace the list the run is working on.
    if (busy) return;
    settings = given;
    ListNow();
}

void RunEngine::ListNow() {
    lastListedPattern = settings.files;
    ListFiles(settings, ui, platform, foundFiles);
}

// What preparing gives the commands' loop and the finish.
struct RunEngine::RunPlan {
    bool test = false;
    bool reporting = false;  // a report is written
    SymbolSet symbols;
    CommandFormat format;
    // The program file to start directly, looked up once for the run (a
    // look along PATH costs a few file system calls a directory); empty:
    // every line goes through the interpreter.
    std::string directProgram;
    uint32_t atOnce = 1;      // commands kept running
    uint32_t timeLimit = 0;   // seconds a command may run; 0: no limit
    bool showOutput = false;  // the output of every command, not only of those that did not end OK
};

// Where the commands' loop stands.
struct RunEngine::CommandLoop {
    uint32_t taken = 0;  // files begun, in file order
    uint32_t done = 0;   // files ended
    uint32_t needRenameCount = 0;
    FileOrder order;
};

bool RunEngine::EndRunningCommands() {
    if (!busy || !platform.EndRunningCommands()) return false;
    for (RunningCommand& command : running) command.ended = true;
    stopRequested = true;
    return true;
}

bool RunEngine::StartCommand(const std::string& directProgram, const CommandFormat& format, const FileValues& values,
                             const std::string& expansion, uint32_t& id, char& blocked) {
    // A file's names are data: started directly, the program gets them as
    // they are, whatever they hold.
    if (!directProgram.empty() && platform.StartCommand(directProgram, settings.program + ' ' + expansion, id))
        return true;
    // Also when the program cannot be started directly (a DOS program on a
    // system without its emulation): the interpreter's answer is the result.
    const InterpreterLine line = BuildInterpreterLine(settings.program, format, values);
    blocked = line.blocked;
    return !blocked && platform.StartCommand({}, line.line, id);
}

void RunEngine::RunBatch(const RunSettings& given) {
    if (busy) return;
    busy = true;
    settings = given;
    stopRequested = false;
    // Cleared on every way out of the run.
    struct BusyGuard {
        RunEngine& engine;
        ~BusyGuard() {
            engine.busy = engine.stopRequested = false;
            engine.running.clear();
        }
    } guard{*this};

    ListNow();
    if (!MayRun()) return;
    AddToHistory();
    RunPlan plan;
    plan.test = settings.test;
    plan.reporting = !plan.test && settings.handling < HandlingNone;
    if (settings.rename && !plan.test && !PrepareOutputDirectory(settings, ui, platform)) return;
    ReportFile report(settings, ui, platform);
    if (plan.reporting && !report.OpenReport()) return;
    if (!ParseTemplate(plan)) {
        report.CloseWithoutFinishing();
        return;
    }
    ui.SetStatus("Handling commands:\r\n");
    // Taken back on every way out of the run, before the results are renamed.
    StandIns standIns(settings, ui, platform);
    if (!standIns.Give(foundFiles)) {
        report.CloseWithoutFinishing();
        return;
    }
    PlanCommands(plan);
    CommandLoop loop;
    RunCommands(plan, report, loop);
    Finish(plan, loop, report, standIns);
}

bool RunEngine::MayRun() {
    if (foundFiles.empty()) {
        ui.Ask("No files were found matching \"" + settings.files + "\".", lorvanTitle, Buttons::Ok, Icon::None);
        return false;
    }
    // Checked again before anything is touched: the pattern also finds
    // earlier results to delete, and the temporary name is deleted before
    // the first command.
    if (!IsPatternInCwd(settings.files, ui, platform)) return false;
    if (!IsTempExtUsable(settings, platform)) {
        ui.Ask(tempExtMessage, lorvanTitle, Buttons::Ok, Icon::None);
        ui.FocusField(Field::TempExt);
        return false;
    }
    // A program that no start would find fails every file's command: told
    // once, before the output directory or the report is touched.
    // So does a program this Windows cannot start: a DOS program on 64-bit Windows.
    std::string found, problem = ProgramProblem(settings.program, platform, &found);
    if (problem.empty() && !found.empty()) problem = StartProblem(settings.program, found, platform);
    if (!problem.empty()) {
        ui.Ask(problem, lorvanTitle, Buttons::Ok, Icon::Exclamation);
        ui.FocusField(Field::Program);
        return false;
    }
    // Without stand-ins, files the DOS program would get by their long names:
    // asked once, before anything is changed.
    const uint32_t without = settings.standIns == StandInsOff ? CountWithoutShortName(foundFiles) : 0;
    if (without == 0) return true;
    const bool one = without == 1;
    const std::string question = std::to_string(without) + " of the " + std::to_string(foundFiles.size()) +
                                 (one ? " files has" : " files have") + " no 8.3 name: the DOS program gets " +
                                 (one ? "its long name." : "their long names.") + "\r\n\r\nGo on?";
    return ui.Ask(question, lorvanTitle, Buttons::YesNo, Icon::Question) == Answer::Yes;
}

void RunEngine::AddToHistory() {
    ui.AddToHistory(HistoryList::Program, settings.program);
    ui.AddToHistory(HistoryList::Files, settings.files);
    ui.AddToHistory(HistoryList::Command, settings.command);
    ui.AddToHistory(HistoryList::Translate, settings.translate);
}

bool RunEngine::ParseTemplate(RunPlan& plan) {
    // The text of the Symbols entry selected: its list holds these texts.
    const bool symbolsSelected = settings.symbols >= 0 && settings.symbols < symbolSetCount;
    plan.symbols = ReadSymbolSet(symbolsSelected ? symbolSetTexts[settings.symbols] : "");
    if (ParseCommandTemplate(settings.command, plan.symbols, plan.format)) return true;
    ui.Ask("Too many symbols in the Command string, max 10", lorvanTitle, Buttons::Ok, Icon::None);
    return false;
}

void RunEngine::PlanCommands(RunPlan& plan) {
    ui.SetProgressRange(FileCount());
    ui.SetProgressPos(0);
    if (!plan.test) {
        plan.directProgram = ResolveProgram(settings.program, platform);
        // Decided by the user's own text alone, never by a file's names.
        if (!IsDirectlyStartable(plan.directProgram) || UserTextNeedsInterpreter(settings.program, plan.format))
            plan.directProgram.clear();
    }
    // In the report modes every command writes the one temporary report
    // file that the template names: they go one at a time.
    plan.atOnce = plan.test || plan.reporting ? 1 : CommandsAtOnce(settings);
    plan.timeLimit = TimeLimit(settings);
    plan.showOutput = settings.showOutput;
    if (!plan.test) platform.SetTimeLimit(plan.timeLimit);
    if (!plan.test && plan.reporting && CommandsAtOnce(settings) > 1)
        ui.AppendStatus("Commands run one at a time: each of them writes the one temporary report file.");
}

void RunEngine::RunCommands(const RunPlan& plan, ReportFile& report, CommandLoop& loop) {
    for (;;) {
        if (running.size() >= plan.atOnce || loop.taken == FileCount() || stopRequested) {
            if (running.empty()) return;
            CollectOne(plan, report, loop);
        } else if (!BeginNext(plan, report, loop)) {
            return;
        }
    }
}

bool RunEngine::BeginNext(const RunPlan& plan, ReportFile& report, CommandLoop& loop) {
    const uint32_t j = loop.taken + 1;
    const FileEntry& entry = foundFiles[j - 1];
    if (entry.NeedsRenaming()) ++loop.needRenameCount;
    const FileValues values = MakeFileValues(entry, settings, plan.symbols, platform);
    const std::string expansion = ExpandCommand(plan.format, values);
    const bool tooLong = IsCommandTooLong(platform.DosLength(expansion));
    if (plan.test && !ShowTestCommand(j, expansion, tooLong)) return false;
    loop.taken = j;
    if (plan.test) {
        Ended(plan, report, loop, j, DisplayLine(entry) + (tooLong ? ": Command string too long" : ": Handled"),
              nullptr);
        return true;
    }
    uint32_t id = 0;
    char blocked = 0;
    if (tooLong)
        Ended(plan, report, loop, j, DisplayLine(entry) + ": Cmd too long", nullptr);
    else if (!values.shortValueReadable)  // no DOS program can open it under that name: nothing is run
        Ended(plan, report, loop, j, DisplayLine(entry) + ": Name not readable by the DOS program", nullptr);
    else if (StartCommand(plan.directProgram, plan.format, values, expansion, id, blocked))
        running.push_back({id, j, values.shortValue});
    else if (blocked)  // nothing ran, nothing to collect
        Ended(plan, report, loop, j, DisplayLine(entry) + BlockedText(blocked), nullptr);
    else
        Ended(plan, report, loop, j, DisplayLine(entry) + ResultText(-1, false), &values.shortValue);
    return true;
}

bool RunEngine::ShowTestCommand(uint32_t file, const std::string& expansion, bool tooLong) {
    const std::string title = "Lorvan test: \"" + settings.program + "\" command " + std::to_string(file) + " of " +
                              std::to_string(FileCount());
    std::string text = expansion;
    if (tooLong && expansion.size() < maxWarnedExpansion) text += "\r\n\r\nCOMMAND STRING TOO LONG! Max 126 characters";
    return ui.Ask(text, title, Buttons::OkCancel, tooLong ? Icon::Exclamation : Icon::None) != Answer::Cancel;
}

void RunEngine::CollectOne(const RunPlan& plan, ReportFile& report, CommandLoop& loop) {
    CommandEnd end;
    const bool waited = platform.WaitForCommand(end);
    auto command =
        std::find_if(running.begin(), running.end(), [&end](const RunningCommand& c) { return c.id == end.id; });
    if (!waited || command == running.end()) {
        command = running.begin();  // lost to the platform: not to be waited for again
        end = {};
        end.status = -1;
    }
    const RunningCommand finished = std::move(*command);
    running.erase(command);
    const bool resultMissing = !finished.ended && !end.outOfTime && end.status == 0 && settings.rename &&
                               !ResultFileExists(settings, finished.shortValue, platform);
    std::string line = DisplayLine(foundFiles[finished.file - 1]);
    if (finished.ended)
        line += ": Ended";
    else if (end.outOfTime)
        line += ": Out of time, ended after " + Duration(plan.timeLimit);
    else
        line += ResultText(end.status, resultMissing);
    // What the command said, beneath its line: whenever it did not end OK.
    if (plan.showOutput || finished.ended || end.outOfTime || end.status != 0 || resultMissing)
        line += end.output.Shown(platform);
    Ended(plan, report, loop, finished.file, std::move(line), &finished.shortValue);
}

void RunEngine::Ended(const RunPlan& plan, ReportFile& report, CommandLoop& loop, uint32_t file, std::string line,
                      const std::string* reportOf) {
    for (const std::string& due : loop.order.Add(file, std::move(line))) ui.AppendStatus(due);
    // An ended command's report is kept too: what it wrote is not lost.
    // One at a time, so its line is shown now.
    if (reportOf && plan.reporting) report.CollectCommandReport(*reportOf, foundFiles[file - 1].longName);
    ui.SetProgressPos(++loop.done);
}

void RunEngine::Finish(const RunPlan& plan, const CommandLoop& loop, ReportFile& report, StandIns& standIns) {
    const uint32_t handled = loop.taken;  // all of them ended
    const uint32_t fileCount = FileCount();
    if (stopRequested && handled > 0) {
        ui.AppendStatus("\r\nStopped after file " + std::to_string(handled) + " of " + std::to_string(fileCount) +
                        ": \"" + foundFiles[handled - 1].longName + "\".");
    }
    standIns.Remove();
    if (settings.rename) {
        // After a stop only the files handled have results to rename.
        if (handled < fileCount) {
            const std::vector<FileEntry> handledFiles(foundFiles.begin(), foundFiles.begin() + handled);
            FinishRenaming(settings, handledFiles, loop.needRenameCount, ui, platform);
        } else {
            FinishRenaming(settings, foundFiles, loop.needRenameCount, ui, platform);
        }
    }
    if (plan.reporting) report.CloseReport();
    ui.SetProgressPos(0);
    ui.AppendStatus("\r\nDone");
}

}  // namespace runner
