#include "TestSupport.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<int> scratchCounter{0};
const char ScratchRoot[] = "C:\\kastrelo-tests";

}  // namespace

ScratchDir::ScratchDir() {
    // On drive C: of the tests' Wine prefix, where the folder chooser shows
    // it (the temporary folder is hidden there).
    CreateDirectoryA(ScratchRoot, nullptr);
    char name[64];
    std::snprintf(name, sizeof name, "\\%lu-%d", GetCurrentProcessId(), scratchCounter++);
    path = std::string(ScratchRoot) + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    if (std::string(current).rfind(path, 0) == 0) SetCurrentDirectoryA("C:\\");
    RemoveTree(path);
    RemoveDirectoryA(ScratchRoot);  // when it is empty
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

void ScratchDir::MakeDir(const std::string& relative, DWORD attributes) const {
    std::string full = *this / relative;
    ASSERT_TRUE(CreateDirectoryA(full.c_str(), nullptr)) << full << " error " << GetLastError();
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesA(full.c_str(), attributes)) << full;
    }
}

void ScratchDir::WriteFile(const std::string& relative, const std::string& content) const {
    std::string full = *this / relative;
    HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << full;
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

bool ScratchDir::IsDir(const std::string& relative) const {
    DWORD attributes = GetFileAttributesA((*this / relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ScratchDir::Exists(const std::string& relative) const {
    return GetFileAttributesA((*this / relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ScratchDir::ReadFile(const std::string& relative) const {
    HANDLE file =
        CreateFileA((*this / relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD got = 0;
    ::ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
}

void ScratchDir::Enter() const {
    ASSERT_TRUE(SetCurrentDirectoryA(path.c_str())) << path;
}

std::vector<ShownRow> ShownRows(HWND listView) {
    fw::ListView list;
    list.hwnd = listView;
    std::vector<ShownRow> rows;
    for (int i = 0; i < list.Count(); ++i)
        rows.push_back({list.ItemText(i), list.ItemImage(i), (list.ItemState(i, LVIS_SELECTED) & LVIS_SELECTED) != 0});
    return rows;
}

std::vector<std::string> SelectedNames(HWND listView) {
    std::vector<std::string> names;
    for (const ShownRow& row : ShownRows(listView))
        if (row.selected) names.push_back(row.name);
    return names;
}

void SelectRows(HWND listView, const std::vector<std::string>& names) {
    fw::ListView list;
    list.hwnd = listView;
    list.SetItemState(-1, 0, LVIS_SELECTED);
    for (int i = 0; i < list.Count(); ++i)
        for (const std::string& name : names)
            if (list.ItemText(i) == name) list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
}

std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FindChildWithText(HWND parent, const std::string& text) {
    struct Search {
        const std::string* text;
        HWND found;
    } search{&text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            if (WindowText(child).find(*s->text) != std::string::npos) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

struct WindowQuery {
    const std::string* caption;
    const std::string* containing;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lp) {
    auto* q = reinterpret_cast<WindowQuery*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    if (WindowText(window) != *q->caption) return TRUE;
    if (!q->containing->empty() && !FindChildWithText(window, *q->containing)) return TRUE;
    q->found = window;
    return FALSE;
}

}  // namespace

HWND UiDriver::FindNow(const std::string& caption, const std::string& containing) {
    WindowQuery query{&caption, &containing, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

UiDriver::UiDriver(std::function<void(UiDriver&)> script) : thread([this, script] { script(*this); }) {}

UiDriver::~UiDriver() {
    Join();
}

void UiDriver::Join() {
    if (thread.joinable()) thread.join();
}

bool UiDriver::Appears(const std::string& caption, const std::string& containing, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
        if (FindNow(caption, containing)) return true;
        Sleep(20);
    }
    return false;
}

HWND UiDriver::WaitForWindow(const std::string& caption, const std::string& containing, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
        if (HWND window = FindNow(caption, containing)) {
            Sleep(50);  // let it finish initialising
            return window;
        }
        Sleep(20);
    }
    ADD_FAILURE() << "no window \"" << caption << "\" holding \"" << containing << "\"";
    CloseEverything();
    return nullptr;
}

HWND UiDriver::FindChooserNow(const std::string& title) {
    // The chooser's caption is the platform's own; the title is a text in it.
    struct Search {
        const std::string* title;
        HWND found;
    } search{&title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && FindChildWithText(window, *s->title)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND UiDriver::WaitForChooser(const std::string& title, DWORD timeoutMs) {
    HWND chooser = nullptr;
    if (WaitUntil([&] { return (chooser = FindChooserNow(title)) != nullptr; }, timeoutMs)) {
        Sleep(100);  // let it finish initialising
        return chooser;
    }
    ADD_FAILURE() << "no folder chooser titled \"" << title << "\"";
    CloseEverything();
    return nullptr;
}

bool UiDriver::WaitGone(HWND window, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
        if (!IsWindow(window) || !IsWindowVisible(window)) return true;
        Sleep(20);
    }
    ADD_FAILURE() << "window \"" << WindowText(window) << "\" did not close";
    CloseEverything();
    return false;
}

void UiDriver::Click(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void UiDriver::Key(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    if (key == VK_ESCAPE || key == VK_RETURN) PostMessageA(window, WM_CHAR, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void UiDriver::DoubleClick(HWND window, POINT p) {
    LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void UiDriver::Settle(HWND window) {
    // A sent message is handled only when the thread next looks at its
    // queue; two rounds with a pause let posted input go through first.
    for (int i = 0; i < 3; ++i) {
        Sleep(100);
        DWORD_PTR ignored;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    }
}

bool UiDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

HWND UiDriver::FocusOf(HWND window) {
    GUITHREADINFO info{sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

namespace {

std::string TreeItemText(HWND tree, HTREEITEM item) {
    char text[MAX_PATH] = "";
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name) {
    auto child =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; child; child = reinterpret_cast<HTREEITEM>(
                      SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        // A drive shows as its label followed by "(C:)".
        if (lstrcmpiA(TreeItemText(tree, child).c_str(), name.c_str()) == 0 ||
            (name[0] == '(' && TreeItemText(tree, child).find(name) != std::string::npos))
            return child;
    return nullptr;
}

}  // namespace

void UiDriver::ChooseFolder(HWND chooser, const std::string& path) {
    // As a user does it: open My Computer, the drive and each folder of the
    // path in the tree with the keyboard, then OK.
    HWND tree = FindWindowExA(chooser, nullptr, WC_TREEVIEWA, nullptr);
    auto root = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    std::vector<std::string> steps = {"My Computer", std::string("(").append(path, 0, 2).append(")")};
    for (size_t at = 3; at < path.size();) {
        size_t slash = path.find('\\', at);
        if (slash == std::string::npos) slash = path.size();
        steps.push_back(path.substr(at, slash - at));
        at = slash + 1;
    }
    HTREEITEM item = root;
    for (const std::string& step : steps) {
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Key(tree, VK_RIGHT);  // opens the folder
        HTREEITEM next = nullptr;
        WaitUntil([&] { return (next = ChildNamed(tree, item, step)) != nullptr; }, 3000);
        if (!next) {
            ADD_FAILURE() << "the folder chooser shows no \"" << step << "\" in \"" << TreeItemText(tree, item) << "\"";
            Click(chooser, IDCANCEL);
            return;
        }
        item = next;
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Sleep(100);
    Click(chooser, IDOK);
}

void UiDriver::CloseEverything() {
    for (int round = 0; round < 20; ++round) {
        bool any = false;
        EnumWindows(
            [](HWND window, LPARAM lp) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                    PostMessageA(window, WM_CLOSE, 0, 0);
                    *reinterpret_cast<bool*>(lp) = true;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&any));
        if (!any) return;
        Sleep(100);
    }
}

void Screenshot(HWND window, const std::string& name) {
    RECT rect;
    GetWindowRect(window, &rect);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();

    std::string directory = SCREENSHOT_DIR;
    CreateDirectoryA(directory.c_str(), nullptr);
    std::string file = directory + "\\" + name + ".bmp";
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + stride * height;
    if (FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fwrite(&header, sizeof header, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, static_cast<size_t>(stride) * height, 1, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
