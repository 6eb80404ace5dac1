// Kastrelo's lists and Move on real directories.

#include "mover/window/MoverApp.h"
#include "framework/WindowPosition.h"
#include "mover/window/resource.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace {

CMoverApp app;

const int N = mover::Normal, P = mover::Pair, X = mover::Restricted;

std::wstring LongPath(const std::string& path) {
    std::wstring wide = L"\\\\?\\";
    for (char c : path) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

// Fails the test and says Yes to the "_files" question should one come up
// where none is expected (instead of waiting for ever).
class NoQuestions {
public:
    NoQuestions()
        : watcher([this] {
              while (!done) {
                  if (UiDriver::FindNow("*_files", "Change Current Working Directory?") ||
                      UiDriver::FindNow("*_files", "Create one?")) {
                      asked = true;
                      UiDriver::CloseEverything();
                  }
                  Sleep(50);
              }
          }) {}
    ~NoQuestions() {
        done = true;
        watcher.join();
        EXPECT_FALSE(asked) << "a question was asked";
    }

private:
    std::atomic<bool> done{false};
    std::atomic<bool> asked{false};
    std::thread watcher;
};

class MoverOnDisk : public ::testing::Test {
protected:
    void SetUp() override { dir.MakeDir("_files"); }
    void TearDown() override { dialog.Destroy(); }

    void Open(const ScratchDir& where) {
        where.Enter();
        NoQuestions guard;
        ASSERT_TRUE(dialog.Create());
    }
    void Open() { Open(dir); }
    void Refresh() {
        NoQuestions guard;
        dialog.RefreshLists();
    }
    // The Move command, as the button and the Enter key give it.
    void Move() {
        NoQuestions guard;
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    HWND LeftView() const { return dialog.Item(IDC_LEFT_LIST); }
    HWND RightView() const { return dialog.Item(IDC_RIGHT_LIST); }
    std::vector<ShownRow> Left() const { return ShownRows(LeftView()); }
    std::vector<ShownRow> Right() const { return ShownRows(RightView()); }

    ScratchDir dir;
    CMoverDlg dialog;
};

}  // namespace

TEST_F(MoverOnDisk, ListsOnlyDirectoriesSortedAndClassified) {
    // Each row a working directory: what it holds (after "|": hidden,
    // system or read-only; "=": a file, never listed) and the lists shown.
    // Read-only counts where the platform keeps the attribute.
    dir.MakeDir("ro_files", FILE_ATTRIBUTE_READONLY);
    const bool kept = GetFileAttributesA((dir / "ro_files").c_str()) & FILE_ATTRIBUTE_READONLY;
    const struct {
        std::vector<std::string> holds;
        std::vector<ShownRow> left, right;
    } rows[] = {
        // "files" has no "_files" suffix, "b_files.old" not at the end.
        {{"_files", "b_files", "A_files", "files", "b_files.old", "_files\\page", "_files\\_files", "_files\\Zeta",
          "Hidden_files|h", "sys_files|s", "_files\\hid|h", "x_files=", "_files\\readme.txt=", "ro_files|r"},
         {{"A_files", N, true},
          {"b_files", N, true},
          {"Hidden_files", X, false},
          {"ro_files", kept ? X : N, !kept},
          {"sys_files", X, false}},
         {{"_files", N, false}, {"hid", X, false}, {"page", N, false}, {"Zeta", N, false}}},
        // Pairs ignore case, also beyond ASCII (CAFÉ and café, ИМЯ and имя),
        // and win over the restricted attributes.
        {{"_files", "Page_FILES", "_files\\page", "CAFÉ_files", "_files\\café", "_files\\secret", "_files\\pages",
          "Secret_files|h", "Lone_files|h"},
         {{"CAFÉ_files", P, false}, {"Lone_files", X, false}, {"Page_FILES", P, false}, {"Secret_files", P, false}},
         {{"café", P, false}, {"page", P, false}, {"pages", N, false}, {"secret", P, false}}},
        {{"_files", "ИМЯ_files", "_files\\имя"}, {{"ИМЯ_files", P, false}}, {{"имя", P, false}}},
        // An upper-case "_FILES" counts and is not listed.
        {{"_FILES", "_FILES\\inside", "a_files"}, {{"a_files", N, true}}, {{"inside", N, false}}},
    };
    for (const auto& row : rows) {
        ScratchDir here;
        for (const std::string& entry : row.holds) {
            const size_t mark = entry.find_first_of("|=");
            const std::string name = entry.substr(0, mark);
            const DWORD attributes = mark == std::string::npos || entry[mark] == '=' ? 0
                                     : entry[mark + 1] == 'h'                        ? FILE_ATTRIBUTE_HIDDEN
                                     : entry[mark + 1] == 's'                        ? FILE_ATTRIBUTE_SYSTEM
                                                                                     : FILE_ATTRIBUTE_READONLY;
            if (mark != std::string::npos && entry[mark] == '=')
                here.WriteFile(name, "a file");
            else
                here.MakeDir(name, attributes);
        }
        Open(here);
        EXPECT_EQ(Left(), row.left);
        EXPECT_EQ(Right(), row.right);
        EXPECT_EQ(GetFocus(), LeftView());
        dialog.Destroy();
    }
}

TEST_F(MoverOnDisk, ColumnFillsTheListOrFitsTheWidestName) {
    dir.MakeDir("a_files");
    Open();
    RECT rect;
    GetWindowRect(LeftView(), &rect);
    int listWidth = rect.right - rect.left;
    EXPECT_EQ(ListView_GetColumnWidth(LeftView(), 0), listWidth - 4);

    std::string wide(200, 'W');
    dir.MakeDir(wide + "_files");
    Refresh();
    int nameWidth = ListView_GetStringWidth(LeftView(), (wide + "_files").c_str());
    EXPECT_GT(nameWidth + 32, listWidth - 4);
    EXPECT_EQ(ListView_GetColumnWidth(LeftView(), 0), nameWidth + 32);
}

TEST_F(MoverOnDisk, MovesBothWaysAndCrosswiseWithTheirContents) {
    dir.MakeDirs({"Page_FILES", "_files\\Back", "_files\\_files", "Stay_files"});
    dir.WriteFile("Page_FILES\\style.css", "left");
    dir.WriteFile("_files\\Back\\image.gif", "right");
    Open();

    // The preselection holds Page_FILES and Stay_files; keep only Page.
    SelectRows(LeftView(), {"Page_FILES"});
    SelectRows(RightView(), {"Back", "_files"});
    Move();

    EXPECT_EQ(dir.ReadFile("_files\\Page\\style.css"), "left");
    EXPECT_EQ(dir.ReadFile("Back_files\\image.gif"), "right");
    EXPECT_TRUE(dir.IsDir("_files_files"));
    EXPECT_FALSE(dir.Exists("Page_FILES"));
    EXPECT_FALSE(dir.Exists("_files\\Back"));
    EXPECT_TRUE(dir.IsDir("Stay_files"));
    EXPECT_EQ(Left(),
              (std::vector<ShownRow>{{"_files_files", N, true}, {"Back_files", N, true}, {"Stay_files", N, true}}));
    EXPECT_EQ(Right(), (std::vector<ShownRow>{{"Page", N, false}}));

    // Back again: the suffix comes back in lower case.
    SelectRows(LeftView(), {});
    SelectRows(RightView(), {"Page"});
    Move();
    EXPECT_EQ(dir.ReadFile("Page_files\\style.css"), "left");
    EXPECT_TRUE(Right().empty());
}

TEST_F(MoverOnDisk, OnlySelectedMovableRowsMove) {
    dir.MakeDirs({"pair_files", "_files\\pair", "unselected_files", "_files\\b"});
    dir.MakeDir("hidden_files", FILE_ATTRIBUTE_HIDDEN);
    dir.MakeDir("_files\\sys", FILE_ATTRIBUTE_SYSTEM);
    Open();
    SelectRows(LeftView(), {"pair_files", "hidden_files"});
    SelectRows(RightView(), {"pair", "sys"});
    Move();
    for (const char* name :
         {"pair_files", "_files\\pair", "hidden_files", "_files\\sys", "unselected_files", "_files\\b"})
        EXPECT_TRUE(dir.IsDir(name)) << name;
    EXPECT_FALSE(dir.Exists("_files\\hidden"));
    EXPECT_FALSE(dir.Exists("sys_files"));
    // The refresh preselects the Normal left rows again.
    EXPECT_EQ(SelectedNames(LeftView()), (std::vector<std::string>{"unselected_files"}));
}

TEST_F(MoverOnDisk, AClashLeavesBothDirectoriesAndAllTheirFilesWhereTheyWere) {
    dir.MakeDirs({"Page_files", "Doc_files", "_files\\Back"});
    dir.WriteFile("Page_files\\mine.txt", "mine");
    dir.WriteFile("Doc_files\\a.txt", "doc");
    dir.WriteFile("_files\\Back\\b.txt", "back");
    Open();
    SelectRows(RightView(), {"Back"});

    // Since the refresh, another program made the targets.
    dir.MakeDir("_files\\PAGE");
    dir.WriteFile("_files\\PAGE\\theirs.txt", "theirs");
    dir.WriteFile("_files\\Doc", "a file where the directory would go");
    dir.MakeDir("back_files");
    dir.WriteFile("back_files\\c.txt", "other");
    Move();

    EXPECT_EQ(dir.ReadFile("Page_files\\mine.txt"), "mine");
    EXPECT_EQ(dir.ReadFile("_files\\PAGE\\theirs.txt"), "theirs");
    EXPECT_FALSE(dir.Exists("_files\\PAGE\\mine.txt"));
    EXPECT_EQ(dir.ReadFile("Doc_files\\a.txt"), "doc");
    EXPECT_EQ(dir.ReadFile("_files\\Doc"), "a file where the directory would go");
    EXPECT_EQ(dir.ReadFile("_files\\Back\\b.txt"), "back");
    EXPECT_EQ(dir.ReadFile("back_files\\c.txt"), "other");
    EXPECT_FALSE(dir.Exists("back_files\\b.txt"));

    // The refresh shows the true state.
    EXPECT_EQ(Left(),
              (std::vector<ShownRow>{{"back_files", P, false}, {"Doc_files", N, true}, {"Page_files", P, false}}));
    EXPECT_EQ(Right(), (std::vector<ShownRow>{{"Back", P, false}, {"PAGE", P, false}}));
}

TEST_F(MoverOnDisk, ADirectoryRemovedSinceTheRefreshIsDroppedAndTheOthersMove) {
    dir.MakeDirs({"gone_files", "kept_files"});
    Open();
    RemoveTree(dir / "gone_files");
    Move();
    EXPECT_TRUE(dir.IsDir("_files\\kept"));
    EXPECT_FALSE(dir.Exists("_files\\gone"));
    EXPECT_TRUE(Left().empty());
    EXPECT_EQ(Right(), (std::vector<ShownRow>{{"kept", N, false}}));
}

TEST_F(MoverOnDisk, LongestNamesMoveAndANameThatWouldGrowTooLongStays) {
    dir.Enter();
    // 255 characters is the longest name a file system takes.
    std::string longest = std::string(249, 'L') + "_files";
    std::string tooLong = std::string(252, 'R');  // plus "_files" is 258
    ASSERT_TRUE(CreateDirectoryA(longest.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(("_files\\" + tooLong).c_str(), nullptr));
    // Its content lies beyond the ANSI functions' path limit.
    std::wstring kept = LongPath(dir / ("_files\\" + tooLong + "\\kept"));
    ASSERT_TRUE(CreateDirectoryW(kept.c_str(), nullptr));
    Open();
    ASSERT_EQ(Left().size(), 1u);
    EXPECT_EQ(Left()[0].name, longest);
    EXPECT_EQ(Right()[0].name, tooLong);

    SelectRows(RightView(), {tooLong});
    Move();
    EXPECT_EQ(GetFileAttributesA(("_files\\" + std::string(249, 'L')).c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(kept.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Right().size(), 2u);
}

TEST_F(MoverOnDisk, NamesOfAnyScriptMoveUnchanged) {
    // Each pair moves into "_files" under its own name with what it holds, and back.
    const std::string names[] = {
        "Łódź", "Ωmega",        "Omega", "ā",         "ｆｕｌｌ",      "Имя",  "日本語",
        "😀",    "Résumé Ärger", "a&b",   "100% done", " spaced  name", "a..b", std::string(200, 'n') + "ü"};
    for (const std::string& name : names) {
        dir.MakeDir(name + "_files");
        dir.WriteFile(name + "_files\\x.txt", name);
    }
    Open();
    std::vector<ShownRow> moved;
    for (const std::string& name : names) moved.push_back({name, N, false});
    std::sort(moved.begin(), moved.end(), [](const ShownRow& a, const ShownRow& b) {
        return CDirListCtrl::CollationKey(a.name) < CDirListCtrl::CollationKey(b.name);
    });
    EXPECT_EQ(Left().size(), std::size(names));
    Move();
    EXPECT_EQ(Left(), std::vector<ShownRow>{});
    EXPECT_EQ(Right(), moved);
    for (const std::string& name : names) EXPECT_EQ(dir.ReadFile("_files\\" + name + "\\x.txt"), name) << name;

    SelectRows(RightView(), {names[0], names[1], names[2], names[6], names[7]});
    Move();
    for (int i : {0, 1, 2, 6, 7}) EXPECT_EQ(dir.ReadFile(names[i] + "_files\\x.txt"), names[i]) << names[i];
    EXPECT_EQ(Left().size() + Right().size(), std::size(names));
}

TEST_F(MoverOnDisk, ListsAndMovesAtTheRootOfADrive) {
    // Drive C: of the tests' own Wine prefix; never of anyone's own.
    const char* prefix = getenv("WINEPREFIX");
    if (!prefix || !strstr(prefix, "build")) GTEST_SKIP() << "needs the tests' own Wine prefix";
    RemoveTree("C:\\_files");
    RemoveTree("C:\\kastrelo_root_files");
    ASSERT_TRUE(CreateDirectoryA("C:\\_files", nullptr));
    ASSERT_TRUE(CreateDirectoryA("C:\\kastrelo_root_files", nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    {
        NoQuestions guard;
        ASSERT_TRUE(dialog.Create());
    }
    EXPECT_EQ(dialog.Cwd(), "C:\\");
    EXPECT_EQ(cwd::ParentOfCwd(dialog.Cwd()), "C:");
    EXPECT_EQ(SelectedNames(LeftView()), (std::vector<std::string>{"kastrelo_root_files"}));
    Move();
    EXPECT_EQ(GetFileAttributesA("C:\\_files\\kastrelo_root"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    dialog.Destroy();
    dir.Enter();
    RemoveTree("C:\\_files");
}

TEST_F(MoverOnDisk, TheSystemMenuHoldsTheAboutEntry) {
    Open();
    HMENU menu = GetSystemMenu(dialog.Handle(), FALSE);
    int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    char text[64] = "";
    GetMenuStringA(menu, IDM_ABOUTBOX, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About *_files");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

// The window position in the registry.
class StoredPosition : public MoverOnDisk {
protected:
    void SetUp() override {
        MoverOnDisk::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
    }
    void TearDown() override {
        MoverOnDisk::TearDown();
        RegDeleteTreeA(HKEY_CURRENT_USER, kastreloRegistryKey);
    }
};

TEST_F(StoredPosition, CountsOnlyWhenBothValuesAreFourByteDwords) {
    // Each row adds its values to those before.
    const struct {
        RegValues values;
        bool loads;
    } rows[] = {
        {{}, false},  // no key
        {{{"Left", Dword(120)}}, false},
        {{{"Top", Text("80")}}, false},
        {{{"Top", {REG_QWORD, std::string("\x50\0\0\0\0\0\0\0", 8)}}}, false},
        {{{"Top", {REG_BINARY, std::string("\x50\0\0\0", 4)}}}, false},
        {{{"Top", Dword(DWORD(-30))}}, true},
    };
    for (const auto& row : rows) {
        if (!row.values.empty()) Store(kastreloRegistryKey, row.values);
        POINT p{};
        EXPECT_EQ(fw::LoadWindowPosition(kastreloRegistryKey, p), row.loads) << row.values.size();
        if (row.loads) {
            EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(LONG(120), LONG(-30)));  // signed
        }
    }
}

TEST_F(StoredPosition, TheWindowOpensThereAndSavesWhereItWas) {
    Store(kastreloRegistryKey, {{"Left", Dword(37)}, {"Top", Dword(41)}});
    Open();
    RECT rect;
    GetWindowRect(dialog.Handle(), &rect);
    EXPECT_EQ(std::make_pair(rect.left, rect.top), std::make_pair(LONG(37), LONG(41)));
    SetWindowPos(dialog.Handle(), nullptr, 90, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog.Destroy();
    EXPECT_EQ(Stored(kastreloRegistryKey), (RegValues{{"Left", Dword(90)}, {"Top", Dword(60)}}));
}
