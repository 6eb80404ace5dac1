#include "MoverApp.h"

void CMoverApp::InitInstance() {
    CMoverDlg dialog;
    RunMainDialog(dialog);
}

INT_PTR CMoverApp::RunMainDialog(CMoverDlg& dialog) {
    mainDialog = &dialog;
    SetMainDialog(&dialog);
    INT_PTR result = dialog.DoModal();
    SetMainDialog(nullptr);
    mainDialog = nullptr;
    return result;
}

bool CMoverApp::PreTranslateMessage(MSG& msg) {
    // Esc closes neither the main window nor the help dialog.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) && msg.wParam == VK_ESCAPE)
        return true;
    // A double-click on the CWD field browses from the desktop.
    if (mainDialog && mainDialog->IsCwdDoubleClick(msg)) {
        mainDialog->BrowseFromRoot();
        mainDialog->RefreshLists();
        return true;
    }
    return false;
}
