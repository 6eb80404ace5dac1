#pragma once
// Lorvan's main window: every setting of a run in one control, read into
// the record and shown from it, and the reactions of the fields. The run
// itself is RunController's; what the engine tells the user goes through
// RunnerServices; help through RunnerHelp.

#include "HistoryLists.h"
#include "RunController.h"
#include "RunnerHelp.h"
#include "RunnerServices.h"
#include "common/cwd/CwdSelection.h"
#include "framework/MainDialog.h"
#include "runner/engine/RunSettings.h"

namespace runner {

// Where Lorvan keeps its settings, under HKEY_CURRENT_USER.
extern const char lorvanRegistryKey[];

class CRunnerDlg : public fw::MainDialog {
public:
    // The engine works on the given platform (tests), or on Windows itself.
    explicit CRunnerDlg(HWND parent = nullptr, Platform* platform = nullptr);
    ~CRunnerDlg() override;

    // What the window is doing; it answers the user's events only when idle.
    // Exchanging: it writes its own controls, whose notifications are no
    // user's edits. Stopping: a run asked to stop, or to close the window.
    enum class State { Idle, Exchanging, Running, Stopping, Ending };
    State CurrentState() const;

    // The folder chooser from the desktop (a double-click on the CWD field,
    // which the program class turns into ID_BROWSE_FROM_ROOT) and from the
    // working directory's parent (Change).
    void BrowseFromRoot();
    void BrowseFromParent();
    // Lists the files matching the pattern into the status window.
    void RefreshFileList();
    // Whether a message is a double-click that lands on the CWD field, or on
    // the "# of files" field.
    bool IsCwdDoubleClick(const MSG& msg) const;
    bool IsFileCountDoubleClick(const MSG& msg) const;

    // Ctrl+A: the status window's whole text selected, the focus in it.
    void SelectAllStatus();

    enum TimerId : UINT_PTR { TimerStateCheck = 1, TimerFileList = 2, TimerStandIns = 3 };

    // Idle: neither exchanging, running, stopping nor ending. Only then does
    // the window react to the user (the rows marked idle only).
    bool Idle() const override { return CurrentState() == State::Idle; }

protected:
    BOOL OnInitDialog() override;
    void Scaled() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnOK() override;      // Run, and Stop during a run
    void OnCancel() override;  // Exit; during a run it asks to stop first
    void OnDestroy() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    friend struct RunnerDlgPeer;  // the window tests' way in

    // Hands what the status window gathered to its control now.
    void FlushStatus() { services.Flush(); }
    void OnStateChanged();
    void OnRenameChange();
    void OnHandlingChange();
    // A field left for another control of this window; focus that goes to
    // another window (a message box, another program) leaves no field.
    bool FocusStaysHere() const;
    void OnFieldFocusLost();
    void OnTempExtFocusLost();
    void OnFilesFocusLost();
    void StartStateCheck();
    bool OnOpened(WPARAM wp, LPARAM lp, LRESULT& result);
    void OnRunInformationToggle();
    void OnStandInsOff() { ChooseStandIns(StandInsOff); }
    void OnStandInsWhenNeeded() { ChooseStandIns(StandInsWhenNeeded); }
    void OnStandInsAlways() { ChooseStandIns(StandInsAlways); }
    void ChooseStandIns(int32_t mode);
    void OnCommandsAtOnce();
    void OnEditProgramList() { history.Edit(HistoryList::Program); }
    void OnEditFilesList() { history.Edit(HistoryList::Files); }
    void OnEditCommandList() { history.Edit(HistoryList::Command); }
    void OnEditTranslateList() { history.Edit(HistoryList::Translate); }
    void OnHelpContents();
    void OnContextHelp();
    void OnAbout();
    bool OnSysCommand(WPARAM wp, LPARAM lp, LRESULT& result);
    void BrowseForCwd(const cwd::ShellItem& root, const char* title);
    void ShowRunInformationTick();
    void ShowStandInsChoice();
    void ShowOutputTick();
    void OnShowOutputToggle();
    void OnTimeLimit();
    void OnEmulator();
    void RecoverStandInsThenList();

    HistoryLists history;
    fw::ComboBox handlingList, symbolsList;
    bool listAtStart = false;  // the stored pattern's files, listed once names are back
    RunnerServices services;
    RunController run;
    RunSettings settings;
    RunnerHelp help;

    static const fw::Route<CRunnerDlg> routes[];
};

}  // namespace runner
