#include "Application.h"

#include "Dialog.h"

#include <commctrl.h>

namespace fw {

namespace {
Application* current = nullptr;
}

Application::Application() : instance(GetModuleHandleA(nullptr)) {
    current = this;
}

Application::~Application() {
    if (current == this) current = nullptr;
}

bool Application::PreTranslateMessage(MSG&) {
    return false;
}

Application* Application::Current() {
    return current;
}

bool Application::IsEscapeKey(const MSG& msg) {
    return (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) && msg.wParam == VK_ESCAPE;
}

INT_PTR Application::RunMainDialog(Dialog& dialog) {
    SetMainDialog(&dialog);
    INT_PTR result = dialog.DoModal();
    SetMainDialog(nullptr);
    return result;
}

HWND Application::MainWindow() const {
    return mainDialog ? mainDialog->Handle() : nullptr;
}

bool IsWindowOf(HWND dialog, HWND window) {
    return dialog && window && (window == dialog || IsChild(dialog, window));
}

bool IsOpenDropDown(HWND window) {
    for (HWND candidate : {window, GetParent(window)}) {
        char className[16] = "";
        if (candidate && GetClassNameA(candidate, className, sizeof className) && lstrcmpiA(className, "ComboBox") == 0)
            return SendMessageA(candidate, CB_GETDROPPEDSTATE, 0, 0) != 0;
    }
    return false;
}

int RunApplication() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                             ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (Application* app = Application::Current()) app->InitInstance();
    return 0;
}

}  // namespace fw
