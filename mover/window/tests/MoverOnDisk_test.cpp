// Kastrelo on real directories: what Windows lists, the moves it makes, and
// the stored window position.

#include "mover/window/MoverApp.h"
#include "framework/WindowPosition.h"
#include "mover/window/resource.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mover;

namespace {

CMoverApp app;

const int N = mover::Normal, P = mover::Pair, X = mover::Restricted;
using Rows = std::vector<ShownRow>;

// Every working directory holds "_files": no question comes up.
class MoverOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir.MakeDir("_files");
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
    }
    void TearDown() override {
        dialog.Destroy();
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
    }
    void Open(const std::string& where) {
        SetCurrentDirectoryA(where.c_str());
        ASSERT_TRUE(dialog.Create());
    }
    // The Move command, as the button and the Enter key give it.
    void Move() { SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }
    HWND LeftView() const { return dialog.Item(IDC_LEFT_LIST); }
    HWND RightView() const { return dialog.Item(IDC_RIGHT_LIST); }
    Rows Left() const { return ShownRows(LeftView()); }
    Rows Right() const { return ShownRows(RightView()); }

    ScratchDir dir;
    CMoverDlg dialog;
};

}  // namespace

TEST_F(MoverOnDisk, ListsRealDirectoriesByTheirAttributesAndPairsBeyondAscii) {
    // "|h": hidden, "|s": system, "=": a file, never listed. Pairs ignore
    // case beyond ASCII and win over the restricted attributes.
    const char* holds[] = {
        "b_files",        "A_files",        "files",     "b_files.old",         "_files\\Zeta", "Hidden_files|h",
        "sys_files|s",    "_files\\hid|h",  "x_files=",  "_files\\readme.txt=", "CAFÉ_files",   "_files\\café",
        "Secret_files|h", "_files\\secret", "ИМЯ_files", "_files\\имя"};
    for (const std::string entry : holds) {
        const size_t mark = entry.find_first_of("|=");
        const std::string name = entry.substr(0, mark);
        if (mark != std::string::npos && entry[mark] == '=')
            dir.WriteFile(name, "a file");
        else
            dir.MakeDir(name, mark == std::string::npos ? 0
                              : entry[mark + 1] == 'h'  ? FILE_ATTRIBUTE_HIDDEN
                                                        : FILE_ATTRIBUTE_SYSTEM);
    }
    Open(dir.Path());
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
    EXPECT_EQ(GetFocus(), LeftView());
}

TEST_F(MoverOnDisk, MovesWithTheirContentsAndNeverOntoWhatIsThere) {
    dir.MakeDirs({"Page_FILES", "_files\\Back", "_files\\_files", "Mine_files", "gone_files"});
    dir.WriteFile("Page_FILES\\style.css", "left");
    dir.WriteFile("_files\\Back\\image.gif", "right");
    dir.WriteFile("Mine_files\\mine.txt", "mine");
    Open(dir.Path());
    SelectRows(RightView(), {"Back", "_files"});
    // Since the refresh another program made a target, and removed a source.
    dir.MakeDir("_files\\MINE");
    dir.WriteFile("_files\\MINE\\theirs.txt", "theirs");
    RemoveTree(dir / "gone_files");
    Move();
    EXPECT_EQ(dir.ReadFile("_files\\Page\\style.css"), "left");  // the suffix goes, letter case stays
    EXPECT_EQ(dir.ReadFile("Back_files\\image.gif"), "right");
    EXPECT_TRUE(dir.IsDir("_files_files"));
    EXPECT_EQ(dir.ReadFile("Mine_files\\mine.txt"), "mine");
    EXPECT_EQ(dir.Listing("_files\\MINE"), (std::map<std::string, std::string>{{"theirs.txt", "theirs"}}));
    EXPECT_EQ(Left(), (Rows{{"_files_files", N, true}, {"Back_files", N, true}, {"Mine_files", P, false}}));
    EXPECT_EQ(Right(), (Rows{{"MINE", P, false}, {"Page", N, false}}));
    SelectRows(LeftView(), {});
    SelectRows(RightView(), {"Page"});
    Move();
    EXPECT_EQ(dir.ReadFile("Page_files\\style.css"), "left");  // back with the suffix in lower case
}

TEST_F(MoverOnDisk, NamesOfAnyScriptAndTheLongestMoveAndANameGrownTooLongStays) {
    const std::string names[] = {"Łódź", "Ωmega",        "Omega", "ā",         "ｆｕｌｌ",      "Имя", "日本語",
                                 "😀",    "Résumé Ärger", "a&b",   "100% done", " spaced  name", "a..b"};
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
    Open(dir.Path());
    EXPECT_EQ(Left().size(), std::size(names) + 1);
    Move();
    Rows moved{{longest, N, false}, {tooLong, N, false}};
    for (const std::string& name : names) moved.push_back({name, N, false});
    std::sort(moved.begin(), moved.end(), [](const ShownRow& a, const ShownRow& b) {
        return CDirListCtrl::CollationKey(a.name) < CDirListCtrl::CollationKey(b.name);
    });
    EXPECT_EQ(Left(), Rows{});
    EXPECT_EQ(Right(), moved);
    for (const std::string& name : names) EXPECT_EQ(dir.ReadFile("_files\\" + name + "\\x.txt"), name) << name;
    SelectRows(RightView(), {names[0], names[6], names[7], tooLong});
    Move();
    for (int i : {0, 6, 7}) EXPECT_EQ(dir.ReadFile(names[i] + "_files\\x.txt"), names[i]) << names[i];
    EXPECT_EQ(GetFileAttributesA(("_files\\" + longest).c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA(("_files\\" + tooLong).c_str()), DWORD(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(MoverOnDisk, ListsAndMovesAtTheRootOfADrive) {
    // Drive C: of the tests' own Wine prefix; never of anyone's own.
    const char* prefix = getenv("WINEPREFIX");
    if (!prefix || !strstr(prefix, "build")) GTEST_SKIP() << "needs the tests' own Wine prefix";
    RemoveTree("C:\\_files");
    RemoveTree("C:\\kastrelo_root_files");
    ASSERT_TRUE(CreateDirectoryA("C:\\_files", nullptr));
    ASSERT_TRUE(CreateDirectoryA("C:\\kastrelo_root_files", nullptr));
    Open("C:\\");
    EXPECT_EQ(dialog.Cwd(), "C:\\");
    EXPECT_EQ(SelectedNames(LeftView()), (std::vector<std::string>{"kastrelo_root_files"}));
    Move();
    EXPECT_EQ(GetFileAttributesA("C:\\_files\\kastrelo_root"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    dialog.Destroy();
    dir.Enter();
    RemoveTree("C:\\_files");
}

TEST_F(MoverOnDisk, TheStoredPositionCountsOnlyAsTwoFourByteDwords) {
    // Each row adds its values to those before.
    const struct {
        RegValues values;
        bool loads;
    } rows[] = {
        {{{"Left", Dword(37)}}, false},
        {{{"Top", Text("80")}}, false},
        {{{"Top", {REG_QWORD, std::string("\x50\0\0\0\0\0\0\0", 8)}}}, false},
        {{{"Top", {REG_BINARY, std::string("\x50\0\0\0", 4)}}}, false},
        {{{"Top", Dword(DWORD(-30))}}, true},
    };
    for (const auto& row : rows) {
        Store(kastreloRegistryKey, row.values);
        POINT p{};
        EXPECT_EQ(fw::LoadWindowPosition(kastreloRegistryKey, p), row.loads) << row.values.size();
        if (row.loads) {
            EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(LONG(37), LONG(-30)));  // signed
        }
    }
    // The window opens there, and saves where it was.
    Store(kastreloRegistryKey, {{"Top", Dword(41)}});
    Open(dir.Path());
    RECT rect;
    GetWindowRect(dialog.Handle(), &rect);
    EXPECT_EQ(std::make_pair(rect.left, rect.top), std::make_pair(LONG(37), LONG(41)));
    SetWindowPos(dialog.Handle(), nullptr, 90, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog.Destroy();
    EXPECT_EQ(Stored(kastreloRegistryKey), (RegValues{{"Left", Dword(90)}, {"Top", Dword(60)}}));
}
