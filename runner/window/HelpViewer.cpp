#include "HelpViewer.h"

#include "common/text/win32/Text.h"

namespace runner {

void HelpViewer::Request(HWND owner, UINT command, ULONG_PTR data) {
    WinHelpA(owner, DefaultHelpFile().c_str(), command, data);
}

std::string HelpViewer::DefaultHelpFile() {
    std::string file = text::ModuleFileName();
    std::size_t dot = file.rfind('.');
    if (dot != std::string::npos && file.find('\\', dot) == std::string::npos) file.erase(dot);
    return file + ".HLP";
}

}  // namespace runner
