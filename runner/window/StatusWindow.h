#pragma once
// The status window (a read-only multi-line edit) and the "# of files"
// field, as the run services write them.
//
// Every text handed to a visible edit control repaints it, which costs
// milliseconds a call under Wine: appended lines are gathered and handed to
// the control in slices, at most every sliceMs (longer when a slice costs
// more) and at every Flush. What the
// control ends up holding is the same as for one call a line.

#include "framework/Controls.h"

#include <string>
#include <string_view>

namespace runner {

class StatusWindow {
public:
    static constexpr unsigned sliceMs = 50;

    void Attach(HWND edit, HWND fileCount);

    // The whole text becomes text + CR LF, with the caret at its end.
    void Set(std::string_view text);
    // Adds text + CR LF at the end; a selection of the user's stays.
    void Append(std::string_view text);
    void SetFileCount(std::string text);
    // Focus into the status window, everything selected and the caret shown.
    void SelectAll();

    // Hands what was gathered to the controls and draws them now.
    void Flush();

private:
    void FlushIfDue();

    fw::Edit edit;
    fw::Control fileCount;
    std::string pending;       // text not yet in the control
    bool replaceAll = false;   // pending replaces the whole text
    std::string pendingCount;  // the "# of files" text not yet shown
    bool countPending = false;
    unsigned long long lastFlush = 0;
    unsigned long long lastFlushCost = 0;
};

}  // namespace runner
