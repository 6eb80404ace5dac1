#include "RunnerApp.h"

#include "resource.h"

namespace runner {

bool CRunnerApp::FilterMainWindow(CRunnerDlg& window, const MSG& msg) {
    if (msg.message == WM_CHAR && msg.wParam == 1) {  // Ctrl+A
        window.SelectAllStatus();
        return true;
    }
    if (window.IsCwdDoubleClick(msg)) {
        // Through the window's table: it browses only when idle.
        SendMessageA(window.Handle(), WM_COMMAND, ID_BROWSE_FROM_ROOT, 0);
        return true;
    }
    if (window.IsFileCountDoubleClick(msg)) {
        window.RefreshFileList();
        return true;
    }
    return false;
}

}  // namespace runner
