#pragma once
// Editing a history list: a copy of its entries in which the user marks and
// removes entries; OK deletes from the list every entry that has no match
// left in the copy, Cancel changes nothing.

#include "framework/Controls.h"
#include "framework/Dialog.h"

namespace runner {

class CComboItemsDlg : public fw::Dialog {
public:
    explicit CComboItemsDlg(HWND parent = nullptr);

    // The list's name for the caption, and the list. Before DoModal.
    void SetTarget(const char* caption, const fw::ComboBox& list);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnOK() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnRemove();

    fw::ListBox itemList;
    const char* caption = "";
    fw::ComboBox target;

    static const fw::Route<CComboItemsDlg> routes[];
};

}  // namespace runner
