#pragma once
// Kastrelo's main window: the working directory, the two directory lists,
// Move, Exit and Help.

#include "DirListCtrl.h"
#include "common/cwd/CwdSelection.h"
#include "framework/MainDialog.h"

#include <string>

namespace mover {

// Where Kastrelo keeps its window position, under HKEY_CURRENT_USER.
extern const char kastreloRegistryKey[];

class CMoverDlg : public fw::MainDialog {
public:
    explicit CMoverDlg(HWND parent = nullptr);
    ~CMoverDlg() override;

    // Rebuilds both lists from the file system, asks about a missing
    // "_files", marks pairs, preselects, and focuses the left list.
    void RefreshLists();

    // The folder chooser from the desktop; true when the working directory
    // was changed.
    bool BrowseFromRoot();
    // The folder chooser from the working directory's parent; the lists are
    // rebuilt afterwards whatever the outcome.
    void BrowseFromParent();
    bool BrowseForCwd(const cwd::ShellItem& root, const char* title);

    // Whether a message is a double-click that lands on the CWD field.
    bool IsCwdDoubleClick(const MSG& msg) const;

    const std::string& Cwd() const { return cwd; }
    CDirListCtrl& LeftList() { return leftList; }
    CDirListCtrl& RightList() { return rightList; }

protected:
    BOOL OnInitDialog() override;
    void Scaled() override;
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnOK() override;  // Move
    void OnDestroy() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    // Gives both lists the folder pictures at the size for dpi, the scale
    // of the screen they are on (again when the window moves to another).
    void SetUpImages(UINT dpi);
    bool OnSysCommand(WPARAM wp, LPARAM lp, LRESULT& result);
    bool OnDpiChanged(WPARAM wp, LPARAM lp, LRESULT& result);
    void OnHelp();
    void OnChange();
    LRESULT OnListGetDispInfo(NMHDR* header);
    LRESULT OnListFindItem(NMHDR* header);
    CDirListCtrl* ListOf(const NMHDR* header);

    fw::ImageList imageList;
    CDirListCtrl leftList;
    CDirListCtrl rightList;
    std::string cwd;
    bool unknownNamesTold = false;

    static const fw::Route<CMoverDlg> routes[];
};

}  // namespace mover
