#include "CwdSelection.h"

#include <windowsx.h>

namespace cwd {

std::string ParentOfCwd(const std::string& cwd) {
    std::size_t slash = cwd.rfind('\\');
    return slash == std::string::npos ? cwd : cwd.substr(0, slash);
}

ShellItem::~ShellItem() {
    if (!item) return;
    IMalloc* malloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&malloc)) && malloc) {
        malloc->Free(item);
        malloc->Release();
    }
}

ShellItem ParsePath(HWND owner, const std::string& path) {
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return {};
    WCHAR wide[MAX_PATH] = L"";
    LPITEMIDLIST item = nullptr;
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path.c_str(), -1, wide, MAX_PATH) > 0) {
        ULONG eaten = 0;
        if (FAILED(desktop->ParseDisplayName(owner, nullptr, wide, &eaten, &item, nullptr))) item = nullptr;
    }
    desktop->Release();
    return ShellItem(item);
}

bool BrowseForCwd(HWND owner, const ShellItem& root, const char* title, std::string& cwd) {
    char displayName[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.Get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;

    ShellItem chosen(SHBrowseForFolderA(&info));
    if (!chosen) return false;

    char path[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(chosen.Get(), path)) {
        MessageBoxA(owner, "Directory browsing failed", "Lorvan change CWD", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    cwd = path;
    SetCurrentDirectoryA(path);
    return true;
}

bool IsDoubleClickOn(const MSG& msg, HWND field) {
    if (msg.message != WM_LBUTTONDBLCLK || !field) return false;
    if (msg.hwnd != field && msg.hwnd != GetParent(field)) return false;
    POINT point{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ClientToScreen(msg.hwnd, &point);
    RECT rect;
    return GetWindowRect(field, &rect) && PtInRect(&rect, point);
}

}  // namespace cwd
