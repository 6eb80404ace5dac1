#pragma once
// Lorvan's main window: every setting of a run in one control, the status
// window, Run, and (in RunnerServices) the services through which the run engine talks to the
// user.

#include "HelpViewer.h"
#include "HelpWindow.h"
#include "RunnerServices.h"
#include "common/cwd/CwdSelection.h"
#include "framework/MainDialog.h"
#include "runner/engine/RunEngine.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/win32/Win32Platform.h"

#include <utility>
#include <vector>

// Where Lorvan keeps its settings, under HKEY_CURRENT_USER.
extern const char lorvanRegistryKey[];

class CRunnerDlg : public fw::MainDialog {
public:
    // The engine works on the given platform (tests), or on Windows itself.
    explicit CRunnerDlg(HWND parent = nullptr, lorvan::Platform* platform = nullptr);
    ~CRunnerDlg() override;

    // The folder chooser from the desktop (a double-click on the CWD field)
    // and from the working directory's parent (Change).
    void BrowseFromRoot();
    void BrowseFromParent();
    // Lists the files matching the pattern into the status window.
    void RefreshFileList();
    // Whether a message is a double-click that lands on the CWD field, or on
    // the "# of files" field.
    bool IsCwdDoubleClick(const MSG& msg) const;
    bool IsFileCountDoubleClick(const MSG& msg) const;

    // Where F1 and the Help menu send their requests (tests record them).
    // The platform's help viewer, asked when the program's help file exists.
    void SetHelpViewer(HelpViewer& viewer) { helpViewer = &viewer; }
    HWND HelpWindow() const { return helpWindow.Window(); }

    const lorvan::RunSettings& Settings() const { return settings; }
    const lorvan::RunEngine& Engine() const { return engine; }

    // What the engine tells the user and asks, on this window's controls.
    RunnerServices& Services() { return services; }
    // Ctrl+A: the status window's whole text selected, the focus in it.
    void SelectAllStatus();

    // Hands what the status window gathered to its control now.
    void FlushStatus() { services.Flush(); }

    enum TimerId : UINT_PTR { TimerStateCheck = 1, TimerFileList = 2 };

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnOK() override;      // Run, and Stop during a run
    void OnCancel() override;  // Exit; during a run it asks to stop first
    void OnDestroy() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
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
    bool OnTimer(WPARAM wp, LPARAM lp, LRESULT& result);
    bool OnOpened(WPARAM wp, LPARAM lp, LRESULT& result);
    void OnHandling0Toggle();
    void EditHistory(const char* caption, const fw::ComboBox& list);
    void OnEditProgramList();
    void OnEditFilesList();
    void OnEditCommandList();
    void OnEditTranslateList();
    // A topic by its number; 0: the contents.
    void Help(DWORD topic);
    void OnHelpContents();
    void OnContextHelp();
    void OnAbout();
    bool OnSysCommand(WPARAM wp, LPARAM lp, LRESULT& result);
    void BrowseForCwd(const cwd::ShellItem& root, const char* title);
    void ShowHandling0Tick();
    // Whether the window answers events: not while it writes the record
    // into its controls or a run does (the writes cause change
    // notifications), and not while it closes.
    bool Reacting() const { return !Exchanging() && !selectingStatus && !engine.IsBusy() && !inRun && !Ending(); }

    // The stored settings, read while the window opens and written while
    // it closes.
    void LoadSettings();
    void SaveSettings();
    // The entry of a list that its field shows; the list's selection when none does.
    int EntryShown(const fw::ComboBox& list);
    // The combo box of a stored history list.
    fw::ComboBox* StoredListControl(int list);

    fw::ComboBox translateList, filesList, commandList, programList;
    fw::ComboBox handlingList, symbolsList;
    RunnerServices services;
    lorvan::RunSettings settings;
    lorvan::Win32Platform windowsPlatform;
    lorvan::Platform& platform;
    lorvan::RunEngine engine{services, platform};
    bool runnable = false;

    // During a run: what the user could change the record with is
    // disabled, Run reads "Stop".
    void SetRunning(bool running);
    // The focus into a control; into a field disabled by the run, when it ends.
    void FocusControl(int id);
    void OnStop();
    std::vector<std::pair<int, bool>> enabledBeforeRun;  // control id, enabled
    int focusAfterRun = 0;                               // asked for during the run
    bool closeAfterRun = false;
    bool inRun = false;  // from the first step of a run to its last, focus moves included
    bool translateAbsolute = false;
    bool translateOn = false;
    bool selectingStatus = false;
    HelpViewer defaultHelpViewer;
    HelpViewer* helpViewer = &defaultHelpViewer;
    // Asked instead of the platform's viewer when no help file lies beside
    // the program.
    CHelpWindow helpWindow;

    static const fw::Route<CRunnerDlg> routes[];
};
