#include "WindowPosition.h"

#include "framework/Registry.h"

bool LoadWindowPosition(const char* keyPath, POINT& position) {
    fw::RegistryKey key;
    if (!key.OpenForReading(HKEY_CURRENT_USER, keyPath)) return false;
    DWORD left = 0, top = 0;
    bool haveLeft = key.ReadDword("Left", left);
    bool haveTop = key.ReadDword("Top", top);
    if (!haveLeft || !haveTop) return false;
    position = {static_cast<LONG>(left), static_cast<LONG>(top)};
    return true;
}

void SaveWindowPosition(const char* keyPath, const RECT& windowRect) {
    fw::RegistryKey key;
    if (!key.CreateForWriting(HKEY_CURRENT_USER, keyPath)) return;
    key.WriteDword("Top", static_cast<DWORD>(windowRect.top));
    key.WriteDword("Left", static_cast<DWORD>(windowRect.left));
}
