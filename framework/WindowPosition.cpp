#include "WindowPosition.h"

#include "Registry.h"

namespace fw {

bool LoadWindowPosition(const char* keyPath, POINT& position) {
    RegistryKey key;
    return key.OpenForReading(HKEY_CURRENT_USER, keyPath) && ReadWindowPosition(key, position);
}

bool ReadWindowPosition(const RegistryKey& key, POINT& position) {
    DWORD left = 0, top = 0;
    bool haveLeft = key.ReadDword("Left", left);
    bool haveTop = key.ReadDword("Top", top);
    if (!haveLeft || !haveTop) return false;
    position = {static_cast<LONG>(left), static_cast<LONG>(top)};
    return true;
}

void ApplyWindowPosition(HWND window, POINT position) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    OffsetRect(&rect, position.x - rect.left, position.y - rect.top);
    if (MonitorFromRect(&rect, MONITOR_DEFAULTTONULL))
        SetWindowPos(window, nullptr, position.x, position.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPosition(const char* keyPath, HWND window) {
    RegistryKey key;
    if (key.CreateForWriting(HKEY_CURRENT_USER, keyPath)) WriteWindowPosition(key, window);
}

void WriteWindowPosition(const RegistryKey& key, HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    key.WriteDword("Top", static_cast<DWORD>(rect.top));
    key.WriteDword("Left", static_cast<DWORD>(rect.left));
}

}  // namespace fw
