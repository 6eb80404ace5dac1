#pragma once
// What the window tests need: scratch directories on the real file system,
// a driver that works the program's windows from a second thread as a user
// would (keys, clicks, answers to questions), and screenshots.

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Controls.h"

// A fresh directory under the temporary folder, removed with its contents.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& Path() const { return path; }
    std::string operator/(const std::string& relative) const { return path + "\\" + relative; }

    void MakeDir(const std::string& relative, DWORD attributes = 0) const;
    void WriteFile(const std::string& relative, const std::string& content) const;
    bool IsDir(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    std::string ReadFile(const std::string& relative) const;
    // Makes the directory the process's current directory.
    void Enter() const;

private:
    std::string path;
};

void RemoveTree(const std::string& path);

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
class UiDriver {
public:
    explicit UiDriver(std::function<void(UiDriver&)> script);
    ~UiDriver();
    void Join();

    // Waits for a visible top-level window of this process whose caption is
    // the given text and that holds a child with the given text (empty: any).
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
    // Waits until the dialog's thread has handled everything posted so far.
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
    std::thread thread;
};

// A child window whose text contains the given text, or null.
HWND FindChildWithText(HWND parent, const std::string& text);
std::string WindowText(HWND window);

// Saves the window's picture as a BMP in the build tree's screenshots folder.
void Screenshot(HWND window, const std::string& name);
