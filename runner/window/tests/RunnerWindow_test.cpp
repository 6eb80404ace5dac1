// Lorvan's windows driven as a user would: what each action leaves in the
// controls, and the faults the windows once had.
#include "testing/WindowTestSupport.h"

#include "common/text/win32/Text.h"
#include "runner/engine/win32/Win32Platform.h"
#include "runner/window/HelpWindow.h"
#include "runner/window/RunnerApp.h"
#include "runner/window/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <mutex>

using namespace runner;

// What the tests reach inside the main window: its help and its services.
namespace runner {
struct RunnerDlgPeer {
    static RunnerHelp& Help(CRunnerDlg& dialog) { return dialog.help; }
    static RunnerServices& Services(CRunnerDlg& dialog) { return dialog.services; }
};
}  // namespace runner

namespace {

CRunnerApp app;

const char mainCaption[] = "Lorvan";
const char mainText[] = "Current Working Directory (CWD - files are relative to CWD):";
const std::string readyText = "Use F1 for help.\r\n\r\nClick Run when ready.\r\n";
const std::string waitingText =
    "Use F1 for help.\r\n\r\nWaiting for response.\r\n\r\nThe \"Run\" button will be enabled when sufficient "
    "information is available for\r\na run.\r\n";
const std::string programKey = lorvanRegistryKey;
using Names = std::vector<std::string>;
using Requests = std::vector<std::pair<UINT, ULONG_PTR>>;

// Records what F1 and the Help menu ask of the help viewer.
class HelpRecorder : public HelpViewer {
public:
    void Request(HWND, UINT command, ULONG_PTR data) override {
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back({command, data});
    }
    Requests Take() {  // the requests since the last call
        std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(requests, {});
    }

private:
    std::mutex mutex;
    Requests requests;
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
    std::pair<DWORD, DWORD> Selection() const {  // the status window's
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
    CRunnerDlg* dialog = nullptr;

    void SetUp() override {
        dir.Enter();
        RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey);
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey); }

    void Run(const std::function<void(Window&)>& script) {
        CRunnerDlg shown;
        RunnerDlgPeer::Help(shown).SetViewer(help);
        dialog = &shown;
        RunDriven(app, shown, [&](UiDriver& ui) {
            HWND main = ui.WaitForWindow(mainCaption, mainText);
            if (!main) return;
            Window window{{ui, main}};
            script(window);
            ui.Click(main, IDCANCEL);
        });
        dialog = nullptr;
    }
};

}  // namespace

TEST_F(RunnerWindow, MainWindowStatesAndTexts) {
    // A working directory whose name holds "&": shown with no access-key mark.
    const std::string rnd = dir / "R&D";
    ASSERT_TRUE(CreateDirectoryA(rnd.c_str(), nullptr));
    ScratchDir other;
    for (const char* name : {"a.txt", "b.txt"}) other.WriteFile(name, "x");
    SetCurrentDirectoryA(rnd.c_str());
    Run([&](Window& w) {
        EXPECT_EQ(w.Text(IDC_CWD), rnd);
        for (int id : {IDC_CWD, IDC_FILECOUNT}) EXPECT_TRUE(GetWindowLongA(w[id], GWL_STYLE) & SS_NOPREFIX) << id;
        EXPECT_EQ(w.Focused(), w.Field(IDC_PROGRAM));
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt FullPath");
        // The last missing character enables Run; Output is needed only
        // with Rename; "None" needs neither a report nor a temporary extension.
        w.Type(IDC_PROGRAM, "DOSCONV");
        w.Type(IDC_FILES, "*.txt");
        w.Type(IDC_COMMAND, "*");
        EXPECT_EQ(w.States(), "Run -Output Report TempExt FullPath");
        w.Click(IDC_RENAME);
        w.Clear(IDC_OUTPUT);
        EXPECT_EQ(w.States(), "-Run Output Report TempExt FullPath +Rename");
        w.Type(IDC_OUTPUT, "OUT");
        w.Clear(IDC_REPORT);
        w.Clear(IDC_TEMPEXT);
        EXPECT_EQ(w.States(), "-Run Output Report TempExt FullPath +Rename");
        w.Pick(IDC_HANDLING, runner::HandlingNone);
        w.Settle();
        EXPECT_EQ(w.States(), "Run Output -Report -TempExt FullPath +Rename");

        // The report name that goes with a mode is suggested, not imposed.
        w.Pick(IDC_HANDLING, runner::HandlingFilesTime);
        w.Settle();
        EXPECT_EQ(w.States(), "-Run -Output Report TempExt FullPath");  // Rename off in a report mode
        w.Type(IDC_REPORT, "REPORT.TXT");
        const std::string suggestLrv = "Report file name \"REPORT.LRV\" suggested for this handling selection, change?";
        w.Pick(IDC_HANDLING, runner::HandlingHtml);
        EXPECT_TRUE(w.Answer(suggestLrv, IDNO));
        EXPECT_EQ(w.Text(IDC_REPORT), "REPORT.TXT");
        w.Pick(IDC_HANDLING, runner::HandlingHtmlTable);
        EXPECT_TRUE(w.Answer(suggestLrv, IDYES));
        EXPECT_EQ(w.Text(IDC_REPORT), "REPORT.LRV");

        // Temp. ext. left with a text that breaks the rule: the message and
        // the focus back.
        w.Focus(IDC_TEMPEXT);
        w.Type(IDC_TEMPEXT, "TMP");
        w.Focus(IDC_REPORT);
        EXPECT_TRUE(w.Answer(
            "The extension of the temporary file must begin with a dot (.) and be 2 - 4 characters long.", IDOK));
        EXPECT_EQ(w.Focused(), w[IDC_TEMPEXT]);
        w.Clear(IDC_TEMPEXT);
        w.Type(IDC_TEMPEXT, ".TMP");

        // An absolute Translate directory forces Full path; the write-back
        // this makes calls no reaction of its own (the window stays alive).
        w.Type(IDC_TRANSLATE, "C:\\");
        EXPECT_EQ(w.States(), "Run -Output Report TempExt -FullPath +FullPath");
        PostMessageA(w.Field(IDC_TRANSLATE), EM_SETSEL, 1, 2);
        w.Type(IDC_TRANSLATE, "\b");
        EXPECT_EQ(w.Text(IDC_TRANSLATE), "C\\");
        EXPECT_EQ(w.States(), "Run -Output Report TempExt FullPath +FullPath");

        // Options > Handling: ticked while run information is on.
        EXPECT_TRUE(w.MenuTicked(ID_OPTIONS_HANDLING));
        w.Command(ID_OPTIONS_HANDLING);
        EXPECT_TRUE(w.Answer("Run information is now disabled for Handling mode \"Name/time for each report\".", IDOK));
        EXPECT_FALSE(w.MenuTicked(ID_OPTIONS_HANDLING));

        // The lists take texts far wider than themselves.
        const std::string wide = "C:\\" + std::string(50, 'w') + "\\DOSCONV.EXE";
        for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE}) {
            w.Clear(id);
            w.Type(id, wide);
            EXPECT_EQ(w.Text(id), wide) << id;
        }

        // Enter runs, though Run is a plain push button.
        for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE}) w.Clear(id);
        w.Type(IDC_COMMAND, "*");
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        w.EnterFiles("*.txt", false);
        EXPECT_TRUE(w.StatusHas("\r\n0 file(s)\r\n")) << w.Status();
        // An entry picked from a drop-down list counts once the list closes,
        // without any typing.
        PostMessageA(w[IDC_PROGRAM], CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(w[IDC_PROGRAM], CB_SETCURSEL, 1, 0);
        PostMessageA(w[IDC_PROGRAM], CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return w.Enabled(IDOK); }, 2000));
        w.Key(IDC_COMMAND, VK_RETURN);
        EXPECT_TRUE(w.Answer("No files were found matching \"*.txt\".", IDOK));
        // The empty entry picked with the arrow keys: Run greys as for
        // typing, and a Run asked for before that says why.
        w.Key(IDC_PROGRAM, VK_UP);
        EXPECT_EQ(w.Text(IDC_PROGRAM), "");
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return !w.Enabled(IDOK); }, 2000));
        PostMessageA(w.main, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(w.Answer("Lorvan cannot run yet: enter the DOS program to run.", IDOK));

        // Esc closes nothing; Ctrl+A selects the whole status window, and
        // the key reaches no field.
        w.Key(IDC_PROGRAM, VK_ESCAPE);
        EXPECT_TRUE(IsWindowVisible(w.main));
        PostMessageA(w.Field(IDC_OUTPUT), WM_CHAR, 1, 1);
        w.Settle();
        EXPECT_EQ(w.Focused(), w[IDC_STATUS]);
        EXPECT_EQ(w.Text(IDC_OUTPUT), "OUT");
        const auto all = std::make_pair(DWORD(0), static_cast<DWORD>(w.Status().size()));
        EXPECT_EQ(w.Selection(), all);
        // The About box: Esc does nothing, Ctrl+A still selects the status
        // text; from the menu and the window menu.
        SendMessageA(w[IDC_STATUS], EM_SETSEL, 0, 0);
        for (bool systemMenu : {false, true}) {
            if (systemMenu)
                PostMessageA(w.main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            else
                w.Command(ID_HELP_ABOUT);
            HWND about = w.ui.WaitForWindow("About Lorvan", "Lorvan Version 0.97");
            if (!about) break;
            w.ui.Key(GetDlgItem(about, IDOK), VK_ESCAPE);
            PostMessageA(GetDlgItem(about, IDOK), WM_CHAR, 1, 1);
            w.ui.Settle(about);
            EXPECT_TRUE(IsWindowVisible(about));
            EXPECT_EQ(w.Selection(), all);
            w.ui.Click(about, IDOK);
            EXPECT_TRUE(w.ui.WaitGone(about));
        }

        // The folder choosers: Change from the working directory's parent,
        // cancelled; a double-click on the CWD field from the desktop, where
        // another directory is chosen, and the field, the current directory
        // and the listing follow; a double-click on "# of files" lists again.
        w.Click(IDC_CHANGE);
        if (HWND chooser = w.ui.WaitForChooser("Doubleclick the CWD name field to browse from root"))
            w.ui.Click(chooser, IDCANCEL);
        w.Settle();
        EXPECT_EQ(w.Text(IDC_CWD), rnd);
        const char fromRoot[] = "Singleclick the Change button to browse from CWD parent";
        EXPECT_FALSE(w.DoubleClickBesideOpensChooser(IDC_STATUS, IDC_CWD, 40, fromRoot));
        w.ui.DoubleClick(w.main, w.PointOf(IDC_CWD, 10, 5));
        if (HWND chooser = w.ui.WaitForChooser(fromRoot)) w.ui.ChooseFolder(chooser, other.Path());
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return w.Text(IDC_CWD) == other.Path(); }));
        EXPECT_EQ(text::CurrentDirectory(), other.Path());
        other.WriteFile("c.txt", "x");
        w.ui.DoubleClick(w.main, w.PointOf(IDC_FILECOUNT, 5, 5));
        w.Settle();
        EXPECT_TRUE(w.StatusHas("\r\n3 file(s)\r\n")) << w.Status();
        EXPECT_EQ(w.Text(IDC_FILECOUNT), "3");
    });
    dir.Enter();
}

TEST_F(RunnerWindow, HelpWindowAndHelpViewer) {
    Run([&](Window& w) {
        for (auto [id, text] : {std::pair{IDC_PROGRAM, "DOSCONV"}, {IDC_FILES, "*.txt"}, {IDC_COMMAND, "*"}})
            w.Type(id, text);
        // F1: the focused control's topic, its parent's for the edit part of
        // a combo box, the contents where there is none.
        const std::pair<int, DWORD> asks[] = {{IDC_COMMAND, 0x806603ED}, {IDC_TEMPEXT, 0x806603F2}, {IDOK, 0}};
        auto ask = [&](int focus) {
            w.Focus(focus);
            w.ui.Key(w.Field(focus), VK_F1);
            w.Settle();
        };
        // Without a help file beside the program: its own window, one for
        // all requests, showing the topic of that number.
        const std::vector<HelpTopic> topics = ParseHelpTopics(HelpSource());
        HWND shown = nullptr;
        for (auto [focus, number] : asks) {
            ask(focus);
            HWND window = RunnerDlgPeer::Help(*dialog).Window();
            ASSERT_TRUE(window && IsWindowVisible(window)) << focus;
            EXPECT_TRUE(!shown || window == shown);
            shown = window;
            auto topic = std::find_if(topics.begin(), topics.end(), [&](auto& t) { return t.number == number; });
            ASSERT_NE(topic, topics.end()) << number;
            EXPECT_EQ(WindowText(window), "Lorvan Help - " + topic->title);
            EXPECT_EQ(WindowText(GetDlgItem(window, IDC_HELP_TEXT)), topic->text);
        }
        // Esc leaves it open; the close box hides it, the Help menu shows it.
        w.ui.Key(GetDlgItem(shown, IDC_HELP_TOPICS), VK_ESCAPE);
        PostMessageA(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
        w.Settle();
        EXPECT_FALSE(IsWindowVisible(shown));
        w.Command(ID_HELP_CONTENTS);
        w.Settle();
        EXPECT_TRUE(IsWindowVisible(shown));
        EXPECT_EQ(help.Take(), Requests{});

        // With a help file beside the program its viewer is asked instead.
        const std::string helpFile = HelpViewer::DefaultHelpFile();
        CloseHandle(CreateFileA(helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        for (auto [focus, number] : asks) ask(focus);
        w.Command(ID_HELP_CONTENTS);
        w.Settle();
        DeleteFileA(helpFile.c_str());
        EXPECT_EQ(
            help.Take(),
            (Requests{{HELP_CONTEXT, 0x806603ED}, {HELP_CONTEXT, 0x806603F2}, {HELP_FINDER, 0}, {HELP_FINDER, 0}}));
    });
    EXPECT_EQ(help.Take(), (Requests{{HELP_QUIT, 0}}));  // closing tells the viewer
}

TEST_F(RunnerWindow, OptionsDialogs) {
    Run([&](Window& w) {
        w.Add(IDC_FILES, {"A.TXT", "a.txt", "*.doc"});
        SendMessageA(w[IDC_FILES], CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("*.doc"));
        w.Add(IDC_TRANSLATE, {"", " "});
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        w.Type(IDC_PROGRAM, "typed");
        w.Type(IDC_TRANSLATE, "C:\\T");
        // A history editor: its entries marked, its buttons pressed in turn;
        // then the main window's list and text.
        const struct {
            int menu;
            const char* caption;
            std::vector<int> marks, buttons;
            int list;
            Names entries;
            const char* text;
        } rows[] = {
            // Esc, and a Remove then Cancel: nothing changes.
            {ID_OPTIONS_FILES,
             "Files to pass",
             {1},
             {IDC_REMOVE, IDCANCEL},
             IDC_FILES,
             {"*.doc", "a.txt", "A.TXT"},
             "*.doc"},
            // Letter case counts; the selected entry removed: the first left shows.
            {ID_OPTIONS_FILES, "Files to pass", {0, 1}, {IDC_REMOVE, IDOK}, IDC_FILES, {"a.txt"}, "a.txt"},
            // OK with no entry selected selects the first, whose text replaces the typed one.
            {ID_OPTIONS_PROGRAM, "DOS program to run", {}, {IDOK}, IDC_PROGRAM, {"", "DOSCONV"}, ""},
            // All removed: the list is empty and its text stays.
            {ID_OPTIONS_TRANSLATE, "Translate directory", {0, 1}, {IDC_REMOVE, IDOK}, IDC_TRANSLATE, {}, "C:\\T"},
        };
        for (const auto& row : rows) {
            w.Command(row.menu);
            HWND editor = w.ui.WaitForWindow(std::string("Lorvan: ") + row.caption);
            if (!editor) return;
            w.ui.Key(GetDlgItem(editor, IDC_ITEMLIST), VK_ESCAPE);
            for (int index : row.marks) SendMessageA(GetDlgItem(editor, IDC_ITEMLIST), LB_SETSEL, TRUE, index);
            for (int button : row.buttons) {
                w.ui.Click(editor, button);
                if (button == IDC_REMOVE) w.ui.Settle(editor);
            }
            EXPECT_TRUE(w.ui.WaitGone(editor)) << row.caption;
            w.Settle();
            EXPECT_EQ(Entries(w[row.list]), row.entries) << row.caption << " " << row.marks.size();
            EXPECT_EQ(w.Text(row.list), row.text) << row.caption << " " << row.marks.size();
        }

        // Commands at once: 1 to start with; what is not from 1 to 64 is
        // refused and told, and Cancel keeps what was chosen.
        for (const char* typed : {"65", "3", "9"}) {
            w.Command(ID_OPTIONS_ATONCE);
            HWND chooser = w.ui.WaitForWindow("Lorvan: Commands at once");
            if (!chooser) break;
            Dialog atOnce{w.ui, chooser};
            EXPECT_EQ(atOnce.Text(IDC_ATONCE), *typed == '9' ? "3" : "1");
            EXPECT_NE(atOnce.Text(IDC_ATONCE_HINT).find(" logical processor"), std::string::npos);
            atOnce.Clear(IDC_ATONCE);
            atOnce.Type(IDC_ATONCE, typed);
            w.ui.Click(chooser, *typed == '9' ? IDCANCEL : IDOK);
            if (*typed != '3' && *typed != '9') {
                EXPECT_TRUE(atOnce.Answer("Lorvan", "Enter a number from 1 to 64.", IDOK)) << typed;
                w.ui.Click(chooser, IDCANCEL);
            }
            EXPECT_TRUE(w.ui.WaitGone(chooser)) << typed;
        }
        // Stand-in names: one of three ticked.
        EXPECT_TRUE(w.MenuTicked(ID_STANDINS_WHEN_NEEDED));
        w.Command(ID_STANDINS_ALWAYS);
        w.Settle();
        for (int id : {ID_STANDINS_OFF, ID_STANDINS_WHEN_NEEDED, ID_STANDINS_ALWAYS})
            EXPECT_EQ(w.MenuTicked(id), id == ID_STANDINS_ALWAYS) << id;
    });
    Names subkeys;  // the emptied list is not stored
    const RegValues stored = Stored(programKey, &subkeys);
    EXPECT_EQ(subkeys, (Names{"Command", "Files", "Program"}));
    EXPECT_EQ(stored.at("CommandsAtOnce"), Dword(3));
    EXPECT_EQ(stored.at("StandIns"), Dword(runner::StandInsAlways));
}

TEST_F(RunnerWindow, DuringARun) {
    for (const char* name : {"hang.dat", "hung.dat"}) dir.WriteFile(name, "sleep 60000\r\n");
    dir.WriteFile("a.txt", "sleep 4000\r\n");
    Store(programKey, {{"CommandsAtOnce", Dword(2)}});
    Run([&](Window& w) {
        w.Type(IDC_PROGRAM, ExeDirectory() + "\\fakedos.exe");
        w.Type(IDC_COMMAND, "* OUTPUT\\* RUN.TMP");
        w.Pick(IDC_HANDLING, runner::HandlingNone);
        auto running = [&] { return WindowText(w[IDOK]) == "Stop"; };
        auto done = [&] { return w.StatusHas("\r\nDone\r\n"); };
        // Stop twice asks to end the command, or both commands, that run now.
        const std::pair<const char*, const char*> runs[] = {{"hang.dat", "End that command now?"},
                                                            {"h?ng.dat", "End those commands now?"}};
        for (auto [files, question] : runs) {
            w.EnterFiles(files);
            w.ui.Click(w.main, IDOK);
            ASSERT_TRUE(UiDriver::WaitUntil(running, 5000)) << w.Status();
            // The window answers; what could change the record is disabled.
            DWORD_PTR ignored;
            EXPECT_TRUE(SendMessageTimeoutA(w.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored));
            for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_RENAME, IDC_CHANGE, IDC_REPORT})
                EXPECT_FALSE(w.Enabled(id)) << id;
            for (int id : {ID_OPTIONS_FILES, ID_STANDINS_OFF, ID_STANDINS_ALWAYS})
                EXPECT_FALSE(w.MenuEnabled(id)) << id;
            w.ui.Click(w.main, IDOK);
            w.ui.Click(w.main, IDOK);
            EXPECT_TRUE(w.Answer(question, IDYES));
            ASSERT_TRUE(UiDriver::WaitUntil(done, 10000)) << w.Status();
            EXPECT_TRUE(w.StatusHas("\"hang.dat\"  \"HANG.DAT\": Ended\r\n")) << w.Status();
            EXPECT_FALSE(running());
            EXPECT_TRUE(w.Enabled(IDC_FILES));
            for (int id : {ID_OPTIONS_FILES, ID_STANDINS_OFF, ID_STANDINS_ALWAYS}) EXPECT_TRUE(w.MenuEnabled(id)) << id;
        }
        // Closing during a run asks; No goes on, Yes stops, then closes.
        w.EnterFiles("a.txt");
        w.ui.Click(w.main, IDOK);
        ASSERT_TRUE(UiDriver::WaitUntil(running, 5000));
        w.ui.Click(w.main, IDCANCEL);
        EXPECT_TRUE(w.Answer("Stop it and close Lorvan?", IDNO));
        EXPECT_TRUE(running());
        w.ui.Click(w.main, IDCANCEL);
        EXPECT_TRUE(w.Answer("Stop it and close Lorvan?", IDYES, true));
        EXPECT_TRUE(w.ui.WaitGone(w.main, 15000));
    });
    EXPECT_EQ(dir.ReadFile("OUTPUT\\a.txt"), "sleep 4000\r\n");  // the command that ran ended first
    EXPECT_TRUE(Stored(programKey).count("CWD"));                // saved as always
}

TEST_F(RunnerWindow, RemembersTheListsAndFieldsAndTheEntryTyped) {
    Run([&](Window& w) {
        w.Add(IDC_FILES, {"b.txt", "a.txt", ""});
        SendMessageA(w[IDC_FILES], CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("b.txt"));
        // Typed equal to an entry of the Translate list, not picked.
        w.Add(IDC_TRANSLATE, {"C:\\A", "C:\\B"});
        w.Pick(IDC_TRANSLATE, 0);
        w.Clear(IDC_TRANSLATE);
        w.Type(IDC_TRANSLATE, "C:\\B");
        w.Clear(IDC_REPORT);
        w.Type(IDC_REPORT, "RUN.LRV");
        w.Pick(IDC_HANDLING, runner::HandlingFilesTime);
        w.Click(IDC_TEST);
        SetWindowPos(w.main, nullptr, -10, -20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    });
    EXPECT_EQ(Stored(programKey + "\\Files"),
              (RegValues{{"2", Text("a.txt")}, {"3", Text("b.txt")}, {"select", Dword(2)}}));
    Run([&](Window& w) {
        RECT r;
        GetWindowRect(w.main, &r);
        EXPECT_EQ(std::make_pair(r.left, r.top), std::make_pair(LONG(-10), LONG(-20)));
        EXPECT_EQ(Entries(w[IDC_FILES]), (Names{"a.txt", "b.txt"}));
        EXPECT_EQ(w.Text(IDC_FILES), "b.txt");
        EXPECT_EQ(w.Text(IDC_TRANSLATE), "C:\\B");
        EXPECT_EQ(w.Text(IDC_REPORT), "RUN.LRV");
        EXPECT_EQ(SendMessageA(w[IDC_HANDLING], CB_GETCURSEL, 0, 0), runner::HandlingFilesTime);
        EXPECT_TRUE(w.Checked(IDC_TEST));
    });
}

TEST_F(RunnerWindow, OddAndOlderStoredSettingsLoad) {
    // Shapes that once ended the program at every start, or told of a Temp.
    // ext. over its limit without end: the window opens, tells once, and the
    // values stay stored until the save at close.
    const std::string program600(600, 'p'), files100k(100000, 'f');
    Store(programKey, {{"CWD", Text(dir.Path())}, {"TempExt", Text("0123456789")}});
    Store(programKey + "\\Program", {{"1", Text(program600)}, {"2", Text("DOSCONV")}, {"select", Dword(1)}});
    Store(programKey + "\\Files", {{"1", Text(files100k)}, {"select", Dword(1)}});
    Run([&](Window& w) {
        EXPECT_TRUE(w.Answer("Enter no more than 4 characters.", IDOK));
        EXPECT_FALSE(w.Asks("Enter no more than"));
        EXPECT_EQ(w.Focused(), w[IDC_TEMPEXT]);
        DWORD size = 0;
        RegGetValueA(HKEY_CURRENT_USER, (programKey + "\\Files").c_str(), "1", RRF_RT_REG_SZ, nullptr, nullptr, &size);
        EXPECT_EQ(size, files100k.size() + 1);
        EXPECT_EQ(Entries(w[IDC_PROGRAM]), (Names{"DOSCONV"}));
        EXPECT_EQ(w.Text(IDC_PROGRAM), "");
        EXPECT_TRUE(Entries(w[IDC_FILES]).empty());
        w.Clear(IDC_TEMPEXT);
    });
    // Written by a program of code page 1252, as earlier versions did: the
    // window, in UTF-8, shows the same characters, and a command of 126 of
    // them still fits its field although it is longer in UTF-8.
    RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey);
    std::string command;
    for (int i = 0; i < 63; ++i) command += "é ";
    StoreAsLegacy(programKey + "\\Program", {{"1", "C:\\Büro\\Ärger.exe"}});
    StoreAsLegacy(programKey + "\\Command", {{"1", command}});
    StoreAsLegacy(programKey, {{"CWD", dir.Path()}, {"Output", "Ausgabe€"}});
    Store(programKey + "\\Program", {{"select", Dword(1)}});
    Run([&](Window& w) {
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
    const std::string journal = runner::Win32Platform().JournalPath();
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

TEST_F(RunnerWindow, TheStatusWindowGrowsAtItsEndAndTheProgressPastSixteenBits) {
    CRunnerDlg shown;
    RunnerDlgPeer::Help(shown).SetViewer(help);
    ASSERT_TRUE(shown.Create());
    HWND status = GetDlgItem(shown.Handle(), IDC_STATUS);
    // Appended text goes at the end, wherever the user put the caret or
    // what they selected; their selection stays.
    RunnerDlgPeer::Services(shown).SetStatus("Found:");
    RunnerDlgPeer::Services(shown).AppendStatus("one");
    RunnerDlgPeer::Services(shown).Flush();
    SendMessageA(status, EM_SETSEL, 0, 3);
    RunnerDlgPeer::Services(shown).AppendStatus("two");
    RunnerDlgPeer::Services(shown).Flush();
    DWORD start = 1, end = 0;
    SendMessageA(status, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD(0), DWORD(3)));
    EXPECT_EQ(WindowText(status), "Found:\r\none\r\ntwo\r\n");
    // A long listing is not cut.
    const std::string line = "\"a long file name of the listing.txt\"  \"ALONGF~1.TXT\"";
    for (int i = 0; i < 20000; ++i) RunnerDlgPeer::Services(shown).AppendStatus(line);
    RunnerDlgPeer::Services(shown).Flush();
    EXPECT_EQ(WindowText(status).size(), 18 + 20000 * (line.size() + 2));
    RunnerDlgPeer::Services(shown).SetProgressRange(70000);
    RunnerDlgPeer::Services(shown).SetProgressPos(68000);
    HWND progress = GetDlgItem(shown.Handle(), IDC_PROGRESS);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 70000);
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 68000);
    shown.Destroy();
}
