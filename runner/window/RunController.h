#pragma once
// The life of a run in Lorvan's main window: the engine, the window's state
// while a run goes on (its fields and options greyed, Run reading "Stop"),
// Stop, and a close asked for during a run.

#include "RunnerServices.h"
#include "runner/engine/RunEngine.h"

#include <memory>
#include <utility>
#include <vector>

namespace runner {

class RunController {
public:
    // Where a run stands. Stopping: no command starts after the one that
    // runs now; Closing: the same, and the window closes when the run ends.
    enum class Phase { Idle, Running, Stopping, Closing };

    // The engine works on the given platform (tests), or on Windows itself.
    RunController(RunnerServices& services, runner::Platform* platform);
    // The main window whose controls a run greys and gives back.
    void Attach(HWND window) { this->window = window; }

    runner::Platform& Platform() { return platform; }
    RunEngine& Engine() { return engine; }
    const RunEngine& Engine() const { return engine; }
    Phase CurrentPhase() const { return phase; }
    bool Idle() const { return phase == Phase::Idle; }

    // A run of the settings; true when the window is to close after it.
    bool Run(const RunSettings& settings);
    // Run pressed during a run: the run stops after the commands that run
    // now; pressed again, the user may end them.
    void Stop();
    // Exit pressed: true when the window may close now; during a run the
    // user is asked, and the window closes when the run has ended.
    bool MayClose();
    // The focus into a control; into one greyed by the run, when it ends.
    void FocusControl(int id);

private:
    void SetRunning(bool running);

    HWND window = nullptr;
    RunnerServices& services;
    std::unique_ptr<runner::Platform> windowsPlatform;  // when no other is given
    runner::Platform& platform;
    RunEngine engine;
    Phase phase = Phase::Idle;
    std::vector<std::pair<int, bool>> enabledBeforeRun;  // control id, enabled
    int focusAfterRun = 0;                               // asked for during the run
};

}  // namespace runner
