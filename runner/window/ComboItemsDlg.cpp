#include "ComboItemsDlg.h"

#include "resource.h"
#include "runner/engine/RunSettings.h"

namespace runner {

using R = fw::Route<CComboItemsDlg>;
const R CComboItemsDlg::routes[] = {
    R::Command(BN_CLICKED, IDC_REMOVE, &CComboItemsDlg::OnRemove),
};

CComboItemsDlg::CComboItemsDlg(HWND parent) : Dialog(IDD_COMBOITEMS, parent) {}

void CComboItemsDlg::SetTarget(const char* listCaption, const fw::ComboBox& list) {
    caption = listCaption;
    target = list;
}

bool CComboItemsDlg::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return fw::RouteMessage<CComboItemsDlg>(this, routes, msg, wp, lp, result);
}

void CComboItemsDlg::DoDataExchange(fw::DataExchange& dx) {
    dx.Bind(IDC_ITEMLIST, itemList);
}

BOOL CComboItemsDlg::OnInitDialog() {
    UpdateData(false);
    SetWindowTextA(Handle(), (std::string("Lorvan: ") + caption).c_str());
    for (int i = 0, count = target.Count(); i < count; ++i) itemList.AddString(target.ItemText(i).c_str());
    return TRUE;
}

void CComboItemsDlg::OnRemove() {
    for (int i = itemList.Count() - 1; i >= 0; --i)
        if (itemList.IsSelected(i)) itemList.DeleteString(i);
}

void CComboItemsDlg::OnOK() {
    for (int i = target.Count() - 1; i >= 0; --i) {
        const std::string entry = target.ItemText(i);
        const bool blank = IsBlankEntry(entry);
        bool matched = false;
        for (int j = itemList.Count() - 1; j >= 0 && !matched; --j) {
            const std::string copy = itemList.ItemText(j);
            matched = blank ? IsBlankEntry(copy) : CompareExact(copy, entry) == 0;
        }
        if (!matched) target.DeleteString(i);
    }
    if (target.CurSel() < 0 && target.Count() > 0) target.SetCurSel(0);
    EndDialog(IDOK);
}

}  // namespace runner
