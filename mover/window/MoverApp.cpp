#include "MoverApp.h"

namespace mover {

bool CMoverApp::FilterMainWindow(CMoverDlg& window, const MSG& msg) {
    if (!window.IsCwdDoubleClick(msg)) return false;
    window.BrowseFromRoot();
    window.RefreshLists();
    return true;
}

}  // namespace mover
