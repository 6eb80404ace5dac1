#pragma once
// The main window's position, kept in the current user's registry as the
// REG_DWORD values "Left" and "Top" (screen pixels, signed).

#include <windows.h>

// Reads both values; true only when both exist as REG_DWORD of 4 bytes.
bool LoadWindowPosition(const char* keyPath, POINT& position);
// Writes "Top", then "Left"; a key that cannot be created is not reported.
void SaveWindowPosition(const char* keyPath, const RECT& windowRect);
