#include "HelpViewer.h"

void HelpViewer::Request(HWND owner, UINT command, ULONG_PTR data) {
    WinHelpA(owner, DefaultHelpFile().c_str(), command, data);
}

std::string HelpViewer::DefaultHelpFile() {
    char path[MAX_PATH] = "";
    std::string file(path, GetModuleFileNameA(nullptr, path, sizeof path));
    std::size_t dot = file.rfind('.');
    if (dot != std::string::npos && file.find('\\', dot) == std::string::npos) file.erase(dot);
    return file + ".HLP";
}
