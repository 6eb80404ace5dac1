#include "RunnerDlg.h"

#include "AboutDlg.h"
#include "FieldTable.h"
#include "EmulatorDlg.h"
#include "NumberDlg.h"
#include "StoredSettings.h"
#include "common/text/win32/Text.h"
#include "runner/engine/StandIns.h"
#include "framework/WindowPosition.h"
#include "resource.h"

#include <algorithm>
#include <string>

namespace runner {

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
    R::Message(WM_DPICHANGED, &CRunnerDlg::OnDpiChanged),
    R::Message(fw::WM_SCALED, &CRunnerDlg::OnScaled),
    R::Timer(TimerStateCheck, &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Timer(TimerStandIns, &CRunnerDlg::RecoverStandInsThenList),
    R::Timer(TimerFileList, &CRunnerDlg::RefreshFileList),
    R::Message(WM_OPENED, &CRunnerDlg::OnOpened).IdleOnly(),
    R::Command(CBN_EDITCHANGE, IdOf(&RunSettings::program), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(CBN_KILLFOCUS, IdOf(&RunSettings::program), &CRunnerDlg::OnFieldFocusLost).IdleOnly(),
    R::Command(CBN_CLOSEUP, IdOf(&RunSettings::program), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_SELCHANGE, IdOf(&RunSettings::program), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_EDITCHANGE, IdOf(&RunSettings::files), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(CBN_KILLFOCUS, IdOf(&RunSettings::files), &CRunnerDlg::OnFilesFocusLost).IdleOnly(),
    R::Command(CBN_CLOSEUP, IdOf(&RunSettings::files), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_SELCHANGE, IdOf(&RunSettings::files), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_EDITCHANGE, IdOf(&RunSettings::command), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(CBN_KILLFOCUS, IdOf(&RunSettings::command), &CRunnerDlg::OnFieldFocusLost).IdleOnly(),
    R::Command(CBN_CLOSEUP, IdOf(&RunSettings::command), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_SELCHANGE, IdOf(&RunSettings::command), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_EDITCHANGE, IdOf(&RunSettings::translate), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(CBN_KILLFOCUS, IdOf(&RunSettings::translate), &CRunnerDlg::OnFieldFocusLost).IdleOnly(),
    R::Command(CBN_CLOSEUP, IdOf(&RunSettings::translate), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(CBN_SELCHANGE, IdOf(&RunSettings::translate), &CRunnerDlg::StartStateCheck).IdleOnly(),
    R::Command(EN_CHANGE, IdOf(&RunSettings::output), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(EN_CHANGE, IdOf(&RunSettings::report), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(EN_CHANGE, IdOf(&RunSettings::tempExt), &CRunnerDlg::OnStateChanged).IdleOnly(),
    R::Command(EN_KILLFOCUS, IdOf(&RunSettings::tempExt), &CRunnerDlg::OnTempExtFocusLost).IdleOnly(),
    R::Command(CBN_SELCHANGE, IdOf(&RunSettings::handling), &CRunnerDlg::OnHandlingChange).IdleOnly(),
    R::Command(BN_CLICKED, IdOf(&RunSettings::rename), &CRunnerDlg::OnRenameChange).IdleOnly(),
    R::Command(BN_CLICKED, IDC_CHANGE, &CRunnerDlg::BrowseFromParent).IdleOnly(),
    R::Menu(ID_BROWSE_FROM_ROOT, &CRunnerDlg::BrowseFromRoot).IdleOnly(),
    R::Menu(IdOf(&RunSettings::nameTimeWithoutRunInformation), &CRunnerDlg::OnRunInformationToggle).IdleOnly(),
    R::Menu(IdOf(&RunSettings::standIns, StandInsOff), &CRunnerDlg::OnStandInsOff).IdleOnly(),
    R::Menu(IdOf(&RunSettings::standIns, StandInsWhenNeeded), &CRunnerDlg::OnStandInsWhenNeeded).IdleOnly(),
    R::Menu(IdOf(&RunSettings::standIns, StandInsAlways), &CRunnerDlg::OnStandInsAlways).IdleOnly(),
    R::Menu(IdOf(&RunSettings::commandsAtOnce), &CRunnerDlg::OnCommandsAtOnce).IdleOnly(),
    R::Menu(IdOf(&RunSettings::timeLimit), &CRunnerDlg::OnTimeLimit).IdleOnly(),
    R::Menu(IdOf(&RunSettings::showOutput), &CRunnerDlg::OnShowOutputToggle).IdleOnly(),
    R::Menu(IdOf(&RunSettings::emulator), &CRunnerDlg::OnEmulator).IdleOnly(),
    R::Menu(ID_OPTIONS_PROGRAM, &CRunnerDlg::OnEditProgramList).IdleOnly(),
    R::Menu(ID_OPTIONS_FILES, &CRunnerDlg::OnEditFilesList).IdleOnly(),
    R::Menu(ID_OPTIONS_COMMAND, &CRunnerDlg::OnEditCommandList).IdleOnly(),
    R::Menu(ID_OPTIONS_TRANSLATE, &CRunnerDlg::OnEditTranslateList).IdleOnly(),
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
    for (const FieldRow& row : fieldRows) {
        const StoredField& field = row.stored;
        const int limit = static_cast<int>(field.limit);
        if (row.exchange == Exchange::Text) dx.Text(row.id, settings.*field.text, limit);
        if (row.exchange == Exchange::ComboText) dx.ComboText(row.id, settings.*field.text, limit);
        if (row.exchange == Exchange::ComboSelectText) dx.ComboSelectText(row.id, settings.*field.text, limit);
        if (row.exchange == Exchange::ListIndex) dx.ListIndex(row.id, settings.*field.number);
        if (row.exchange == Exchange::Check) dx.Check(row.id, settings.*field.flag);
    }
}

BOOL CRunnerDlg::OnInitDialog() {
    history.Attach(Handle());
    handlingList.hwnd = Item(IdOf(&RunSettings::handling));
    symbolsList.hwnd = Item(IdOf(&RunSettings::symbols));
    services.Attach(Handle(), history, [this](int id) { run.FocusControl(id); });
    run.Attach(Handle());

    // The controls with a help topic of their own carry its number.
    for (const FieldRow& row : fieldRows)
        if (row.traits & WithHelp) SetWindowContextHelpId(Item(row.id), HIDC_BASE + row.id);

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
    Scaled();
    history.Show(loaded, settings);
    UpdateData(false);
    ShowRunInformationTick();
    ShowStandInsChoice();
    ShowOutputTick();
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

    SendMessageA(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IdOf(&RunSettings::program))), TRUE);
    PostMessageA(Handle(), WM_OPENED, 0, 0);
    return FALSE;
}

bool CRunnerDlg::OnOpened(WPARAM, LPARAM, LRESULT&) {
    // The readings of the opening were quiet; this one tells, once.
    UpdateData(true);
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
    UpdateData(true);
    const bool runnable = IsRunnable(settings);
    EnableWindow(Item(IDOK), runnable);
    EnableMenuItem(GetMenu(Handle()), IDOK, MF_BYCOMMAND | (runnable ? MF_ENABLED : MF_GRAYED));
    const bool translateAbsolute = IsTranslateAbsolute(settings, run.Platform());
    services.SetStatus(runnable ? readyText : waitingText);
    EnableWindow(Item(IdOf(&RunSettings::fullPath)), !translateAbsolute);
    if (translateAbsolute) {
        // Only the check box changes: a reading that stopped at a field over
        // its limit left the fields after it unread, and writing them back
        // would undo what the user typed there.
        settings.fullPath = true;
        CheckDlgButton(Handle(), IdOf(&RunSettings::fullPath), BST_CHECKED);
    }
}

void CRunnerDlg::OnRenameChange() {
    UpdateData(true);
    EnableWindow(Item(IdOf(&RunSettings::output)), settings.rename);
    OnStateChanged();
}

void CRunnerDlg::OnHandlingChange() {
    UpdateData(true);
    settings.rename = RenameForHandling(settings.handling);
    UpdateData(false);
    OnRenameChange();
    const bool reporting = settings.handling < HandlingNone;
    EnableWindow(Item(IdOf(&RunSettings::report)), reporting);
    EnableWindow(Item(IdOf(&RunSettings::tempExt)), reporting);
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
    if (!FocusStaysHere()) return;
    UpdateData(true);
    if (IsTempExtAcceptable(settings)) return;
    services.Ask(tempExtMessage, lorvanTitle, Buttons::Ok, Icon::None);
    SetFocus(Item(IdOf(&RunSettings::tempExt)));
}

void CRunnerDlg::OnFilesFocusLost() {
    if (!FocusStaysHere()) return;
    OnStateChanged();
    if (run.Platform().CompareNoCase(settings.files, run.Engine().LastListedPattern()) != 0) RefreshFileList();
}

void CRunnerDlg::StartStateCheck() {
    // Restarts the period when the timer runs already.
    SetTimer(Handle(), TimerStateCheck, stateCheckMs, nullptr);
}

void CRunnerDlg::ShowRunInformationTick() {
    CheckMenuItem(GetMenu(Handle()), IdOf(&RunSettings::nameTimeWithoutRunInformation),
                  MF_BYCOMMAND | (settings.nameTimeWithoutRunInformation ? MF_UNCHECKED : MF_CHECKED));
}

void CRunnerDlg::OnRunInformationToggle() {
    settings.nameTimeWithoutRunInformation = !settings.nameTimeWithoutRunInformation;
    ShowRunInformationTick();
    services.Ask(std::string("Run information is now ") + (settings.nameTimeWithoutRunInformation ? "dis" : "en") +
                     "abled for Handling mode \"Name/time for each report\".",
                 lorvanTitle, Buttons::Ok, Icon::None);
}

void CRunnerDlg::RecoverStandInsThenList() {
    RecoverStandIns(services, run.Platform());
    FlushStatus();
    if (listAtStart) SetTimer(Handle(), TimerFileList, fileListMs, nullptr);
    listAtStart = false;
}

void CRunnerDlg::ShowStandInsChoice() {
    // A stored number of no choice works as When needed, and shows so.
    constexpr int first = IdOf(&RunSettings::standIns, standInModes.low);
    const int32_t mode = standInModes.Holds(settings.standIns) ? settings.standIns : StandInsWhenNeeded;
    CheckMenuRadioItem(GetMenu(Handle()), first, IdOf(&RunSettings::standIns, standInModes.high),
                       first + mode - standInModes.low, MF_BYCOMMAND);
}

void CRunnerDlg::ChooseStandIns(int32_t mode) {
    settings.standIns = mode;
    ShowStandInsChoice();
}

void CRunnerDlg::OnCommandsAtOnce() {
    const unsigned processors = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
    const unsigned suggested = std::clamp<unsigned>(processors, commandsAtOnceRange.low, commandsAtOnceRange.high);
    CNumberDlg(settings.commandsAtOnce, static_cast<int32_t>(CommandsAtOnce(settings)),
               {"Commands at once", "&Commands at once (1 - 64):", commandsAtOnceRange,
                "This computer has " + std::to_string(processors) +
                    (processors == 1 ? " logical processor" : " logical processors") + ": at most " +
                    std::to_string(suggested) +
                    " at once is suggested.\r\n\r\nCommands run at once in real runs with Report handling None. "
                    "With a report, and in Test mode, they run one at a time."})
        .DoModal();
}

void CRunnerDlg::OnTimeLimit() {
    CNumberDlg(settings.timeLimit, static_cast<int32_t>(TimeLimit(settings)),
               {"Time limit per command", "&Seconds (0 = no limit):", timeLimitRange,
                "A command still running after this many seconds is ended, with what it started; its line says so, "
                "and the run goes on with the next file. At most 86400 (24 hours)."})
        .DoModal();
}

void CRunnerDlg::Scaled() {
    // Wholly on screen whatever the scale: at 200 % the window may be taller than the screen.
    fw::KeepInWorkArea(Handle(), {IDC_STATUS});
}

void CRunnerDlg::OnEmulator() {
    CEmulatorDlg(settings).DoModal();
}

void CRunnerDlg::ShowOutputTick() {
    CheckMenuItem(GetMenu(Handle()), IdOf(&RunSettings::showOutput),
                  MF_BYCOMMAND | (settings.showOutput ? MF_CHECKED : MF_UNCHECKED));
}

void CRunnerDlg::OnShowOutputToggle() {
    settings.showOutput = !settings.showOutput;
    ShowOutputTick();
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
    if (!Idle() || !UpdateData(true)) return;
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
    return Handle() && cwd::IsDoubleClickOn(msg, Item(IdOf(&RunSettings::cwd)));
}

bool CRunnerDlg::IsFileCountDoubleClick(const MSG& msg) const {
    return Handle() && cwd::IsDoubleClickOn(msg, Item(IDC_FILECOUNT));
}

void CRunnerDlg::SelectAllStatus() {
    // The focus moves into the status window to select its text: the field
    // it leaves must not replace that text with the waiting text.
    WriteControls([this] { services.SelectAllStatus(); });
}

}  // namespace runner
