#include "RunController.h"

#include "FieldTable.h"
#include "runner/engine/win32/WindowsPlatform.h"

namespace runner {

RunController::RunController(RunnerServices& services, runner::Platform* otherPlatform)
    : services(services),
      windowsPlatform(otherPlatform ? nullptr : NewWindowsPlatform()),
      platform(otherPlatform ? *otherPlatform : *windowsPlatform),
      engine(services, platform) {}

bool RunController::Run(const RunSettings& settings) {
    if (phase != Phase::Idle) return false;
    SetRunning(true);
    engine.RunBatch(settings);
    const bool close = phase == Phase::Closing;
    SetRunning(false);
    services.Flush();
    return close;
}

void RunController::Stop() {
    if (phase == Phase::Idle) return;
    if (phase == Phase::Running) {
        phase = Phase::Stopping;
        engine.RequestStop();
        return;
    }
    // Asked again (or after a close) while commands still run: one may hang.
    const bool several = engine.CommandsRunning() > 1;
    if (services.Ask(several ? "The run stops when the commands that run now end.\r\n\r\nEnd those commands now?"
                             : "The run stops when the command that runs now ends.\r\n\r\nEnd that command now?",
                     lorvanTitle, Buttons::YesNo, Icon::Question) == Answer::Yes)
        engine.EndRunningCommands();
}

bool RunController::MayClose() {
    if (phase == Phase::Idle) return true;
    if (phase == Phase::Closing) return false;
    if (services.Ask("A run is in progress.\r\n\r\nStop it and close Lorvan?", lorvanTitle, Buttons::YesNo,
                     Icon::Question) != Answer::Yes)
        return false;
    if (phase == Phase::Idle) return true;  // the run ended while the question was open
    // The window closes when the run has ended, as after a whole run.
    phase = Phase::Closing;
    engine.RequestStop();
    return false;
}

void RunController::SetRunning(bool running) {
    HMENU menu = GetMenu(window);
    if (running) {
        phase = Phase::Running;
        enabledBeforeRun.clear();
        focusAfterRun = 0;
        if (HWND focus = GetFocus(); focus && IsChild(window, focus))
            SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDOK)), TRUE);
    }
    for (const FieldRow& row : fieldRows) {
        if (!(row.traits & GreyedInRun)) continue;
        if (InMenu(row)) {
            for (int item = 0; item < ItemCount(row); ++item)
                EnableMenuItem(menu, row.id + item, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
        } else if (running) {
            HWND control = GetDlgItem(window, row.id);
            enabledBeforeRun.emplace_back(row.id, IsWindowEnabled(control) != FALSE);
            EnableWindow(control, FALSE);
        }
    }
    if (running) {
        SetDlgItemTextA(window, IDOK, "Stop");
    } else {
        for (const auto& [id, enabled] : enabledBeforeRun) EnableWindow(GetDlgItem(window, id), enabled);
        SetDlgItemTextA(window, IDOK, "R&un");
        phase = Phase::Idle;
        enabledBeforeRun.clear();
        if (focusAfterRun) FocusControl(std::exchange(focusAfterRun, 0));
    }
    DrawMenuBar(window);
}

void RunController::FocusControl(int id) {
    services.Flush();
    HWND control = GetDlgItem(window, id);
    // A field is greyed during a run: it gets the focus when the run ends.
    if (phase != Phase::Idle && !IsWindowEnabled(control)) {
        focusAfterRun = id;
        return;
    }
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

}  // namespace runner
