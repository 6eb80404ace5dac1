#include "RunnerApp.h"

bool CRunnerApp::FilterProgramKey(CRunnerDlg& window, const MSG& msg) {
    if (msg.message != WM_CHAR || msg.wParam != 1) return false;  // Ctrl+A
    window.SelectAllStatus();
    return true;
}

bool CRunnerApp::FilterMainWindow(CRunnerDlg& window, const MSG& msg) {
    if (window.IsCwdDoubleClick(msg)) {
        window.BrowseFromRoot();
        return true;
    }
    if (window.IsFileCountDoubleClick(msg)) {
        window.RefreshFileList();
        return true;
    }
    return false;
}
