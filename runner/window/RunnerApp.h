#pragma once
// Lorvan as a program: Ctrl+A in the main window selects the status
// window's text (other dialogs keep its usual meaning); a double-click on
// the main window's CWD or "# of files" field, which the fields do not see
// themselves, browses or lists again.

#include "RunnerDlg.h"
#include "framework/Application.h"

namespace runner {

class CRunnerApp : public fw::Program<CRunnerDlg> {
protected:
    bool FilterMainWindow(CRunnerDlg& window, const MSG& msg) override;
};

}  // namespace runner
