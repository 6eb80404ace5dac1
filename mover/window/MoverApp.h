#pragma once
// Kastrelo as a program: a double-click on the main window's CWD field,
// which the field does not see itself, browses from the desktop.

#include "MoverDlg.h"
#include "framework/Application.h"

namespace mover {

class CMoverApp : public fw::Program<CMoverDlg> {
protected:
    bool FilterMainWindow(CMoverDlg& window, const MSG& msg) override;
};

}  // namespace mover
