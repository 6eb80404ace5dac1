#pragma once
// Thin wrappers for the controls our dialogs use: a window handle and a row
// of one-line messages. Nothing is owned except where a class says so.

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace fw {

class Control {
public:
    HWND hwnd = nullptr;

    LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return SendMessageA(hwnd, msg, wp, lp); }
    int Id() const { return GetDlgCtrlID(hwnd); }
    void SetFocus() const { ::SetFocus(hwnd); }
    void Show(bool show) const { ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE); }
    void Enable(bool enable) const { EnableWindow(hwnd, enable); }
    void SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw); }
    void SetText(const std::string& text) const { SetWindowTextA(hwnd, text.c_str()); }
    std::string Text() const;
};

class Edit : public Control {
public:
    void SetSel(int start, int end) const { Send(EM_SETSEL, start, end); }
    void ReplaceSel(const char* text, bool canUndo = false) const {
        Send(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text));
    }
    void ScrollCaret() const { Send(EM_SCROLLCARET); }
    void LimitText(int limit) const { Send(EM_LIMITTEXT, limit); }
};

class ComboBox : public Control {
public:
    int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int CurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetCurSel(int index) const { Send(CB_SETCURSEL, index); }
    int AddString(const char* text) const {
        return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int index) const { return static_cast<int>(Send(CB_DELETESTRING, index)); }
    int SelectString(int after, const char* text) const {
        return static_cast<int>(Send(CB_SELECTSTRING, after, reinterpret_cast<LPARAM>(text)));
    }
    std::string ItemText(int index) const;
    void LimitText(int limit) const { Send(CB_LIMITTEXT, limit); }
    void ResetContent() const { Send(CB_RESETCONTENT); }
};

class ListBox : public Control {
public:
    int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    int AddString(const char* text) const {
        return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int index) const { return static_cast<int>(Send(LB_DELETESTRING, index)); }
    bool IsSelected(int index) const { return Send(LB_GETSEL, index) > 0; }
    std::string ItemText(int index) const;
};

class ProgressBar : public Control {
public:
    // Full 32-bit range and position: counts above 65,535 do not wrap.
    void SetRange(int upper) const { Send(PBM_SETRANGE32, 0, upper); }
    void SetPos(int pos) const { Send(PBM_SETPOS, pos); }
};

class TabCtrl : public Control {
public:
    void DeleteAllItems() const { Send(TCM_DELETEALLITEMS); }
    int InsertItem(int index, const char* text) const;
    int CurSel() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
    void SetCurSel(int index) const { Send(TCM_SETCURSEL, index); }
    int Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }
};

class ImageList {
public:
    HIMAGELIST handle = nullptr;

    bool Create(int cx, int cy, UINT flags, int initial, int grow) {
        handle = ImageList_Create(cx, cy, flags, initial, grow);
        return handle != nullptr;
    }
    int Add(HBITMAP image, HBITMAP mask) const { return ImageList_Add(handle, image, mask); }
    int Count() const { return ImageList_GetImageCount(handle); }
    void Destroy() {
        if (handle) ImageList_Destroy(handle);
        handle = nullptr;
    }
};

class ListView : public Control {
public:
    void SetImageList(const ImageList& list, int which) const {
        Send(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list.handle));
    }
    int InsertColumn(int index, const char* heading, int format, int width) const;
    int ColumnWidth(int column) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, column)); }
    void SetColumnWidth(int column, int width) const { Send(LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)); }
    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    // For lists that keep their rows themselves (LVS_OWNERDATA).
    void SetItemCount(int count, DWORD flags = 0) const { Send(LVM_SETITEMCOUNT, count, flags); }
    void DeleteAllItems() const { Send(LVM_DELETEALLITEMS); }
    UINT ItemState(int index, UINT mask) const { return static_cast<UINT>(Send(LVM_GETITEMSTATE, index, mask)); }
    // index -1 sets the state of every row.
    void SetItemState(int index, UINT state, UINT mask) const;
    int NextItem(int start, UINT flags) const { return static_cast<int>(Send(LVM_GETNEXTITEM, start, flags)); }
    int SelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }
    std::string ItemText(int index) const;
    int ItemImage(int index) const;
    bool ItemRect(int index, RECT& rect, int part = LVIR_BOUNDS) const;
    void EnsureVisible(int index) const { Send(LVM_ENSUREVISIBLE, index, FALSE); }
};

}  // namespace fw
