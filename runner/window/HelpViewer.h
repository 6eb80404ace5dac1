#pragma once
// What F1 and the Help menu ask of the platform's help viewer, through one
// seam: the program's own viewer asks WinHelp, a test records the requests
// (a real WinHelp call without its .HLP file blocks behind a question).

#include <windows.h>

#include <string>

namespace runner {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // As WinHelpA with the program's default help file: HELP_CONTEXT with a
    // context number, HELP_FINDER for the contents, HELP_QUIT at closing.
    virtual void Request(HWND owner, UINT command, ULONG_PTR data);

    // The program's own path with the extension .HLP.
    static std::string DefaultHelpFile();
};

}  // namespace runner
