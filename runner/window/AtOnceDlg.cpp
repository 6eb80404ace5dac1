#include "AtOnceDlg.h"

#include "resource.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <commctrl.h>

#include <string>

namespace runner {

namespace {

constexpr NumberRange range = commandsAtOnceRange;

}  // namespace

CAtOnceDlg::CAtOnceDlg(int32_t& commandsAtOnce, HWND parent)
    : Dialog(IDD_ATONCE, parent), commandsAtOnce(commandsAtOnce) {}

std::string CAtOnceDlg::Suggestion(unsigned processors) {
    const unsigned low = range.low, high = range.high;
    const unsigned suggested = processors < low ? low : processors > high ? high : processors;
    return "This computer has " + std::to_string(processors) +
           (processors == 1 ? " logical processor" : " logical processors") + ": at most " + std::to_string(suggested) +
           " at once is suggested.\r\n\r\nCommands run at once in real runs with Report handling None. With a report, "
           "and in Test mode, they run one at a time.";
}

BOOL CAtOnceDlg::OnInitDialog() {
    SendDlgItemMessageA(Handle(), IDC_ATONCE_SPIN, UDM_SETRANGE32, range.low, range.high);
    RunSettings shown;
    shown.commandsAtOnce = commandsAtOnce;
    SetDlgItemInt(Handle(), IDC_ATONCE, CommandsAtOnce(shown), FALSE);
    SetDlgItemTextA(Handle(), IDC_ATONCE_HINT, Suggestion(GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)).c_str());
    SendDlgItemMessageA(Handle(), IDC_ATONCE, EM_SETSEL, 0, -1);
    SetFocus(Item(IDC_ATONCE));
    return FALSE;  // the focus is set
}

void CAtOnceDlg::OnOK() {
    BOOL number = FALSE;
    const UINT value = GetDlgItemInt(Handle(), IDC_ATONCE, &number, FALSE);
    if (!number || !range.Holds(static_cast<int32_t>(value))) {
        const std::string message =
            "Enter a number from " + std::to_string(range.low) + " to " + std::to_string(range.high) + ".";
        MessageBoxA(Handle(), message.c_str(), lorvanTitle.data(), MB_OK | MB_ICONEXCLAMATION);
        SendDlgItemMessageA(Handle(), IDC_ATONCE, EM_SETSEL, 0, -1);
        SetFocus(Item(IDC_ATONCE));
        return;
    }
    commandsAtOnce = static_cast<int32_t>(value);
    EndDialog(IDOK);
}

}  // namespace runner
