#pragma once
// Lorvan as a program: the main window's keys and double-clicks that no
// control handles itself (Ctrl+A, and the double-clicks on the CWD and
// "# of files" fields).

#include "RunnerDlg.h"
#include "framework/Application.h"

class CRunnerApp : public fw::Program<CRunnerDlg> {
protected:
    bool FilterMainWindow(CRunnerDlg& window, const MSG& msg) override;
};
