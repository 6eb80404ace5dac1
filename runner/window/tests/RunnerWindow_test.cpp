// Lorvan's window driven as a user would: typing, clicks, menu commands,
// F1, the shell's keys and double-clicks, message boxes answered, and whole
// runs with fakedos.exe standing in for the DOS program.
#include "testing/WindowTestSupport.h"

#include "framework/WindowPosition.h"
#include "runner/window/HelpWindow.h"
#include "runner/window/RunnerApp.h"
#include "runner/engine/win32/Win32Platform.h"
#include "runner/window/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <map>
#include <mutex>

using lorvan::FileEntry;

namespace {

CRunnerApp app;

const char mainCaption[] = "Lorvan";
const char mainText[] = "Current Working Directory (CWD - files are relative to CWD):";
const std::string readyText = "Use F1 for help.\r\n\r\nClick Run when ready.\r\n";
const std::string waitingText =
    "Use F1 for help.\r\n\r\nWaiting for response.\r\n\r\nThe \"Run\" button will be enabled when sufficient "
    "information is available for\r\na run.\r\n";

// Records what F1 and the Help menu ask of the help viewer.
class HelpRecorder : public HelpViewer {
public:
    void Request(HWND, UINT command, ULONG_PTR data) override {
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back({command, data});
    }
    // The requests since the last call.
    std::vector<std::pair<UINT, ULONG_PTR>> Take() {
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(requests, {});
    }

private:
    std::mutex mutex;
    std::vector<std::pair<UINT, ULONG_PTR>> requests;
};

using Requests = std::vector<std::pair<UINT, ULONG_PTR>>;

// The real platform with a fixed clock, so that reports compare byte for byte.
class FixedTimePlatform : public lorvan::Win32Platform {
public:
    std::tm LocalTime() override { return {9, 5, 14, 3, 5, 102, 1}; }
};

// The main window: the shared driving, its menu and its status window.
struct Window : Dialog {
    bool MenuEnabled(int id) const {
        return !(GetMenuState(GetMenu(main), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
    bool MenuTicked(int id) const { return (GetMenuState(GetMenu(main), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    std::string Status() const { return Text(IDC_STATUS); }
    bool StatusHas(const std::string& text) const { return Status().find(text) != std::string::npos; }
    bool Answer(const std::string& text, int button, bool closing = false) const {
        return Dialog::Answer(mainCaption, text, button, closing);
    }
    bool Asks(const std::string& text) const { return ui.Appears(mainCaption, text, 500); }
    // The status window's selection.
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 1, end = 0;
        SendMessageA((*this)[IDC_STATUS], EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // What the user sees of the fields: "Run" when Run, its menu item and
    // the status agree that a run can start, "-Run" when all three say it
    // cannot; then each control, "-" when greyed; then "+" each ticked box.
    std::string States() const {
        const bool run = Enabled(IDOK);
        std::string states =
            run == MenuEnabled(IDOK) && Status() == (run ? readyText : waitingText) ? (run ? "Run" : "-Run") : "Run?";
        for (auto [id, name] : {std::pair{IDC_OUTPUT, "Output"},
                                {IDC_REPORT, "Report"},
                                {IDC_TEMPEXT, "TempExt"},
                                {IDC_FULLPATH, "FullPath"}})
            states += std::string(Enabled(id) ? " " : " -") + name;
        for (auto [id, name] : {std::pair{IDC_RENAME, "Rename"}, {IDC_FULLPATH, "FullPath"}})
            if (Checked(id)) states += std::string(" +") + name;
        return states;
    }
    // Files typed (after what it held, or instead) and left for Command.
    void EnterFiles(std::string_view pattern, bool instead = true) const {
        Focus(IDC_FILES);
        if (instead) Clear(IDC_FILES);
        Type(IDC_FILES, pattern);
        Focus(IDC_COMMAND);
    }
    void Add(int id, std::initializer_list<const char*> entries) const {
        for (const char* entry : entries) SendMessageA((*this)[id], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
};

// Each test: a fresh working directory, nothing stored, the window run
// modally while the script works it from its own thread.
class RunnerWindow : public ::testing::Test {
protected:
    ScratchDir dir;
    HelpRecorder help;
    FixedTimePlatform platform;

    void SetUp() override {
        dir.Enter();
        RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey); }

    void Run(const std::function<void(Window&)>& script) {
        CRunnerDlg dialog(nullptr, &platform);
        dialog.SetHelpViewer(help);
        dialogUnderTest = &dialog;
        RunDriven(app, dialog, [&](UiDriver& ui) {
            HWND main = ui.WaitForWindow(mainCaption, mainText);
            if (!main) return;
            Window window{{ui, main}};
            script(window);
            ui.Click(main, IDCANCEL);
        });
        dialogUnderTest = nullptr;
    }
    CRunnerDlg* dialogUnderTest = nullptr;
};

}  // namespace

TEST_F(RunnerWindow, RunIsEnabledExactlyWhenTheFieldsSuffice) {
    Run([&](Window& w) {
        Screenshot(w.main, "lorvan-empty");
        EXPECT_EQ(w.Focused(), w.Field(IDC_PROGRAM));
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt FullPath");
        // The last missing character enables Run; Output is needed only
        // with Rename; "None" needs neither a report nor a temporary extension.
        w.Type(IDC_PROGRAM, "DOSCONV");
        w.Type(IDC_FILES, "*.txt");
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt FullPath");
        w.Type(IDC_COMMAND, "*");
        EXPECT_EQ(w.States(), "Run -Output Report TempExt FullPath");
        w.Type(IDC_COMMAND, " OUTPUT\\*");
        Screenshot(w.main, "lorvan-ready");
        w.Click(IDC_RENAME);
        w.Clear(IDC_OUTPUT);
        EXPECT_EQ(w.States(), "-Run Output Report TempExt FullPath +Rename");
        w.Click(IDC_RENAME);
        EXPECT_EQ(w.States(), "Run -Output Report TempExt FullPath");
        w.Click(IDC_RENAME);
        w.Type(IDC_OUTPUT, "OUT");
        EXPECT_EQ(w.States(), "Run Output Report TempExt FullPath +Rename");
        w.Clear(IDC_REPORT);
        EXPECT_EQ(w.States(), "-Run Output Report TempExt FullPath +Rename");
        w.Clear(IDC_TEMPEXT);
        w.Pick(IDC_HANDLING, lorvan::HandlingNone);
        w.Settle();
        EXPECT_EQ(w.States(), "Run Output -Report -TempExt FullPath +Rename");

        // The report name that goes with a mode is suggested, not imposed.
        w.Pick(IDC_HANDLING, lorvan::HandlingFilesTime);
        w.Settle();
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt FullPath");  // Rename off in a report mode
        w.Type(IDC_REPORT, "REPORT.TXT");
        w.Type(IDC_TEMPEXT, ".TMP");
        const std::string suggestLrv = "Report file name \"REPORT.LRV\" suggested for this handling selection, change?";
        w.Pick(IDC_HANDLING, lorvan::HandlingHtml);
        EXPECT_TRUE(w.Answer(suggestLrv, IDNO));
        EXPECT_EQ(w.Text(IDC_REPORT), "REPORT.TXT");
        w.Pick(IDC_HANDLING, lorvan::HandlingNameTime);
        EXPECT_FALSE(w.Asks("suggested for this handling selection"));
        w.Pick(IDC_HANDLING, lorvan::HandlingHtmlTable);
        EXPECT_TRUE(w.Answer(suggestLrv, IDYES));
        EXPECT_EQ(w.Text(IDC_REPORT), "REPORT.LRV");

        // Leaving Temp. ext. with a text that breaks the rule: the message,
        // and the focus back; leaving it empty: nothing.
        w.Clear(IDC_TEMPEXT);
        w.Focus(IDC_TEMPEXT);
        w.Type(IDC_TEMPEXT, "TMP");
        w.Focus(IDC_REPORT);
        EXPECT_TRUE(
            w.Answer("The extension of the temporary file must begin with a dot (.) and be 2 - 4 characters "
                     "long.",
                     IDOK));
        EXPECT_EQ(w.Focused(), w[IDC_TEMPEXT]);
        EXPECT_EQ(w.Text(IDC_TEMPEXT), "TMP");
        w.Clear(IDC_TEMPEXT);
        w.Focus(IDC_REPORT);
        EXPECT_FALSE(w.Asks("The extension of the temporary file"));

        // An absolute Translate directory forces Full path; the write-back
        // this makes calls no reaction of its own (the window stays alive).
        w.Type(IDC_TRANSLATE, "C:\\");
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt -FullPath +FullPath");  // Temp. ext. is empty
        PostMessageA(w.Field(IDC_TRANSLATE), EM_SETSEL, 1, 2);
        w.Type(IDC_TRANSLATE, "\b");
        EXPECT_EQ(w.Text(IDC_TRANSLATE), "C\\");
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt FullPath +FullPath");

        // Options > Handling: ticked while run information is on.
        EXPECT_TRUE(w.MenuTicked(ID_OPTIONS_HANDLING));
        w.Command(ID_OPTIONS_HANDLING);
        EXPECT_TRUE(w.Answer("Run information is now disabled for Handling mode \"Name/time for each report\".", IDOK));
        EXPECT_FALSE(w.MenuTicked(ID_OPTIONS_HANDLING));
        w.Command(ID_OPTIONS_HANDLING);
        EXPECT_TRUE(w.Answer("Run information is now enabled for Handling mode \"Name/time for each report\".", IDOK));
        EXPECT_TRUE(w.MenuTicked(ID_OPTIONS_HANDLING));

        // The lists take texts far wider than themselves.
        const std::string wide = "C:\\" + std::string(50, 'w') + "\\DOSCONV.EXE";
        for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE}) {
            w.Clear(id);
            w.Type(id, wide);
            EXPECT_EQ(w.Text(id), wide) << id;
        }
    });
}

TEST_F(RunnerWindow, ListsPicksAndHelp) {
    dir.WriteFile("a.txt", "x");
    dir.WriteFile("b.txt", "x");
    Run([&](Window& w) {
        // Leaving Files lists the files, again only for a pattern that
        // differs in more than letter case.
        w.EnterFiles("*.txt", false);
        EXPECT_EQ(w.Status().rfind("Finding files.\r\n\r\nLongName  ShortName\r\n\r\n", 0), 0u) << w.Status();
        EXPECT_TRUE(w.StatusHas("\r\n2 file(s)\r\n"));
        EXPECT_EQ(w.Text(IDC_FILECOUNT), "2");
        w.EnterFiles("*.TXT");
        EXPECT_EQ(w.Status(), waitingText);
        w.EnterFiles("x", false);
        EXPECT_TRUE(w.StatusHas("\r\n0 file(s)\r\n")) << w.Status();
        EXPECT_EQ(w.Text(IDC_FILECOUNT), "0");

        // An entry picked from a drop-down list counts 120 ms after the list
        // closes, without any typing.
        w.Type(IDC_COMMAND, "*");
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        EXPECT_FALSE(w.Enabled(IDOK));
        const int entry = static_cast<int>(SendMessageA(w[IDC_PROGRAM], CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                        reinterpret_cast<LPARAM>("DOSCONV")));
        PostMessageA(w[IDC_PROGRAM], CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(w[IDC_PROGRAM], CB_SETCURSEL, entry, 0);
        PostMessageA(w[IDC_PROGRAM], CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return w.Enabled(IDOK); }, 2000));
        EXPECT_EQ(w.Status(), readyText);

        // F1: the focused control's topic, its parent's for the edit part of
        // a combo box, the contents where there is none; the Help menu.
        const struct {
            int focus;
            DWORD topic;
        } asks[] = {{IDC_COMMAND, 0x806603ED}, {IDC_REPORT, 0x806603EF}, {IDC_TEMPEXT, 0x806603F2}, {IDOK, 0}};
        auto ask = [&](int focus) {
            w.Focus(focus);
            w.ui.Key(w.Field(focus), VK_F1);
            w.Settle();
        };

        // Without a help file beside the program: its own window, one for
        // all requests, showing the topic of that number.
        const std::vector<HelpTopic> topics = ParseHelpTopics(HelpSource());
        auto topicOf = [&](DWORD number) {
            for (const HelpTopic& t : topics)
                if (t.number == number) return t;
            return HelpTopic{};
        };
        HWND shown = nullptr;
        for (auto [focus, number] : asks) {
            ask(focus);
            HWND window = dialogUnderTest->HelpWindow();
            ASSERT_TRUE(window && IsWindowVisible(window)) << focus;
            EXPECT_TRUE(!shown || window == shown);  // one window for all
            shown = window;
            const HelpTopic topic = topicOf(number);
            EXPECT_FALSE(topic.text.empty()) << std::hex << number;
            EXPECT_EQ(WindowText(window), "Lorvan Help - " + topic.title);
            EXPECT_EQ(WindowText(GetDlgItem(window, IDC_HELP_TEXT)), topic.text);
            if (number == 0x806603ED) Screenshot(window, "lorvan-help-topic");
        }
        // Esc leaves it open; the close box hides it, and the Help menu
        // shows it again on the contents.
        w.ui.Key(GetDlgItem(shown, IDC_HELP_TOPICS), VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(shown));
        PostMessageA(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
        w.Settle();
        EXPECT_FALSE(IsWindowVisible(shown));
        w.Command(ID_HELP_CONTENTS);
        w.Settle();
        EXPECT_TRUE(IsWindowVisible(shown));
        EXPECT_EQ(WindowText(shown), "Lorvan Help - " + topicOf(0).title);
        Screenshot(shown, "lorvan-help-contents");
        EXPECT_EQ(help.Take(), Requests{});

        // With a help file beside the program its viewer is asked instead.
        const std::string helpFile = HelpViewer::DefaultHelpFile();
        CloseHandle(CreateFileA(helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        for (const auto& a : asks) ask(a.focus);
        w.Command(ID_HELP_CONTENTS);
        w.Settle();
        DeleteFileA(helpFile.c_str());
        EXPECT_EQ(help.Take(), (Requests{{HELP_CONTEXT, 0x806603ED},
                                         {HELP_CONTEXT, 0x806603EF},
                                         {HELP_CONTEXT, 0x806603F2},
                                         {HELP_FINDER, 0},
                                         {HELP_FINDER, 0}}));
    });
    // Closing tells the help viewer to close, and the help window goes.
    EXPECT_EQ(help.Take(), (Requests{{HELP_QUIT, 0}}));
}

TEST_F(RunnerWindow, ShellKeysDoubleClicksAndTheWorkingDirectory) {
    dir.WriteFile("a.txt", "x");
    ScratchDir other;
    other.WriteFile("one.txt", "1");
    other.WriteFile("two.txt", "2");
    other.WriteFile("three.txt", "3");
    Run([&](Window& w) {
        // Esc closes nothing; Ctrl+A selects the whole status window.
        w.Key(IDC_PROGRAM, VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(w.main));
        PostMessageA(w.Field(IDC_OUTPUT), WM_CHAR, 1, 1);
        w.Settle();
        EXPECT_EQ(w.Focused(), w[IDC_STATUS]);
        EXPECT_EQ(w.Text(IDC_OUTPUT), "OUTPUT");  // the key never reached the field
        const DWORD length = static_cast<DWORD>(w.Status().size());
        EXPECT_EQ(w.Selection(), std::make_pair(DWORD(0), length));

        // The About box: Esc does nothing, Ctrl+A still selects the status
        // text, OK ends it; from the window menu too, ended by its close box.
        SendMessageA(w[IDC_STATUS], EM_SETSEL, 0, 0);
        w.Command(ID_HELP_ABOUT);
        HWND about = w.ui.WaitForWindow("About Lorvan", "Lorvan Version 0.97");
        ASSERT_TRUE(about);
        Screenshot(about, "lorvan-about");
        w.ui.Key(GetDlgItem(about, IDOK), VK_ESCAPE);
        w.ui.Settle(about);
        EXPECT_TRUE(IsWindowVisible(about));
        PostMessageA(GetDlgItem(about, IDOK), WM_CHAR, 1, 1);
        w.ui.Settle(about);
        EXPECT_EQ(w.Selection(), std::make_pair(DWORD(0), length));
        w.ui.Click(about, IDOK);
        EXPECT_TRUE(w.ui.WaitGone(about));
        PostMessageA(w.main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        about = w.ui.WaitForWindow("About Lorvan", "Lorvan Version 0.97");
        ASSERT_TRUE(about);
        PostMessageA(about, WM_CLOSE, 0, 0);
        EXPECT_TRUE(w.ui.WaitGone(about));

        // A double-click on "# of files" lists the files again.
        w.Type(IDC_FILES, "*.txt");
        EXPECT_EQ(w.Status(), waitingText);
        w.ui.DoubleClick(w.main, w.PointOf(IDC_FILECOUNT, 5, 5));
        w.Settle();
        EXPECT_TRUE(w.StatusHas("\r\n1 file(s)\r\n")) << w.Status();

        // A double-click on the CWD field browses from the desktop; one in
        // the status window at the field's height from its top is none.
        const char fromRoot[] = "Singleclick the Change button to browse from CWD parent";
        w.ui.DoubleClick(w.main, w.PointOf(IDC_CWD, 10, 5));
        if (HWND chooser = w.ui.WaitForChooser(fromRoot)) w.ui.Click(chooser, IDCANCEL);
        w.Settle();
        EXPECT_EQ(w.Text(IDC_CWD), dir.Path());
        EXPECT_FALSE(w.DoubleClickBesideOpensChooser(IDC_STATUS, IDC_CWD, 40, fromRoot));

        // Change, cancelled: nothing changes; then another directory chosen:
        // the field, the current directory and the file list follow.
        const std::string before = w.Status();
        w.Click(IDC_CHANGE);
        if (HWND chooser = w.ui.WaitForChooser("Doubleclick the CWD name field to browse from root")) {
            // Its tree starts at the working directory's parent.
            const std::string root = TreeItemText(FindWindowExA(chooser, nullptr, WC_TREEVIEWA, nullptr), TVI_ROOT);
            const std::string parent = dir.Path().substr(0, dir.Path().rfind('\\'));
            EXPECT_EQ(root, parent.substr(parent.rfind('\\') + 1));
            Screenshot(chooser, "lorvan-chooser");
            w.ui.Click(chooser, IDCANCEL);
        }
        w.Settle();
        EXPECT_EQ(w.Status(), before);
        EXPECT_EQ(w.Text(IDC_CWD), dir.Path());
        w.ui.DoubleClick(w.main, w.PointOf(IDC_CWD, 10, 5));
        if (HWND chooser = w.ui.WaitForChooser(fromRoot)) w.ui.ChooseFolder(chooser, other.Path());
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return w.Text(IDC_CWD) == other.Path(); }));
        w.Settle();
        EXPECT_TRUE(w.StatusHas("\r\n3 file(s)\r\n")) << w.Status();
        EXPECT_EQ(w.Text(IDC_FILECOUNT), "3");
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, current);
        EXPECT_EQ(std::string(current), other.Path());

        // A field over its limit stops the reading there: the message, the
        // focus in that field, the fields after it not read, and no run.
        w.Type(IDC_PROGRAM, "DOSCONV");
        w.Type(IDC_COMMAND, "*");
        ASSERT_TRUE(w.Enabled(IDOK));
        SendMessageA(w[IDC_COMMAND], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::string(127, 'c').c_str()));
        SendMessageA(w[IDC_TEST], BM_SETCHECK, BST_CHECKED, 0);
        w.ui.Click(w.main, IDOK);
        EXPECT_TRUE(w.Answer("Enter no more than 126 characters.", IDOK));
        EXPECT_EQ(GetParent(w.Focused()), w[IDC_COMMAND]);
        EXPECT_EQ(dialogUnderTest->Settings().command, "*");
        EXPECT_FALSE(dialogUnderTest->Settings().test);
        EXPECT_EQ(w.Status().find("Handling commands"), std::string::npos);
        SetCurrentDirectoryA(dir.Path().c_str());
    });
}

TEST_F(RunnerWindow, AWholeRunAndTestMode) {
    // Each command takes a while: the user acts in the status window meanwhile.
    dir.WriteFile("Annual Report.txt", "sleep 400\r\nreport annual\r\n");
    dir.WriteFile("README.TXT", "sleep 400\r\nexit 3\r\nreport readme failed\r\n");
    dir.WriteFile("notes.txt", "sleep 400\r\nnoout\r\n");
    const std::string program = ExeDirectory() + "\\fakedos.exe";
    const std::string command = "* OUTPUT\\* RUN.TMP";
    Run([&](Window& w) {
        w.Type(IDC_PROGRAM, program);
        w.Type(IDC_FILES, "*.txt");
        w.Type(IDC_COMMAND, command);
        w.Click(IDC_RENAME);
        w.Clear(IDC_REPORT);
        w.Type(IDC_REPORT, "RUN.LOG");  // not one of the files passed
        w.ui.Click(w.main, IDOK);
        // The caret put at the start, then everything selected (Ctrl+A):
        // what the run writes still goes at the end, and the selection stays.
        ASSERT_TRUE(UiDriver::WaitUntil([&] { return w.Status().rfind("Handling commands:", 0) == 0; }, 20000));
        PostMessageA(w[IDC_STATUS], EM_SETSEL, 0, 0);
        ASSERT_TRUE(UiDriver::WaitUntil([&] { return w.StatusHas("\": "); }, 20000));
        PostMessageA(w.Field(IDC_PROGRAM), WM_CHAR, 1, 1);
        ASSERT_TRUE(UiDriver::WaitUntil([&] { return w.StatusHas("\r\nDone\r\n"); }, 20000)) << w.Status();
        EXPECT_EQ(w.Selection().first, 0u);
        EXPECT_GT(w.Selection().second, 0u);
        w.Settle();
        Screenshot(w.main, "lorvan-after-run");

        // What the run tells, reports and renames is the engine's (its tests,
        // and the same files run on this platform); here, that the window's
        // values reached it and what it tells reached the status window.
        EXPECT_TRUE(w.StatusHas("\"README.TXT\"  (same): Error 3\r\n")) << w.Status();
        EXPECT_TRUE(w.StatusHas("\r\n1 out of 2 files renamed.\r\n\r\nDone\r\n"));
        EXPECT_EQ(
            dir.ReadFile("RUN.LOG").rfind(
                dir.Path() + "\\*.txt\r\nMonday 2002-06-03 14:05:09\r\n" + program + " " + command + "\r\n\r\n", 0),
            0u);
        EXPECT_EQ(dir.Listing("OUTPUT").size(), 2u);
        EXPECT_EQ(w.Text(IDC_FILECOUNT), "3");

        // The four values went into their lists, once.
        auto counts = [&] {
            std::vector<size_t> n;
            for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE}) n.push_back(Entries(w[id]).size());
            return n;
        };
        EXPECT_EQ(counts(), (std::vector<size_t>{2, 1, 2, 1}));

        // Test mode: each line shown; OK goes on, Cancel stops.
        w.Click(IDC_TEST);
        w.ui.Click(w.main, IDOK);
        const std::string title = "Lorvan test: \"" + program + "\" command ";
        HWND first = w.ui.WaitForWindow(title + "1 of 3");
        ASSERT_TRUE(first) << w.Status();
        Screenshot(first, "lorvan-test-mode");
        w.ui.Click(first, IDOK);
        HWND second = w.ui.WaitForWindow(title + "2 of 3");
        ASSERT_TRUE(second);
        w.ui.Click(second, IDCANCEL);
        ASSERT_TRUE(UiDriver::WaitUntil([&] { return w.StatusHas("\r\nDone\r\n"); }));
        const FileEntry& entry = dialogUnderTest->Engine().FoundFiles()[0];
        EXPECT_EQ(w.Status().rfind("Handling commands:\r\n\r\n" + lorvan::DisplayLine(entry) + ": Handled\r\n\r\n", 0),
                  0u)
            << w.Status();
        EXPECT_FALSE(w.ui.Appears(title + "3 of 3", "", 300));
        EXPECT_EQ(counts(), (std::vector<size_t>{2, 1, 2, 1}));
    });
}

TEST_F(RunnerWindow, TheStatusWindowProgressAndClosingWhenTheObjectGoesFirst) {
    {
        CRunnerDlg dialog(nullptr, &platform);
        dialog.SetHelpViewer(help);
        ASSERT_TRUE(dialog.Create());
        HWND status = GetDlgItem(dialog.Handle(), IDC_STATUS);

        // Appended text goes at the end, wherever the user put the caret or
        // what they selected; their selection stays.
        dialog.Services().SetStatus("Finding files.\r\n\r\nLongName  ShortName\r\n");
        dialog.Services().AppendStatus("one");
        dialog.Services().AppendStatus("two");
        dialog.SelectAllStatus();
        EXPECT_EQ(WindowText(status), "Finding files.\r\n\r\nLongName  ShortName\r\n\r\none\r\ntwo\r\n");
        SendMessageA(status, EM_SETSEL, 0, 7);
        dialog.Services().AppendStatus("Found");
        dialog.FlushStatus();
        DWORD start = 1, end = 0;
        SendMessageA(status, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD(0), DWORD(7)));
        EXPECT_EQ(WindowText(status), "Finding files.\r\n\r\nLongName  ShortName\r\n\r\none\r\ntwo\r\nFound\r\n");

        // A long listing is not cut.
        dialog.Services().SetStatus("Finding files.");
        const std::string line = "\"a long file name of the listing.txt\"  \"ALONGF~1.TXT\"";
        for (int i = 0; i < 20000; ++i) dialog.Services().AppendStatus(line);
        dialog.SelectAllStatus();
        EXPECT_EQ(WindowText(status).size(), 16 + 20000 * (line.size() + 2));

        // The progress bar's range and position do not wrap above 65,535.
        dialog.Services().SetProgressRange(70000);
        dialog.Services().SetProgressPos(68000);
        HWND progress = GetDlgItem(dialog.Handle(), IDC_PROGRESS);
        EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 70000);
        EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 68000);

        EXPECT_EQ(WindowText(GetDlgItem(dialog.Handle(), IDC_SYMBOLS)), "*, **, ***");
        SetWindowPos(dialog.Handle(), nullptr, 90, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    // The object went first; its window's closing ran all the same.
    EXPECT_EQ(help.Take(), (Requests{{HELP_QUIT, 0}}));
    POINT position{};
    ASSERT_TRUE(fw::LoadWindowPosition(lorvanRegistryKey, position));
    EXPECT_EQ(position.x, 90);
    EXPECT_EQ(position.y, 60);
}

namespace {

using Names = std::vector<std::string>;
const std::string programKey = lorvanRegistryKey;

}  // namespace

TEST_F(RunnerWindow, EditingTheHistoryLists) {
    Run([&](Window& w) {
        w.Add(IDC_FILES, {"A.TXT", "a.txt", "*.doc"});
        SendMessageA(w[IDC_FILES], CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("*.doc"));
        w.Add(IDC_TRANSLATE, {"", " "});
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        w.Type(IDC_PROGRAM, "typed");

        // Opens the editor of a list; marks the copy's entries at the
        // indexes, then presses each button in turn.
        auto edit = [&](int menu, const std::string& caption, std::vector<int> marks, std::vector<int> buttons) {
            w.Command(menu);
            HWND editor = w.ui.WaitForWindow("Lorvan: " + caption);
            if (!editor) return Names{};
            HWND copy = GetDlgItem(editor, IDC_ITEMLIST);
            const Names shown = Entries(copy);
            for (int index : marks) SendMessageA(copy, LB_SETSEL, TRUE, index);
            for (int button : buttons) {
                w.ui.Click(editor, button);
                if (button == IDC_REMOVE) w.ui.Settle(editor);
            }
            EXPECT_TRUE(w.ui.WaitGone(editor)) << caption;
            w.Settle();
            return shown;
        };

        // Esc and a Remove with nothing marked change nothing; Remove then
        // Cancel leaves the list as it was.
        w.Command(ID_OPTIONS_FILES);
        if (HWND editor = w.ui.WaitForWindow("Lorvan: Files to pass")) {
            Screenshot(editor, "lorvan-history");
            w.ui.Key(GetDlgItem(editor, IDC_ITEMLIST), VK_ESCAPE);
            w.ui.Click(editor, IDC_REMOVE);
            w.ui.Settle(editor);
            EXPECT_TRUE(IsWindowVisible(editor));
            EXPECT_EQ(Entries(GetDlgItem(editor, IDC_ITEMLIST)), (Names{"*.doc", "A.TXT", "a.txt"}));
            w.ui.Click(editor, IDCANCEL);
            EXPECT_TRUE(w.ui.WaitGone(editor));
        }
        EXPECT_EQ(edit(ID_OPTIONS_FILES, "Files to pass", {1}, {IDC_REMOVE, IDCANCEL}),
                  (Names{"*.doc", "A.TXT", "a.txt"}));
        EXPECT_EQ(Entries(w[IDC_FILES]).size(), 3u);

        // Letter case counts; the selected entry removed: the first left is
        // selected and shown.
        edit(ID_OPTIONS_FILES, "Files to pass", {0, 1}, {IDC_REMOVE, IDOK});
        EXPECT_EQ(Entries(w[IDC_FILES]), (Names{"a.txt"}));
        EXPECT_EQ(SendMessageA(w[IDC_FILES], CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(w.Text(IDC_FILES), "a.txt");

        // OK with no entry selected selects the first, whose text replaces
        // the typed one.
        edit(ID_OPTIONS_PROGRAM, "DOS program to run", {}, {IDOK});
        EXPECT_EQ(Entries(w[IDC_PROGRAM]), (Names{"", "DOSCONV"}));
        EXPECT_EQ(w.Text(IDC_PROGRAM), "");

        // Blank entries stand for one another; all removed, the list is empty
        // and its text stays.
        w.Type(IDC_TRANSLATE, "C:\\T");
        edit(ID_OPTIONS_TRANSLATE, "Translate directory", {0}, {IDC_REMOVE, IDOK});
        EXPECT_EQ(Entries(w[IDC_TRANSLATE]), (Names{"", " "}));
        SendMessageA(w[IDC_TRANSLATE], CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendMessageA(w[IDC_TRANSLATE], WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\T"));
        edit(ID_OPTIONS_TRANSLATE, "Translate directory", {0, 1}, {IDC_REMOVE, IDOK});
        EXPECT_TRUE(Entries(w[IDC_TRANSLATE]).empty());
        EXPECT_EQ(w.Text(IDC_TRANSLATE), "C:\\T");
        edit(ID_OPTIONS_COMMAND, "Command", {}, {IDCANCEL});
    });
    // The emptied list is not stored.
    Names subkeys;
    Stored(programKey, &subkeys);
    EXPECT_EQ(subkeys, (Names{"Command", "Files", "Program"}));
}

TEST_F(RunnerWindow, RemembersTheListsEverywhereAndTheRestForItsDirectory) {
    Run([&](Window& w) {
        // First start: the start values and the lists' initial entries.
        EXPECT_EQ(Entries(w[IDC_PROGRAM]), (Names{""}));
        EXPECT_EQ(Entries(w[IDC_COMMAND]), (Names{""}));
        EXPECT_TRUE(Entries(w[IDC_FILES]).empty());
        EXPECT_TRUE(Entries(w[IDC_TRANSLATE]).empty());
        EXPECT_EQ(w.Text(IDC_OUTPUT), "OUTPUT");
        EXPECT_EQ(w.Text(IDC_REPORT), "REPORT.TXT");
        EXPECT_EQ(w.Text(IDC_TEMPEXT), ".TMP");

        // Every field and list changed.
        w.Add(IDC_FILES, {"b.txt", "a.txt", ""});
        SendMessageA(w[IDC_FILES], CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("b.txt"));
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        w.Add(IDC_TRANSLATE, {"", "D:\\X"});
        SendMessageA(w[IDC_COMMAND], CB_RESETCONTENT, 0, 0);
        w.Type(IDC_COMMAND, "* OUT\\*");
        w.Click(IDC_RENAME);
        w.Clear(IDC_OUTPUT);
        w.Clear(IDC_REPORT);
        w.Type(IDC_REPORT, "RUN.LRV");
        w.Clear(IDC_TEMPEXT);
        w.Type(IDC_TEMPEXT, ".T");
        w.Pick(IDC_HANDLING, lorvan::HandlingFilesTime);
        w.Pick(IDC_SYMBOLS, 2);
        for (int id : {IDC_RENAME, IDC_TEST, IDC_FULLPATH}) w.Click(id);
        w.Command(ID_OPTIONS_HANDLING);
        w.Answer("Run information is now", IDOK);
        EXPECT_TRUE(w.MenuTicked(ID_STANDINS_WHEN_NEEDED));  // the start value
        w.Command(ID_STANDINS_ALWAYS);
        // Commands at once: 1 to start with; what is not from 1 to 64 is
        // refused and told, and Cancel keeps what was chosen.
        for (const char* typed : {"0", "65", "", "3", "9"}) {
            w.Command(ID_OPTIONS_ATONCE);
            HWND chooser = w.ui.WaitForWindow("Lorvan: Commands at once");
            if (!chooser) break;
            Dialog atOnce{w.ui, chooser};
            EXPECT_EQ(atOnce.Text(IDC_ATONCE), *typed == '9' ? "3" : "1");
            EXPECT_NE(atOnce.Text(IDC_ATONCE_HINT).find(" logical processor"), std::string::npos);
            if (*typed == '3') Screenshot(chooser, "lorvan-commands-at-once");
            atOnce.Clear(IDC_ATONCE);
            atOnce.Type(IDC_ATONCE, typed);
            const bool refused = *typed != '3' && *typed != '9';
            w.ui.Click(chooser, *typed == '9' ? IDCANCEL : IDOK);
            if (refused) {
                EXPECT_TRUE(atOnce.Answer("Lorvan", "Enter a number from 1 to 64.", IDOK)) << typed;
                EXPECT_TRUE(IsWindowVisible(chooser));
                w.ui.Click(chooser, IDCANCEL);
            }
            EXPECT_TRUE(w.ui.WaitGone(chooser)) << typed;
        }
        SetWindowPos(w.main, nullptr, -10, -20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    });
    Names subkeys;
    EXPECT_EQ(Stored(programKey, &subkeys), (RegValues{{"Left", Dword(DWORD(-10))},
                                                       {"Top", Dword(DWORD(-20))},
                                                       {"Handling0", Dword(1)},
                                                       {"StandIns", Dword(lorvan::StandInsAlways)},
                                                       {"CommandsAtOnce", Dword(3)},
                                                       {"CWD", Text(dir.Path())},
                                                       {"Output", Text("")},
                                                       {"Report", Text("RUN.LRV")},
                                                       {"TempExt", Text(".T")},
                                                       {"Handling", Dword(lorvan::HandlingFilesTime)},
                                                       {"Symbols", Dword(2)},
                                                       {"Rename", Dword(1)},
                                                       {"Test", Dword(1)},
                                                       {"FullPath", Dword(1)}}));
    EXPECT_EQ(Stored(programKey).at("Output").data.size(), 0u);
    EXPECT_EQ(subkeys, (Names{"Files", "Program", "Translate"}));  // an empty list writes none
    EXPECT_EQ(Stored(programKey + "\\Files"),
              (RegValues{{"2", Text("a.txt")}, {"3", Text("b.txt")}, {"select", Dword(2)}}));
    EXPECT_EQ(Stored(programKey + "\\Program"), (RegValues{{"2", Text("DOSCONV")}, {"select", Dword(1)}}));
    EXPECT_EQ(Stored(programKey + "\\Translate"),
              (RegValues{{"1", Text(" ")}, {"2", Text("D:\\X")}, {"select", Dword(1)}}));

    auto global = [](Window& w) {
        RECT r;
        GetWindowRect(w.main, &r);
        EXPECT_EQ(r.left, -10);
        EXPECT_EQ(r.top, -20);
        EXPECT_EQ(Entries(w[IDC_FILES]), (Names{"a.txt", "b.txt"}));
        EXPECT_EQ(w.Text(IDC_FILES), "b.txt");
        EXPECT_EQ(Entries(w[IDC_TRANSLATE]), (Names{" ", "D:\\X"}));
        EXPECT_FALSE(w.MenuTicked(ID_OPTIONS_HANDLING));
        for (int id : {ID_STANDINS_OFF, ID_STANDINS_WHEN_NEEDED, ID_STANDINS_ALWAYS})
            EXPECT_EQ(w.MenuTicked(id), id == ID_STANDINS_ALWAYS) << id;
    };
    // The same directory: everything back.
    Run([&](Window& w) {
        global(w);
        EXPECT_EQ(Entries(w[IDC_COMMAND]), (Names{""}));  // nothing stored: its initial entry
        EXPECT_EQ(w.Text(IDC_OUTPUT), "");
        EXPECT_EQ(w.Text(IDC_REPORT), "RUN.LRV");
        EXPECT_EQ(w.Text(IDC_TEMPEXT), ".T");
        EXPECT_EQ(SendMessageA(w[IDC_HANDLING], CB_GETCURSEL, 0, 0), lorvan::HandlingFilesTime);
        EXPECT_EQ(SendMessageA(w[IDC_SYMBOLS], CB_GETCURSEL, 0, 0), 2);
        for (int id : {IDC_RENAME, IDC_TEST, IDC_FULLPATH}) EXPECT_TRUE(w.Checked(id)) << id;
    });
    // Another directory: only the position, the flag and the lists.
    ScratchDir other;
    other.Enter();
    Run([&](Window& w) {
        global(w);
        EXPECT_EQ(w.Text(IDC_OUTPUT), "OUTPUT");
        EXPECT_EQ(w.Text(IDC_REPORT), "REPORT.TXT");
        EXPECT_EQ(w.Text(IDC_TEMPEXT), ".TMP");
        EXPECT_EQ(SendMessageA(w[IDC_HANDLING], CB_GETCURSEL, 0, 0), 0);
        for (int id : {IDC_RENAME, IDC_TEST, IDC_FULLPATH}) EXPECT_FALSE(w.Checked(id)) << id;
    });
    dir.Enter();
}

TEST_F(RunnerWindow, OddStoredDataLoadsSoundly) {
    std::string upperCwd = dir.Path();
    CharUpperBuffA(upperCwd.data(), static_cast<DWORD>(upperCwd.size()));
    // What each stored shape means is the engine's (its stored-value tests);
    // here, that the window fetches the values and shows what they mean.
    Store(programKey, {{"Left", Text("40")},
                       {"Top", Dword(30)},
                       {"CWD", Text(upperCwd)},  // case ignored
                       {"Handling", Dword(7)},
                       {"TempExt", Text("0123456789")},
                       {"Hand made", Text("x")}});
    // Gaps in the names; "select" of 0.
    Store(programKey + "\\Files", {{"2", Text("b.txt")}, {"7", Text("a.txt")}, {"select", Dword(0)}});
    Store(programKey + "\\Hand made\\deeper", {{"x", Text("y")}});

    Run([&](Window& w) {
        // The Temp. ext. over its limit is told once the window shows, and
        // the focus is in it.
        EXPECT_TRUE(w.Answer("Enter no more than 4 characters.", IDOK));
        EXPECT_FALSE(w.Asks("Enter no more than"));
        EXPECT_EQ(w.Focused(), w[IDC_TEMPEXT]);
        RECT r;
        GetWindowRect(w.main, &r);
        EXPECT_NE(std::make_pair(r.left, r.top), std::make_pair(LONG(40), LONG(30)));  // a REG_SZ Left: not moved
        EXPECT_EQ(w.Text(IDC_FILES), "a.txt");                                         // select 0: the first
        EXPECT_TRUE(Entries(w[IDC_TRANSLATE]).empty());                                // no subkey: the initial entries
        EXPECT_EQ(SendMessageA(w[IDC_HANDLING], CB_GETCURSEL, 0, 0), -1);              // 7 shows none
        EXPECT_EQ(w.Text(IDC_TEMPEXT), "0123456789");                                  // loaded whole
        w.Clear(IDC_TEMPEXT);
    });
    Names subkeys;
    RegValues saved = Stored(programKey, &subkeys);
    EXPECT_EQ(saved.count("Hand made"), 0u);
    EXPECT_EQ(subkeys, (Names{"Command", "Files", "Program"}));

    // The two shapes that once ended the program at every start: the window
    // opens without them, and they stay stored until the save at close.
    const std::string program600(600, 'p'), files100k(100000, 'f');
    RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey);
    Store(programKey + "\\Program", {{"1", Text(program600)}, {"2", Text("DOSCONV")}, {"select", Dword(1)}});
    Store(programKey + "\\Files", {{"1", Text(files100k)}, {"select", Dword(1)}});
    Run([&](Window& w) {
        DWORD size = 0;
        EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, (programKey + "\\Files").c_str(), "1", RRF_RT_REG_SZ, nullptr,
                               nullptr, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(size, files100k.size() + 1);  // nothing destroyed before the save
        EXPECT_EQ(Entries(w[IDC_PROGRAM]), (Names{"DOSCONV"}));
        EXPECT_EQ(w.Text(IDC_PROGRAM), "");
        EXPECT_TRUE(Entries(w[IDC_FILES]).empty());
        EXPECT_FALSE(w.Asks("Enter no more than"));
    });

    // A position on no monitor is not applied.
    Store(programKey, {{"Left", Dword(30000)}, {"Top", Dword(30000)}});
    Run([&](Window& w) {
        RECT r;
        GetWindowRect(w.main, &r);
        EXPECT_LT(r.left, 30000);
    });
}

TEST_F(RunnerWindow, SettingsStoredInTheAnsiCodePageLoadUnchanged) {
    // Written by a program of code page 1252, as earlier versions did: the
    // window, in UTF-8, shows the same characters, and a command of 126 of
    // them still fits its field although it is longer in UTF-8.
    std::string command;
    for (int i = 0; i < 63; ++i) command += "é ";
    StoreAsLegacy(programKey + "\\Program", {{"1", "C:\\Büro\\Ärger.exe"}});
    StoreAsLegacy(programKey + "\\Command", {{"1", command}});
    StoreAsLegacy(programKey, {{"CWD", dir.Path()}, {"Output", "Ausgabe€"}});
    Store(programKey + "\\Program", {{"select", Dword(1)}});
    Run([&](Window& w) {
        EXPECT_EQ(Entries(w[IDC_PROGRAM]), (Names{"C:\\Büro\\Ärger.exe"}));
        EXPECT_EQ(w.Text(IDC_PROGRAM), "C:\\Büro\\Ärger.exe");
        EXPECT_EQ(Entries(w[IDC_COMMAND]), (Names{command}));
        EXPECT_EQ(w.Text(IDC_OUTPUT), "Ausgabe€");
        EXPECT_FALSE(w.Asks("Enter no more than"));
    });
    EXPECT_EQ(Stored(programKey + "\\Command").at("1"), Text(command));  // stored back as it came
}

TEST_F(RunnerWindow, NamesAnInterruptedRunLeftComeBackAtStart) {
    // A stand-in made as a run makes one, and the journal it wrote first.
    dir.WriteFile("a long name.txt", "ln");
    ASSERT_TRUE(CreateHardLinkA("LRV00001.TXT", "a long name.txt", nullptr));
    const std::string journal = FixedTimePlatform().JournalPath();
    dir.WriteFile("journal.tmp", dir / "LRV00001.TXT" + "\t" + dir / "a long name.txt" + "\t32\r\n");
    ASSERT_TRUE(MoveFileA((dir / "journal.tmp").c_str(), journal.c_str()));
    Run([&](Window& w) {
        EXPECT_TRUE(w.Answer(
            "A run of Lorvan was interrupted. The names of 1 file(s) that had stand-in names are back.", IDOK));
    });
    EXPECT_FALSE(dir.Exists("LRV00001.TXT"));
    EXPECT_EQ(dir.ReadFile("a long name.txt"), "ln");
    EXPECT_EQ(GetFileAttributesA(journal.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RunnerWindow, ARunCanBeStoppedOrClosedAndTheWindowStaysAlive) {
    const char* const names[] = {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"};
    for (const char* name : names) dir.WriteFile(name, "sleep 300\r\nreport " + std::string(name) + "\r\n");
    dir.WriteFile("hang.dat", "sleep 60000\r\n");
    dir.WriteFile("hung.dat", "sleep 60000\r\n");
    const std::string program = ExeDirectory() + "\\fakedos.exe";
    Names runs;  // what each stopped run left, checked after the window closed
    Run([&](Window& w) {
        w.Type(IDC_PROGRAM, program);
        w.Type(IDC_COMMAND, "* OUTPUT\\* RUN.TMP");
        w.Click(IDC_RENAME);
        w.Clear(IDC_REPORT);
        w.Type(IDC_REPORT, "RUN.LOG");
        w.EnterFiles("*.txt", false);
        auto running = [&] { return WindowText(w[IDOK]) == "Stop"; };
        auto done = [&] { return w.StatusHas("\r\nDone\r\n"); };

        // While a command runs the window answers; what could change the
        // record is disabled, and Run reads Stop.
        w.ui.Click(w.main, IDOK);
        ASSERT_TRUE(UiDriver::WaitUntil([&] { return w.StatusHas(": OK\r\n"); }, 10000)) << w.Status();
        DWORD_PTR ignored;
        EXPECT_TRUE(SendMessageTimeoutA(w.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored));
        EXPECT_TRUE(running());
        for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_RENAME, IDC_CHANGE, IDC_REPORT})
            EXPECT_FALSE(w.Enabled(id)) << id;
        for (int id : {ID_OPTIONS_FILES, ID_STANDINS_OFF, ID_STANDINS_ALWAYS}) EXPECT_FALSE(w.MenuEnabled(id)) << id;
        Screenshot(w.main, "lorvan-running");

        // Stop: the run ends after the command that runs now.
        w.ui.Click(w.main, IDOK);
        ASSERT_TRUE(UiDriver::WaitUntil(done, 10000)) << w.Status();
        EXPECT_FALSE(running());
        EXPECT_TRUE(w.Enabled(IDC_FILES));
        for (int id : {ID_OPTIONS_FILES, ID_STANDINS_OFF, ID_STANDINS_ALWAYS}) EXPECT_TRUE(w.MenuEnabled(id)) << id;
        runs.push_back(w.Status());
        runs.push_back(dir.ReadFile("RUN.LOG"));
        for (const char* name : names) runs.push_back(dir.Exists(std::string("OUTPUT\\") + name) ? name : "");

        // A hanging command, ended on the second Stop.
        w.EnterFiles("hang.dat");
        const char reportExists[] = "Report file already exists, delete?";
        w.ui.Click(w.main, IDOK);
        EXPECT_TRUE(w.Answer(reportExists, IDYES));
        ASSERT_TRUE(UiDriver::WaitUntil(running, 5000));
        w.ui.Click(w.main, IDOK);
        w.ui.Click(w.main, IDOK);
        EXPECT_TRUE(w.Answer("End that command now?", IDYES));
        ASSERT_TRUE(UiDriver::WaitUntil(done, 10000)) << w.Status();
        EXPECT_TRUE(w.StatusHas("\"hang.dat\"  \"HANG.DAT\": Ended\r\n")) << w.Status();

        // Two at once without a report, both hanging: the second Stop asks
        // about both and ends both.
        w.Command(ID_OPTIONS_ATONCE);
        if (HWND chooser = w.ui.WaitForWindow("Lorvan: Commands at once")) {
            Dialog atOnce{w.ui, chooser};
            atOnce.Clear(IDC_ATONCE);
            atOnce.Type(IDC_ATONCE, "2");
            w.ui.Click(chooser, IDOK);
            EXPECT_TRUE(w.ui.WaitGone(chooser));
        }
        w.Pick(IDC_HANDLING, lorvan::HandlingNone);
        w.EnterFiles("h?ng.dat");
        w.ui.Click(w.main, IDOK);
        ASSERT_TRUE(UiDriver::WaitUntil(running, 5000));
        w.ui.Click(w.main, IDOK);
        w.ui.Click(w.main, IDOK);
        EXPECT_TRUE(w.Answer("End those commands now?", IDYES));
        ASSERT_TRUE(UiDriver::WaitUntil(done, 10000)) << w.Status();
        EXPECT_TRUE(w.StatusHas("\"hang.dat\"  \"HANG.DAT\": Ended\r\n\"hung.dat\"  \"HUNG.DAT\": Ended\r\n"))
            << w.Status();

        // Closing during a run asks; No goes on, Yes stops, then closes.
        w.EnterFiles("*.txt");
        w.ui.Click(w.main, IDOK);
        EXPECT_TRUE(w.Answer("File(s) exist in the output directory", IDYES));  // the first run's results
        ASSERT_TRUE(UiDriver::WaitUntil(running, 5000));
        w.ui.Click(w.main, IDCANCEL);
        EXPECT_TRUE(w.Answer("Stop it and close Lorvan?", IDNO));
        EXPECT_TRUE(running());
        w.ui.Click(w.main, IDCANCEL);
        EXPECT_TRUE(w.Answer("Stop it and close Lorvan?", IDYES, true));
        EXPECT_TRUE(w.ui.WaitGone(w.main, 10000));
    });
    // Each stopped run renamed what it had made and finished its report: as
    // many results, report parts and commands as files it handled.
    ASSERT_EQ(runs.size(), 7u);
    const std::string& status = runs[0];
    const size_t at = status.find("Stopped after file ");
    ASSERT_NE(at, std::string::npos) << status;
    const int handled = std::atoi(status.c_str() + at + 19);
    EXPECT_GE(handled, 1);
    EXPECT_LT(handled, 5);
    EXPECT_NE(status.find(" of 5: \"" + std::string(names[handled - 1]) + "\"."), std::string::npos) << status;
    EXPECT_NE(status.find(std::to_string(handled) + " out of " + std::to_string(handled) + " files renamed."),
              std::string::npos)
        << status;
    for (int i = 0; i < 5; ++i) {
        const bool made = i < handled;
        EXPECT_EQ(runs[2 + i], made ? names[i] : "") << i;
        EXPECT_EQ(runs[1].find("\r\n" + std::string(names[i]) + "\r\n") != std::string::npos, made) << runs[1];
    }
    EXPECT_TRUE(Stored(programKey).count("CWD"));  // closed during a run, saved as always
}

TEST_F(RunnerWindow, UserDataShownAsItIsAndEveryPickSeen) {
    // A working directory whose name holds "&": no access-key mark.
    const std::string rnd = dir.Path() + "\\R&D";
    ASSERT_TRUE(CreateDirectoryA(rnd.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(rnd.c_str()));
    Run([&](Window& w) {
        EXPECT_EQ(w.Text(IDC_CWD), rnd);
        for (int id : {IDC_CWD, IDC_FILECOUNT}) EXPECT_TRUE(GetWindowLongA(w[id], GWL_STYLE) & SS_NOPREFIX) << id;

        // Enter runs, though Run is a plain push button.
        w.Type(IDC_PROGRAM, "DOSCONV");
        w.Type(IDC_FILES, "*.txt");
        w.Type(IDC_COMMAND, "*");
        ASSERT_TRUE(w.Enabled(IDOK));
        w.Key(IDC_COMMAND, VK_RETURN);
        EXPECT_TRUE(w.Answer("No files were found matching \"*.txt\".", IDOK));

        // The empty entry picked with the arrow keys: Run greys as for
        // typing, and a Run asked for before that says why.
        w.Key(IDC_PROGRAM, VK_DOWN);
        EXPECT_EQ(w.Text(IDC_PROGRAM), "");
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return !w.Enabled(IDOK); }, 2000));
        EXPECT_EQ(w.Status(), waitingText);
        PostMessageA(w.main, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(w.Answer("Lorvan cannot run yet: enter the DOS program to run.", IDOK));

        // Typed equal to an entry of the Translate list, not picked.
        w.Add(IDC_TRANSLATE, {"C:\\A", "C:\\B"});
        w.Pick(IDC_TRANSLATE, 0);
        w.Clear(IDC_TRANSLATE);
        w.Type(IDC_TRANSLATE, "C:\\B");
    });
    Run([&](Window& w) { EXPECT_EQ(w.Text(IDC_TRANSLATE), "C:\\B"); });
    dir.Enter();
}
