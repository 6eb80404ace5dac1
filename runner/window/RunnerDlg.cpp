#include "RunnerDlg.h"

#include "AboutDlg.h"
#include "ComboItemsDlg.h"
#include "StoredSettings.h"
#include "framework/WindowPosition.h"
#include "resource.h"

using namespace lorvan;

const char lorvanRegistryKey[] = "Software\\Veltmarkstede\\Lorvan";

namespace {

const char ReadyText[] = "Use F1 for help.\r\n\r\nClick Run when ready.";
const char WaitingText[] =
    "Use F1 for help.\r\n\r\nWaiting for response.\r\n\r\nThe \"Run\" button will be enabled when sufficient "
    "information is available for\r\na run.";
const char ParentTitle[] = "Doubleclick the CWD name field to browse from root";
const char RootTitle[] = "Singleclick the Change button to browse from CWD parent";

constexpr UINT stateCheckMs = 120;
constexpr UINT fileListMs = 170;
// Posted by the opening: the window shows, then tells of a stored text over
// its limit.
constexpr UINT WM_OPENED = WM_APP + 1;

// What a run still needs, for a Run asked for before the fields suffice.
std::string MissingForRun(const RunSettings& s) {
    std::string missing = s.program.empty()              ? "the DOS program to run"
                          : s.files.empty()              ? "the files to pass"
                          : s.command.empty()            ? "the command"
                          : s.output.empty() && s.rename ? "the output directory (Rename is ticked)"
                          : s.report.empty()             ? "the report file name"
                                                         : "the temporary extension";
    return "Lorvan cannot run yet: enter " + missing + ".";
}

}  // namespace

using R = fw::Route<CRunnerDlg>;
const R CRunnerDlg::routes[] = {
    R::Message(WM_SYSCOMMAND, &CRunnerDlg::OnSysCommand),
    R::Message(WM_PAINT, &CRunnerDlg::OnPaintMinimised),
    R::Message(WM_QUERYDRAGICON, &CRunnerDlg::OnQueryDragIcon),
    R::Message(WM_TIMER, &CRunnerDlg::OnTimer),
    R::Message(WM_OPENED, &CRunnerDlg::OnOpened),
    R::Command(CBN_EDITCHANGE, IDC_PROGRAM, &CRunnerDlg::OnStateChanged),
    R::Command(CBN_KILLFOCUS, IDC_PROGRAM, &CRunnerDlg::OnFieldFocusLost),
    R::Command(CBN_CLOSEUP, IDC_PROGRAM, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_SELCHANGE, IDC_PROGRAM, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_EDITCHANGE, IDC_FILES, &CRunnerDlg::OnStateChanged),
    R::Command(CBN_KILLFOCUS, IDC_FILES, &CRunnerDlg::OnFilesFocusLost),
    R::Command(CBN_CLOSEUP, IDC_FILES, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_SELCHANGE, IDC_FILES, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_EDITCHANGE, IDC_COMMAND, &CRunnerDlg::OnStateChanged),
    R::Command(CBN_KILLFOCUS, IDC_COMMAND, &CRunnerDlg::OnFieldFocusLost),
    R::Command(CBN_CLOSEUP, IDC_COMMAND, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_SELCHANGE, IDC_COMMAND, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_EDITCHANGE, IDC_TRANSLATE, &CRunnerDlg::OnStateChanged),
    R::Command(CBN_KILLFOCUS, IDC_TRANSLATE, &CRunnerDlg::OnFieldFocusLost),
    R::Command(CBN_CLOSEUP, IDC_TRANSLATE, &CRunnerDlg::StartStateCheck),
    R::Command(CBN_SELCHANGE, IDC_TRANSLATE, &CRunnerDlg::StartStateCheck),
    R::Command(EN_CHANGE, IDC_OUTPUT, &CRunnerDlg::OnStateChanged),
    R::Command(EN_CHANGE, IDC_REPORT, &CRunnerDlg::OnStateChanged),
    R::Command(EN_CHANGE, IDC_TEMPEXT, &CRunnerDlg::OnStateChanged),
    R::Command(EN_KILLFOCUS, IDC_TEMPEXT, &CRunnerDlg::OnTempExtFocusLost),
    R::Command(CBN_SELCHANGE, IDC_HANDLING, &CRunnerDlg::OnHandlingChange),
    R::Command(BN_CLICKED, IDC_RENAME, &CRunnerDlg::OnRenameChange),
    R::Command(BN_CLICKED, IDC_CHANGE, &CRunnerDlg::BrowseFromParent),
    R::Menu(ID_OPTIONS_HANDLING, &CRunnerDlg::OnHandling0Toggle),
    R::Menu(ID_OPTIONS_PROGRAM, &CRunnerDlg::OnEditProgramList),
    R::Menu(ID_OPTIONS_FILES, &CRunnerDlg::OnEditFilesList),
    R::Menu(ID_OPTIONS_COMMAND, &CRunnerDlg::OnEditCommandList),
    R::Menu(ID_OPTIONS_TRANSLATE, &CRunnerDlg::OnEditTranslateList),
    R::Menu(ID_HELP_CONTENTS, &CRunnerDlg::OnHelpContents),
    R::Menu(ID_HELP_ABOUT, &CRunnerDlg::OnAbout),
    R::Menu(fw::IdHelpCommand, &CRunnerDlg::OnContextHelp),
};

CRunnerDlg::CRunnerDlg(HWND parent, Platform* otherPlatform)
    : MainDialog(IDD_RUNNER_DIALOG, IDI_LORVAN, parent), platform(otherPlatform ? *otherPlatform : windowsPlatform) {
    // No entry selected until the window opens and sets the start values.
    settings.handling = -1;
    settings.symbols = -1;
    settings.output.clear();
    settings.report.clear();
    settings.tempExt.clear();
}

CRunnerDlg::~CRunnerDlg() {
    Destroy();
}

bool CRunnerDlg::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    bool handled = fw::RouteMessage<CRunnerDlg>(this, routes, msg, wp, lp, result);
    // Whatever a reaction wrote into the status window is shown when it ends.
    if (handled) FlushStatus();
    return handled;
}

void CRunnerDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.ListIndex(IDC_HANDLING, settings.handling);
    dx.Check(IDC_RENAME, settings.rename);
    dx.Text(IDC_CWD, settings.cwd);
    dx.ComboText(IDC_PROGRAM, settings.program, maxProgramLength);
    dx.ComboText(IDC_FILES, settings.files, maxFilesLength);
    dx.ComboText(IDC_COMMAND, settings.command, maxCommandLength);
    dx.Text(IDC_OUTPUT, settings.output, maxOutputLength);
    dx.Text(IDC_REPORT, settings.report);
    dx.ListIndex(IDC_SYMBOLS, settings.symbols);
    dx.Text(IDC_TEMPEXT, settings.tempExt, maxTempExtLength);
    dx.Check(IDC_TEST, settings.test);
    dx.Check(IDC_FULLPATH, settings.fullPath);
    dx.ComboSelectText(IDC_TRANSLATE, settings.translate);
}

BOOL CRunnerDlg::OnInitDialog() {
    translateList.hwnd = Item(IDC_TRANSLATE);
    filesList.hwnd = Item(IDC_FILES);
    commandList.hwnd = Item(IDC_COMMAND);
    programList.hwnd = Item(IDC_PROGRAM);
    handlingList.hwnd = Item(IDC_HANDLING);
    symbolsList.hwnd = Item(IDC_SYMBOLS);
    fw::ComboBox* const lists[historyListCount] = {&programList, &filesList, &commandList, &translateList};
    services.Attach(Handle(), lists, [this](int id) { FocusControl(id); });

    // The controls with a help topic of their own carry its number.
    for (int id : {IDC_CHANGE, IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE, IDC_OUTPUT, IDC_REPORT, IDC_HANDLING,
                   IDC_STATUS, IDC_TEST, IDC_SYMBOLS, IDC_FULLPATH, IDC_RENAME, IDC_TEMPEXT})
        SetWindowContextHelpId(Item(id), HIDC_BASE + id);

    // The lists' initial entries.
    for (const char* text : handlingTexts) handlingList.AddString(text);
    for (const char* text : symbolSetTexts) symbolsList.AddString(text);
    programList.AddString("");
    commandList.AddString("");

    // The window cannot be sized or maximised: Size and Maximize of the
    // window menu are greyed, by position.
    if (HMENU systemMenu = GetSystemMenu(Handle(), FALSE)) {
        EnableMenuItem(systemMenu, 2, MF_BYPOSITION | MF_GRAYED);
        EnableMenuItem(systemMenu, 4, MF_BYPOSITION | MF_GRAYED);
    }
    SetUpMainWindow(IDS_ABOUTBOX, IDM_ABOUTBOX);

    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    const std::string cwd = current;
    settings = RunSettings{};  // the start values
    settings.cwd = cwd;

    LoadSettings();
    struct {
        fw::ComboBox& list;
        std::string& field;
    } const selections[] = {{programList, settings.program},
                            {filesList, settings.files},
                            {commandList, settings.command},
                            {translateList, settings.translate}};
    for (const auto& s : selections)
        if (s.list.CurSel() >= 0) s.field = s.list.ItemText(s.list.CurSel());

    UpdateData(false);
    ShowHandling0Tick();
    OnRenameChange();
    OnStateChanged();
    if (!settings.files.empty()) SetTimer(Handle(), TimerFileList, fileListMs, nullptr);
    FlushStatus();

    // While a command runs, the window goes on answering: the wait hands
    // it the messages that arrive.
    platform.SetWaitHook([this] {
        FlushStatus();
        ProcessWaitingMessages();
    });

    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(programList.hwnd), TRUE);
    PostMessageA(Handle(), WM_OPENED, 0, 0);
    return FALSE;
}

bool CRunnerDlg::OnOpened(WPARAM, LPARAM, LRESULT& result) {
    // The readings of the opening were quiet; this one tells, once.
    if (Reacting()) UpdateData(true);
    result = 0;
    return true;
}

fw::ComboBox* CRunnerDlg::StoredListControl(int list) {
    fw::ComboBox* controls[storedListCount] = {&programList, &filesList, &commandList, &translateList};
    return controls[list];
}

void CRunnerDlg::LoadSettings() {
    LoadedSettings loaded = LoadStoredSettings(lorvanRegistryKey, settings, platform);
    // A position on no monitor (a screen since removed) is not applied.
    if (loaded.position) fw::ApplyWindowPosition(Handle(), *loaded.position);
    for (int i = 0; i < storedListCount; ++i) {
        if (!loaded.lists[i]) continue;
        fw::ComboBox& list = *StoredListControl(i);
        list.ResetContent();
        for (const std::string& entry : loaded.lists[i]->entries) list.AddString(entry.c_str());
        list.SetCurSel(loaded.lists[i]->selected);
    }
}

int CRunnerDlg::EntryShown(const fw::ComboBox& list) {
    const std::string shown = list.Text();
    int caseFolded = -1;
    for (int j = 0, count = list.Count(); j < count; ++j) {
        const std::string entry = list.ItemText(j);
        if (entry == shown) return j;
        if (caseFolded < 0 && platform.CompareNoCase(entry, shown) == 0) caseFolded = j;
    }
    return caseFolded >= 0 ? caseFolded : list.CurSel();
}

void CRunnerDlg::SaveSettings() {
    StoredList lists[storedListCount];
    for (int i = 0; i < storedListCount; ++i) {
        const fw::ComboBox& list = *StoredListControl(i);
        for (int j = 0, count = list.Count(); j < count; ++j) lists[i].entries.push_back(list.ItemText(j));
        // The entry that the field shows is what the next start shows: a
        // text typed equal to an entry, not picked, leaves the list's
        // selection on the entry chosen before.
        lists[i].selected = EntryShown(list);
    }
    SaveStoredSettings(lorvanRegistryKey, settings, Handle(), lists);
}

void CRunnerDlg::OnDestroy() {
    KillTimer(Handle(), TimerStateCheck);
    KillTimer(Handle(), TimerFileList);
    helpViewer->Request(Handle(), HELP_QUIT, 0);
    helpWindow.Close();
    platform.SetWaitHook(nullptr);
    // The window is already gone from the screen: a field over its limit
    // stops the reading without a message that would stand on its own.
    UpdateData(true, true);
    SaveSettings();
}

void CRunnerDlg::OnStateChanged() {
    if (!Reacting()) return;
    UpdateData(true);
    runnable = IsRunnable(settings);
    EnableWindow(Item(IDOK), runnable);
    EnableMenuItem(GetMenu(Handle()), IDOK, MF_BYCOMMAND | (runnable ? MF_ENABLED : MF_GRAYED));
    translateOn = IsTranslateOn(settings);
    translateAbsolute = IsTranslateAbsolute(settings);
    services.SetStatus(runnable ? ReadyText : WaitingText);
    EnableWindow(Item(IDC_FULLPATH), !translateAbsolute);
    if (translateAbsolute) {
        // Only the check box changes: a reading that stopped at a field over
        // its limit left the fields after it unread, and writing them back
        // would undo what the user typed there.
        settings.fullPath = true;
        CheckDlgButton(Handle(), IDC_FULLPATH, BST_CHECKED);
    }
}

void CRunnerDlg::OnRenameChange() {
    if (!Reacting()) return;
    UpdateData(true);
    EnableWindow(Item(IDC_OUTPUT), settings.rename);
    OnStateChanged();
}

void CRunnerDlg::OnHandlingChange() {
    if (!Reacting()) return;
    UpdateData(true);
    settings.rename = RenameForHandling(settings.handling);
    UpdateData(false);
    OnRenameChange();
    const bool reporting = settings.handling < HandlingNone;
    EnableWindow(Item(IDC_REPORT), reporting);
    EnableWindow(Item(IDC_TEMPEXT), reporting);
    if (settings.handling == HandlingNone) return;
    if (std::optional<std::string> name = SuggestReportName(settings.handling, settings.report)) {
        std::string question = "Report file name \"" + *name + "\" suggested for this handling selection, change?";
        if (services.Ask(question, lorvanTitle, Buttons::YesNo, Icon::None) == Answer::Yes) {
            settings.report = *name;
            UpdateData(false);
        }
    }
}

bool CRunnerDlg::FocusStaysHere() const {
    HWND to = GetFocus();
    return to && IsChild(Handle(), to);
}

void CRunnerDlg::OnFieldFocusLost() {
    if (FocusStaysHere()) OnStateChanged();
}

void CRunnerDlg::OnTempExtFocusLost() {
    if (!Reacting() || !FocusStaysHere()) return;
    UpdateData(true);
    if (IsTempExtAcceptable(settings)) return;
    services.Ask(lorvan::tempExtMessage, lorvanTitle, Buttons::Ok, Icon::None);
    SetFocus(Item(IDC_TEMPEXT));
}

void CRunnerDlg::OnFilesFocusLost() {
    if (!Reacting() || !FocusStaysHere()) return;
    OnStateChanged();
    if (platform.CompareNoCase(settings.files, engine.LastListedPattern()) != 0) RefreshFileList();
}

void CRunnerDlg::StartStateCheck() {
    // Restarts the period when the timer runs already.
    SetTimer(Handle(), TimerStateCheck, stateCheckMs, nullptr);
}

bool CRunnerDlg::OnTimer(WPARAM wp, LPARAM, LRESULT& result) {
    // One-shot: stopped at its first tick, before its action.
    KillTimer(Handle(), wp);
    if (wp == TimerStateCheck)
        OnStateChanged();
    else if (wp == TimerFileList)
        RefreshFileList();
    result = 0;
    return true;
}

void CRunnerDlg::ShowHandling0Tick() {
    CheckMenuItem(GetMenu(Handle()), ID_OPTIONS_HANDLING,
                  MF_BYCOMMAND | (settings.handling0 ? MF_UNCHECKED : MF_CHECKED));
}

void CRunnerDlg::OnHandling0Toggle() {
    settings.handling0 = !settings.handling0;
    ShowHandling0Tick();
    services.Ask(std::string("Run information is now ") + (settings.handling0 ? "dis" : "en") +
                     "abled for Handling mode \"Name/time for each report\".",
                 lorvanTitle, Buttons::Ok, Icon::None);
}

void CRunnerDlg::EditHistory(const char* caption, const fw::ComboBox& list) {
    CComboItemsDlg editor;
    editor.SetTarget(caption, list);
    editor.DoModal();
}

void CRunnerDlg::OnEditProgramList() {
    EditHistory("DOS program to run", programList);
}

void CRunnerDlg::OnEditFilesList() {
    EditHistory("Files to pass", filesList);
}

void CRunnerDlg::OnEditCommandList() {
    EditHistory("Command", commandList);
}

void CRunnerDlg::OnEditTranslateList() {
    EditHistory("Translate directory", translateList);
}

void CRunnerDlg::Help(DWORD topic) {
    // The platform's viewer only for a help file of its own format beside
    // the program; today's Windows has no such viewer, so without the file
    // the program's own window answers.
    const DWORD attributes = GetFileAttributesA(HelpViewer::DefaultHelpFile().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        helpViewer->Request(Handle(), topic ? HELP_CONTEXT : HELP_FINDER, topic);
    else
        helpWindow.Show(Handle(), topic);
}

void CRunnerDlg::OnHelpContents() {
    Help(0);
}

void CRunnerDlg::OnContextHelp() {
    // The focused window's number, or its parent's: the edit part of a
    // combo box has none of its own.
    HWND focus = GetFocus();
    DWORD topic = focus ? GetWindowContextHelpId(focus) : 0;
    if (!topic && focus && GetParent(focus)) topic = GetWindowContextHelpId(GetParent(focus));
    Help(topic);
}

void CRunnerDlg::OnAbout() {
    CAboutDlg about;
    about.DoModal();
}

bool CRunnerDlg::OnSysCommand(WPARAM wp, LPARAM, LRESULT& result) {
    if (!IsCommand(wp, IDM_ABOUTBOX)) return false;
    OnAbout();
    result = 0;
    return true;
}

void CRunnerDlg::OnOK() {
    if (engine.IsBusy()) {
        OnStop();
        return;
    }
    // The run starts from what the controls show: a list entry picked with
    // the arrow keys may not have been seen yet.
    if (!Reacting() || !UpdateData(true)) return;
    if (!IsRunnable(settings)) {
        // Enter runs even while the button is greyed: never a silent nothing.
        OnStateChanged();
        services.Ask(MissingForRun(settings), lorvanTitle, Buttons::Ok, Icon::None);
        return;
    }
    SetRunning(true);
    engine.RunBatch(settings);
    SetRunning(false);
    FlushStatus();
    if (closeAfterRun) EndDialog(IDCANCEL);
}

void CRunnerDlg::OnStop() {
    if (!engine.StopRequested()) {
        engine.RequestStop();
        return;
    }
    // Asked again while the command still runs: it may hang.
    if (services.Ask("The run stops when the command that runs now ends.\r\n\r\nEnd that command now?", lorvanTitle,
                     Buttons::YesNo, Icon::Question) == Answer::Yes)
        engine.EndRunningCommand();
}

void CRunnerDlg::OnCancel() {
    if (!engine.IsBusy()) {
        EndDialog(IDCANCEL);
        return;
    }
    if (closeAfterRun) return;
    if (services.Ask("A run is in progress.\r\n\r\nStop it and close Lorvan?", lorvanTitle, Buttons::YesNo,
                     Icon::Question) != Answer::Yes)
        return;
    if (!engine.IsBusy()) {
        EndDialog(IDCANCEL);  // the run ended while the question was open
        return;
    }
    // The window closes when the run has ended, as after a whole run.
    closeAfterRun = true;
    if (!engine.StopRequested()) engine.RequestStop();
}

void CRunnerDlg::SetRunning(bool running) {
    static constexpr int fields[] = {IDC_PROGRAM,  IDC_FILES,    IDC_COMMAND, IDC_TRANSLATE, IDC_OUTPUT,
                                     IDC_REPORT,   IDC_HANDLING, IDC_TEMPEXT, IDC_SYMBOLS,   IDC_TEST,
                                     IDC_FULLPATH, IDC_RENAME,   IDC_CHANGE};
    static constexpr int options[] = {ID_OPTIONS_HANDLING, ID_OPTIONS_PROGRAM, ID_OPTIONS_FILES, ID_OPTIONS_COMMAND,
                                      ID_OPTIONS_TRANSLATE};
    HMENU menu = GetMenu(Handle());
    inRun = true;
    if (running) {
        enabledBeforeRun.clear();
        focusAfterRun = 0;
        closeAfterRun = false;
        if (HWND focus = GetFocus(); focus && IsChild(Handle(), focus))
            SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
        for (int id : fields) {
            enabledBeforeRun.emplace_back(id, IsWindowEnabled(Item(id)) != FALSE);
            EnableWindow(Item(id), FALSE);
        }
        for (int id : options) EnableMenuItem(menu, id, MF_BYCOMMAND | MF_GRAYED);
        SetDlgItemTextA(Handle(), IDOK, "Stop");
    } else {
        for (const auto& [id, enabled] : enabledBeforeRun) EnableWindow(Item(id), enabled);
        for (int id : options) EnableMenuItem(menu, id, MF_BYCOMMAND | MF_ENABLED);
        SetDlgItemTextA(Handle(), IDOK, "Run");
        inRun = false;
        if (focusAfterRun) FocusControl(std::exchange(focusAfterRun, 0));
    }
    DrawMenuBar(Handle());
}

void CRunnerDlg::RefreshFileList() {
    engine.RefreshFileList(settings);
    FlushStatus();
}

void CRunnerDlg::BrowseFromRoot() {
    BrowseForCwd(cwd::ShellItem(), RootTitle);
}

void CRunnerDlg::BrowseFromParent() {
    cwd::ShellItem root = cwd::ParsePath(Handle(), cwd::ParentOfCwd(settings.cwd));
    BrowseForCwd(root, ParentTitle);
}

void CRunnerDlg::BrowseForCwd(const cwd::ShellItem& root, const char* title) {
    if (!Reacting()) return;
    std::string chosen = settings.cwd;
    if (!cwd::BrowseForCwd(Handle(), root, title, chosen)) return;
    // The check boxes and the Symbols list reach the record only at a
    // reading: read them before the record is written back.
    UpdateData(true);
    settings.cwd = chosen;
    UpdateData(false);
    if (!settings.files.empty()) RefreshFileList();
}

bool CRunnerDlg::IsCwdDoubleClick(const MSG& msg) const {
    return Handle() && cwd::IsDoubleClickOn(msg, Item(IDC_CWD));
}

bool CRunnerDlg::IsFileCountDoubleClick(const MSG& msg) const {
    return Handle() && cwd::IsDoubleClickOn(msg, Item(IDC_FILECOUNT));
}

void CRunnerDlg::SelectAllStatus() {
    // The focus moves into the status window to select its text: the field
    // it leaves must not replace that text with the waiting text.
    const bool wasSelecting = selectingStatus;
    selectingStatus = true;
    services.SelectAllStatus();
    selectingStatus = wasSelecting;
}

void CRunnerDlg::FocusControl(int id) {
    FlushStatus();
    // A field is disabled during a run: it gets the focus when the run ends.
    if (!IsWindowEnabled(Item(id)) && !enabledBeforeRun.empty() && engine.IsBusy()) {
        focusAfterRun = id;
        return;
    }
    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}
