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
const std::string readyText = "Use F1 for help.\r\n\r\nClick Run when ready.\r\n";
const std::string programKey = lorvanRegistryKey;
using Names = std::vector<std::string>;
using Requests = std::vector<std::pair<UINT, ULONG_PTR>>;

// Records what F1 and the Help menu ask of the help viewer.
struct HelpRecorder : HelpViewer {
    Requests requests;  // read once the window has closed
    void Request(HWND, UINT command, ULONG_PTR data) override { requests.push_back({command, data}); }
};

struct Window : Dialog {
    bool MenuEnabled(int id) const { return !(GetMenuState(GetMenu(main), id, MF_BYCOMMAND) & MF_GRAYED); }
    std::string Status() const { return Text(IDC_STATUS); }
    bool StatusHas(const std::string& text) const { return Status().find(text) != std::string::npos; }
    bool Answer(const std::string& text, int button, bool closing = false) const {
        return Dialog::Answer(mainCaption, text, button, closing);
    }
    // "Run" when Run, its menu item and the status agree that a run can
    // start, "-Run" when all three say it cannot; each field, "-" when
    // greyed; "+" each ticked box.
    std::string States() const {
        const bool run = Enabled(IDOK), agree = run == MenuEnabled(IDOK) && (Status() == readyText) == run;
        std::string states = agree ? (run ? "Run" : "-Run") : "Run?";
        for (auto [id, name] : {std::pair{IDC_OUTPUT, "Output"}, {IDC_REPORT, "Report"}, {IDC_TEMPEXT, "TempExt"}})
            states += std::string(Enabled(id) ? " " : " -") + name;
        for (auto [id, name] : {std::pair{IDC_RENAME, "Rename"}, {IDC_FULLPATH, "FullPath"}})
            states += std::string(Checked(id) ? " +" : " ") + (Enabled(id) ? "" : "-") + name;
        return states;
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
            if (HWND main = ui.WaitForWindow(mainCaption, "Current Working Directory")) {
                Window window{{ui, main}};
                script(window);
                ui.Click(main, IDCANCEL);
            }
        });
    }
};

}  // namespace

TEST_F(RunnerWindow, MainWindowStatesAndTexts) {
    // A working directory whose name holds "&": shown with no access-key mark.
    const std::string rnd = dir / "R&D";
    dir.MakeDir("R&D");
    SetCurrentDirectoryA(rnd.c_str());
    Run([&](Window& w) {
        EXPECT_EQ(w.Text(IDC_CWD), rnd);
        for (int id : {IDC_CWD, IDC_FILECOUNT}) EXPECT_TRUE(GetWindowLongA(w[id], GWL_STYLE) & SS_NOPREFIX) << id;
        EXPECT_EQ(w.Focused(), w.Field(IDC_PROGRAM));
        // An action, then what the fields show. Output is needed only with
        // Rename; "None" needs neither a report nor a temporary extension;
        // an absolute Translate directory forces Full path, and the
        // write-back this makes calls no reaction of its own.
        const struct {
            int id;  // typed into; Rename: clicked; Handling: picked
            const char* typed;
            bool clear;
            const char* states;
        } steps[] = {
            {0, "", false, "-Run -Output Report TempExt Rename FullPath"},
            {IDC_PROGRAM, "DOSCONV", false, "-Run -Output Report TempExt Rename FullPath"},
            {IDC_FILES, "*.txt", false, "-Run -Output Report TempExt Rename FullPath"},
            {IDC_COMMAND, "*", false, "Run -Output Report TempExt Rename FullPath"},
            {IDC_RENAME, "", false, "Run Output Report TempExt +Rename FullPath"},
            {IDC_OUTPUT, "", true, "-Run Output Report TempExt +Rename FullPath"},
            {IDC_OUTPUT, "OUT", false, "Run Output Report TempExt +Rename FullPath"},
            {IDC_REPORT, "", true, "-Run Output Report TempExt +Rename FullPath"},
            {IDC_HANDLING, "", false, "Run Output -Report -TempExt +Rename FullPath"},
            {IDC_TRANSLATE, "C:\\", false, "Run Output -Report -TempExt +Rename +-FullPath"},
        };
        for (const auto& step : steps) {
            if (step.clear) w.Clear(step.id);
            if (step.id == IDC_RENAME) w.Click(step.id);
            if (step.id == IDC_HANDLING) w.Pick(step.id, HandlingNone);
            if (step.id && step.id != IDC_RENAME) w.Type(step.id, step.typed);
            EXPECT_EQ(w.States(), step.states) << step.id << " " << step.typed;
        }
        PostMessageA(w.Field(IDC_TRANSLATE), EM_SETSEL, 1, 2);
        w.Type(IDC_TRANSLATE, "\b");
        EXPECT_EQ(w.Text(IDC_TRANSLATE), "C\\");
        EXPECT_EQ(w.States(), "Run Output -Report -TempExt +Rename +FullPath");

        // The lists take texts far wider than themselves.
        const std::string wide = "C:\\" + std::string(50, 'w') + "\\DOSCONV.EXE";
        for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE}) {
            w.Clear(id);
            w.Type(id, wide);
            EXPECT_EQ(w.Text(id), wide) << id;
        }
        // Enter runs, though Run is a plain push button; an entry picked from
        // a drop-down list counts once the list closes, without typing.
        for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE}) w.Clear(id);
        w.Type(IDC_COMMAND, "*");
        w.Type(IDC_FILES, "*.txt");
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        PostMessageA(w[IDC_PROGRAM], CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(w[IDC_PROGRAM], CB_SETCURSEL, 1, 0);
        PostMessageA(w[IDC_PROGRAM], CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return w.Enabled(IDOK); }, 2000));
        w.Key(IDC_COMMAND, VK_RETURN);
        EXPECT_TRUE(w.Answer("No files were found matching \"*.txt\".", IDOK));
        // The empty entry picked with the arrow keys greys Run, and a Run
        // asked for then says why.
        w.Key(IDC_PROGRAM, VK_UP);
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return !w.Enabled(IDOK); }, 2000));
        PostMessageA(w.main, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(w.Answer("Lorvan cannot run yet: enter the DOS program to run.", IDOK));

        // Ctrl+A in the main window selects the whole status and reaches no field.
        PostMessageA(w.Field(IDC_OUTPUT), WM_CHAR, 1, 1);
        w.Settle();
        EXPECT_EQ(w.Focused(), w[IDC_STATUS]);
        EXPECT_EQ(w.Text(IDC_OUTPUT), "OUT");
        EXPECT_EQ(SendMessageA(w[IDC_STATUS], EM_GETSEL, 0, 0), MAKELRESULT(0, w.Status().size()));
        // Change browses from the working directory's parent (cancelled), a
        // double-click on the CWD field from the desktop; the field and the
        // current directory follow.
        ScratchDir other;
        w.Click(IDC_CHANGE);
        w.ui.Choose("Doubleclick the CWD name field to browse from root", "");
        w.DoubleClickOn(IDC_CWD);
        w.ui.Choose("Singleclick the Change button to browse from CWD parent", other.Path());
        EXPECT_TRUE(UiDriver::WaitUntil([&] { return w.Text(IDC_CWD) == other.Path(); }));
        EXPECT_EQ(text::CurrentDirectory(), other.Path());
    });
    dir.Enter();
}

TEST_F(RunnerWindow, HelpWindowAndHelpViewer) {
    // F1 on the edit part of a combo box: the combo box's topic. Without a
    // help file beside the program in Lorvan's own window; with one, its
    // viewer is asked, and told when the main window closes.
    const std::vector<HelpTopic> topics = ParseHelpTopics(HelpSource());
    auto topic = std::find_if(topics.begin(), topics.end(), [](auto& t) { return t.number == 0x806603ED; });
    ASSERT_NE(topic, topics.end());
    const std::string helpFile = HelpViewer::DefaultHelpFile();
    Run([&](Window& w) {
        w.Focus(IDC_COMMAND);
        w.Key(IDC_COMMAND, VK_F1);
        HWND window = RunnerDlgPeer::Help(*dialog).Window();
        ASSERT_TRUE(window && IsWindowVisible(window));
        EXPECT_EQ(WindowText(window), "Lorvan Help - " + topic->title);
        EXPECT_EQ(WindowText(GetDlgItem(window, IDC_HELP_TEXT)), topic->text);
        CloseHandle(CreateFileA(helpFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        w.Focus(IDC_COMMAND);  // back from the help window
        w.Key(IDC_COMMAND, VK_F1);
    });
    DeleteFileA(helpFile.c_str());
    EXPECT_EQ(help.requests, (Requests{{HELP_CONTEXT, 0x806603ED}, {HELP_QUIT, 0}}));
}

TEST_F(RunnerWindow, EveryWindowWorksFromTheKeyboard) {
    Run([&](Window& w) {
        // Each window by the command that opens it (0: the main window), and
        // its keyboard map; Esc closes each but the main window.
        const std::tuple<int, const char*, const char*> windows[] = {
            {0, mainCaption,
             "Chan&ge|&DOS program to run:|T&est|&Files to pass:|&Command - use symbols for short and long filename:|"
             "&Symbols:|Translate director&y|Full p&ath|&Output directory:|Re&name|&Report file name:|&Temp. ext.:|"
             "Report &handling:|Status:|R&un|E&xit"},
            {ID_OPTIONS_FILES, "Lorvan: Files to pass",
             "&Select the items you want deleted from the Combo Box list|OK|Cancel|&Remove"},
            {ID_OPTIONS_ATONCE, "Lorvan: Commands at once", "&Commands at once (1 - 64):|OK|Cancel"},
            {ID_OPTIONS_EMULATOR, "Lorvan: DOS emulator",
             "&None: Windows starts it itself|&Program file:|&Browse...|OK|Cancel"},
            {ID_HELP_ABOUT, "About Lorvan", "OK"},
            {ID_HELP_CONTENTS, "Lorvan Help - Lorvan help", "|"},
        };
        for (auto [command, caption, map] : windows) {
            if (command) w.Command(command);
            HWND window = command ? w.ui.WaitForWindow(caption) : w.main;
            if (!window) return;
            EXPECT_EQ(KeyboardMap(window), map);
            Dialog shown{w.ui, window};
            if (command == ID_OPTIONS_ATONCE) {  // Ctrl+A stays in the dialog
                PostMessageA(shown[IDC_NUMBER], WM_CHAR, 1, 1);
                shown.Settle();
                EXPECT_EQ(shown.Focused(), shown[IDC_NUMBER]);
            }
            w.ui.Key(shown.Focused() ? shown.Focused() : window, VK_ESCAPE);
            EXPECT_TRUE(!command || w.ui.WaitGone(window)) << caption;
        }
        // In the main window Esc closes an open list, and only that.
        PostMessageA(w[IDC_HANDLING], CB_SHOWDROPDOWN, TRUE, 0);
        w.Key(IDC_HANDLING, VK_ESCAPE);
        EXPECT_FALSE(SendMessageA(w[IDC_HANDLING], CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_TRUE(IsWindowVisible(w.main));
    });
}

TEST_F(RunnerWindow, WhollyOnScreenAtEveryScale) {
    // Wherever the stored position puts it, at 100, 150 and 200 %.
    if (!ScaleOfThisRun()) {
        EXPECT_TRUE(RunAtScales("RunnerWindow.WhollyOnScreenAtEveryScale", {96, 144, 192}));
        return;
    }
    Store(programKey, {{"Left", Dword(1000)}, {"Top", Dword(700)}});  // still touching the screen
    Run([&](Window& w) {
        HDC dc = GetDC(w.main);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), ScaleOfThisRun());
        ReleaseDC(w.main, dc);
        EXPECT_EQ(OutsideWorkArea(w.main), "");
    });
}

TEST_F(RunnerWindow, OptionsDialogs) {
    Run([&](Window& w) {
        w.Add(IDC_FILES, {"A.TXT", "a.txt", "*.doc"});
        SendMessageA(w[IDC_FILES], CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("*.doc"));
        w.Add(IDC_TRANSLATE, {"", " "});
        w.Add(IDC_PROGRAM, {"DOSCONV"});
        w.Type(IDC_PROGRAM, "typed");
        w.Type(IDC_TRANSLATE, "C:\\T");
        // A history editor: its entries marked, then Remove if any and OK;
        // then the window's list and text.
        const struct {
            int menu, list;
            const char* caption;
            std::vector<int> marks;
            Names entries;
            const char* text;
        } rows[] = {
            // Letter case counts; the selected entry removed: the first left shows.
            {ID_OPTIONS_FILES, IDC_FILES, "Files to pass", {0, 1}, {"a.txt"}, "a.txt"},
            // OK with no entry selected selects the first, whose text replaces the typed one.
            {ID_OPTIONS_PROGRAM, IDC_PROGRAM, "DOS program to run", {}, {"", "DOSCONV"}, ""},
            // All removed: the list is empty and its text stays.
            {ID_OPTIONS_TRANSLATE, IDC_TRANSLATE, "Translate directory", {0, 1}, {}, "C:\\T"},
        };
        for (const auto& row : rows) {
            w.Command(row.menu);
            HWND editor = w.ui.WaitForWindow(std::string("Lorvan: ") + row.caption);
            if (!editor) return;
            for (int index : row.marks) SendMessageA(GetDlgItem(editor, IDC_ITEMLIST), LB_SETSEL, TRUE, index);
            if (!row.marks.empty()) w.ui.Click(editor, IDC_REMOVE), w.ui.Settle(editor);
            w.ui.Click(editor, IDOK);
            EXPECT_TRUE(w.ui.WaitGone(editor)) << row.caption;
            w.Settle();
            EXPECT_EQ(Entries(w[row.list]), row.entries) << row.caption;
            EXPECT_EQ(w.Text(row.list), row.text) << row.caption;
        }
        // Commands at once and Time limit per command: a number out of range
        // is refused and told, one in range taken; Show each command's output ticks.
        for (auto [menu, caption, refused, range, taken] :
             {std::tuple{ID_OPTIONS_ATONCE, "Commands at once", "65", "1 to 64", "3"},
              {ID_OPTIONS_TIMELIMIT, "Time limit per command", "86401", "0 to 86400", "90"}}) {
            w.Command(menu);
            if (HWND chooser = w.ui.WaitForWindow(std::string("Lorvan: ") + caption)) {
                Dialog number{w.ui, chooser};
                number.Clear(IDC_NUMBER);
                number.Type(IDC_NUMBER, refused);
                w.ui.Click(chooser, IDOK);
                EXPECT_TRUE(number.Answer("Lorvan", std::string("Enter a number from ") + range + ".", IDOK));
                number.Clear(IDC_NUMBER);
                number.Type(IDC_NUMBER, taken);
                w.ui.Click(chooser, IDOK);
                EXPECT_TRUE(w.ui.WaitGone(chooser));
            }
        }
        // DOS emulator: a path with no file is told, and refused at OK.
        w.Command(ID_OPTIONS_EMULATOR);
        if (HWND chooser = w.ui.WaitForWindow("Lorvan: DOS emulator")) {
            Dialog emulator{w.ui, chooser};
            PostMessageA(GetDlgItem(chooser, IDC_EMULATOR_MSDOS), BM_CLICK, 0, 0);
            w.ui.Settle(chooser);
            const auto check = [&](const char* path, const char* told) {
                emulator.Clear(IDC_EMULATOR_PATH);
                emulator.Type(IDC_EMULATOR_PATH, path);
                char text[100] = {};
                GetDlgItemTextA(chooser, IDC_EMULATOR_CHECK, text, sizeof text);
                EXPECT_STREQ(text, told);
            };
            check("C:\none.exe", "There is no file at this path.");
            w.ui.Click(chooser, IDOK);
            EXPECT_TRUE(emulator.Answer("Lorvan", "Choose the program file of MS-DOS Player (Browse), or None.", IDOK));
            check("C:\\windows\\notepad.exe", "The program file is there.");
            w.ui.Click(chooser, IDOK);
            EXPECT_TRUE(w.ui.WaitGone(chooser));
        }
        w.Command(ID_OPTIONS_SHOWOUTPUT);
        w.Settle();
        EXPECT_TRUE(GetMenuState(GetMenu(w.main), ID_OPTIONS_SHOWOUTPUT, MF_BYCOMMAND) & MF_CHECKED);
    });
    EXPECT_TRUE(Stored(programKey + "\\Translate").empty());  // the emptied list is not stored
    const RegValues stored = Stored(programKey);
    EXPECT_EQ(std::tuple(stored.at("CommandsAtOnce"), stored.at("TimeLimit"), stored.at("ShowOutput"),
                         stored.at("Emulator"), stored.at("MsDosPlayerPath")),
              std::tuple(Dword(3), Dword(90), Dword(1), Dword(1), Text("C:\\windows\\notepad.exe")));
}

TEST_F(RunnerWindow, DuringARun) {
    for (const char* name : {"hang.dat", "hung.dat"}) dir.WriteFile(name, "sleep 60000\r\n");
    dir.WriteFile("a.txt", "sleep 4000\r\n");
    Store(programKey, {{"CommandsAtOnce", Dword(2)}});
    Run([&](Window& w) {
        w.Type(IDC_PROGRAM, ExeDirectory() + "\\fakedos.exe");
        w.Type(IDC_COMMAND, "* OUTPUT\\* RUN.TMP");
        w.Pick(IDC_HANDLING, HandlingNone);
        auto running = [&] { return WindowText(w[IDOK]) == "Stop"; };
        auto start = [&](const char* files) {
            w.Focus(IDC_FILES);
            w.Clear(IDC_FILES);
            w.Type(IDC_FILES, files);
            w.ui.Click(w.main, IDOK);
            return UiDriver::WaitUntil(running, 5000);
        };
        // Stop twice asks to end the command, or both commands, that run now;
        // what could change the record is greyed meanwhile.
        for (auto [files, question] :
             {std::pair{"hang.dat", "End that command now?"}, {"h?ng.dat", "End those commands now?"}}) {
            ASSERT_TRUE(start(files)) << w.Status();
            for (int id : {IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_RENAME, IDC_CHANGE, IDC_REPORT})
                EXPECT_FALSE(w.Enabled(id)) << id;
            for (int id : {ID_OPTIONS_FILES, ID_STANDINS_OFF, ID_STANDINS_ALWAYS})
                EXPECT_FALSE(w.MenuEnabled(id)) << id;
            w.ui.Click(w.main, IDOK);
            w.ui.Click(w.main, IDOK);
            EXPECT_TRUE(w.Answer(question, IDYES));
            ASSERT_TRUE(UiDriver::WaitUntil([&] { return w.StatusHas("\r\nDone\r\n"); }, 10000)) << w.Status();
            EXPECT_TRUE(w.StatusHas("\"hang.dat\"  \"HANG.DAT\": Ended\r\n")) << w.Status();
            EXPECT_TRUE(w.Enabled(IDC_FILES));
            for (int id : {ID_OPTIONS_FILES, ID_STANDINS_OFF, ID_STANDINS_ALWAYS}) EXPECT_TRUE(w.MenuEnabled(id)) << id;
        }
        // Closing during a run asks; No goes on, Yes stops, then closes.
        ASSERT_TRUE(start("a.txt"));
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

TEST_F(RunnerWindow, RemembersTheListsAndTheEntryTyped) {
    Run([&](Window& w) {
        w.Add(IDC_FILES, {"b.txt", "a.txt", ""});
        SendMessageA(w[IDC_FILES], CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("b.txt"));
        // Typed equal to an entry of the Translate list, not picked.
        w.Add(IDC_TRANSLATE, {"C:\\A", "C:\\B"});
        w.Pick(IDC_TRANSLATE, 0);
        w.Clear(IDC_TRANSLATE);
        w.Type(IDC_TRANSLATE, "C:\\B");
    });
    EXPECT_EQ(Stored(programKey + "\\Files"),
              (RegValues{{"2", Text("a.txt")}, {"3", Text("b.txt")}, {"select", Dword(2)}}));
    Run([&](Window& w) {
        EXPECT_EQ(Entries(w[IDC_FILES]), (Names{"a.txt", "b.txt"}));
        EXPECT_EQ(w.Text(IDC_FILES), "b.txt");
        EXPECT_EQ(w.Text(IDC_TRANSLATE), "C:\\B");
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
        EXPECT_FALSE(UiDriver::Appears(mainCaption, "Enter no more than", 500));
        EXPECT_EQ(w.Focused(), w[IDC_TEMPEXT]);
        DWORD size = 0;
        RegGetValueA(HKEY_CURRENT_USER, (programKey + "\\Files").c_str(), "1", RRF_RT_REG_SZ, nullptr, nullptr, &size);
        EXPECT_EQ(size, files100k.size() + 1);
        EXPECT_EQ(Entries(w[IDC_PROGRAM]), (Names{"DOSCONV"}));
        EXPECT_EQ(w.Text(IDC_PROGRAM), "");
        EXPECT_TRUE(Entries(w[IDC_FILES]).empty());
        w.Clear(IDC_TEMPEXT);
    });
    // As earlier versions stored them in code page 1252 (the registry keeps
    // the characters, whatever code page wrote them): the window shows the
    // same characters, and a command of 126 of them still fits its field
    // although it is longer in UTF-8.
    RegDeleteTreeA(HKEY_CURRENT_USER, lorvanRegistryKey);
    std::string command;
    for (int i = 0; i < 63; ++i) command += "é ";
    Store(programKey + "\\Program", {{"1", Text("C:\\Büro\\Ärger.exe")}, {"select", Dword(1)}});
    Store(programKey + "\\Command", {{"1", Text(command)}});
    Store(programKey, {{"CWD", Text(dir.Path())}, {"Output", Text("Ausgabe€")}});
    Run([&](Window& w) {
        EXPECT_EQ(w.Text(IDC_PROGRAM), "C:\\Büro\\Ärger.exe");
        EXPECT_EQ(Entries(w[IDC_COMMAND]), (Names{command}));
        EXPECT_EQ(w.Text(IDC_OUTPUT), "Ausgabe€");
        EXPECT_FALSE(UiDriver::Appears(mainCaption, "Enter no more than", 500));
    });
    EXPECT_EQ(Stored(programKey + "\\Command").at("1"), Text(command));  // stored back as it came
}

TEST_F(RunnerWindow, NamesAnInterruptedRunLeftComeBackAtStart) {
    // A stand-in made as a run makes one, and the journal it wrote first.
    dir.WriteFile("a long name.txt", "ln");
    ASSERT_TRUE(CreateHardLinkA("LRV00001.TXT", "a long name.txt", nullptr));
    const std::string journal = Win32Platform().JournalPath();
    dir.WriteFile("journal.tmp", dir / "LRV00001.TXT" + "\t" + dir / "a long name.txt" + "\t32\r\n");
    ASSERT_TRUE(MoveFileA((dir / "journal.tmp").c_str(), journal.c_str()));
    Run([&](Window& w) {
        EXPECT_TRUE(w.Answer(
            "A run of Lorvan was interrupted. The names of 1 file(s) that had stand-in names are back.", IDOK));
    });
    EXPECT_EQ(dir.ReadFile("LRV00001.TXT"), "<missing>");
    EXPECT_EQ(dir.ReadFile("a long name.txt"), "ln");
    EXPECT_EQ(GetFileAttributesA(journal.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RunnerWindow, TheStatusWindowGrowsAtItsEndAndTheProgressPastSixteenBits) {
    CRunnerDlg shown;
    RunnerDlgPeer::Help(shown).SetViewer(help);
    ASSERT_TRUE(shown.Create());
    RunnerServices& services = RunnerDlgPeer::Services(shown);
    HWND status = GetDlgItem(shown.Handle(), IDC_STATUS);
    // Appended text goes at the end, wherever the user put the caret or
    // what they selected; their selection stays; a long listing is not cut.
    services.SetStatus("Found:");
    services.AppendStatus("one");
    services.Flush();
    SendMessageA(status, EM_SETSEL, 0, 3);
    const std::string line = "\"a long file name of the listing.txt\"  \"ALONGF~1.TXT\"";
    for (int i = 0; i < 20000; ++i) services.AppendStatus(line);
    services.Flush();
    EXPECT_EQ(SendMessageA(status, EM_GETSEL, 0, 0), MAKELRESULT(0, 3));
    const std::string text = WindowText(status);
    EXPECT_EQ(text.substr(0, 13 + line.size()), "Found:\r\none\r\n" + line);
    EXPECT_EQ(text.size(), 13 + 20000 * (line.size() + 2));
    services.SetProgressRange(70000);
    services.SetProgressPos(68000);
    HWND progress = GetDlgItem(shown.Handle(), IDC_PROGRESS);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 70000);
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 68000);
    shown.Destroy();
}
