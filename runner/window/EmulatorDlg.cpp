#include "EmulatorDlg.h"

#include "resource.h"
#include "runner/engine/RunServices.h"

#include <commdlg.h>

namespace runner {

namespace {

// The radio buttons, in the order of the stored values.
constexpr int choiceIds[emulatorCount] = {IDC_EMULATOR_NONE, IDC_EMULATOR_MSDOS, IDC_EMULATOR_DOSBOXX,
                                          IDC_EMULATOR_DOSBOX};

const char* const aboutEmulator[emulatorCount] = {
    "Windows starts the DOS program itself. Only 32-bit Windows can: 64-bit Windows (every Windows 11) starts no "
    "16-bit program, so choose an emulator there.",
    "msdos.exe, a small console program (free, GPL; \"MS-DOS Player for Win32-x64\"). It runs the program with its "
    "command; the exit code and the output come back. About a quarter of a second per file.",
    "dosbox-x.exe (free, GPL; dosbox-x.com). It runs without a window; each command goes through a batch file that "
    "records its exit code and output. About a second per file.",
    "dosbox.exe of DOSBox (dosbox.com) or DOSBox Staging (free, GPL). Its window shows while a command runs; every "
    "file gets a stand-in 8.3 name, as DOSBox makes short names of its own. About a second per file. A command still "
    "running "
    "after ten minutes is ended, unless Options > Time limit per command says otherwise.",
};

std::string ItemText(HWND dialog, int id) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(GetDlgItem(dialog, id))) + 1, '\0');
    text.resize(static_cast<size_t>(GetDlgItemTextA(dialog, id, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsProgramFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return !path.empty() && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

using R = fw::Route<CEmulatorDlg>;
const R CEmulatorDlg::routes[] = {
    R::Command(BN_CLICKED, IDC_EMULATOR_NONE, &CEmulatorDlg::OnChoice).IdleOnly(),
    R::Command(BN_CLICKED, IDC_EMULATOR_MSDOS, &CEmulatorDlg::OnChoice).IdleOnly(),
    R::Command(BN_CLICKED, IDC_EMULATOR_DOSBOXX, &CEmulatorDlg::OnChoice).IdleOnly(),
    R::Command(BN_CLICKED, IDC_EMULATOR_DOSBOX, &CEmulatorDlg::OnChoice).IdleOnly(),
    R::Command(EN_CHANGE, IDC_EMULATOR_PATH, &CEmulatorDlg::OnPathChange).IdleOnly(),
    R::Command(BN_CLICKED, IDC_EMULATOR_BROWSE, &CEmulatorDlg::OnBrowse).IdleOnly(),
};

CEmulatorDlg::CEmulatorDlg(RunSettings& settings, HWND parent)
    : Dialog(IDD_EMULATOR, parent), settings(settings), chosen(settings) {}

bool CEmulatorDlg::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return fw::RouteMessage<CEmulatorDlg>(this, routes, msg, wp, lp, result);
}

std::string* CEmulatorDlg::PathOf(int32_t emulator) {
    std::string* const paths[emulatorCount] = {nullptr, &chosen.msDosPlayerPath, &chosen.dosBoxXPath,
                                               &chosen.dosBoxPath};
    return paths[emulator];
}

BOOL CEmulatorDlg::OnInitDialog() {
    shown = Emulator(chosen);
    CheckRadioButton(Handle(), choiceIds[0], choiceIds[emulatorCount - 1], choiceIds[shown]);
    ShowChoice();
    SetFocus(Item(choiceIds[shown]));
    return FALSE;  // the focus is set
}

void CEmulatorDlg::ShowChoice() {
    const bool any = shown != EmulatorNone;
    WriteControls([this, any] { SetDlgItemTextA(Handle(), IDC_EMULATOR_PATH, any ? PathOf(shown)->c_str() : ""); });
    for (int id : {IDC_EMULATOR_PATH, IDC_EMULATOR_PATH_LABEL, IDC_EMULATOR_BROWSE}) EnableWindow(Item(id), any);
    SetDlgItemTextA(Handle(), IDC_EMULATOR_ABOUT, aboutEmulator[shown]);
    OnPathChange();
}

void CEmulatorDlg::OnChoice() {
    for (int32_t emulator = 0; emulator < emulatorCount; ++emulator)
        if (IsDlgButtonChecked(Handle(), choiceIds[emulator]) == BST_CHECKED) shown = emulator;
    ShowChoice();
}

void CEmulatorDlg::OnPathChange() {
    const std::string path = ItemText(Handle(), IDC_EMULATOR_PATH);
    if (shown != EmulatorNone) *PathOf(shown) = path;
    const char* check = shown == EmulatorNone ? ""
                        : path.empty()        ? "Choose the emulator's program file."
                        : IsProgramFile(path) ? "The program file is there."
                                              : "There is no file at this path.";
    SetDlgItemTextA(Handle(), IDC_EMULATOR_CHECK, check);
}

void CEmulatorDlg::OnBrowse() {
    char file[MAX_PATH * 4] = {};
    const std::string current = *PathOf(shown);
    if (current.size() < sizeof file) current.copy(file, current.size());
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = "Programs (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Lorvan: the emulator's program file";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameA(&dialog)) SetDlgItemTextA(Handle(), IDC_EMULATOR_PATH, file);
}

void CEmulatorDlg::OnOK() {
    if (shown != EmulatorNone && !IsProgramFile(*PathOf(shown))) {
        const std::string message =
            std::string("Choose the program file of ") + emulatorNames[shown] + " (Browse), or None.";
        MessageBoxA(Handle(), message.c_str(), lorvanTitle.data(), MB_OK | MB_ICONEXCLAMATION);
        SetFocus(Item(IDC_EMULATOR_PATH));
        return;
    }
    settings.emulator = shown;
    settings.msDosPlayerPath = chosen.msDosPlayerPath;
    settings.dosBoxXPath = chosen.dosBoxXPath;
    settings.dosBoxPath = chosen.dosBoxPath;
    EndDialog(IDOK);
}

}  // namespace runner
