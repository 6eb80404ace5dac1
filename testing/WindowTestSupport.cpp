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
const char scratchRoot[] = "C:\\window-tests";

// Every entry of a directory but "." and "..".
void ForEach(const std::string& dir, const std::function<void(const std::string&, const text::FoundName&)>& each) {
    text::FindNames(dir + "\\*", [&](const text::FoundName& found) {
        if (found.name != "." && found.name != "..") each(dir + "\\" + found.name, found);
    });
}

}  // namespace

ScratchDir::ScratchDir() {
    // On drive C: of the tests' Wine prefix, where the folder chooser shows
    // it (the temporary folder is hidden there).
    CreateDirectoryA(scratchRoot, nullptr);
    char name[64];
    std::snprintf(name, sizeof name, "\\%lu-%d", GetCurrentProcessId(), scratchCounter++);
    path = std::string(scratchRoot) + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    if (text::CurrentDirectory().rfind(path, 0) == 0) SetCurrentDirectoryA("C:\\");
    RemoveTree(path);
    RemoveDirectoryA(scratchRoot);  // when it is empty
}

namespace {

// Wide names with the "\\?\" prefix reach beyond the ANSI functions' path limit.
void RemoveWideTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName, child = path + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveWideTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) {
    const std::wstring wide = text::Widen(path);
    std::wstring full(32768, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    RemoveWideTree(L"\\\\?\\" + full);
}

std::string ExeDirectory() {
    const std::string path = text::ModuleFileName();
    return path.substr(0, path.rfind('\\'));
}

void ScratchDir::MakeDir(const std::string& relative, DWORD attributes) const {
    std::string full = *this / relative;
    ASSERT_TRUE(CreateDirectoryA(full.c_str(), nullptr)) << full << " error " << GetLastError();
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesA(full.c_str(), attributes)) << full;
    }
}

void ScratchDir::MakeDirs(const std::vector<std::string>& relatives) const {
    for (const std::string& relative : relatives) MakeDir(relative);
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
    HANDLE file = CreateFileA((*this / relative).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
    CloseHandle(file);
    return content;
}

std::string ScratchDir::AliasOf(const std::string& relative) const {
    std::string alias;
    text::FindNames(*this / relative, [&](const text::FoundName& found) { alias = found.alternateName; });
    return alias;
}

std::map<std::string, std::string> ScratchDir::Listing(const std::string& relative) const {
    std::map<std::string, std::string> files;
    std::string prefix = relative.empty() ? "" : relative + "\\";
    ForEach(relative.empty() ? path : *this / relative, [&](const std::string&, const text::FoundName& found) {
        files[found.name] = ReadFile(prefix + found.name);
    });
    return files;
}

void ScratchDir::Enter() const {
    ASSERT_TRUE(SetCurrentDirectoryA(path.c_str())) << path;
}

void InScratchDir::SetUp() {
    previous = text::CurrentDirectory();
    dir.Enter();
}

void InScratchDir::TearDown() {
    SetCurrentDirectoryA(previous.c_str());
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
    // A window of this process is asked by a message: never wait for ever
    // on a thread that has stopped taking them.
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                        &got);
    text.resize(std::min<size_t>(got, length));
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

// A visible top-level window of this process that passes the test, or null.
HWND FindOwnWindow(const std::function<bool(HWND)>& test) {
    HWND found = nullptr;
    ForEachOwnWindow([&](HWND window) {
        if (IsWindowVisible(window) && test(window)) found = window;
        return !found;
    });
    return found;
}

// Settling: a marker posted to a window is seen by a hook on its thread
// when the thread takes it from the queue, after everything posted before.
const UINT settleMarker = RegisterWindowMessageA("WindowTestSupport.Settle");
std::mutex settleMutex;  // one settling at a time: the hook has one event
HANDLE settleEvent = nullptr;
const DWORD settleTimeoutMs = 10000;

LRESULT CALLBACK SettleHook(int code, WPARAM removed, LPARAM lp) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == settleMarker) {
        msg->message = WM_NULL;  // the window never sees it
        SetEvent(settleEvent);
    }
    return CallNextHookEx(nullptr, code, removed, lp);
}

// Posts the marker and waits until the window's thread has taken it and
// handled it; false when that does not happen in time.
bool SettleOnce(HWND window) {
    std::lock_guard<std::mutex> lock(settleMutex);
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (!thread || thread == GetCurrentThreadId()) return false;
    settleEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, SettleHook, nullptr, thread);
    bool settled = hook && PostMessageA(window, settleMarker, 0, 0) &&
                   WaitForSingleObject(settleEvent, settleTimeoutMs) == WAIT_OBJECT_0;
    if (hook) UnhookWindowsHookEx(hook);
    CloseHandle(settleEvent);
    settleEvent = nullptr;
    // The marker is being handled now; a sent message is handled when the
    // thread next looks at its queue, that is when the marker's turn is over.
    DWORD_PTR ignored;
    return settled && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, settleTimeoutMs, &ignored);
}

}  // namespace

HWND UiDriver::FindNow(const std::string& caption, const std::string& containing) {
    return FindOwnWindow([&](HWND window) {
        return WindowText(window) == caption && (containing.empty() || FindChildWithText(window, containing));
    });
}

HWND UiDriver::FindChooserNow(const std::string& title) {
    // The chooser's caption is the platform's own; the title is a text in it.
    return FindOwnWindow([&](HWND window) { return FindChildWithText(window, title) != nullptr; });
}

namespace {

const DWORD dialogEndMs = 30000, wholeRunMs = 120000;

// What is left on the screen, told without sending a message to anyone.
void ListWindowsAndQuit() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::printf("\nThe dialog of %s.%s did not end; its windows:\n", test ? test->test_suite_name() : "?",
                test ? test->name() : "?");
    ForEachOwnWindow([](HWND window) {
        char name[256] = "";
        GetClassNameA(window, name, sizeof name);
        std::printf("  %s%s\n", name, IsWindowVisible(window) ? " (visible)" : "");
        return true;
    });
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 99);
}

}  // namespace

UiDriver::UiDriver(std::function<void(UiDriver&)> script)
    : ended(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread([this, script] {
          script(*this);
          // A window the script has not closed, or one that came up after
          // the script gave up waiting for it.
          for (DWORD waited = 0; waited < dialogEndMs && WaitForSingleObject(ended, 1000) != WAIT_OBJECT_0;
               waited += 1000)
              CloseEverything();
      }),
      watchdog([this] {
          if (WaitForSingleObject(ended, wholeRunMs) != WAIT_OBJECT_0) ListWindowsAndQuit();
      }) {}

UiDriver::~UiDriver() {
    Join();
    CloseHandle(ended);
}

void UiDriver::Join() {
    SetEvent(ended);
    if (thread.joinable()) thread.join();
    if (watchdog.joinable()) watchdog.join();
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

HWND UiDriver::WaitForChooser(const std::string& title, DWORD timeoutMs) {
    HWND chooser = nullptr;
    if (WaitUntil([&] { return (chooser = FindChooserNow(title)) != nullptr; }, timeoutMs)) {
        Settle(chooser);
        return chooser;
    }
    ADD_FAILURE() << "no folder chooser titled \"" << title << "\"";
    CloseEverything();
    return nullptr;
}

bool UiDriver::WaitGone(HWND window, DWORD timeoutMs) {
    if (WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs)) return true;
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
    // Two rounds: handling a key posts its character behind the first marker.
    for (int round = 0; round < 2; ++round) {
        if (!SettleOnce(window)) {
            ADD_FAILURE() << "window \"" << WindowText(window) << "\" did not take its messages in time";
            CloseEverything();
            return;
        }
    }
}

bool UiDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (condition()) return true;
    return condition();
}

HWND UiDriver::FocusOf(HWND window) {
    GUITHREADINFO info{sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

std::string TreeItemText(HWND tree, HTREEITEM item) {
    char text[MAX_PATH] = "";
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem =
        item == TVI_ROOT ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)) : item;
    data.pszText = text;
    data.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

namespace {

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
    Settle(chooser);  // what the chooser does on the new selection
    Click(chooser, IDOK);
}

void UiDriver::CloseEverything() {
    auto closeAll = [] {
        bool any = false;
        ForEachOwnWindow([&](HWND window) {
            if (IsWindowVisible(window)) {
                PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                PostMessageA(window, WM_CLOSE, 0, 0);
                any = true;
            }
            return true;
        });
        return !any;
    };
    // Closing one window may show the next (a question, the main window).
    auto none = [] { return !FindOwnWindow([](HWND) { return true; }); };
    for (int round = 0; round < 20 && !closeAll(); ++round) WaitUntil(none, 100);
}

HWND Dialog::Field(int id) const {
    HWND edit = FindWindowExA((*this)[id], nullptr, "Edit", nullptr);
    return edit ? edit : (*this)[id];
}

std::string Dialog::Text(int id) const {
    return WindowText(Field(id));
}

POINT Dialog::PointOf(int id, int dx, int dy) const {
    RECT rect;
    GetWindowRect((*this)[id], &rect);
    POINT p{rect.left + dx, rect.top + dy};
    ScreenToClient(main, &p);
    return p;
}

void Dialog::Type(int id, std::string_view text) const {
    for (char c : text) PostMessageA(Field(id), WM_CHAR, static_cast<unsigned char>(c), 1);
    Settle();
}

void Dialog::Clear(int id) const {
    PostMessageA(Field(id), EM_SETSEL, 0, -1);
    Type(id, "\b");
}

void Dialog::Focus(int id) const {
    PostMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>((*this)[id]), TRUE);
    Settle();
}

void Dialog::Click(int id) const {
    PostMessageA((*this)[id], BM_CLICK, 0, 0);
    Settle();
}

void Dialog::Command(int id) const {
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void Dialog::Pick(int id, int index) const {
    SendMessageA((*this)[id], CB_SETCURSEL, index, 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>((*this)[id]));
}

void Dialog::Key(int id, UINT key) const {
    ui.Key(Field(id), key);
    Settle();
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
    const bool opened = UiDriver::WaitUntil([&] { return UiDriver::FindChooserNow(chooserTitle) != nullptr; }, 1000);
    if (opened) UiDriver::CloseEverything();
    return opened;
}

std::vector<std::string> Entries(HWND list) {
    char className[32] = "";
    GetClassNameA(list, className, sizeof className);
    const bool combo = lstrcmpiA(className, "ComboBox") == 0;
    std::vector<std::string> entries;
    for (LRESULT i = 0, n = SendMessageA(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0); i < n; ++i) {
        char text[512] = "";
        SendMessageA(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
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
    if (v.type == REG_DWORD && v.data.size() == 4)
        *out << "dword " << *reinterpret_cast<const LONG*>(v.data.data());
    else
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

void StoreAsLegacy(const std::string& path, const std::map<std::string, std::string>& texts) {
    std::string line = std::string("\"") + LEGACY_STORE + "\" \"" + path + "\"";
    for (const auto& [name, text] : texts) line += " \"" + name + "\" \"" + text + "\"";
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &process));
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(code, 0u) << line;
}

RegValues Stored(const std::string& path, std::vector<std::string>* subkeys) {
    RegValues values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    char name[256], data[2048];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        std::string text(data, dataSize);
        values[name] = {type, type == REG_SZ ? text.substr(0, text.find('\0')) : text};
    }
    for (DWORD i = 0; subkeys; ++i) {
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys->push_back(name);
    }
    RegCloseKey(key);
    return values;
}
