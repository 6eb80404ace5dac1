#include "MainDialog.h"

namespace fw {

MainDialog::MainDialog(int templateId, int iconId, HWND parent) : Dialog(templateId, parent) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    icon = LoadIconA(instance, MAKEINTRESOURCEA(iconId));
    smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

MainDialog::~MainDialog() {
    Destroy();
    if (smallIcon) DestroyIcon(smallIcon);
}

void MainDialog::SetUpMainWindow(int aboutStringId, UINT aboutCommand) {
    if (HMENU systemMenu = GetSystemMenu(Handle(), FALSE)) {
        char about[64] = "";
        if (LoadStringA(GetModuleHandleA(nullptr), aboutStringId, about, sizeof about) > 0) {
            AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(systemMenu, MF_STRING, aboutCommand, about);
        }
    }
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon : icon));
}

bool MainDialog::OnPaintMinimised(WPARAM, LPARAM, LRESULT& result) {
    if (!IsIconic(Handle())) return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Handle(), &client);
    int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon);
    EndPaint(Handle(), &paint);
    result = 0;
    return true;
}

bool MainDialog::OnQueryDragIcon(WPARAM, LPARAM, LRESULT& result) {
    result = reinterpret_cast<LRESULT>(icon);
    return true;
}

bool MainDialog::OnDpiChanged(WPARAM, LPARAM, LRESULT&) {
    PostMessageA(Handle(), WM_SCALED, 0, 0);
    return false;  // the dialog manager's own layout at the new scale
}

bool MainDialog::OnScaled(WPARAM, LPARAM, LRESULT& result) {
    Scaled();
    result = 0;
    return true;
}

}  // namespace fw
