#include "WindowTestSupport.h"

#include "framework/Controls.h"
#include "common/text/win32/Text.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

std::atomic<int> scratchCounter{0};
// On drive C:, where the folder chooser shows it (the temporary folder is
// hidden there).
const char scratchRoot[] = "C:\\window-tests";

// Wide names with the "\\?\" prefix reach beyond the ANSI functions' path limit.
void RemoveWideTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
        const std::wstring name = data.cFileName, child = path + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveWideTree(child);
        else
            DeleteFileW(child.c_str());
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

}  // namespace

std::string ReadWide(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[4096];
    for (DWORD got = 0; ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0;) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

void WriteWide(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << text::Narrow(path);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

ScratchDir::ScratchDir() {
    CreateDirectoryA(scratchRoot, nullptr);
    path = std::string(scratchRoot) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(scratchCounter++);
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    if (text::CurrentDirectory().rfind(path, 0) == 0) SetCurrentDirectoryA("C:\\");
    RemoveTree(path);
    RemoveDirectoryA(scratchRoot);  // when it is empty
}

void RemoveTree(const std::string& path) {
    std::wstring full(32768, L'\0');
    full.resize(GetFullPathNameW(text::Widen(path).c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    RemoveWideTree(L"\\\\?\\" + full);
}

std::string ExeDirectory() {
    const std::string path = text::ModuleFileName();
    return path.substr(0, path.rfind('\\'));
}

void ScratchDir::MakeDirs(const std::vector<std::string>& relatives) const {
    for (const std::string& relative : relatives)
        ASSERT_TRUE(CreateDirectoryA((*this / relative).c_str(), nullptr)) << relative << " " << GetLastError();
}

void ScratchDir::WriteFile(const std::string& relative, const std::string& content) const {
    WriteWide(text::Widen(*this / relative), content);
}

bool ScratchDir::IsDir(const std::string& relative) const {
    const DWORD attributes = GetFileAttributesA((*this / relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ScratchDir::ReadFile(const std::string& relative) const {
    return ReadWide(text::Widen(*this / relative));
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

void SelectRows(HWND listView, const std::vector<std::string>& names) {
    fw::ListView list;
    list.hwnd = listView;
    for (int i = 0; i < list.Count(); ++i) {
        const bool selected = std::count(names.begin(), names.end(), list.ItemText(i)) > 0;
        list.SetItemState(i, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
}

std::string WindowText(HWND window) {
    // Never wait for ever on a thread that has stopped taking messages.
    DWORD_PTR length = 0, got = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::string text(length + 1, '\0');
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &got);
    text.resize(std::min<size_t>(got, length));
    return text;
}

namespace {

// This process's visible top-level windows.
std::vector<HWND> OwnWindows() {
    std::vector<HWND> windows;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, nullptr));) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window)) windows.push_back(window);
    }
    return windows;
}

HWND FindNow(const std::string& caption, const std::string& containing) {
    for (HWND window : OwnWindows()) {
        if (!caption.empty() && WindowText(window) != caption) continue;
        for (HWND child = nullptr; !containing.empty() && (child = FindWindowExA(window, child, nullptr, nullptr));)
            if (WindowText(child).find(containing) != std::string::npos) return window;
        if (containing.empty()) return window;
    }
    return nullptr;
}

// Settling: a marker posted to a window is seen by a hook on its thread
// when the thread takes it from the queue, after everything posted before.
const UINT settleMarker = RegisterWindowMessageA("WindowTestSupport.Settle");
std::mutex settleMutex;  // one settling at a time: the hook has one event
HANDLE settleEvent = nullptr;

LRESULT CALLBACK SettleHook(int code, WPARAM removed, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == settleMarker) {
        msg->message = WM_NULL;  // the window never sees it
        SetEvent(settleEvent);
    }
    return CallNextHookEx(nullptr, code, removed, lp);
}

bool SettleOnce(HWND window) {
    std::lock_guard<std::mutex> lock(settleMutex);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread || thread == GetCurrentThreadId()) return false;
    settleEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, SettleHook, nullptr, thread);
    const bool settled =
        hook && PostMessageA(window, settleMarker, 0, 0) && WaitForSingleObject(settleEvent, 10000) == WAIT_OBJECT_0;
    if (hook) UnhookWindowsHookEx(hook);
    CloseHandle(settleEvent);
    // The marker's turn is over when the thread next looks at its queue:
    // that is when it handles a sent message.
    DWORD_PTR ignored;
    return settled && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

}  // namespace

UiDriver::UiDriver(std::function<void(UiDriver&)> script)
    : ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread([this, script] {
          script(*this);
          // A window the script has not closed, or one that came up after
          // the script gave up waiting for it.
          while (WaitForSingleObject(ended, 1000) != WAIT_OBJECT_0) CloseEverything();
      }),
      watchdog([this] {
          if (WaitForSingleObject(ended, 120000) == WAIT_OBJECT_0) return;
          const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
          std::printf("\nThe dialog of %s did not end.\n", test ? test->name() : "?");
          std::fflush(stdout);
          TerminateProcess(GetCurrentProcess(), 99);
      }) {}

UiDriver::~UiDriver() {
    SetEvent(ended);
    thread.join();
    watchdog.join();
    CloseHandle(ended);
}

bool UiDriver::Appears(const std::string& caption, const std::string& containing, DWORD timeoutMs) {
    return WaitUntil([&] { return FindNow(caption, containing) != nullptr; }, timeoutMs);
}

HWND UiDriver::WaitForWindow(const std::string& caption, const std::string& containing, DWORD timeoutMs) {
    HWND window = nullptr;
    if (WaitUntil([&] { return (window = FindNow(caption, containing)) != nullptr; }, timeoutMs)) {
        Settle(window);
        return window;
    }
    ADD_FAILURE() << "no window \"" << caption << "\" holding \"" << containing << "\"";
    CloseEverything();
    return nullptr;
}

bool UiDriver::WaitGone(HWND window, DWORD timeoutMs) {
    if (WaitUntil([&] { return !IsWindowVisible(window); }, timeoutMs)) return true;
    ADD_FAILURE() << "window \"" << WindowText(window) << "\" did not close";
    CloseEverything();
    return false;
}

void UiDriver::Click(HWND dialog, int buttonId) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

void UiDriver::Key(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    if (key == VK_ESCAPE || key == VK_RETURN) PostMessageA(window, WM_CHAR, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void UiDriver::DoubleClick(HWND window, POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
}

void UiDriver::Settle(HWND window) {
    // Two rounds: handling a key posts its character behind the first marker.
    if (SettleOnce(window) && SettleOnce(window)) return;
    ADD_FAILURE() << "window \"" << WindowText(window) << "\" did not take its messages in time";
    CloseEverything();
}

bool UiDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (condition()) return true;
    return condition();
}

void UiDriver::Choose(const std::string& title, const std::string& path) {
    HWND chooser = WaitForWindow("", title);
    if (!chooser) return;
    HWND tree = FindWindowExA(chooser, nullptr, WC_TREEVIEWA, nullptr);
    const std::wstring wide = text::Widen(path);
    // Asked until the folder shows selected: at first the chooser may not
    // have listed the drives.
    const bool chosen = !path.empty() && WaitUntil([&] {
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
        char text[MAX_PATH] = "";
        TVITEMA item{TVIF_TEXT, TreeView_GetSelection(tree), 0, 0, text, sizeof text};
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return *text && path.ends_with(std::string("\\") + text);
    });
    EXPECT_EQ(chosen, !path.empty()) << path;
    Click(chooser, chosen ? IDOK : IDCANCEL);
}

void UiDriver::CloseEverything() {
    // Closing one window may show the next (a question, the main window).
    for (int round = 0; round < 20; ++round) {
        const std::vector<HWND> windows = OwnWindows();
        if (windows.empty()) return;
        for (HWND window : windows) {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        Sleep(100);
    }
}

bool Dialog::Answer(const std::string& caption, const std::string& text, int button, bool closing) const {
    HWND box = ui.WaitForWindow(caption, text);
    if (!box) return false;
    ui.Click(box, button);
    ui.WaitGone(box);
    if (!closing) Settle();
    return true;
}

std::vector<std::string> Entries(HWND list) {
    std::vector<std::string> entries;
    for (LRESULT i = 0, n = SendMessageA(list, CB_GETCOUNT, 0, 0); i < n; ++i) {
        char text[512] = "";
        SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

RegValue Dword(DWORD n) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&n), 4)};
}

RegValue Text(const std::string& s) {
    return {REG_SZ, s};
}

void Store(const std::string& path, const RegValues& values) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, value] : values)
        RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    RegCloseKey(key);
}

RegValues Stored(const std::string& path) {
    RegValues values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256], data[2048];
    for (DWORD i = 0, nameSize, dataSize, type;; ++i) {
        nameSize = sizeof name, dataSize = sizeof data;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize)) break;
        const std::string text(data, dataSize);
        values[name] = {type, type == REG_SZ ? text.substr(0, text.find('\0')) : text};
    }
    RegCloseKey(key);
    return values;
}

namespace {

bool Is(HWND window, const char* kind) {
    char name[16] = "";
    return GetClassNameA(window, name, sizeof name) && !lstrcmpiA(name, kind);
}

// Adds to faults each text whose access key an earlier one has; with
// needed, each text without one too.
void AddClashes(const std::vector<std::string>& texts, bool needed, std::string& faults) {
    std::string keys;
    for (const std::string& text : texts) {
        const size_t at = text.find('&') + 1;  // 0: none
        const char key = at && at < text.size() ? static_cast<char>(tolower(static_cast<unsigned char>(text[at]))) : 0;
        if (key ? keys.find(key) != std::string::npos : needed) faults.append(" [").append(text).append("]");
        keys += key;
    }
}

std::vector<std::string> MenuTexts(HMENU menu, std::string& faults) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        if (GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION)) texts.push_back(text);
        if (HMENU sub = GetSubMenu(menu, i)) AddClashes(MenuTexts(sub, faults), true, faults);
    }
    return texts;
}

}  // namespace

std::string KeyboardMap(HWND dialog) {
    std::string map, faults;
    std::vector<std::string> labels = MenuTexts(GetMenu(dialog), faults);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const bool button = Is(control, "Button");
        if (button || (Is(control, "Static") && !(style & SS_NOPREFIX))) labels.push_back(WindowText(control));
        HWND label = button ? control : GetWindow(control, GW_HWNDPREV);
        if (style & WS_TABSTOP) map.append("|").append(button || Is(label, "Static") ? WindowText(label) : "");
    }
    AddClashes(labels, false, faults);
    return map.erase(0, 1) + faults;
}

namespace {
const char scaleVariable[] = "WINDOW_TEST_SCALE";
const char desktopKey[] = "Control Panel\\Desktop";
}  // namespace

int ScaleOfThisRun() {
    char value[16] = "";
    return GetEnvironmentVariableA(scaleVariable, value, sizeof value) ? std::atoi(value) : 0;
}

bool RunAtScales(const char* test, std::initializer_list<int> scales) {
    bool passed = true;
    for (int scale : scales) {
        Store(desktopKey, {{"LogPixels", Dword(static_cast<DWORD>(scale))}});
        SetEnvironmentVariableA(scaleVariable, std::to_string(scale).c_str());
        std::string line(1, '"');
        line.append(text::ModuleFileName()).append("\" --gtest_filter=").append(test);
        STARTUPINFOA startup{sizeof startup};
        PROCESS_INFORMATION child{};
        DWORD code = 1;
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
            if (WaitForSingleObject(child.hProcess, 120000) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
            GetExitCodeProcess(child.hProcess, &code);
            CloseHandle(child.hProcess);
            CloseHandle(child.hThread);
        }
        EXPECT_EQ(code, 0u) << "at " << scale << " DPI";
        passed = passed && code == 0;
    }
    SetEnvironmentVariableA(scaleVariable, nullptr);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, desktopKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "LogPixels");
        RegCloseKey(key);
    }
    return passed;
}

std::string OutsideWorkArea(HWND window) {
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    std::string outside;
    const auto check = [&](HWND each, const std::string& name) {
        RECT rect;
        GetWindowRect(each, &rect);
        if (rect.left < work.left || rect.top < work.top || rect.right > work.right || rect.bottom > work.bottom)
            outside.append(outside.empty() ? "" : "|")
                .append(name)
                .append(" (" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" +
                        std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")");
    };
    check(window, "the window");
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char label[64] = "";
        GetWindowTextA(child, label, sizeof label);
        check(child, *label ? label : std::to_string(GetDlgCtrlID(child)));
    }
    return outside;
}
