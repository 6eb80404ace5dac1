#include "runner/engine/RunEngine.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/Emulator.h"
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

// The time limit of a command through an emulator that may never return
// (DOSBox at its prompt) where the user set none: ten minutes.
constexpr uint32_t emulatorTimeLimit = 600;

// A batch file's name, 8.3 as DOS needs it: LRV00001.BAT.
std::string BatchName(uint32_t number) {
    std::string digits = std::to_string(number % 100000);
    return "LRV" + std::string(5 - digits.size(), '0') + digits + ".BAT";
}

// The folder part of a path, with its separator; empty for a bare name.
size_t FolderLength(std::string_view path, const text::CodePage& codePage) {
    const size_t separator = text::FindLastChar(path, "\\:", codePage);
    return separator == std::string_view::npos ? 0 : separator + 1;
}

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
    EmulatorRun emulator;     // the DOS program goes through it; emulator.emulator 0: none
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
    RunPlan plan;
    if (!MayRun(plan)) return;
    AddToHistory();
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

bool RunEngine::MayRun(RunPlan& plan) {
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
    if (!CheckProgram(plan)) return false;
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

bool RunEngine::CheckProgram(RunPlan& plan) {
    // A program that no start would find fails every file's command: told
    // once, before the output directory or the report is touched. So does
    // one this Windows cannot start: a DOS program on 64-bit Windows.
    std::string found, problem = ProgramProblem(settings.program, platform, &found);
    const ProgramKind kind = found.empty() ? ProgramKind::Other : ReadProgramKind(found, platform);
    if (problem.empty())
        problem = kind == ProgramKind::Dos && Emulator(settings) != EmulatorNone
                      ? PlanEmulator(found, plan.emulator)
                      : StartProblem(settings.program, found, kind, platform);
    if (problem.empty()) return true;
    ui.Ask(problem, lorvanTitle, Buttons::Ok, Icon::Exclamation);
    ui.FocusField(Field::Program);
    return false;
}

std::string RunEngine::PlanEmulator(const std::string& program, EmulatorRun& run) {
    run.emulator = Emulator(settings);
    run.path = EmulatorPath(settings);
    const std::string name = emulatorNames[run.emulator];
    uint32_t attributes = 0;
    if (run.path.empty() || !platform.Exists(run.path, &attributes) || (attributes & text::AttributeDirectory))
        return "The DOS emulator " + name +
               (run.path.empty() ? " has no program file" : " was not found at \"" + run.path + "\"") +
               ". Choose its program in Options > DOS emulator.";
    // Names without spaces where Windows has short ones.
    const auto shortOf = [this](std::string path) {
        std::string shortPath;
        return platform.ShortPath(path, shortPath) ? shortPath : path;
    };
    if (!NeedsBatch(run.emulator)) {
        run.program = shortOf(program);
        return {};
    }
    const size_t folder = FolderLength(program, platform);
    std::string file = program.substr(folder);
    if (!IsValidShortName(file, platform)) {
        if (MakesOwnShortNames(run.emulator))
            return name + " gives \"" + file +
                   "\" a short name of its own, which Lorvan cannot know. Give the program " +
                   "a name of at most eight characters, with an extension of at most three.";
        const std::string shortPath = shortOf(program);
        file = shortPath.substr(FolderLength(shortPath, platform));
    }
    if (folder > 0) {
        // Mounted by its full path: relative to the working directory, or to its drive.
        std::string full = program.substr(0, folder);
        if (full[0] == '\\' && full.size() > 1 && full[1] != '\\')
            full.insert(0, settings.cwd, 0, 2);
        else if (full.size() < 2 || full[1] != ':')
            full.insert(0, settings.cwd.ends_with('\\') ? settings.cwd : settings.cwd + '\\');
        if (full.size() > 3) full.pop_back();
        run.programFolder = shortOf(full);
    }
    run.program = folder > 0 ? "D:\\" : "C:\\";
    run.program.append(file);
    run.cwd = shortOf(settings.cwd);
    // The batch files go in a folder of Lorvan's own, beside its journal.
    const std::string journal = platform.JournalPath();
    if (journal.empty()) return "Lorvan has no folder of its own for " + name + "'s batch files.";
    const std::string scratch = journal.substr(0, FolderLength(journal, platform)) + "Emulator";
    if (!settings.test) platform.MakeDirectory(scratch);
    run.scratch = shortOf(scratch) + '\\';
    // Windows' short names mean nothing inside it: every file gets a stand-in.
    if (MakesOwnShortNames(run.emulator)) settings.standIns = StandInsAlways;
    return {};
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
    if (plan.timeLimit == 0 && NeedsBatch(plan.emulator.emulator)) plan.timeLimit = emulatorTimeLimit;
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
    if (plan.test && !ShowTestCommand(j, TestText(plan.emulator, expansion, j), tooLong)) return false;
    loop.taken = j;
    if (plan.test) {
        Ended(plan, report, loop, j, DisplayLine(entry) + (tooLong ? ": Command string too long" : ": Handled"),
              nullptr);
        return true;
    }
    uint32_t id = 0;
    char blocked = 0;
    std::string batch;
    if (tooLong)
        Ended(plan, report, loop, j, DisplayLine(entry) + ": Cmd too long", nullptr);
    else if (!values.shortValueReadable)  // no DOS program can open it under that name: nothing is run
        Ended(plan, report, loop, j, DisplayLine(entry) + ": Name not readable by the DOS program", nullptr);
    else if (plan.emulator.emulator ? StartThroughEmulator(plan.emulator, expansion, id, batch)
                                    : StartCommand(plan.directProgram, plan.format, values, expansion, id, blocked))
        running.push_back({id, j, values.shortValue, false, std::move(batch)});
    else if (blocked)  // nothing ran, nothing to collect
        Ended(plan, report, loop, j, DisplayLine(entry) + BlockedText(blocked), nullptr);
    else
        Ended(plan, report, loop, j, DisplayLine(entry) + ResultText(-1, false), &values.shortValue);
    return true;
}

std::string RunEngine::TestText(const EmulatorRun& run, const std::string& expansion, uint32_t file) const {
    if (!run.emulator) return expansion;
    std::string text = EmulatorCommandLine(run, expansion, BatchName(file));
    if (NeedsBatch(run.emulator))
        text += "\r\n\r\nIn " + std::string(emulatorNames[run.emulator]) + ": " + BatchProgramLine(run, expansion);
    return text;
}

bool RunEngine::ShowTestCommand(uint32_t file, const std::string& expansion, bool tooLong) {
    const std::string title = "Lorvan test: \"" + settings.program + "\" command " + std::to_string(file) + " of " +
                              std::to_string(FileCount());
    std::string text = expansion;
    if (tooLong && expansion.size() < maxWarnedExpansion) text += "\r\n\r\nCOMMAND STRING TOO LONG! Max 126 characters";
    return ui.Ask(text, title, Buttons::OkCancel, tooLong ? Icon::Exclamation : Icon::None) != Answer::Cancel;
}

bool RunEngine::StartThroughEmulator(const EmulatorRun& run, const std::string& tail, uint32_t& id,
                                     std::string& batch) {
    if (!NeedsBatch(run.emulator)) return platform.StartCommand(run.path, EmulatorCommandLine(run, tail, {}), id);
    // A name no other command has, also of another Lorvan's run: made new.
    std::unique_ptr<PlatformFile> file;
    std::string name;
    for (int tries = 0; !file && tries < 100; ++tries)
        file = platform.CreateForWriting(run.scratch + (name = BatchName(++lastBatch)));
    if (!file) return false;
    batch = run.scratch + name;
    const std::string base = name.substr(0, name.size() - 4);
    platform.RemoveFile(run.scratch + base + ".OUT");
    platform.RemoveFile(run.scratch + base + ".COD");
    const std::string text = DosBatch(BatchProgramLine(run, tail), base + ".OUT", base + ".COD");
    const bool written = file->Write(text.data(), text.size());
    file.reset();
    if (written && platform.StartCommand(run.path, EmulatorCommandLine(run, tail, name), id)) return true;
    platform.RemoveFile(batch);
    return false;
}

void RunEngine::ReadBack(const RunningCommand& command, CommandEnd& end) {
    const std::string base = command.batch.substr(0, command.batch.size() - 4);
    const int code = RecordedExitCode(ReadWholeFile(platform, base + ".COD"));
    if (code >= 0) {
        end.status = code;
        end.output = {};
        ReadBlocks(platform, base + ".OUT", false, [&end](std::string_view block) {
            end.output.Append(block);
            return true;
        });
    } else if (!end.outOfTime && !command.ended) {
        // What the emulator itself said stays: it tells why.
        end.status = -1;
        end.output.AppendLine("(No exit code came back: the batch file did not run to its end.)");
    }
    for (const char* extension : {".BAT", ".OUT", ".COD"}) platform.RemoveFile(base + extension);
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
    if (!finished.batch.empty()) ReadBack(finished, end);
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
