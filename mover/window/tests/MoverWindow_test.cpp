// Kastrelo on real directories under Wine: what Windows lists, the moves it
// makes, and the window and its questions driven as a user would.

#include "mover/window/FolderPictures.h"
#include "mover/window/MoverApp.h"
#include "mover/window/resource.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mover;

namespace {

CMoverApp app;

const int N = mover::Normal, P = mover::Pair, X = mover::Restricted;
using Rows = std::vector<ShownRow>;
using Names = std::vector<std::string>;
const char mainCaption[] = "*_files";
const char mainText[] = "Current Working Directory (CWD)";
const char rootTitle[] = "Click the CWD Change button to browse from CWD parent";

// The window opened in a working directory that holds "_files".
class MoverOnDisk : public ::testing::Test {
protected:
    void SetUp() override { dir.MakeDir("_files"); }
    void TearDown() override {
        dialog.Destroy();
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
    }
    void Open() {
        dir.Enter();
        ASSERT_TRUE(dialog.Create());
    }
    // The Move command, as the button and the Enter key give it.
    void Move() { SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
    HWND View(int id) const { return dialog.Item(id); }
    Rows Left() const { return ShownRows(View(IDC_LEFT_LIST)); }
    Rows Right() const { return ShownRows(View(IDC_RIGHT_LIST)); }

    ScratchDir dir;
    CMoverDlg dialog;
};

}  // namespace

TEST_F(MoverOnDisk, WhollyOnScreenAtEveryScale) {
    // Wherever the stored position puts it, at 100, 150 and 200 %.
    if (!ScaleOfThisRun()) {
        EXPECT_TRUE(RunAtScales("MoverOnDisk.WhollyOnScreenAtEveryScale", {96, 144, 192}));
        return;
    }
    Store(kastreloRegistryKey, {{"Left", Dword(1000)}, {"Top", Dword(700)}});  // still touching the screen
    Open();
    EXPECT_EQ(OutsideWorkArea(dialog.Handle()), "");
}

TEST_F(MoverOnDisk, ListsRealDirectoriesByTheirAttributesAndPairsBeyondAscii) {
    // Pairs ignore case beyond ASCII and win over the restricted attributes;
    // files are never listed.
    dir.MakeDirs({"b_files", "A_files", "files", "b_files.old", "_files\\Zeta", "Hidden_files", "sys_files",
                  "_files\\hid", "CAFÉ_files", "_files\\café", "Secret_files", "_files\\secret", "ИМЯ_files",
                  "_files\\имя"});
    for (const char* name : {"Hidden_files", "_files\\hid", "Secret_files"})
        SetFileAttributesA((dir / name).c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((dir / "sys_files").c_str(), FILE_ATTRIBUTE_SYSTEM);
    dir.WriteFile("x_files", "a file");
    Open();
    EXPECT_EQ(Left(), (Rows{{"A_files", N, true},
                            {"b_files", N, true},
                            {"CAFÉ_files", P, false},
                            {"Hidden_files", X, false},
                            {"Secret_files", P, false},
                            {"sys_files", X, false},
                            {"ИМЯ_files", P, false}}));
    EXPECT_EQ(
        Right(),
        (Rows{{"café", P, false}, {"hid", X, false}, {"secret", P, false}, {"Zeta", N, false}, {"имя", P, false}}));
}

TEST_F(MoverOnDisk, MovesWithTheirContentsAndNeverOntoWhatIsThere) {
    dir.MakeDirs({"Page_FILES", "_files\\Back", "_files\\_files", "Mine_files", "gone_files"});
    dir.WriteFile("Page_FILES\\style.css", "left");
    dir.WriteFile("_files\\Back\\image.gif", "right");
    dir.WriteFile("Mine_files\\mine.txt", "mine");
    Open();
    SelectRows(View(IDC_RIGHT_LIST), {"Back", "_files"});
    // Since the refresh another program made a target, and removed a source.
    dir.MakeDir("_files\\MINE");
    dir.WriteFile("_files\\MINE\\theirs.txt", "theirs");
    RemoveTree(dir / "gone_files");
    Move();
    EXPECT_EQ(dir.ReadFile("_files\\Page\\style.css"), "left");  // the suffix goes, letter case stays
    EXPECT_EQ(dir.ReadFile("Back_files\\image.gif"), "right");
    EXPECT_EQ(dir.ReadFile("Mine_files\\mine.txt"), "mine");
    EXPECT_EQ(dir.ReadFile("_files\\MINE\\theirs.txt"), "theirs");
    EXPECT_EQ(dir.ReadFile("_files\\MINE\\mine.txt"), "<missing>");
    EXPECT_EQ(Left(), (Rows{{"_files_files", N, true}, {"Back_files", N, true}, {"Mine_files", P, false}}));
    EXPECT_EQ(Right(), (Rows{{"MINE", P, false}, {"Page", N, false}}));
}

TEST_F(MoverOnDisk, NamesOfAnyScriptAndTheLongest) {
    const std::string names[] = {"Łódź", "Ωmega", "Omega", "ｆｕｌｌ", "Имя", "日本語", "😀", "a&b", "100% done"};
    for (const std::string& name : names) {
        dir.MakeDir(name + "_files");
        dir.WriteFile(name + "_files\\x.txt", name);
    }
    // With "_files" the longest name a volume takes; past the ANSI path
    // limit, so made relative to the working directory.
    dir.Enter();
    const std::string longest(249, 'L'), tooLong(252, 'R');  // plus "_files" is 258
    ASSERT_TRUE(CreateDirectoryA((longest + "_files").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(("_files\\" + tooLong).c_str(), nullptr));
    Open();
    Move();
    Rows moved{{longest, N, false}, {tooLong, N, false}};
    for (const std::string& name : names) moved.push_back({name, N, false});
    std::sort(moved.begin(), moved.end(), [](const ShownRow& a, const ShownRow& b) {
        return CDirListCtrl::CollationKey(a.name) < CDirListCtrl::CollationKey(b.name);
    });
    EXPECT_EQ(Left(), Rows{});
    EXPECT_EQ(Right(), moved);
    for (const std::string& name : names) EXPECT_EQ(dir.ReadFile("_files\\" + name + "\\x.txt"), name) << name;
    SelectRows(View(IDC_RIGHT_LIST), {names[0], names[6], tooLong});  // a name grown too long stays
    Move();
    for (int i : {0, 6}) EXPECT_EQ(dir.ReadFile(names[i] + "_files\\x.txt"), names[i]) << names[i];
    EXPECT_EQ(GetFileAttributesA(("_files\\" + longest).c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA(("_files\\" + tooLong).c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
}

// The folder pictures' size in both lists: the list's scale at the start
// (96 DPI here), then each scale the window is moved to, between sizes the smaller.
TEST_F(MoverOnDisk, FolderPicturesAtTheListsScale) {
    Open();
    auto sizes = [&] {
        std::vector<int> found;
        for (int id : {IDC_LEFT_LIST, IDC_RIGHT_LIST}) {
            HIMAGELIST list = ListView_GetImageList(View(id), LVSIL_SMALL);
            int cx = 0, cy = 0;
            ImageList_GetIconSize(list, &cx, &cy);
            found.insert(found.end(), {cx, cy, ImageList_GetImageCount(list)});
        }
        return found;
    };
    EXPECT_EQ(WindowDpi(View(IDC_LEFT_LIST)), 96u);
    EXPECT_EQ(sizes(), (std::vector<int>{16, 16, 3, 16, 16, 3}));
    for (auto [dpi, size] : {std::pair{192, 32}, {143, 20}, {144, 24}, {120, 20}, {300, 32}, {72, 16}}) {
        RECT place;
        GetWindowRect(dialog.Handle(), &place);
        SendMessageA(dialog.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        EXPECT_EQ(sizes(), (std::vector<int>{size, size, 3, size, size, 3})) << dpi;
    }
}

TEST(MoverWindow, QuestionsKeysAndHelp) {
    // Without "_files": Yes makes it; No then OK opens the directory chosen;
    // No then Cancel ends the program before its window shows. The
    // position is saved each time.
    enum { Yes, NoThenOk, NoThenCancel };
    for (int row : {NoThenCancel, NoThenOk, Yes}) {
        SCOPED_TRACE(row);
        ScratchDir dir, other;
        dir.MakeDirs({"Annual Report_files", "page_files"});
        other.MakeDirs({"_files", "there_files"});
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
        CMoverDlg dialog;
        dir.Enter();
        bool mainShown = false;
        RunDriven(app, dialog, [&](UiDriver& ui) {
            if (HWND q = ui.WaitForWindow(mainCaption, "Create one?")) ui.Click(q, row == Yes ? IDYES : IDNO);
            if (HWND q = row == Yes ? nullptr : ui.WaitForWindow(mainCaption, "Change Current Working Directory?"))
                ui.Click(q, row == NoThenOk ? IDOK : IDCANCEL);
            if (row == NoThenOk) ui.Choose(rootTitle, other.Path());
            HWND main = row == NoThenCancel ? nullptr : ui.WaitForWindow(mainCaption, mainText);
            mainShown = main || ui.Appears(mainCaption, mainText, 500);
            if (!main) return;
            Dialog w{ui, main};
            HWND left = w[IDC_LEFT_LIST], right = w[IDC_RIGHT_LIST];
            EXPECT_EQ(w.Text(IDC_CWD), row == Yes ? dir.Path() : other.Path());
            EXPECT_TRUE(GetWindowLongA(w[IDC_CWD], GWL_STYLE) & SS_NOPREFIX);  // "&" shown as it is
            if (row == NoThenOk) {
                EXPECT_EQ(ShownRows(left), (Rows{{"there_files", N, true}}));
                return ui.Click(main, IDCANCEL);
            }
            EXPECT_EQ(w.Focused(), left);
            EXPECT_EQ(KeyboardMap(main),
                      "&Change|\"?*_files\" &directories in CWD|"
                      "Directories in CWD \"_files\" &subdirectory|&Move|E&xit|&Help");
            // Esc is ignored; Enter moves the selected directories; typing
            // a name's first letters moves to that row.
            w.Key(IDC_LEFT_LIST, VK_ESCAPE);
            EXPECT_TRUE(IsWindowVisible(main));
            w.Key(IDC_LEFT_LIST, VK_RETURN);
            EXPECT_TRUE(UiDriver::WaitUntil([&] { return dir.IsDir("_files\\Annual Report"); }));
            EXPECT_EQ(w.Focused(), left);
            PostMessageA(right, WM_CHAR, 'p', 1);
            EXPECT_TRUE(UiDriver::WaitUntil([&] {
                const int focused = ListView_GetNextItem(right, -1, LVNI_FOCUSED);
                return focused >= 0 && ShownRows(right)[focused].name == "page";
            }));
            // A double-click on the CWD field browses from the desktop.
            w.DoubleClickOn(IDC_CWD);
            ui.Choose(rootTitle, "");
            // Help shows its first page; Esc closes it.
            ui.Click(main, IDC_HELP_BUTTON);
            if (HWND help = ui.WaitForWindow("*_files Help")) {
                EXPECT_TRUE(IsWindowVisible(GetDlgItem(help, IDC_PURPOSE_TEXT)));
                EXPECT_FALSE(IsWindowVisible(GetDlgItem(help, IDC_ABOUT_TEXT)));
                BITMAP picture{};  // the folder pictures at the window's scale
                GetObjectA(reinterpret_cast<HBITMAP>(
                               SendDlgItemMessageA(help, IDC_PAIR_BITMAP, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                           sizeof picture, &picture);
                EXPECT_EQ(picture.bmWidth, 16);
                ui.Key(GetDlgItem(help, IDC_HELP_TAB), VK_ESCAPE);
                ui.WaitGone(help);
            }
            ui.Click(main, IDCANCEL);
        });
        EXPECT_EQ(mainShown, row != NoThenCancel);
        EXPECT_EQ(dir.IsDir("_files"), row == Yes);
        EXPECT_EQ(Stored(kastreloRegistryKey).size(), 2u);  // Left and Top
    }
}
