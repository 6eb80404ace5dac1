#pragma once
// Where Lorvan's help requests go: the platform's help viewer when the
// program's help file lies beside it, else the program's own help window.

#include "HelpViewer.h"
#include "HelpWindow.h"

namespace runner {

class RunnerHelp {
public:
    // Tests record the viewer's requests.
    void SetViewer(HelpViewer& viewer) { this->viewer = &viewer; }
    HWND Window() const { return window.Window(); }

    // A topic by its number; 0: the contents.
    void Show(HWND owner, DWORD topic);
    // The topic of the control that has the focus (F1).
    void ShowForFocus(HWND owner);
    // Closes what help shows, as the main window closes.
    void Close(HWND owner);

private:
    HelpViewer defaultViewer;
    HelpViewer* viewer = &defaultViewer;
    CHelpWindow window;
};

}  // namespace runner
