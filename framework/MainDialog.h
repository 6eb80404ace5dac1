#pragma once
// What a program's main window adds to a dialog: its icon, large and small;
// an About entry appended to the window menu; the icon drawn while the
// window is minimised, and given while it is dragged.

#include "Dialog.h"

namespace fw {

class MainDialog : public Dialog {
public:
    MainDialog(int templateId, int iconId, HWND parent = nullptr);
    ~MainDialog() override;

protected:
    // Sets the window's icons and, when the string resource is not empty,
    // appends a separator and an entry with its text and the command id to
    // the window menu. Called from OnInitDialog.
    void SetUpMainWindow(int aboutStringId, UINT aboutCommand);
    // Whether a window-menu command is the About entry's.
    static bool IsCommand(WPARAM sysCommand, UINT command) { return (sysCommand & 0xFFF0) == command; }

    // Dispatch rows: Message(WM_PAINT, &X::OnPaintMinimised),
    // Message(WM_QUERYDRAGICON, &X::OnQueryDragIcon).
    bool OnPaintMinimised(WPARAM wp, LPARAM lp, LRESULT& result);
    bool OnQueryDragIcon(WPARAM wp, LPARAM lp, LRESULT& result);

    HICON ProgramIcon() const { return icon; }

private:
    HICON icon;
    HICON smallIcon;
};

}  // namespace fw
