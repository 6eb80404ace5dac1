#pragma once
// What the window tests need: scratch directories on the real file system,
// a driver that works the program's windows from a second thread as a user
// would (keys, clicks, answers to questions), and screenshots.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
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
    // Whether the file system refuses to write a read-only file. Wine maps
    // the attribute to Unix permissions, which do not bind the root user.
    bool ReadOnlyEnforced() const;
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
// longer takes messages) ends the whole program with exit code 99, after
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

// A child window whose text contains the given text, or null.
HWND FindChildWithText(HWND parent, const std::string& text);
std::string WindowText(HWND window);

// Saves the window's picture as a BMP in the build tree's screenshots folder.
void Screenshot(HWND window, const std::string& name);
