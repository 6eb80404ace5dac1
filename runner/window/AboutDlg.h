#pragma once
// Lorvan's About box: the name, the version, the owner and the icon.

#include "framework/Dialog.h"

namespace runner {

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg();
};

}  // namespace runner
