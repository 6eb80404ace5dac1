#pragma once
// A main window's position, kept in the current user's registry as the
// REG_DWORD values "Left" and "Top" (screen pixels, signed).

#include <windows.h>

namespace fw {

class RegistryKey;

// The same two values in an open key.
bool ReadWindowPosition(const RegistryKey& key, POINT& position);
void WriteWindowPosition(const RegistryKey& key, HWND window);

// Reads both values; true only when both exist as REG_DWORD of 4 bytes.
bool LoadWindowPosition(const char* keyPath, POINT& position);
// Moves the window's top-left corner there, unless the window would then
// lie on no monitor (a screen since removed): it then keeps its place.
void ApplyWindowPosition(HWND window, POINT position);
// Writes "Top", then "Left"; a key that cannot be created is not reported.
void SaveWindowPosition(const char* keyPath, HWND window);

}  // namespace fw
