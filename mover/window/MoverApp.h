#pragma once
// Kastrelo as a program: runs the main window modally and filters every
// message of the program before its window sees it.

#include "MoverDlg.h"
#include "framework/Application.h"

class CMoverApp : public fw::Application {
public:
    void InitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;

    // Runs a main window modally as the program's main window.
    INT_PTR RunMainDialog(CMoverDlg& dialog);

private:
    CMoverDlg* mainDialog = nullptr;
};
