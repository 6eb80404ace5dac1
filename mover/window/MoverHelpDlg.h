#pragma once
// Kastrelo's help: a tab control with the pages Purpose, Symbols and About.

#include "framework/Dialog.h"

namespace mover {

class CMoverHelpDlg : public fw::Dialog {
public:
    explicit CMoverHelpDlg(HWND parent = nullptr);
    ~CMoverHelpDlg() override { Destroy(); }

    // The page shown; it outlives the dialog and decides the page of the
    // next opening during the same run. Never saved.
    static int currentHelpPage;

    static constexpr int aboutPage = 2;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnDestroy() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ShowHelpPage(int page, bool show);
    // The three folder pictures at the scale of that DPI.
    void ShowPictures(UINT dpi);
    bool OnDpiChanged(WPARAM wp, LPARAM lp, LRESULT& result);
    LRESULT OnSelChange(NMHDR*);
    void OnTextFocus();

    fw::TabCtrl tab;
    HBITMAP symbolBitmaps[3] = {};

    static const fw::Route<CMoverHelpDlg> routes[];
};

}  // namespace mover
