#include "CwdSelection.h"

#include "common/text/win32/Text.h"

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
    std::wstring wide = text::Widen(path);
    LPITEMIDLIST item = nullptr;
    if (!wide.empty()) {
        ULONG eaten = 0;
        if (FAILED(desktop->ParseDisplayName(owner, nullptr, wide.data(), &eaten, &item, nullptr))) item = nullptr;
    }
    desktop->Release();
    return ShellItem(item);
}

bool BrowseForCwd(HWND owner, const ShellItem& root, const char* title, std::string& cwd) {
    // Wide: the ANSI forms cut a UTF-8 name at MAX_PATH bytes.
    WCHAR displayName[MAX_PATH] = L"";
    const std::wstring wideTitle = text::Widen(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.Get();
    info.pszDisplayName = displayName;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;

    ShellItem chosen(SHBrowseForFolderW(&info));
    if (!chosen) return false;

    WCHAR path[MAX_PATH] = L"";
    std::string chosenPath;
    // A name this Windows cannot give in the process's code page is refused
    // rather than taken for a look-alike.
    if (!SHGetPathFromIDListW(chosen.Get(), path) || !text::Narrow(path, chosenPath)) {
        MessageBoxA(owner, "Directory browsing failed", "Lorvan change CWD", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    cwd = chosenPath;
    SetCurrentDirectoryW(path);
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
