#include "RunnerDlg.h"

#include "AboutDlg.h"
#include "AtOnceDlg.h"
#include "ComboItemsDlg.h"
#include "StoredSettings.h"
#include "common/text/win32/Text.h"
#include "runner/engine/StandIns.h"
#include "framework/WindowPosition.h"
#include "resource.h"

using namespace lorvan;

const char lorvanRegistryKey[] = "Software\\Veltmarkstede\\Lorvan";

namespace {

const char readyText[] = "Use F1 for help.\r\n\r\nClick Run when ready.";
const char waitingText[] =
    "Use F1 for help.\r\n\r\nWaiting for response.\r\n\r\nThe \"Run\" button will be enabled when sufficient "
    "information is available for\r\na run.";
const char parentTitle[] = "Doubleclick the CWD name field to browse from root";
const char rootTitle[] = "Singleclick the Change button to browse from CWD parent";

constexpr UINT stateCheckMs = 120;
constexpr UINT fileListMs = 170;
// Posted by the opening: the window shows, then tells of a stored text over
// its limit.
constexpr UINT WM_OPENED = WM_APP + 1;

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
    R::Menu(ID_STANDINS_OFF, &CRunnerDlg::OnStandInsOff),
    R::Menu(ID_STANDINS_WHEN_NEEDED, &CRunnerDlg::OnStandInsWhenNeeded),
    R::Menu(ID_STANDINS_ALWAYS, &CRunnerDlg::OnStandInsAlways),
    R::Menu(ID_OPTIONS_ATONCE, &CRunnerDlg::OnCommandsAtOnce),
    R::Menu(ID_OPTIONS_PROGRAM, &CRunnerDlg::OnEditProgramList),
    R::Menu(ID_OPTIONS_FILES, &CRunnerDlg::OnEditFilesList),
    R::Menu(ID_OPTIONS_COMMAND, &CRunnerDlg::OnEditCommandList),
    R::Menu(ID_OPTIONS_TRANSLATE, &CRunnerDlg::OnEditTranslateList),
    R::Menu(ID_HELP_CONTENTS, &CRunnerDlg::OnHelpContents),
    R::Menu(ID_HELP_ABOUT, &CRunnerDlg::OnAbout),
    R::Menu(fw::idHelpCommand, &CRunnerDlg::OnContextHelp),
};

CRunnerDlg::CRunnerDlg(HWND parent, Platform* platform)
    : MainDialog(IDD_RUNNER_DIALOG, IDI_LORVAN, parent), run(services, platform) {
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

CRunnerDlg::State CRunnerDlg::CurrentState() const {
    if (Ending()) return State::Ending;
    switch (run.CurrentPhase()) {
        case RunController::Phase::Idle:
            break;
        case RunController::Phase::Running:
            return State::Running;
        case RunController::Phase::Stopping:
        case RunController::Phase::Closing:
            return State::Stopping;
    }
    return Exchanging() ? State::Exchanging : State::Idle;
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
    history.Attach(Handle());
    handlingList.hwnd = Item(IDC_HANDLING);
    symbolsList.hwnd = Item(IDC_SYMBOLS);
    services.Attach(Handle(), history, [this](int id) { run.FocusControl(id); });
    run.Attach(Handle());

    // The controls with a help topic of their own carry its number.
    for (int id : {IDC_CHANGE, IDC_PROGRAM, IDC_FILES, IDC_COMMAND, IDC_TRANSLATE, IDC_OUTPUT, IDC_REPORT, IDC_HANDLING,
                   IDC_STATUS, IDC_TEST, IDC_SYMBOLS, IDC_FULLPATH, IDC_RENAME, IDC_TEMPEXT})
        SetWindowContextHelpId(Item(id), HIDC_BASE + id);

    // The lists' initial entries.
    for (const char* text : handlingTexts) handlingList.AddString(text);
    for (const char* text : symbolSetTexts) symbolsList.AddString(text);

    // The window cannot be sized or maximised: Size and Maximize of the
    // window menu are greyed, by position.
    if (HMENU systemMenu = GetSystemMenu(Handle(), FALSE)) {
        EnableMenuItem(systemMenu, 2, MF_BYPOSITION | MF_GRAYED);
        EnableMenuItem(systemMenu, 4, MF_BYPOSITION | MF_GRAYED);
    }
    SetUpMainWindow(IDS_ABOUTBOX, IDM_ABOUTBOX);

    const std::string cwd = text::CurrentDirectory();
    settings = RunSettings{};  // the start values
    settings.cwd = cwd;

    LoadedSettings loaded = LoadStoredSettings(lorvanRegistryKey, settings, run.Platform());
    // A position on no monitor (a screen since removed) is not applied.
    if (loaded.position) fw::ApplyWindowPosition(Handle(), *loaded.position);
    history.Show(loaded, settings);
    UpdateData(false);
    ShowHandling0Tick();
    ShowStandInsChoice();
    OnRenameChange();
    OnStateChanged();
    // Once the window shows: names that a run cut short (a crash, a power
    // loss) left under stand-ins come back first, then the files are listed.
    listAtStart = !settings.files.empty();
    SetTimer(Handle(), TimerStandIns, 1, nullptr);
    FlushStatus();

    // While a command runs, the window goes on answering: the wait hands
    // it the messages that arrive.
    run.Platform().SetWaitHook([this] {
        FlushStatus();
        ProcessWaitingMessages();
    });

    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_PROGRAM)), TRUE);
    PostMessageA(Handle(), WM_OPENED, 0, 0);
    return FALSE;
}

bool CRunnerDlg::OnOpened(WPARAM, LPARAM, LRESULT& result) {
    // The readings of the opening were quiet; this one tells, once.
    if (Reacting()) UpdateData(true);
    result = 0;
    return true;
}

void CRunnerDlg::OnDestroy() {
    KillTimer(Handle(), TimerStateCheck);
    KillTimer(Handle(), TimerFileList);
    KillTimer(Handle(), TimerStandIns);
    help.Close(Handle());
    run.Platform().SetWaitHook(nullptr);
    // The window is already gone from the screen: a field over its limit
    // stops the reading without a message that would stand on its own.
    UpdateData(true, true);
    StoredList lists[historyListCount];
    history.Gather(run.Platform(), lists);
    SaveStoredSettings(lorvanRegistryKey, settings, Handle(), lists);
}

void CRunnerDlg::OnStateChanged() {
    if (!Reacting()) return;
    UpdateData(true);
    const bool runnable = IsRunnable(settings);
    EnableWindow(Item(IDOK), runnable);
    EnableMenuItem(GetMenu(Handle()), IDOK, MF_BYCOMMAND | (runnable ? MF_ENABLED : MF_GRAYED));
    const bool translateAbsolute = IsTranslateAbsolute(settings, run.Platform());
    services.SetStatus(runnable ? readyText : waitingText);
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
    if (run.Platform().CompareNoCase(settings.files, run.Engine().LastListedPattern()) != 0) RefreshFileList();
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
    else if (wp == TimerStandIns)
        RecoverStandInsThenList();
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

void CRunnerDlg::RecoverStandInsThenList() {
    lorvan::RecoverStandIns(services, run.Platform());
    FlushStatus();
    if (listAtStart) SetTimer(Handle(), TimerFileList, fileListMs, nullptr);
    listAtStart = false;
}

void CRunnerDlg::ShowStandInsChoice() {
    // A stored number of no choice works as When needed, and shows so.
    const int choice = settings.standIns == lorvan::StandInsOff      ? ID_STANDINS_OFF
                       : settings.standIns == lorvan::StandInsAlways ? ID_STANDINS_ALWAYS
                                                                     : ID_STANDINS_WHEN_NEEDED;
    CheckMenuRadioItem(GetMenu(Handle()), ID_STANDINS_OFF, ID_STANDINS_ALWAYS, choice, MF_BYCOMMAND);
}

void CRunnerDlg::ChooseStandIns(int32_t mode) {
    settings.standIns = mode;
    ShowStandInsChoice();
}

void CRunnerDlg::OnCommandsAtOnce() {
    CAtOnceDlg(settings.commandsAtOnce).DoModal();
}

void CRunnerDlg::EditHistory(const char* caption, const fw::ComboBox& list) {
    CComboItemsDlg editor;
    editor.SetTarget(caption, list);
    editor.DoModal();
}

void CRunnerDlg::OnEditProgramList() {
    EditHistory("DOS program to run", history[HistoryList::Program]);
}

void CRunnerDlg::OnEditFilesList() {
    EditHistory("Files to pass", history[HistoryList::Files]);
}

void CRunnerDlg::OnEditCommandList() {
    EditHistory("Command", history[HistoryList::Command]);
}

void CRunnerDlg::OnEditTranslateList() {
    EditHistory("Translate directory", history[HistoryList::Translate]);
}

void CRunnerDlg::OnHelpContents() {
    help.Show(Handle(), 0);
}

void CRunnerDlg::OnContextHelp() {
    help.ShowForFocus(Handle());
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
    if (!run.Idle()) {
        run.Stop();
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
    if (run.Run(settings)) EndDialog(IDCANCEL);
}

void CRunnerDlg::OnCancel() {
    if (run.MayClose()) EndDialog(IDCANCEL);
}

void CRunnerDlg::RefreshFileList() {
    run.Engine().RefreshFileList(settings);
    FlushStatus();
}

void CRunnerDlg::BrowseFromRoot() {
    BrowseForCwd(cwd::ShellItem(), rootTitle);
}

void CRunnerDlg::BrowseFromParent() {
    cwd::ShellItem root = cwd::ParsePath(Handle(), cwd::ParentOfCwd(settings.cwd));
    BrowseForCwd(root, parentTitle);
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
    WriteControls([this] { services.SelectAllStatus(); });
}
