#include "WindowTestSupport.h"

#include "framework/Controls.h"
#include "common/text/win32/Text.h"

#include <commctrl.h>

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
    HANDLE file = CreateFileA((*this / relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << relative;
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

bool ScratchDir::IsDir(const std::string& relative) const {
    const DWORD attributes = GetFileAttributesA((*this / relative).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ScratchDir::ReadFile(const std::string& relative) const {
    HANDLE file = CreateFileA((*this / relative).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[4096];
    for (DWORD got = 0; ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0;) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

std::string ScratchDir::AliasOf(const std::string& relative) const {
    std::string alias;
    text::FindNames(*this / relative, [&](const text::FoundName& found) { alias = found.alternateName; });
    return alias;
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

// Calls each of this process's top-level windows until the call returns false.
void ForEachOwnWindow(const std::function<bool(HWND)>& each) {
    EnumWindows(
        [](HWND window, LPARAM lp) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            return process != GetCurrentProcessId() ||
                   (*reinterpret_cast<const std::function<bool(HWND)>*>(lp))(window);
        },
        reinterpret_cast<LPARAM>(&each));
}

bool HasChildWithText(HWND parent, const std::string& text) {
    std::pair<const std::string*, bool> search{&text, false};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<std::pair<const std::string*, bool>*>(lp);
            s->second = WindowText(child).find(*s->first) != std::string::npos;
            return !s->second;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND FindNow(const std::string& caption, const std::string& containing) {
    HWND found = nullptr;
    ForEachOwnWindow([&](HWND window) {
        if (IsWindowVisible(window) && (caption.empty() || WindowText(window) == caption) &&
            (containing.empty() || HasChildWithText(window, containing)))
            found = window;
        return !found;
    });
    return found;
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

void UiDriver::ChooseFolder(HWND chooser, const std::string& path) {
    // As a user does it: open My Computer, the drive ("(C:)" after its label)
    // and each folder of the path with the keyboard, then OK.
    HWND tree = FindWindowExA(chooser, nullptr, WC_TREEVIEWA, nullptr);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    std::vector<std::string> steps = {"My Computer", std::string("(").append(path, 0, 2).append(")")};
    for (size_t at = 3, slash; at < path.size(); at = slash + 1)
        steps.push_back(path.substr(at, (slash = std::min(path.find('\\', at), path.size())) - at));
    auto next = [tree](HTREEITEM item, UINT relation) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    for (const std::string& step : steps) {
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Key(tree, VK_RIGHT);  // opens the folder
        HTREEITEM found = nullptr;
        WaitUntil(
            [&] {
                for (found = next(item, TVGN_CHILD); found; found = next(found, TVGN_NEXT)) {
                    char text[MAX_PATH] = "";
                    TVITEMA data{TVIF_TEXT, found};
                    data.pszText = text;
                    data.cchTextMax = sizeof text;
                    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
                    if (lstrcmpiA(text, step.c_str()) == 0 || (step[0] == '(' && strstr(text, step.c_str()))) break;
                }
                return found != nullptr;
            },
            3000);
        if (!(item = found)) {
            ADD_FAILURE() << "the folder chooser shows no \"" << step << "\"";
            return Click(chooser, IDCANCEL);
        }
    }
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Settle(chooser);  // what the chooser does on the new selection
    Click(chooser, IDOK);
}

void UiDriver::CloseEverything() {
    // Closing one window may show the next (a question, the main window).
    for (int round = 0; round < 20; ++round) {
        bool any = false;
        ForEachOwnWindow([&](HWND window) {
            if (IsWindowVisible(window)) {
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(window, WM_CLOSE, 0, 0);
                any = true;
            }
            return true;
        });
        if (!any) return;
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

bool Dialog::DoubleClickBesideOpensChooser(int inside, int field, int dy, const std::string& chooserTitle) const {
    RECT window, rect, client;
    GetWindowRect(main, &window);
    GetWindowRect((*this)[field], &rect);
    POINT p{rect.left + 10 - window.left, rect.top + 5 - window.top - dy};
    GetClientRect((*this)[inside], &client);
    EXPECT_TRUE(PtInRect(&client, p)) << "the point lies outside the control";
    ui.DoubleClick((*this)[inside], p);
    const bool opened = UiDriver::Appears("", chooserTitle, 1000);
    if (opened) UiDriver::CloseEverything();
    return opened;
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

void PrintTo(const RegValue& v, std::ostream* out) {
    *out << "type " << v.type << " \"" << v.data << '"';
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

RegValues Stored(const std::string& path, std::vector<std::string>* subkeys) {
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
    for (DWORD i = 0, nameSize;
         subkeys && !RegEnumKeyExA(key, i, name, &(nameSize = sizeof name), nullptr, nullptr, nullptr, nullptr); ++i)
        subkeys->push_back(name);
    RegCloseKey(key);
    return values;
}
