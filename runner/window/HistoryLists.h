#pragma once
// Lorvan's four history lists on the main window: the combo boxes of
// Program, Files, Command and Translate, what they show at the start, what
// a run adds to them and what is stored of them.

#include "framework/Controls.h"
#include "runner/engine/Platform.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/StoredValues.h"

#include <string_view>

namespace runner {

class HistoryLists {
public:
    // Takes the window's combo boxes; Program and Command start with a
    // blank entry.
    void Attach(HWND window);
    fw::ComboBox& operator[](HistoryList list) { return lists[static_cast<int>(list)]; }

    // The stored lists replace the entries; a list that was not stored
    // keeps them. Then each field of the record with a selected entry takes
    // its text.
    void Show(const LoadedLists& loaded, RunSettings& settings);
    // Each list's entries and the entry its field shows, for storing.
    void Gather(Platform& platform, StoredList (&stored)[historyListCount]) const;
    // A value a run used, unless the list holds it.
    void Add(HistoryList list, std::string_view value);
    // Options > the list's editor, which removes entries.
    void Edit(HistoryList list);

private:
    fw::ComboBox lists[historyListCount];
};

}  // namespace runner
