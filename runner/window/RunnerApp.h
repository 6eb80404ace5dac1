#pragma once
// Lorvan as a program: runs the main window modally and filters every
// message of the program before its windows see it (Esc, Ctrl+A and the
// double-clicks on the CWD and "# of files" fields).

#include "RunnerDlg.h"
#include "framework/Application.h"

class CRunnerApp : public fw::Application {
public:
    void InitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;

    // Runs a main window modally as the program's main window.
    INT_PTR RunMainDialog(CRunnerDlg& dialog);

private:
    CRunnerDlg* mainDialog = nullptr;
};
