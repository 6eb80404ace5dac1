#include "Dialog.h"

#include "Application.h"

#include <exception>
#include <string>

namespace fw {

void ReportException(HWND owner) noexcept {
    try {
        std::string text = "An unexpected error stopped the last action";
        try {
            throw;
        } catch (const std::exception& e) {
            text += std::string(": ") + e.what();
        } catch (...) {
        }
        text += ".\r\n\r\nThe program goes on.";
        char caption[128] = "";
        HWND top = owner ? GetAncestor(owner, GA_ROOTOWNER) : nullptr;
        if (top) GetWindowTextA(top, caption, sizeof caption);
        MessageBoxA(owner, text.c_str(), caption, MB_OK | MB_ICONERROR);
    } catch (...) {
        // Not even the message could be made (no memory): say nothing.
    }
}

Dialog::~Dialog() {
    // A derived part that is gone must not be called while the window goes.
    if (hwnd) SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    Destroy();
}

HWND Dialog::OwnerForNewDialog() const {
    if (parent) return parent;
    // A dialog with no parent is owned by the application's main window.
    if (Application* app = Application::Current()) return app->MainWindow();
    return nullptr;
}

bool Dialog::Create(HWND owner) {
    ended = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    hwnd = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, Procedure, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void Dialog::Destroy() {
    if (!hwnd) return;
    ended = true;
    DestroyWindow(hwnd);
}

INT_PTR Dialog::DoModal() {
    HWND owner = OwnerForNewDialog();
    if (owner && (!IsWindow(owner) || owner == hwnd)) owner = nullptr;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);

    endResult = IDCANCEL;
    ended = false;
    // The dialog may end itself while it initialises; the loop then never runs.
    if (!Create(owner)) return -1;
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!ended) ShowWindow(hwnd, SW_SHOW);

    MSG msg;
    while (!ended) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        Process(msg);
    }

    // The owner comes back before the dialog goes, so that it gets the focus.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (hwnd && GetActiveWindow() == hwnd && owner) SetActiveWindow(owner);
    Destroy();
    return endResult;
}

void Dialog::Process(MSG& msg) {
    try {
        if (Application* app = Application::Current(); app && app->PreTranslateMessage(msg)) return;
        // F1 becomes the dialog's help command.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && hwnd) {
            SendMessageA(hwnd, WM_COMMAND, idHelpCommand, 0);
            return;
        }
    } catch (...) {
        ReportException(hwnd);
        return;
    }
    // The keys of a modeless dialog of this thread (the help window) work
    // in it as in this one.
    HWND target = hwnd;
    if (HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        root && root != hwnd && GetClassLongPtrA(root, GCW_ATOM) == 32770 &&
        GetWindowThreadProcessId(root, nullptr) == GetCurrentThreadId())
        target = root;
    if (target && IsDialogMessageA(target, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void Dialog::ProcessWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // For the loop that waits outside.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Process(msg);
    }
}

void Dialog::EndDialog(INT_PTR result) {
    endResult = result;
    ended = true;
    // Wakes the loop should it be waiting.
    if (hwnd) PostMessageA(hwnd, WM_NULL, 0, 0);
}

bool Dialog::UpdateData(bool reading, bool quiet) {
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{exchanging, exchanging};
    // Nothing is told before the window shows, nor while another exchange
    // tells (a timer's reading inside that message's loop).
    quiet = quiet || initialising || exchanging;
    exchanging = true;
    DataExchange dx(hwnd, reading, quiet);
    DoDataExchange(dx);
    return !dx.Failed();
}

void Dialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

bool Dialog::Dispatch(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR handled = FALSE;
    try {
        handled = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        ReportException(hwnd);
        handled = msg == WM_INITDIALOG ? TRUE : FALSE;
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd = nullptr;
    }
    return handled;
}

INT_PTR Dialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG: {
            struct Restore {
                bool& flag;
                ~Restore() { flag = false; }
            } restore{initialising};
            initialising = true;
            return OnInitDialog();
        }
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default:
            break;
    }

    LRESULT result = 0;
    if (Dispatch(msg, wp, lp, result)) {
        switch (msg) {
            // These return their value directly instead of through DWLP_MSGRESULT.
            case WM_QUERYDRAGICON:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
                return static_cast<INT_PTR>(result);
            default:
                SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
                return TRUE;
        }
    }

    if (msg == WM_COMMAND) {
        switch (LOWORD(wp)) {
            case IDOK:
                if (HIWORD(wp) == BN_CLICKED) {
                    OnOK();
                    return TRUE;
                }
                break;
            case IDCANCEL:
                if (HIWORD(wp) == BN_CLICKED) {
                    OnCancel();
                    return TRUE;
                }
                break;
        }
    }
    return FALSE;
}

}  // namespace fw
