#include "RunnerHelp.h"

namespace runner {

void RunnerHelp::Show(HWND owner, DWORD topic) {
    // The platform's viewer only for a help file of its own format beside
    // the program; today's Windows has no such viewer, so without the file
    // the program's own window answers.
    const DWORD attributes = GetFileAttributesA(HelpViewer::DefaultHelpFile().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        viewer->Request(owner, topic ? HELP_CONTEXT : HELP_FINDER, topic);
    else
        window.Show(owner, topic);
}

void RunnerHelp::ShowForFocus(HWND owner) {
    // The focused window's number, or its parent's: the edit part of a
    // combo box has none of its own.
    HWND focus = GetFocus();
    DWORD topic = focus ? GetWindowContextHelpId(focus) : 0;
    if (!topic && focus && GetParent(focus)) topic = GetWindowContextHelpId(GetParent(focus));
    Show(owner, topic);
}

void RunnerHelp::Close(HWND owner) {
    viewer->Request(owner, HELP_QUIT, 0);
    window.Close();
}

}  // namespace runner
