#pragma once
// What the window tests need: scratch directories on the real file system,
// a driver that works the program's windows from a second thread as a user
// would (keys, clicks, answers to questions), and registry readers.

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A fresh directory on drive C:, removed with its contents. Relative names
// are taken from the directory, whatever the current directory is.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& Path() const { return path; }
    std::string operator/(const std::string& relative) const { return path + "\\" + relative; }

    void MakeDir(const std::string& relative, DWORD attributes = 0) const;
    // Makes each directory in turn (parents first).
    void MakeDirs(const std::vector<std::string>& relatives) const;
    void WriteFile(const std::string& relative, const std::string& content) const;
    bool IsDir(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // The whole content, or "<missing>".
    std::string ReadFile(const std::string& relative) const;
    // The 8.3 alias the file system gives the entry; empty if none.
    std::string AliasOf(const std::string& relative) const;
    // The files of a directory (empty: this one) and their contents.
    std::map<std::string, std::string> Listing(const std::string& relative = "") const;
    // Makes the directory the process's current directory.
    void Enter() const;

private:
    std::string path;
};

// A test that runs in a scratch directory made the current directory; the
// previous one comes back afterwards.
class InScratchDir : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    const std::string& Cwd() const { return dir.Path(); }

    ScratchDir dir;

private:
    std::string previous;
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
std::vector<std::string> SelectedNames(HWND listView);
// Selects exactly the named rows.
void SelectRows(HWND listView, const std::vector<std::string>& names);

// Works the program's windows from its own thread; the test's thread runs
// the dialog. Every wait is bounded: on a timeout the step fails the test
// and the driver closes every window of the process so nothing hangs.
// When the script is over the driver closes what is still open until the
// dialog has ended; a dialog that does not end in time (a window that no
// longer takes messages) ends the whole program (after two minutes) with exit code 99, after
// listing its windows.
class UiDriver {
public:
    explicit UiDriver(std::function<void(UiDriver&)> script);
    ~UiDriver();
    // Call when the dialog has ended: waits for the script.
    void Join();

    // Waits for a visible top-level window of this process whose caption is
    // the given text and that holds a child with the given text (empty: any),
    // then until its thread has finished initialising it.
    HWND WaitForWindow(const std::string& caption, const std::string& containing = "", DWORD timeoutMs = 10000);
    // True when such a window appears within the time.
    bool Appears(const std::string& caption, const std::string& containing, DWORD timeoutMs);
    // Waits until the window is gone.
    bool WaitGone(HWND window, DWORD timeoutMs = 10000);
    // The folder chooser showing the given title.
    HWND WaitForChooser(const std::string& title, DWORD timeoutMs = 10000);
    static HWND FindChooserNow(const std::string& title);

    void Click(HWND dialog, int buttonId);
    void Key(HWND window, UINT key);
    void DoubleClick(HWND window, POINT clientPoint);
    // Waits until the window's thread has handled everything posted to it so
    // far, and what handling that posted in turn. Call from another thread.
    void Settle(HWND window);
    // Waits until the condition holds; false after the time.
    static bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
    // The window that has the keyboard focus in the given window's thread.
    static HWND FocusOf(HWND window);
    // Chooses a folder in an open chooser and confirms it.
    void ChooseFolder(HWND chooser, const std::string& path);

    // A visible top-level window of this process with this caption that
    // holds a child whose text contains the given text (empty: any).
    static HWND FindNow(const std::string& caption, const std::string& containing);
    static void CloseEverything();

private:
    HANDLE ended;
    std::thread thread;
    std::thread watchdog;
};

// Runs the dialog modally on this thread while the script works it from its own.
template <class App, class Dlg>
INT_PTR RunDriven(App& app, Dlg& dialog, std::function<void(UiDriver&)> script) {
    UiDriver ui(std::move(script));
    INT_PTR result = app.RunMainDialog(dialog);
    ui.Join();
    return result;
}

// A dialog as the driver works it: its controls by id, and what a user does
// with them; each action returns when the dialog has handled it.
struct Dialog {
    UiDriver& ui;
    HWND main;

    HWND operator[](int id) const { return GetDlgItem(main, id); }
    // The control itself, or the edit part of a combo box.
    HWND Field(int id) const;
    std::string Text(int id) const;
    bool Enabled(int id) const { return IsWindowEnabled((*this)[id]) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(main, id) == BST_CHECKED; }
    HWND Focused() const { return UiDriver::FocusOf(main); }
    // A point of the control, so far from its corner, in the dialog's client coordinates.
    POINT PointOf(int id, int dx, int dy) const;

    void Settle() const { ui.Settle(main); }
    void Type(int id, std::string_view text) const;
    void Clear(int id) const;
    void Focus(int id) const;
    void Click(int id) const;            // a button pressed
    void Command(int id) const;          // a menu command, not waited for
    void Pick(int id, int index) const;  // a drop-down list's entry chosen, not waited for
    void Key(int id, UINT key) const;
    // Answers the message box of that caption that shows the text. closing:
    // the answer ends the dialog, which may then be gone at any moment.
    bool Answer(const std::string& caption, const std::string& text, int button, bool closing = false) const;
    // A double-click into the control `inside` where a fixed allowance from
    // the window's corner would put the field (its height counted from
    // `inside`'s top, less dy): true when it opens the folder chooser.
    bool DoubleClickBesideOpensChooser(int inside, int field, int dy, const std::string& chooserTitle) const;
};

// A child window whose text contains the given text, or null.
HWND FindChildWithText(HWND parent, const std::string& text);
// The whole text, asked with a time limit.
std::string WindowText(HWND window);

// The text of a tree view's item; TVI_ROOT: its first root item.
std::string TreeItemText(HWND tree, HTREEITEM item);

// The entries of a combo box or a list box.
std::vector<std::string> Entries(HWND list);

// A registry value as stored; the values of a key by name.
struct RegValue {
    DWORD type;
    std::string data;
    bool operator==(const RegValue&) const = default;
};
using RegValues = std::map<std::string, RegValue>;
RegValue Dword(DWORD n);
RegValue Text(const std::string& s);
void PrintTo(const RegValue& v, std::ostream* out);
// Writes the values into the key under HKEY_CURRENT_USER, made where missing.
void Store(const std::string& path, const RegValues& values);
// Writes text values as a program of the system's ANSI code page does (one
// without the UTF-8 manifest), as earlier versions stored their settings.
void StoreAsLegacy(const std::string& path, const std::map<std::string, std::string>& texts);
// The values of a key under HKEY_CURRENT_USER, and its subkeys' names.
RegValues Stored(const std::string& path, std::vector<std::string>* subkeys = nullptr);
