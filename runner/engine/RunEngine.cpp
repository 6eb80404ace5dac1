#include "runner/engine/RunEngine.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/OutputDirectory.h"
#include "runner/engine/Platform.h"
#include "runner/engine/ReportFile.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

namespace lorvan {

namespace {

// A too-long expansion this long or longer is shown without the warning.
constexpr size_t maxWarnedExpansion = 650;

std::string ResultText(int status, bool resultMissing) {
    if (status == -1) return ": System error";
    if (status != 0) return ": Error " + std::to_string(static_cast<unsigned>(status));
    return resultMissing ? ": Failed" : ": OK";
}

}  // namespace

RunEngine::RunEngine(RunSettings& settings, RunServices& ui, Platform& platform)
    : settings(settings), ui(ui), platform(platform) {}

void RunEngine::RefreshFileList() {
    // A listing asked for from outside while a run is going on (a message
    // box's message loop) would replace the list the run is working on.
    if (!busy) ListNow();
}

void RunEngine::ListNow() {
    lastListedPattern = settings.files;
    ListFiles(settings.files, ui, platform, foundFiles);
}

void RunEngine::RunBatch() {
    if (busy) return;
    busy = true;
    // Cleared on every way out of the run.
    struct BusyGuard {
        bool& flag;
        ~BusyGuard() { flag = false; }
    } guard{busy};

    ListNow();
    if (foundFiles.empty()) {
        ui.Ask("No files were found matching \"" + settings.files + "\".", lorvanTitle, Buttons::Ok, Icon::None);
        return;
    }
    ui.ReadRecord();
    // The controls may hold other values than those listed with: the
    // pattern also finds earlier results to delete, and the temporary name
    // is deleted before the first command.
    if (!IsPatternInCwd(settings.files, ui, platform)) return;
    if (!IsTempExtUsable(settings, platform)) {
        ui.Ask(tempExtMessage, lorvanTitle, Buttons::Ok, Icon::Exclamation);
        ui.FocusControl(IdTempExtEdit);
        return;
    }
    // Files the DOS program would get by their long names: asked once,
    // before anything is changed.
    if (const uint32_t without = CountWithoutShortName(foundFiles)) {
        const bool one = without == 1;
        const std::string question = std::to_string(without) + " of the " + std::to_string(foundFiles.size()) +
                                     (one ? " files has" : " files have") + " no 8.3 name: the DOS program gets " +
                                     (one ? "its long name." : "their long names.") + "\r\n\r\nGo on?";
        if (ui.Ask(question, lorvanTitle, Buttons::YesNo, Icon::Question) != Answer::Yes) return;
    }
    ui.AddToHistory(HistoryList::Program, settings.program);
    ui.AddToHistory(HistoryList::Files, settings.files);
    ui.AddToHistory(HistoryList::Command, settings.command);
    ui.AddToHistory(HistoryList::Translate, settings.translate);

    const bool test = settings.test;
    const bool reporting = !test && settings.handling < HandlingNone;
    if (settings.rename && !test && !PrepareOutputDirectory(settings, ui, platform)) return;
    ReportFile report(settings, ui, platform);
    if (reporting && !report.OpenReport()) return;

    const SymbolSet symbols = ReadSymbolSet(ui.SymbolSetText());
    CommandFormat format;
    if (!ParseCommandTemplate(settings.command, symbols, format)) {
        ui.Ask("Too many symbols in the Command string, max 10", lorvanTitle, Buttons::Ok, Icon::None);
        report.CloseWithoutFinishing();
        return;
    }

    ui.SetStatus("Handling commands:\r\n");
    const uint32_t fileCount = FileCount();
    ui.SetProgressRange(fileCount);
    ui.SetProgressPos(0);
    ui.ShowRecord();

    uint32_t needRenameCount = 0;
    for (uint32_t j = 1; j <= fileCount; ++j) {
        const FileEntry& entry = foundFiles[j - 1];
        if (entry.needsRenaming()) ++needRenameCount;
        const FileValues values = MakeFileValues(entry, settings, symbols, platform);
        const std::string expansion = ExpandCommand(format, values);
        const bool tooLong = IsCommandTooLong(expansion);

        if (test) {
            std::string title = "Lorvan test: \"" + settings.program + "\" command " + std::to_string(j) + " of " +
                                std::to_string(fileCount);
            std::string text = expansion;
            if (tooLong && expansion.size() < maxWarnedExpansion)
                text += "\r\n\r\nCOMMAND STRING TOO LONG! Max 126 characters";
            if (ui.Ask(text, title, Buttons::OkCancel, tooLong ? Icon::Exclamation : Icon::None) == Answer::Cancel)
                break;
            ui.AppendStatus(DisplayLine(entry) + (tooLong ? ": Command string too long" : ": Handled"));
        } else if (tooLong) {
            ui.AppendStatus(DisplayLine(entry) + ": Cmd too long");
        } else {
            const int status = platform.System(BuildCommandLine(settings.program, expansion));
            const bool resultMissing =
                status == 0 && settings.rename && !ResultFileExists(settings, values.shortValue, platform);
            ui.AppendStatus(DisplayLine(entry) + ResultText(status, resultMissing));
            if (reporting) report.CollectCommandReport(values.shortValue, entry.longName);
        }
        ui.SetProgressPos(j);
        ui.ShowRecord();
    }

    if (settings.rename) FinishRenaming(settings, foundFiles, needRenameCount, ui, platform);
    if (reporting) report.CloseReport();
    ui.SetProgressPos(0);
    ui.AppendStatus("\r\nDone");
}

}  // namespace lorvan
