#pragma once
// What a program's main window adds to a dialog: its icon, large and small;
// an About entry appended to the window menu; the icon drawn while the
// window is minimised, and given while it is dragged; a word when it has
// been laid out at another monitor's scale.

#include "Dialog.h"

namespace fw {

// Posted by a main window to itself once it is laid out at a new scale.
constexpr UINT WM_SCALED = WM_APP + 0x100;

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
    // Dispatch rows: Message(WM_DPICHANGED, &X::OnDpiChanged),
    // Message(fw::WM_SCALED, &X::OnScaled). The dialog manager lays the
    // window out at the new monitor's scale (fonts and controls); then
    // Scaled, which the program's window gives what it sizes itself.
    bool OnDpiChanged(WPARAM wp, LPARAM lp, LRESULT& result);
    bool OnScaled(WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void Scaled() {}

    HICON ProgramIcon() const { return icon; }

private:
    HICON icon;
    HICON smallIcon;
};

}  // namespace fw
