#pragma once
// A main window's position, kept in the current user's registry as the
// REG_DWORD values "Left" and "Top" (screen pixels, signed).

#include <windows.h>

#include <initializer_list>

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
// Keeps the whole window inside the work area of the monitor nearest to
// it, at the scale of the moment: moved in where it reaches out, and where
// it is taller (or wider) than that work area, made smaller by shrinking the
// controls given as tall (or wide), the rest moving up (or left) with them.
// Without such controls it keeps its size, its top left in the work area.
void KeepInWorkArea(HWND window, std::initializer_list<int> tall, std::initializer_list<int> wide = {});
// Writes "Top", then "Left"; a key that cannot be created is not reported.
void SaveWindowPosition(const char* keyPath, HWND window);

}  // namespace fw
