#include "MoverApp.h"

void CMoverApp::InitInstance() {
    CMoverDlg dialog;
    RunMainDialog(dialog);
}

INT_PTR CMoverApp::RunMainDialog(CMoverDlg& dialog) {
    mainDialog = &dialog;
    INT_PTR result = Application::RunMainDialog(dialog);
    mainDialog = nullptr;
    return result;
}

bool CMoverApp::PreTranslateMessage(MSG& msg) {
    // Esc closes neither the main window nor the help dialog.
    if (IsEscapeKey(msg)) return true;
    // A double-click on the CWD field browses from the desktop.
    if (mainDialog && mainDialog->IsCwdDoubleClick(msg)) {
        mainDialog->BrowseFromRoot();
        mainDialog->RefreshLists();
        return true;
    }
    return false;
}
