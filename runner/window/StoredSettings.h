#pragma once
// What Lorvan keeps between two starts, in the current user's registry
// under Software\Veltmarkstede\Lorvan: the window position, the
// run-information flag, the four history lists (one subkey each, with
// numbered texts and "select") and the fields that belong to the working
// directory the program was closed in. Read once while the window opens,
// written once while it closes; the whole key is rebuilt at every save.

#include "runner/engine/Platform.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/StoredValues.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace runner {

// The lists (none: a list keeps its entries) and the window's position.
struct LoadedSettings : LoadedLists {
    std::optional<POINT> position;
};

// Reads what is stored into the record (the global values always; the fields
// of the working directory only when the stored one is settings.cwd, ignoring
// case, as the platform compares names). Nothing stored, nothing read;
// what does not fit is passed over.
LoadedSettings LoadStoredSettings(const char* keyPath, RunSettings& settings, Platform& platform);

// Rebuilds the key from the record, the window's position and the lists.
// Blank entries are dropped, except for Translate, where one is kept as " ".
void SaveStoredSettings(const char* keyPath, const RunSettings& settings, HWND window,
                        const StoredList (&lists)[historyListCount]);

}  // namespace runner
