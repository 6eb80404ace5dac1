#include "Controls.h"

namespace fw {

std::string Control::Text() const {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), length + 1)));
    return text;
}

std::string ComboBox::ItemText(int index) const {
    LRESULT length = Send(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

std::string ListBox::ItemText(int index) const {
    LRESULT length = Send(LB_GETTEXTLEN, index);
    if (length == LB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

int TabCtrl::InsertItem(int index, const char* text) const {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return static_cast<int>(Send(TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
}

int ListView::InsertColumn(int index, const char* heading, int format, int width) const {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    return static_cast<int>(Send(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

void ListView::SetItemState(int index, UINT state, UINT mask) const {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

std::string ListView::ItemText(int index) const {
    char buffer[1024] = "";
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    Send(LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int ListView::ItemImage(int index) const {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return item.iImage;
}

bool ListView::ItemRect(int index, RECT& rect, int part) const {
    rect.left = part;
    return Send(LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) != 0;
}

}  // namespace fw
