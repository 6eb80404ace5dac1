#pragma once
// Lorvan as a program: Ctrl+A in any of its windows selects the status
// window's text; a double-click on the main window's CWD or "# of files"
// field, which the fields do not see themselves, browses or lists again.

#include "RunnerDlg.h"
#include "framework/Application.h"

namespace runner {

class CRunnerApp : public fw::Program<CRunnerDlg> {
protected:
    bool FilterProgramKey(CRunnerDlg& window, const MSG& msg) override;
    bool FilterMainWindow(CRunnerDlg& window, const MSG& msg) override;
};

}  // namespace runner
