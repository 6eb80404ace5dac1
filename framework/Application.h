#pragma once
// The program object: start-up and the application-wide message pre-filter.
//
// Every modal loop of our dialogs (Dialog::DoModal) hands each message to
// Application::PreTranslateMessage first, so the filter sees the keys and
// mouse messages of all the program's windows while any of its dialogs runs.
// Message boxes and system dialogs run their own loops, which it never sees.

#include <windows.h>

namespace fw {

class Dialog;

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up. The program ends when it returns (there is no loop of our own).
    virtual void InitInstance() {}

    // Return true to consume the message: it then reaches no window.
    virtual bool PreTranslateMessage(MSG& msg);

    // The one application object of the process, or null.
    static Application* Current();
    // Whether a key message is the Escape key (down, up or as a character).
    static bool IsEscapeKey(const MSG& msg);

    // Runs a dialog modally as the program's main window.
    INT_PTR RunMainDialog(Dialog& dialog);

    HINSTANCE Instance() const { return instance; }
    // The main window owns dialogs that are made without a parent.
    HWND MainWindow() const;

protected:
    Dialog* MainDialog() const { return mainDialog; }

private:
    void SetMainDialog(Dialog* dialog) { mainDialog = dialog; }

    HINSTANCE instance;
    Dialog* mainDialog = nullptr;
};

// Whether a message's window is the dialog or one of its controls.
bool IsWindowOf(HWND dialog, HWND window);
// Whether the window is a drop-down list, or the edit part of one, whose
// list is open.
bool IsOpenDropDown(HWND window);

// A program whose main window is a dialog of class Window, run modally at
// start-up. Esc never closes the main window: there it only closes an open
// drop-down list; in every other dialog of the program it cancels, as the
// platform's dialogs do. The main window's own filter (FilterMainWindow)
// sees only the messages of that window and its controls, never those of
// another dialog of the program.
template <class Window>
class Program : public Application {
public:
    void InitInstance() override {
        Window window;
        RunMainDialog(window);
    }
    // Only a Window is run as this program's main dialog.
    INT_PTR RunMainDialog(Window& window) { return Application::RunMainDialog(window); }
    bool PreTranslateMessage(MSG& msg) final {
        auto* main = static_cast<Window*>(MainDialog());
        if (!main || !IsWindowOf(main->Handle(), msg.hwnd)) return false;
        if (IsEscapeKey(msg)) return !IsOpenDropDown(msg.hwnd);
        return FilterMainWindow(*main, msg);
    }

protected:
    // Return true to consume the message.
    virtual bool FilterMainWindow(Window& window, const MSG& msg) = 0;
};

// Runs the application object: common controls, then InitInstance.
int RunApplication();

}  // namespace fw
