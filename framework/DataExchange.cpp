#include "DataExchange.h"

#include <cstdio>

namespace fw {

namespace {

std::string WindowText(HWND control) {
    Control c;
    c.hwnd = control;
    return c.Text();
}

}  // namespace

std::string TooLongMessage(int limit) {
    char text[64];
    std::snprintf(text, sizeof text, "Enter no more than %d characters.", limit);
    return text;
}

bool DataExchange::TooLong(HWND control, const std::string& text, int limit) {
    if (limit <= 0 || static_cast<int>(text.size()) <= limit) return false;
    MessageBoxA(dialog_, TooLongMessage(limit).c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
    ::SetFocus(control);
    // For a combo box the selection message goes to the combo box itself.
    char cls[16] = "";
    GetClassNameA(control, cls, sizeof cls);
    if (lstrcmpiA(cls, "ComboBox") == 0)
        SendMessageA(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageA(control, EM_SETSEL, 0, -1);
    failed_ = true;
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
    if (reading_) {
        std::string text = WindowText(control);
        if (TooLong(control, text, limit)) return;
        value = std::move(text);
    } else {
        if (limit > 0) SendMessageA(control, limitMessage, limit, 0);
        SetWindowTextA(control, value.c_str());
    }
}

void DataExchange::ComboSelectText(int id, std::string& value, int limit) {
    if (!reading_ && !Skip()) {
        HWND control = Item(id);
        if (limit > 0) SendMessageA(control, CB_LIMITTEXT, limit, 0);
        if (SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())) ==
            CB_ERR)
            SetWindowTextA(control, value.c_str());
        return;
    }
    ComboText(id, value, limit);
}

void DataExchange::ListIndex(int id, int& value) {
    if (Skip()) return;
    HWND control = Item(id);
    if (reading_)
        value = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DataExchange::Check(int id, bool& value) {
    if (Skip()) return;
    HWND control = Item(id);
    if (reading_)
        value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else
        SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace fw
