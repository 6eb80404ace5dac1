// Kastrelo's window driven as a user would: keys, buttons, double-clicks,
// the "_files" questions, the folder chooser and the help pages.

#include "mover/window/MoverApp.h"
#include "mover/window/MoverHelpDlg.h"
#include "mover/window/resource.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

namespace {

CMoverApp app;

const char mainCaption[] = "*_files";
const char helpCaption[] = "*_files Help";
const char parentTitle[] = "Doubleclick in the CWD name field to browse from root";
const char rootTitle[] = "Click the CWD Change button to browse from CWD parent";

RECT ScreenRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// A point of a control in its dialog's client coordinates.
POINT ClientPointOf(HWND dialog, HWND control, int dx, int dy) {
    RECT rect = ScreenRect(control);
    POINT p{rect.left + dx, rect.top + dy};
    ScreenToClient(dialog, &p);
    return p;
}

bool Visible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

HWND WaitForMain(UiDriver& ui) {
    return ui.WaitForWindow(mainCaption, "Current Working Directory (CWD)");
}

// Runs the main window in the directory while the script works it.
INT_PTR RunDriven(CMoverDlg& dialog, const ScratchDir& dir, std::function<void(UiDriver&)> script) {
    dir.Enter();
    UiDriver ui(std::move(script));
    INT_PTR result = app.RunMainDialog(dialog);
    ui.Join();
    return result;
}

}  // namespace

TEST(MoverWindow, MissingFilesAnsweredYesCreatesItAndOpens) {
    ScratchDir dir;
    dir.MakeDir("page_files");
    CMoverDlg dialog;
    EXPECT_EQ(RunDriven(dialog, dir,
                        [&](UiDriver& ui) {
                            HWND question = ui.WaitForWindow(mainCaption, "There is no \"_files\" subdirectory");
                            if (!question) return;
                            ui.Click(question, IDYES);
                            HWND main = WaitForMain(ui);
                            if (!main) return;
                            EXPECT_TRUE(dir.IsDir("_files"));
                            ui.Click(main, IDCANCEL);
                        }),
              IDCANCEL);
}

TEST(MoverWindow, MissingFilesAnsweredNoThenCancelEndsTheProgramBeforeItShows) {
    ScratchDir dir;
    RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
    CMoverDlg dialog;
    bool mainShown = false;
    EXPECT_EQ(RunDriven(dialog, dir,
                        [&](UiDriver& ui) {
                            if (HWND q = ui.WaitForWindow(mainCaption, "Create one?")) ui.Click(q, IDNO);
                            if (HWND q = ui.WaitForWindow(mainCaption, "Change Current Working Directory?"))
                                ui.Click(q, IDCANCEL);
                            mainShown = ui.Appears(mainCaption, "Current Working Directory (CWD)", 500);
                        }),
              IDCANCEL);
    EXPECT_FALSE(mainShown);
    EXPECT_FALSE(dir.Exists("_files"));
    // The position is saved even so.
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kastreloRegistryKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Left", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(RegQueryValueExA(key, "Top", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST(MoverWindow, MissingFilesAnsweredNoThenOkBrowsesToAnotherDirectory) {
    ScratchDir empty, other;
    other.MakeDirs({"_files", "there_files"});
    CMoverDlg dialog;
    RunDriven(dialog, empty, [&](UiDriver& ui) {
        if (HWND q = ui.WaitForWindow(mainCaption, "Create one?")) ui.Click(q, IDNO);
        if (HWND q = ui.WaitForWindow(mainCaption, "Change Current Working Directory?")) ui.Click(q, IDOK);
        HWND chooser = ui.WaitForChooser(rootTitle);
        if (!chooser) return;
        ui.ChooseFolder(chooser, other.Path());
        HWND main = WaitForMain(ui);
        if (!main) return;
        EXPECT_EQ(WindowText(GetDlgItem(main, IDC_CWD)), other.Path());
        EXPECT_EQ(SelectedNames(GetDlgItem(main, IDC_LEFT_LIST)), (std::vector<std::string>{"there_files"}));
        ui.Click(main, IDCANCEL);
    });
    EXPECT_EQ(dialog.Cwd(), other.Path());
    EXPECT_FALSE(empty.Exists("_files"));
}

TEST(MoverWindow, KeysButtonsAndDoubleClicks) {
    ScratchDir dir;
    dir.MakeDirs({"_files", "Annual Report_files", "index_files", "_files\\index", "_files\\Old Page"});
    for (int i = 0; i < 12; ++i) dir.MakeDir("page " + std::to_string(i) + "_files");
    CMoverDlg dialog;
    RunDriven(dialog, dir, [&](UiDriver& ui) {
        HWND main = WaitForMain(ui);
        if (!main) return;
        HWND left = GetDlgItem(main, IDC_LEFT_LIST);
        Screenshot(main, "kastrelo-main");

        // Esc is ignored.
        ui.Key(left, VK_ESCAPE);
        ui.Settle(main);
        EXPECT_TRUE(IsWindowVisible(main));

        // Enter moves the selected, movable directories.
        SelectRows(left, {"Annual Report_files"});
        ui.Key(left, VK_RETURN);
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return dir.IsDir("_files\\Annual Report"); }));
        ui.Settle(main);
        EXPECT_EQ(UiDriver::FocusOf(main), left);

        // Typing a name's first letters moves to that row.
        HWND right = GetDlgItem(main, IDC_RIGHT_LIST);
        PostMessageA(right, WM_CHAR, 'o', 1);
        EXPECT_TRUE(UiDriver::WaitUntil([&] {
            int focused = ListView_GetNextItem(right, -1, LVNI_FOCUSED);
            return focused >= 0 && ShownRows(right)[focused].name == "Old Page";
        }));

        // Change, cancelled: the lists are rebuilt all the same.
        dir.MakeDir("new_files");
        ui.Click(main, IDC_CHANGE);
        if (HWND chooser = ui.WaitForChooser(parentTitle)) {
            Screenshot(chooser, "kastrelo-chooser");
            ui.Click(chooser, IDCANCEL);
        }
        EXPECT_TRUE(UiDriver::WaitUntil([&] {
            auto names = SelectedNames(left);
            return std::find(names.begin(), names.end(), "new_files") != names.end();
        }));
        EXPECT_EQ(WindowText(GetDlgItem(main, IDC_CWD)), dir.Path());
        // A path holding "&" shows as it is, with no access-key mark.
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(main, IDC_CWD), GWL_STYLE) & SS_NOPREFIX);

        // A double-click on the CWD field browses from the desktop.
        HWND field = GetDlgItem(main, IDC_CWD);
        ui.DoubleClick(main, ClientPointOf(main, field, 10, 5));
        if (HWND chooser = ui.WaitForChooser(rootTitle)) ui.Click(chooser, IDCANCEL);
        ui.Settle(main);

        // A double-click on a list row is no double-click on the field, even
        // where the row lies at the field's height counted from the list's top.
        RECT window = ScreenRect(main), fieldRect = ScreenRect(field);
        POINT inList{fieldRect.left + 10 - window.left, fieldRect.top + 5 - window.top - 20};
        RECT listClient;
        GetClientRect(left, &listClient);
        ASSERT_TRUE(PtInRect(&listClient, inList));
        ui.DoubleClick(left, inList);
        bool opened = UiDriver::WaitUntil([] { return UiDriver::FindChooserNow(rootTitle) != nullptr; }, 1000);
        EXPECT_FALSE(opened) << "a double-click on a list row opened the folder chooser";
        if (opened) UiDriver::CloseEverything();

        ui.Click(main, IDCANCEL);
    });
}

TEST(MoverWindow, HelpPagesRememberThePageAndAboutComesFromTheSystemMenu) {
    ScratchDir dir;
    dir.MakeDirs({"_files", "page_files", "_files\\page", "other_files"});
    CMoverHelpDlg::currentHelpPage = 0;
    CMoverDlg dialog;
    RunDriven(dialog, dir, [&](UiDriver& ui) {
        HWND main = WaitForMain(ui);
        if (!main) return;
        // Opens the help pages, and closes them again: the page they open
        // on, with its text shown (-1: they did not open).
        auto pageShown = [&](const std::function<void()>& open, int pageText) {
            open();
            HWND help = ui.WaitForWindow(helpCaption);
            if (!help) return -1;
            int page = TabCtrl_GetCurSel(GetDlgItem(help, IDC_HELP_TAB));
            EXPECT_TRUE(Visible(help, pageText)) << pageText;
            ui.Click(help, IDOK);
            ui.WaitGone(help);
            return page;
        };
        auto helpButton = [&] { ui.Click(main, IDC_HELP_BUTTON); };
        auto aboutEntry = [&] { PostMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); };

        ui.Click(main, IDC_HELP_BUTTON);
        HWND help = ui.WaitForWindow(helpCaption);
        if (!help) return;
        HWND tab = GetDlgItem(help, IDC_HELP_TAB);
        EXPECT_EQ(TabCtrl_GetCurSel(tab), 0);
        EXPECT_TRUE(Visible(help, IDC_PURPOSE_TEXT));
        for (int id : {IDC_SYMBOLS_TEXT, IDC_NORMAL_BITMAP, IDC_ABOUT_TEXT, IDC_ABOUT_ICON})
            EXPECT_FALSE(Visible(help, id)) << id;
        EXPECT_TRUE(Visible(help, IDOK));
        Screenshot(help, "kastrelo-help-purpose");

        // Esc does not close it; a click into a text leaves the focus on the tabs.
        ui.Key(tab, VK_ESCAPE);
        ui.Settle(help);
        EXPECT_TRUE(IsWindowVisible(help));
        PostMessageA(GetDlgItem(help, IDC_PURPOSE_TEXT), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(GetDlgItem(help, IDC_PURPOSE_TEXT), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ui.Settle(help);
        EXPECT_EQ(UiDriver::FocusOf(help), tab);

        ui.Key(tab, VK_RIGHT);
        ui.Settle(help);
        EXPECT_EQ(TabCtrl_GetCurSel(tab), 1);
        for (int id : {IDC_SYMBOLS_TEXT, IDC_NORMAL_BITMAP, IDC_PAIR_BITMAP, IDC_RESTRICTED_BITMAP})
            EXPECT_TRUE(Visible(help, id)) << id;
        EXPECT_FALSE(Visible(help, IDC_PURPOSE_TEXT));
        Screenshot(help, "kastrelo-help-symbols");

        ui.Key(tab, VK_RIGHT);
        ui.Settle(help);
        EXPECT_TRUE(Visible(help, IDC_ABOUT_TEXT));
        EXPECT_TRUE(Visible(help, IDC_ABOUT_ICON));
        EXPECT_FALSE(Visible(help, IDC_SYMBOLS_TEXT));
        Screenshot(help, "kastrelo-help-about");

        ui.Key(tab, VK_LEFT);
        ui.Settle(help);
        ui.Click(help, IDOK);
        ui.WaitGone(help);

        // The next opening shows the page shown last; the system menu's
        // About entry shows About, and so does the Help button after it.
        EXPECT_EQ(pageShown(helpButton, IDC_SYMBOLS_TEXT), 1);
        EXPECT_EQ(pageShown(aboutEntry, IDC_ABOUT_TEXT), 2);
        EXPECT_EQ(pageShown(helpButton, IDC_ABOUT_TEXT), 2);

        ui.Click(main, IDCANCEL);
    });
}
