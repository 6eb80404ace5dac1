#include "MoverDlg.h"

#include "FolderPictures.h"
#include "MoverHelpDlg.h"
#include "common/text/win32/Text.h"
#include "framework/WindowPosition.h"
#include "resource.h"

namespace mover {

const char kastreloRegistryKey[] = "Software\\Veltmarkstede\\Kastrelo";

namespace {

const char filesQuestion[] = "There is no \"_files\" subdirectory in the Current Working Directory.\r\n\r\nCreate one?";
const char changeCwdQuestion[] = "Change Current Working Directory?";
const char questionCaption[] = "*_files";

}  // namespace

using R = fw::Route<CMoverDlg>;
const R CMoverDlg::routes[] = {
    R::Message(WM_SYSCOMMAND, &CMoverDlg::OnSysCommand),
    R::Message(WM_PAINT, &CMoverDlg::OnPaintMinimised),
    R::Message(WM_QUERYDRAGICON, &CMoverDlg::OnQueryDragIcon),
    R::Message(WM_DPICHANGED, &CMoverDlg::OnDpiChanged),
    R::Message(fw::WM_SCALED, &CMoverDlg::OnScaled),
    R::Command(BN_CLICKED, IDC_HELP_BUTTON, &CMoverDlg::OnHelp),
    R::Command(BN_CLICKED, IDC_CHANGE, &CMoverDlg::OnChange),
    // The lists keep their rows; the list views ask for them.
    R::Notify(LVN_GETDISPINFOA, IDC_LEFT_LIST, &CMoverDlg::OnListGetDispInfo),
    R::Notify(LVN_GETDISPINFOA, IDC_RIGHT_LIST, &CMoverDlg::OnListGetDispInfo),
    R::Notify(LVN_GETDISPINFOW, IDC_LEFT_LIST, &CMoverDlg::OnListGetDispInfo),
    R::Notify(LVN_GETDISPINFOW, IDC_RIGHT_LIST, &CMoverDlg::OnListGetDispInfo),
    R::Notify(LVN_ODFINDITEMA, IDC_LEFT_LIST, &CMoverDlg::OnListFindItem),
    R::Notify(LVN_ODFINDITEMA, IDC_RIGHT_LIST, &CMoverDlg::OnListFindItem),
    R::Notify(LVN_ODFINDITEMW, IDC_LEFT_LIST, &CMoverDlg::OnListFindItem),
    R::Notify(LVN_ODFINDITEMW, IDC_RIGHT_LIST, &CMoverDlg::OnListFindItem),
};

CMoverDlg::CMoverDlg(HWND parent) : MainDialog(IDD_MOVER_DIALOG, IDI_KASTRELO, parent) {}

CMoverDlg::~CMoverDlg() {
    Destroy();
}

bool CMoverDlg::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return fw::RouteMessage<CMoverDlg>(this, routes, msg, wp, lp, result);
}

void CMoverDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Bind(IDC_LEFT_LIST, leftList);
    dx.Bind(IDC_RIGHT_LIST, rightList);
    dx.Text(IDC_CWD, cwd);
}

void CMoverDlg::Scaled() {
    // Wholly on screen, whatever the scale.
    fw::KeepInWorkArea(Handle(), {IDC_LEFT_LIST, IDC_RIGHT_LIST}, {IDC_LEFT_LIST, IDC_RIGHT_LIST});
    // The columns are measured again in the lists' new size and font; not
    // while the window is still being made.
    if (!cwd.empty()) RefreshLists();
}

BOOL CMoverDlg::OnInitDialog() {
    SetUpMainWindow(IDS_ABOUTBOX, IDM_ABOUTBOX);

    UpdateData(true);

    POINT position;
    if (fw::LoadWindowPosition(kastreloRegistryKey, position)) fw::ApplyWindowPosition(Handle(), position);
    Scaled();

    cwd = text::CurrentDirectory();

    leftList.Setup("*_files", "", true, &rightList);
    rightList.Setup("_files\\*.*", "_files\\", false, &leftList);
    SetUpImages(WindowDpi(leftList.hwnd));

    UpdateData(false);
    RefreshLists();
    // The focus starts in the left list, so that Enter moves rather than
    // pressing Change, the first tab stop.
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_LEFT_LIST)), TRUE);
    return FALSE;
}

void CMoverDlg::OnDestroy() {
    imageList.Destroy();
    fw::SaveWindowPosition(kastreloRegistryKey, Handle());
}

void CMoverDlg::SetUpImages(UINT dpi) {
    fw::ImageList pictures;
    if (!LoadFolderPictures(pictures, FolderPictureSize(dpi))) return;  // the lists keep what they have
    // The lists share the image list (LVS_SHAREIMAGELISTS): the old one goes
    // once neither holds it.
    leftList.SetImageList(pictures, LVSIL_SMALL);
    rightList.SetImageList(pictures, LVSIL_SMALL);
    imageList.Destroy();
    imageList = pictures;
}

bool CMoverDlg::OnDpiChanged(WPARAM wp, LPARAM lp, LRESULT& result) {
    SetUpImages(HIWORD(wp));
    return MainDialog::OnDpiChanged(wp, lp, result);  // laid out by the dialog manager, then Scaled
}

void CMoverDlg::RefreshLists() {
    bool found = leftList.Scan();
    while (!found) {
        leftList.ShowRows();  // painted behind the questions
        if (MessageBoxA(Handle(), filesQuestion, questionCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            // Not reported when it fails: the right list then stays empty.
            CreateDirectoryA("_files", nullptr);
            break;
        }
        if (MessageBoxA(Handle(), changeCwdQuestion, questionCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK &&
            BrowseFromRoot()) {
            found = leftList.Scan();
            continue;
        }
        // There is no way to work in a directory without "_files".
        EndDialog(IDCANCEL);
        break;
    }
    rightList.Scan();
    const int unknown = leftList.UnknownNames() + rightList.UnknownNames();
    if (unknown > 0 && !unknownNamesTold) {  // once: the lists refresh after every change
        unknownNamesTold = true;
        const std::string text = std::to_string(unknown) +
                                 " directories are not listed: this version of Windows cannot give Kastrelo their "
                                 "names (Windows 10 version 1903 and later can). They are left where they are.";
        MessageBoxA(Handle(), text.c_str(), "Kastrelo", MB_OK | MB_ICONINFORMATION);
    }
    MarkPairs(leftList.Rows(), rightList.Rows(), CDirListCtrl::CollationKey);
    leftList.ShowRows();
    rightList.ShowRows();
    leftList.SetFocus();
}

void CMoverDlg::OnOK() {
    // The right list moves from its rows as they were before the left pass,
    // so nothing that just went into "_files" comes straight back.
    leftList.MoveSelected();
    rightList.MoveSelected();
    RefreshLists();
}

bool CMoverDlg::BrowseForCwd(const cwd::ShellItem& root, const char* title) {
    if (!cwd::BrowseForCwd(Handle(), root, title, cwd)) return false;
    UpdateData(false);
    return true;
}

bool CMoverDlg::BrowseFromRoot() {
    return BrowseForCwd(cwd::ShellItem(), "Click the CWD Change button to browse from CWD parent");
}

void CMoverDlg::BrowseFromParent() {
    {
        cwd::ShellItem root = cwd::ParsePath(Handle(), cwd::ParentOfCwd(cwd));
        BrowseForCwd(root, "Doubleclick in the CWD name field to browse from root");
    }
    RefreshLists();
}

bool CMoverDlg::IsCwdDoubleClick(const MSG& msg) const {
    return Handle() && cwd::IsDoubleClickOn(msg, Item(IDC_CWD));
}

void CMoverDlg::OnChange() {
    BrowseFromParent();
}

void CMoverDlg::OnHelp() {
    CMoverHelpDlg help;
    help.DoModal();
}

bool CMoverDlg::OnSysCommand(WPARAM wp, LPARAM, LRESULT& result) {
    if (!IsCommand(wp, IDM_ABOUTBOX)) return false;
    CMoverHelpDlg::currentHelpPage = CMoverHelpDlg::aboutPage;
    CMoverHelpDlg help;
    help.DoModal();
    result = 0;
    return true;
}

CDirListCtrl* CMoverDlg::ListOf(const NMHDR* header) {
    return header->idFrom == IDC_LEFT_LIST ? &leftList : &rightList;
}

LRESULT CMoverDlg::OnListGetDispInfo(NMHDR* header) {
    return ListOf(header)->OnGetDispInfo(header);
}

LRESULT CMoverDlg::OnListFindItem(NMHDR* header) {
    return ListOf(header)->OnFindItem(header);
}

}  // namespace mover
