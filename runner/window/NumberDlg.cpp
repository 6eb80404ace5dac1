#include "NumberDlg.h"

#include "resource.h"
#include "runner/engine/RunServices.h"

#include <commctrl.h>

namespace runner {

CNumberDlg::CNumberDlg(int32_t& value, int32_t shown, Shape shape, HWND parent)
    : Dialog(IDD_NUMBER, parent), value(value), shown(shown), shape(std::move(shape)) {}

BOOL CNumberDlg::OnInitDialog() {
    SetWindowTextA(Handle(), ("Lorvan: " + shape.caption).c_str());
    SetDlgItemTextA(Handle(), IDC_NUMBER_LABEL, shape.label.c_str());
    SendDlgItemMessageA(Handle(), IDC_NUMBER_SPIN, UDM_SETRANGE32, shape.range.low, shape.range.high);
    SetDlgItemInt(Handle(), IDC_NUMBER, static_cast<UINT>(shown), FALSE);
    SetDlgItemTextA(Handle(), IDC_NUMBER_HINT, shape.hint.c_str());
    SendDlgItemMessageA(Handle(), IDC_NUMBER, EM_SETSEL, 0, -1);
    SetFocus(Item(IDC_NUMBER));
    return FALSE;  // the focus is set
}

void CNumberDlg::OnOK() {
    BOOL number = FALSE;
    const UINT chosen = GetDlgItemInt(Handle(), IDC_NUMBER, &number, FALSE);
    if (!number || chosen > UINT(shape.range.high) || !shape.range.Holds(static_cast<int32_t>(chosen))) {
        const std::string message =
            "Enter a number from " + std::to_string(shape.range.low) + " to " + std::to_string(shape.range.high) + ".";
        MessageBoxA(Handle(), message.c_str(), lorvanTitle.data(), MB_OK | MB_ICONEXCLAMATION);
        SendDlgItemMessageA(Handle(), IDC_NUMBER, EM_SETSEL, 0, -1);
        SetFocus(Item(IDC_NUMBER));
        return;
    }
    value = static_cast<int32_t>(chosen);
    EndDialog(IDOK);
}

}  // namespace runner
