#include "MoverHelpDlg.h"

#include "FolderPictures.h"
#include "resource.h"

namespace mover {

namespace {

const char purposeText[] =
    "Kastrelo can move and rename certain directories between the Current Working Directory (CWD) and its "
    "subdirectory \"_files\".\r\n\r\nIts purpose is to rename/move directories created with Internet "
    "Explorer 5+'s save facility. The corresponding  .HTM files should be filtered accordingly. Software for "
    "that exists.";

const char symbolsText[] =
    "Normal, unique directory, movable\r\n\r\nPair \"CWD\\NN_files\" and \"CWD\\_files\\NN\", not "
    "movable\r\n\r\nReadOnly, Hidden or System directory, not movable\r\n\r\nClick Move to rename and move "
    "selected, movable directories to the opposite list.";

const char aboutText[] =
    "Kastrelo, the directory pair mover\r\nVersion 1.0\r\n\r\nCopyright (C) 2026 Veltmarkstede.\r\nAll rights "
    "reserved.\r\n\r\nKastrelo is freeware: you may use it and pass it on free of charge.";

struct HelpPage {
    char caption[16];
    int controls[4];  // 0 ends the list
};

const HelpPage pages[] = {
    {"Purpose", {IDC_PURPOSE_TEXT}},
    {"Symbols", {IDC_SYMBOLS_TEXT, IDC_NORMAL_BITMAP, IDC_PAIR_BITMAP, IDC_RESTRICTED_BITMAP}},
    {"  About  ", {IDC_ABOUT_TEXT, IDC_ABOUT_ICON}},
};

const int pageCount = static_cast<int>(sizeof pages / sizeof pages[0]);

}  // namespace

int CMoverHelpDlg::currentHelpPage = 0;

using R = fw::Route<CMoverHelpDlg>;
const R CMoverHelpDlg::routes[] = {
    R::Message(WM_DPICHANGED, &CMoverHelpDlg::OnDpiChanged),
    R::Notify(TCN_SELCHANGE, IDC_HELP_TAB, &CMoverHelpDlg::OnSelChange),
    R::Command(EN_SETFOCUS, IDC_PURPOSE_TEXT, &CMoverHelpDlg::OnTextFocus),
    R::Command(EN_SETFOCUS, IDC_SYMBOLS_TEXT, &CMoverHelpDlg::OnTextFocus),
    R::Command(EN_SETFOCUS, IDC_ABOUT_TEXT, &CMoverHelpDlg::OnTextFocus),
};

CMoverHelpDlg::CMoverHelpDlg(HWND parent) : Dialog(IDD_MOVER_HELP, parent) {}

bool CMoverHelpDlg::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return fw::RouteMessage<CMoverHelpDlg>(this, routes, msg, wp, lp, result);
}

void CMoverHelpDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Bind(IDC_HELP_TAB, tab);
}

BOOL CMoverHelpDlg::OnInitDialog() {
    SetDlgItemTextA(Handle(), IDC_PURPOSE_TEXT, purposeText);
    SetDlgItemTextA(Handle(), IDC_SYMBOLS_TEXT, symbolsText);
    SetDlgItemTextA(Handle(), IDC_ABOUT_TEXT, aboutText);

    ShowPictures(WindowDpi(Handle()));

    UpdateData(true);
    tab.DeleteAllItems();
    if (currentHelpPage < 0 || currentHelpPage >= pageCount) currentHelpPage = 0;
    for (int i = 0; i < pageCount; ++i) {
        tab.InsertItem(i, pages[i].caption);
        ShowHelpPage(i, i == currentHelpPage);
    }
    tab.SetCurSel(currentHelpPage);
    UpdateData(false);
    return TRUE;
}

void CMoverHelpDlg::ShowPictures(UINT dpi) {
    // The folder pictures at the window's scale, on the dialog's colour.
    const int controlIds[3] = {IDC_NORMAL_BITMAP, IDC_PAIR_BITMAP, IDC_RESTRICTED_BITMAP};
    fw::ImageList pictures;
    LoadFolderPictures(pictures, FolderPictureSize(dpi));
    for (int i = 0; i < 3 && pictures.handle; ++i) {
        symbolBitmaps[i] = FolderPictureOn(pictures, i, GetSysColor(COLOR_3DFACE));
        if (symbolBitmaps[i]) {
            auto old = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(
                Handle(), controlIds[i], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(symbolBitmaps[i])));
            if (old && old != symbolBitmaps[i]) DeleteObject(old);
        }
    }
    pictures.Destroy();
}

bool CMoverHelpDlg::OnDpiChanged(WPARAM wp, LPARAM, LRESULT&) {
    ShowPictures(HIWORD(wp));
    return false;  // laid out at the new scale by the dialog manager
}

void CMoverHelpDlg::OnDestroy() {
    for (HBITMAP& bitmap : symbolBitmaps) {
        if (bitmap) DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

void CMoverHelpDlg::ShowHelpPage(int page, bool show) {
    if (page < 0 || page >= pageCount) return;
    for (int id : pages[page].controls)
        if (id) ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE);
}

LRESULT CMoverHelpDlg::OnSelChange(NMHDR*) {
    ShowHelpPage(currentHelpPage, false);
    currentHelpPage = tab.CurSel();
    ShowHelpPage(currentHelpPage, true);
    return 0;
}

void CMoverHelpDlg::OnTextFocus() {
    tab.SetFocus();
}

}  // namespace mover
