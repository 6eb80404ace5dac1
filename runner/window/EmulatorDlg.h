#pragma once
// Options > DOS emulator: what a DOS program runs through (None, MS-DOS
// Player, DOSBox-X, DOSBox), each with the program file of its own, a
// Browse button, a line that says whether the file is there, and a short
// text on where the emulator comes from and what it costs per file.

#include "framework/Dialog.h"
#include "runner/engine/RunSettings.h"

#include <string>

namespace runner {

class CEmulatorDlg : public fw::Dialog {
public:
    // OK writes the choice and the paths into settings; Cancel leaves them.
    explicit CEmulatorDlg(RunSettings& settings, HWND parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnChoice();
    void OnPathChange();
    void OnBrowse();
    // The path field, the check and the text for the emulator chosen.
    void ShowChoice();
    // The dialog's copy of the emulator's path; none for EmulatorNone.
    std::string* PathOf(int32_t emulator);

    RunSettings& settings;
    RunSettings chosen;  // the dialog's own copy until OK
    int32_t shown = EmulatorNone;

    static const fw::Route<CEmulatorDlg> routes[];
};

}  // namespace runner
