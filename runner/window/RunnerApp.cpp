#include "RunnerApp.h"

void CRunnerApp::InitInstance() {
    CRunnerDlg dialog;
    RunMainDialog(dialog);
}

INT_PTR CRunnerApp::RunMainDialog(CRunnerDlg& dialog) {
    mainDialog = &dialog;
    INT_PTR result = Application::RunMainDialog(dialog);
    mainDialog = nullptr;
    return result;
}

bool CRunnerApp::PreTranslateMessage(MSG& msg) {
    // Esc closes no dialog of the program.
    if (IsEscapeKey(msg)) return true;
    if (!mainDialog) return false;
    if (msg.message == WM_CHAR && msg.wParam == 1) {  // Ctrl+A
        mainDialog->SelectAllStatus();
        return true;
    }
    if (mainDialog->IsCwdDoubleClick(msg)) {
        mainDialog->BrowseFromRoot();
        return true;
    }
    if (mainDialog->IsFileCountDoubleClick(msg)) {
        mainDialog->RefreshFileList();
        return true;
    }
    return false;
}
