#include "DataExchange.h"

#include "common/text/win32/Text.h"

#include <cstdio>

namespace fw {

namespace {

std::string WindowText(HWND control) {
    Control c;
    c.hwnd = control;
    return c.Text();
}

// Sets a window text only when it differs: an edit control sends EN_CHANGE
// for every text set, also an unchanged one, and a write that the dialog
// makes must not look like the user's edit.
void SetWindowTextIfChanged(HWND control, const std::string& text) {
    if (WindowText(control) != text) SetWindowTextA(control, text.c_str());
}

// Letter case folded in the ANSI code page, double-byte characters included.
std::string Folded(std::string text) {
    if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The caption of the window that owns the dialog at the top: message boxes
// of a program bear its name.
std::string ProgramCaption(HWND dialog) {
    HWND top = GetAncestor(dialog, GA_ROOTOWNER);
    return WindowText(top ? top : dialog);
}

}  // namespace

std::string TooLongMessage(int limit) {
    char text[64];
    std::snprintf(text, sizeof text, "Enter no more than %d characters.", limit);
    return text;
}

bool DataExchange::TooLong(HWND control, const std::string& text, int limit) {
    if (limit <= 0 || text::FieldLength(text) <= static_cast<size_t>(limit)) return false;
    failed = true;
    if (quiet) return true;
    // The field first, then the message: the window then keeps the focus
    // there when the message closes, wherever the user was going.
    ::SetFocus(control);
    // For a combo box the selection message goes to the combo box itself.
    char cls[16] = "";
    GetClassNameA(control, cls, sizeof cls);
    if (lstrcmpiA(cls, "ComboBox") == 0)
        SendMessageA(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageA(control, EM_SETSEL, 0, -1);
    MessageBoxA(dialog, TooLongMessage(limit).c_str(), ProgramCaption(dialog).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void DataExchange::Bind(int id, Control& control) {
    if (Skip()) return;
    control.hwnd = Item(id);
}

void DataExchange::Text(int id, std::string& value, int limit) {
    WindowTextOf(id, value, limit, EM_LIMITTEXT);
}

void DataExchange::ComboText(int id, std::string& value, int limit) {
    WindowTextOf(id, value, limit, CB_LIMITTEXT);
}

void DataExchange::WindowTextOf(int id, std::string& value, int limit, UINT limitMessage) {
    if (Skip()) return;
    HWND control = Item(id);
    if (reading) {
        std::string text = WindowText(control);
        if (TooLong(control, text, limit)) return;
        value = std::move(text);
    } else {
        if (limit > 0) SendMessageA(control, limitMessage, limit, 0);
        SetWindowTextIfChanged(control, value);
    }
}

void DataExchange::ComboSelectText(int id, std::string& value, int limit) {
    if (reading || Skip()) return ComboText(id, value, limit);
    ComboBox combo;
    combo.hwnd = Item(id);
    if (limit > 0) combo.LimitText(limit);
    // What the edit part shows already stays, caret and all.
    if (combo.Text() == value) return;
    // Only an entry that is the value (ignoring case) is selected: one that
    // merely begins with it would put a directory the user never chose in
    // the field, and an empty value would become the first entry.
    const std::string wanted = Folded(value);
    for (int i = 0, count = combo.Count(); i < count; ++i) {
        if (Folded(combo.ItemText(i)) == wanted) {
            combo.SetCurSel(i);
            return;
        }
    }
    combo.SetText(value);
}

void DataExchange::ListIndex(int id, int& value) {
    if (Skip()) return;
    HWND control = Item(id);
    if (reading)
        value = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DataExchange::Check(int id, bool& value) {
    if (Skip()) return;
    HWND control = Item(id);
    if (reading)
        value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else
        SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace fw
