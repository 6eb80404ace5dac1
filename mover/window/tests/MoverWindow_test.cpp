// Kastrelo's window driven as a user would: the "_files" questions, keys,
// buttons and double-clicks, the help pages.

#include "mover/window/MoverApp.h"
#include "mover/window/MoverHelpDlg.h"
#include "mover/window/resource.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace mover;

namespace {

CMoverApp app;

const char mainCaption[] = "*_files";
const char helpCaption[] = "*_files Help";
const char rootTitle[] = "Click the CWD Change button to browse from CWD parent";
const char mainText[] = "Current Working Directory (CWD)";

// Runs the main window in the directory while the script works it.
INT_PTR RunIn(CMoverDlg& dialog, const ScratchDir& dir, std::function<void(UiDriver&)> script) {
    dir.Enter();
    return RunDriven(app, dialog, std::move(script));
}

}  // namespace

TEST(MoverWindow, TheMissingFilesQuestionsAnswered) {
    // Yes: "_files" is made and the window opens; No then OK: the directory
    // chosen opens instead; No then Cancel: the program ends before its
    // window shows. The position is saved each time.
    enum { Yes, NoThenOk, NoThenCancel };
    for (int row : {Yes, NoThenOk, NoThenCancel}) {
        SCOPED_TRACE(row);
        ScratchDir dir, other;
        dir.MakeDir("page_files");
        other.MakeDirs({"_files", "there_files"});
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
        CMoverDlg dialog;
        bool mainShown = false;
        const INT_PTR result = RunIn(dialog, dir, [&](UiDriver& ui) {
            if (HWND q = ui.WaitForWindow(mainCaption, "Create one?")) ui.Click(q, row == Yes ? IDYES : IDNO);
            if (row != Yes)
                if (HWND q = ui.WaitForWindow(mainCaption, "Change Current Working Directory?"))
                    ui.Click(q, row == NoThenOk ? IDOK : IDCANCEL);
            if (row == NoThenOk)
                if (HWND chooser = ui.WaitForChooser(rootTitle)) ui.ChooseFolder(chooser, other.Path());
            HWND main = row == NoThenCancel ? nullptr : ui.WaitForWindow(mainCaption, mainText);
            mainShown = main || ui.Appears(mainCaption, mainText, 500);
            if (!main) return;
            Dialog w{ui, main};
            EXPECT_EQ(w.Text(IDC_CWD), row == Yes ? dir.Path() : other.Path());
            if (row == NoThenOk) {
                EXPECT_EQ(SelectedNames(w[IDC_LEFT_LIST]), (std::vector<std::string>{"there_files"}));
            }
            ui.Click(main, IDCANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(mainShown, row != NoThenCancel);
        EXPECT_EQ(dir.IsDir("_files"), row == Yes);
        EXPECT_EQ(Stored(kastreloRegistryKey).size(), 2u);  // Left and Top
    }
}

TEST(MoverWindow, KeysButtonsDoubleClicksAndHelpPages) {
    ScratchDir dir;
    dir.MakeDirs({"_files", "Annual Report_files", "index_files", "_files\\index", "_files\\Old Page", "page_files"});
    CMoverHelpDlg::currentHelpPage = 0;
    CMoverDlg dialog;
    RunIn(dialog, dir, [&](UiDriver& ui) {
        HWND main = ui.WaitForWindow(mainCaption, mainText);
        if (!main) return;
        Dialog w{ui, main};
        HWND left = w[IDC_LEFT_LIST], right = w[IDC_RIGHT_LIST];
        // Esc is ignored; Enter moves the selected, movable directories.
        w.Key(IDC_LEFT_LIST, VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(w.main));
        SelectRows(left, {"Annual Report_files"});
        w.Key(IDC_LEFT_LIST, VK_RETURN);
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return dir.IsDir("_files\\Annual Report"); }));
        w.Settle();
        EXPECT_EQ(w.Focused(), left);
        // Typing a name's first letters moves to that row.
        PostMessageA(right, WM_CHAR, 'o', 1);
        EXPECT_TRUE(UiDriver::WaitUntil([&] {
            int focused = ListView_GetNextItem(right, -1, LVNI_FOCUSED);
            return focused >= 0 && ShownRows(right)[focused].name == "Old Page";
        }));
        // Change, cancelled: the lists are rebuilt all the same.
        dir.MakeDir("new_files");
        w.ui.Click(w.main, IDC_CHANGE);
        if (HWND chooser = w.ui.WaitForChooser("Doubleclick in the CWD name field to browse from root"))
            w.ui.Click(chooser, IDCANCEL);
        UiDriver::WaitUntil([&] { return SelectedNames(left).size() == 2; });
        EXPECT_EQ(SelectedNames(left), (std::vector<std::string>{"new_files", "page_files"}));
        // A path holding "&" shows as it is, with no access-key mark.
        EXPECT_TRUE(GetWindowLongA(w[IDC_CWD], GWL_STYLE) & SS_NOPREFIX);
        // A double-click on the CWD field browses from the desktop; one on a
        // list row at the field's height from the list's top is none.
        w.ui.DoubleClick(w.main, w.PointOf(IDC_CWD, 10, 5));
        if (HWND chooser = w.ui.WaitForChooser(rootTitle)) w.ui.Click(chooser, IDCANCEL);
        w.Settle();
        EXPECT_FALSE(w.DoubleClickBesideOpensChooser(IDC_LEFT_LIST, IDC_CWD, 20, rootTitle));

        // The help pages: each key's page, with what shows and what does
        // not; Esc does not close them. The next opening shows the page
        // shown last; the system menu's About entry shows About.
        const struct {
            UINT key;  // 0: opened by the Help button, 1: by the system menu
            int page, shown, hidden;
        } steps[] = {
            {0, 0, IDC_PURPOSE_TEXT, IDC_SYMBOLS_TEXT},       {VK_RIGHT, 1, IDC_PAIR_BITMAP, IDC_PURPOSE_TEXT},
            {VK_ESCAPE, 1, IDC_SYMBOLS_TEXT, IDC_ABOUT_TEXT}, {0, 1, IDC_RESTRICTED_BITMAP, IDC_ABOUT_ICON},
            {VK_RIGHT, 2, IDC_ABOUT_ICON, IDC_SYMBOLS_TEXT},  {VK_LEFT, 1, IDC_NORMAL_BITMAP, IDC_ABOUT_TEXT},
            {1, 2, IDC_ABOUT_TEXT, IDC_SYMBOLS_TEXT},
        };
        HWND help = nullptr;
        for (const auto& step : steps) {
            if (step.key > 1) {
                Dialog{w.ui, help}.Key(IDC_HELP_TAB, step.key);
            } else {
                if (help) w.ui.Click(help, IDOK), w.ui.WaitGone(help);
                if (step.key == 1)
                    PostMessageA(w.main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
                else
                    w.ui.Click(w.main, IDC_HELP_BUTTON);
                if (!(help = w.ui.WaitForWindow(helpCaption))) return;
            }
            EXPECT_EQ(TabCtrl_GetCurSel(GetDlgItem(help, IDC_HELP_TAB)), step.page);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(help, step.shown))) << step.page << " " << step.shown;
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(help, step.hidden))) << step.page << " " << step.hidden;
        }
        w.ui.Click(help, IDOK);
        w.ui.WaitGone(help);
        ui.Click(main, IDCANCEL);
    });
}
