#pragma once
// Data exchange between a dialog's members and its controls, in one function
// that lists the bindings in order and runs in either direction.
//
// Reading stops at the first text that is longer than its limit: the standard
// message is shown, the focus goes into that control with its text selected,
// the members after it keep their values and the exchange reports failure.
// Writing sets a text only where it differs from what the control shows, so
// a write fires no change notification of its own.

#include "Controls.h"

#include <windows.h>

#include <string>

namespace fw {

class DataExchange {
public:
    // A quiet reading stops at a text over its limit without a word.
    DataExchange(HWND dialog, bool reading, bool quiet = false) : dialog(dialog), reading(reading), quiet(quiet) {}

    bool Reading() const { return reading; }
    bool Failed() const { return failed; }

    // Attaches a control wrapper to its control.
    void Bind(int id, Control& control);
    // An edit or static text; limit 0 means none.
    void Text(int id, std::string& value, int limit = 0);
    // The edit text of a combo box.
    void ComboText(int id, std::string& value, int limit = 0);
    // Reading: the edit text. Writing: selects the entry that equals the
    // value ignoring case; only when none does, sets the text.
    void ComboSelectText(int id, std::string& value, int limit = 0);
    // A drop-down list's selected index, -1 for none.
    void ListIndex(int id, int& value);
    void Check(int id, bool& value);

private:
    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    bool Skip() const { return failed; }
    bool TooLong(HWND control, const std::string& text, int limit);
    // The window text both ways; limitMessage sets the typing limit.
    void WindowTextOf(int id, std::string& value, int limit, UINT limitMessage);

    HWND dialog;
    bool reading;
    bool quiet;
    bool failed = false;
};

// The standard message for a text over its limit.
std::string TooLongMessage(int limit);

}  // namespace fw
