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
const char mainText[] = "Current Working Directory (CWD)";

// Runs the main window in the directory while the script works it.
INT_PTR RunIn(CMoverDlg& dialog, const ScratchDir& dir, std::function<void(UiDriver&)> script) {
    dir.Enter();
    return RunDriven(app, dialog, std::move(script));
}

// Runs it until the main window shows, then works that.
void RunMain(CMoverDlg& dialog, const ScratchDir& dir, const std::function<void(Dialog&)>& script) {
    RunIn(dialog, dir, [&](UiDriver& ui) {
        if (HWND main = ui.WaitForWindow(mainCaption, mainText)) {
            Dialog window{ui, main};
            script(window);
            ui.Click(main, IDCANCEL);
        }
    });
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
        if (row == NoThenOk) {
            EXPECT_EQ(dialog.Cwd(), other.Path());
        }
        for (const char* name : {"Left", "Top"})
            EXPECT_EQ(
                RegGetValueA(HKEY_CURRENT_USER, kastreloRegistryKey, name, RRF_RT_REG_DWORD, nullptr, nullptr, nullptr),
                ERROR_SUCCESS)
                << name;
    }
}

TEST(MoverWindow, KeysButtonsAndDoubleClicks) {
    ScratchDir dir;
    dir.MakeDirs({"_files", "Annual Report_files", "index_files", "_files\\index", "_files\\Old Page"});
    for (int i = 0; i < 12; ++i) dir.MakeDir("page " + std::to_string(i) + "_files");
    CMoverDlg dialog;
    RunMain(dialog, dir, [&](Dialog& w) {
        HWND left = w[IDC_LEFT_LIST], right = w[IDC_RIGHT_LIST];
        Screenshot(w.main, "kastrelo-main");
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
        if (HWND chooser = w.ui.WaitForChooser(parentTitle)) {
            Screenshot(chooser, "kastrelo-chooser");
            w.ui.Click(chooser, IDCANCEL);
        }
        EXPECT_TRUE(UiDriver::WaitUntil([&] {
            auto names = SelectedNames(left);
            return std::find(names.begin(), names.end(), "new_files") != names.end();
        }));
        EXPECT_EQ(w.Text(IDC_CWD), dir.Path());
        // A path holding "&" shows as it is, with no access-key mark.
        EXPECT_TRUE(GetWindowLongA(w[IDC_CWD], GWL_STYLE) & SS_NOPREFIX);

        // A double-click on the CWD field browses from the desktop; one on a
        // list row at the field's height from the list's top is none.
        w.ui.DoubleClick(w.main, w.PointOf(IDC_CWD, 10, 5));
        if (HWND chooser = w.ui.WaitForChooser(rootTitle)) w.ui.Click(chooser, IDCANCEL);
        w.Settle();
        EXPECT_FALSE(w.DoubleClickBesideOpensChooser(IDC_LEFT_LIST, IDC_CWD, 20, rootTitle));
    });
}

TEST(MoverWindow, HelpPagesRememberThePageAndAboutComesFromTheSystemMenu) {
    ScratchDir dir;
    dir.MakeDirs({"_files", "page_files", "_files\\page", "other_files"});
    CMoverHelpDlg::currentHelpPage = 0;
    CMoverDlg dialog;
    RunMain(dialog, dir, [&](Dialog& w) {
        // Opens the help pages: the page they open on, with the texts that
        // show and those that do not, each step as the user goes on.
        const struct {
            UINT key;  // 0: opened by the Help button
            int page;
            std::vector<int> shown, hidden;
            const char* screenshot;
        } steps[] = {
            {0,
             0,
             {IDC_PURPOSE_TEXT, IDOK},
             {IDC_SYMBOLS_TEXT, IDC_NORMAL_BITMAP, IDC_ABOUT_TEXT, IDC_ABOUT_ICON},
             "kastrelo-help-purpose"},
            {VK_RIGHT,
             1,
             {IDC_SYMBOLS_TEXT, IDC_NORMAL_BITMAP, IDC_PAIR_BITMAP, IDC_RESTRICTED_BITMAP},
             {IDC_PURPOSE_TEXT},
             "kastrelo-help-symbols"},
            {VK_RIGHT, 2, {IDC_ABOUT_TEXT, IDC_ABOUT_ICON}, {IDC_SYMBOLS_TEXT}, "kastrelo-help-about"},
            {VK_LEFT, 1, {IDC_SYMBOLS_TEXT}, {IDC_ABOUT_TEXT}, nullptr},
        };
        w.Click(IDC_HELP_BUTTON);
        HWND shown = w.ui.WaitForWindow(helpCaption);
        if (!shown) return;
        Dialog help{w.ui, shown};
        for (const auto& step : steps) {
            if (step.key) help.Key(IDC_HELP_TAB, step.key);
            EXPECT_EQ(TabCtrl_GetCurSel(help[IDC_HELP_TAB]), step.page);
            for (int id : step.shown) EXPECT_TRUE(help.Visible(id)) << step.page << " " << id;
            for (int id : step.hidden) EXPECT_FALSE(help.Visible(id)) << step.page << " " << id;
            if (step.screenshot) Screenshot(help.main, step.screenshot);
            if (step.page == 0) {
                // Esc does not close it; a click into a text leaves the focus on the tabs.
                help.Key(IDC_HELP_TAB, VK_ESCAPE);
                EXPECT_TRUE(IsWindowVisible(help.main));
                PostMessageA(help[IDC_PURPOSE_TEXT], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                PostMessageA(help[IDC_PURPOSE_TEXT], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
                help.Settle();
                EXPECT_EQ(help.Focused(), help[IDC_HELP_TAB]);
            }
        }
        w.ui.Click(help.main, IDOK);
        w.ui.WaitGone(help.main);

        // The next opening shows the page shown last; the system menu's
        // About entry shows About, and so does the Help button after it.
        const std::pair<bool, int> openings[] = {{false, 1}, {true, 2}, {false, 2}};
        for (auto [about, page] : openings) {
            if (about)
                PostMessageA(w.main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            else
                w.ui.Click(w.main, IDC_HELP_BUTTON);
            HWND again = w.ui.WaitForWindow(helpCaption);
            if (!again) return;
            EXPECT_EQ(TabCtrl_GetCurSel(GetDlgItem(again, IDC_HELP_TAB)), page);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(again, page == 1 ? IDC_SYMBOLS_TEXT : IDC_ABOUT_TEXT)));
            w.ui.Click(again, IDOK);
            w.ui.WaitGone(again);
        }
    });
}
