#pragma once
// What the Wine tests need: scratch directories on the real file system, a
// driver that works the program's windows from a second thread as a user
// would (keys, clicks, answers to questions), and registry helpers.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A file's content by its wide name (whatever the process's code page),
// "<missing>" when there is none; and a file written.
std::string ReadWide(const std::wstring& path);
void WriteWide(const std::wstring& path, const std::string& content);

// A fresh directory on drive C:, removed with its contents.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& Path() const { return path; }
    std::string operator/(const std::string& relative) const { return path + "\\" + relative; }
    void MakeDirs(const std::vector<std::string>& relatives) const;  // parents first
    void MakeDir(const std::string& relative) const { MakeDirs({relative}); }
    void WriteFile(const std::string& relative, const std::string& content) const;
    bool IsDir(const std::string& relative) const;
    std::string ReadFile(const std::string& relative) const;
    void Enter() const;  // made the current directory

private:
    std::string path;
};

void RemoveTree(const std::string& path);
// The directory of the test program, where the helper programs are built.
std::string ExeDirectory();

// One row of a list view as the user sees it.
struct ShownRow {
    std::string name;
    int image;
    bool selected;
    bool operator==(const ShownRow&) const = default;
};
std::vector<ShownRow> ShownRows(HWND listView);
void SelectRows(HWND listView, const std::vector<std::string>& names);  // exactly these

// Works the program's windows from its own thread while the test's thread
// runs the dialog. Every wait is bounded: a step that times out fails the
// test and closes every window of the process. When the script is over the
// driver closes what is still open until the dialog has ended; a dialog that
// has not ended after two minutes ends the program with exit code 99.
class UiDriver {
public:
    explicit UiDriver(std::function<void(UiDriver&)> script);
    ~UiDriver();

    // A visible top-level window of this process with this caption (empty:
    // any) holding a child with the given text (empty: any), once its thread
    // has settled; null and a failure after the time.
    HWND WaitForWindow(const std::string& caption, const std::string& containing = "", DWORD timeoutMs = 10000);
    static bool Appears(const std::string& caption, const std::string& containing, DWORD timeoutMs);
    bool WaitGone(HWND window, DWORD timeoutMs = 10000);
    void Click(HWND dialog, int buttonId);
    void Key(HWND window, UINT key);
    void DoubleClick(HWND window, POINT clientPoint);
    // Waits until the window's thread has handled everything posted to it so
    // far, and what handling that posted in turn.
    void Settle(HWND window);
    static bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
    // The folder chooser with this title: the path chosen (empty: Cancel).
    void Choose(const std::string& title, const std::string& path);
    static void CloseEverything();

private:
    HANDLE ended;
    std::thread thread, watchdog;
};

template <class App, class Dlg>
INT_PTR RunDriven(App& app, Dlg& dialog, std::function<void(UiDriver&)> script) {
    UiDriver ui(std::move(script));
    return app.RunMainDialog(dialog);
}

std::string WindowText(HWND window);  // asked with a time limit

// A dialog as the driver works it: its controls by id, and what a user does
// with them; each action returns once the dialog has handled it.
struct Dialog {
    UiDriver& ui;
    HWND main;

    HWND operator[](int id) const { return GetDlgItem(main, id); }
    HWND Field(int id) const {  // the control, or the edit part of a combo box
        HWND edit = FindWindowExA((*this)[id], nullptr, "Edit", nullptr);
        return edit ? edit : (*this)[id];
    }
    std::string Text(int id) const { return WindowText(Field(id)); }
    bool Enabled(int id) const { return IsWindowEnabled((*this)[id]) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(main, id) == BST_CHECKED; }
    HWND Focused() const {
        GUITHREADINFO info{sizeof info};
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return info.hwndFocus;
    }
    void DoubleClickOn(int id) const {  // near the control's top left corner
        RECT rect;
        GetWindowRect((*this)[id], &rect);
        POINT p{rect.left + 5, rect.top + 5};
        ScreenToClient(main, &p);
        ui.DoubleClick(main, p);
    }
    void Settle() const { ui.Settle(main); }
    void Type(int id, std::string_view text) const {
        for (char c : text) PostMessageA(Field(id), WM_CHAR, static_cast<unsigned char>(c), 1);
        Settle();
    }
    void Clear(int id) const { PostMessageA(Field(id), EM_SETSEL, 0, -1), Type(id, "\b"); }
    void Focus(int id) const { PostMessageA(main, WM_NEXTDLGCTL, (WPARAM)(*this)[id], TRUE), Settle(); }
    void Click(int id) const { PostMessageA((*this)[id], BM_CLICK, 0, 0), Settle(); }
    void Key(int id, UINT key) const { ui.Key(Field(id), key), Settle(); }
    void Command(int id) const { PostMessageA(main, WM_COMMAND, id, 0); }  // not waited for
    void Pick(int id, int index) const {                                   // a drop-down list's entry chosen
        SendMessageA((*this)[id], CB_SETCURSEL, index, 0);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)(*this)[id]);
        Settle();
    }
    // Answers the message box of that caption that shows the text; closing:
    // the answer ends the dialog.
    bool Answer(const std::string& caption, const std::string& text, int button, bool closing = false) const;
};

std::vector<std::string> Entries(HWND list);  // of a combo box

// A dialog's tab stops in tab order, each by the label a screen reader
// names it by (a button's text, else the label just before it), joined by
// "|"; then each label or menu title whose access key an earlier one has,
// and each menu item without one or with that of an earlier item.
std::string KeyboardMap(HWND dialog);

// The scale (DPI) this run of the test program was started at by RunAtScales;
// 0 in a plain run.
int ScaleOfThisRun();
// Runs the named test once more at each scale, each in a child of this test
// program started after the scale was set in the test prefix (the system's
// DPI, which a process reads at its start); the scale is put back after.
// Whether every child passed.
bool RunAtScales(const char* test, std::initializer_list<int> scales);
// The window and each control of it that does not lie wholly inside the work
// area of the window's monitor, by its text or id, joined by "|"; empty when
// all do.
std::string OutsideWorkArea(HWND window);

// A registry value as stored; the values of a key by name.
struct RegValue {
    DWORD type;
    std::string data;
    bool operator==(const RegValue&) const = default;
};
using RegValues = std::map<std::string, RegValue>;
RegValue Dword(DWORD n);
RegValue Text(const std::string& s);
// Writes the values into the key under HKEY_CURRENT_USER, made where missing.
void Store(const std::string& path, const RegValues& values);
// The values of a key under HKEY_CURRENT_USER.
RegValues Stored(const std::string& path);
