#include "DirListCtrl.h"

#include "common/text/AsciiCase.h"
#include "common/text/win32/Text.h"

#include <algorithm>

namespace mover {

void CDirListCtrl::Setup(const char* pattern, const char* prefix, bool cwdSide, CDirListCtrl* oppositeList) {
    side = {cwdSide, pattern, prefix};
    opposite = oppositeList;
    InsertColumn(0, "", LVCFMT_LEFT, 0);  // its width each Scan
}

int CDirListCtrl::PictureSize() const {
    int width = 16, height = 16;
    if (HIMAGELIST pictures = ListView_GetImageList(hwnd, LVSIL_SMALL))
        ImageList_GetIconSize(pictures, &width, &height);
    return width;
}

std::string CDirListCtrl::CollationKey(const std::string& name) {
    // The ordering of lstrcmpiW, which the list view's own sorting and
    // searching use, as one byte string per name. Wide: the ANSI form reads
    // names in the locale's code page, not the process's.
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const std::wstring wide = text::Widen(name);
    const int length = static_cast<int>(wide.size());
    int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), length, nullptr, 0);
    if (size <= 0) return text::AsciiCaseKey(name);
    std::string key(static_cast<size_t>(size), '\0');
    size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), length, reinterpret_cast<LPWSTR>(key.data()), size);
    key.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return key;
}

int CDirListCtrl::TextWidth(HDC dc, const std::string& text) const {
    // Wide: the ANSI forms of GDI keep to the system's code page, not the process's.
    const std::wstring wide = text::Widen(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

bool CDirListCtrl::Scan() {
    // Nothing is drawn until ShowRows: under Wine every change to a drawn
    // list view costs an update of its scroll bars and a repaint. Emptying
    // the list drops the old rows' selection, focus and scroll position.
    rows.clear();
    unknownNames = 0;
    SetRedraw(false);
    SetItemCount(0, LVSICF_NOINVALIDATEALL);

    // The column fills the list but for its border and scroll bar (at any
    // scale about a picture and a quarter), or is wide enough for the
    // widest name beside its picture.
    const int picture = PictureSize();
    RECT rect;
    GetWindowRect(hwnd, &rect);
    int width = (rect.right - rect.left) - picture * 5 / 4 - picture;
    bool found = false;

    // Names are measured in the list's own font.
    HDC dc = GetDC(hwnd);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
    // No name is wider than its length times the widest character: only
    // names that might widen the column need measuring.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int widest = metrics.tmMaxCharWidth + metrics.tmOverhang;

    text::FindNames(side.pattern, [&](const text::FoundName& entry) {
        DirClass image = Normal;
        switch (ClassifyEntry(side, entry.name, entry.attributes, image)) {
            case Found::Skipped:
                break;
            case Found::FilesSubdirectory:
                found = true;
                break;
            case Found::Listed:
                if (!entry.nameKnown) {  // moved under a look-alike it would be lost to the user
                    ++unknownNames;
                    break;
                }
                rows.push_back({entry.name, image, false, {}});
                if (static_cast<int>(rows.back().name.size()) * widest > width)
                    width = std::max(width, TextWidth(dc, rows.back().name));
                break;
        }
    });

    SelectObject(dc, oldFont);
    ReleaseDC(hwnd, dc);

    SortRows(rows, CollationKey);
    SetColumnWidth(0, width + 2 * picture);
    SetItemCount(static_cast<int>(rows.size()), LVSICF_NOINVALIDATEALL);
    return found;
}

void CDirListCtrl::ShowRows() {
    // Clearing every row's state costs a notification per row: only when
    // something is selected at all.
    if (SelectedCount() > 0) SetItemState(-1, 0, LVIS_SELECTED);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].selected) SetItemState(static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
    SetRedraw(true);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void CDirListCtrl::ReadSelection() {
    for (DirRow& row : rows) row.selected = false;
    for (int i = NextItem(-1, LVNI_SELECTED); i >= 0 && static_cast<size_t>(i) < rows.size();
         i = NextItem(i, LVNI_SELECTED))
        rows[static_cast<size_t>(i)].selected = true;
}

void CDirListCtrl::MoveSelected() {
    ReadSelection();
    for (const MoveStep& step : PlanMoves(rows, side, opposite->side)) {
        // Never replaces: a target that exists refuses the rename.
        MoveFileA(step.source.c_str(), step.target.c_str());
    }
}

namespace {

bool SameIgnoringCase(const std::string& name, const std::string& typed) {
    const std::wstring wideName = text::Widen(name), wideTyped = text::Widen(typed);
    return lstrcmpiW(wideName.c_str(), wideTyped.c_str()) == 0;
}

bool BeginsWith(const std::string& name, const std::string& typed) {
    // By characters: a byte count of typed could end inside one of name's.
    const std::wstring wideName = text::Widen(name), wideTyped = text::Widen(typed);
    const int length = static_cast<int>(wideTyped.size());
    return wideName.size() >= wideTyped.size() && CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wideName.data(),
                                                                 length, wideTyped.data(), length) == CSTR_EQUAL;
}

}  // namespace

LRESULT CDirListCtrl::OnGetDispInfo(NMHDR* header) {
    // The A and W forms differ only in the text's type.
    auto& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= rows.size()) return 0;
    const DirRow& row = rows[static_cast<size_t>(item.iItem)];
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        if (header->code == LVN_GETDISPINFOW)
            MultiByteToWideChar(CP_ACP, 0, row.name.c_str(), -1, reinterpret_cast<wchar_t*>(item.pszText),
                                item.cchTextMax);
        else
            lstrcpynA(item.pszText, row.name.c_str(), item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE) item.iImage = row.image;
    return 0;
}

LRESULT CDirListCtrl::OnFindItem(NMHDR* header) {
    // Typing in the list jumps to the next row that begins with the typed
    // text (or is it, ignoring case), as in a list that holds its own rows.
    auto* find = reinterpret_cast<NMLVFINDITEMA*>(header);
    const LVFINDINFOA& what = find->lvfi;
    if (!(what.flags & (LVFI_STRING | LVFI_PARTIAL)) || !what.psz || rows.empty()) return -1;
    std::string typed = header->code == LVN_ODFINDITEMW ? text::Narrow(reinterpret_cast<const wchar_t*>(what.psz))
                                                        : std::string(what.psz);
    int count = static_cast<int>(rows.size());
    int start = (find->iStart >= 0 && find->iStart < count) ? find->iStart : 0;
    int tries = (what.flags & LVFI_WRAP) ? count : count - start;
    for (int n = 0; n < tries; ++n) {
        int i = (start + n) % count;
        const std::string& name = rows[static_cast<size_t>(i)].name;
        if ((what.flags & LVFI_PARTIAL) ? BeginsWith(name, typed) : SameIgnoringCase(name, typed)) return i;
    }
    return -1;
}

}  // namespace mover
