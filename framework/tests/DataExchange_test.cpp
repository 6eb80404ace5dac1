// Data exchange between members and controls, and its stop at a text over
// its limit.

#include "framework/Dialog.h"
#include "testing/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ExchangeDialog : public fw::Dialog {
public:
    ExchangeDialog() : Dialog(100) {}

    std::string edit = "abc";
    std::string combo = "xy";
    bool check = true;
    int list = 1;
    std::string last = "end";

protected:
    BOOL OnInitDialog() override {
        for (const char* entry : {"Beta", "ABC", "abd"})
            SendDlgItemMessageA(Handle(), 11, CB_ADDSTRING, 0, (LPARAM)entry);
        for (const char* entry : {"zero", "one", "two"})
            SendDlgItemMessageA(Handle(), 13, CB_ADDSTRING, 0, (LPARAM)entry);
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(fw::DataExchange& dx) override {
        dx.Text(10, edit, 5);
        if (selectText)
            dx.ComboSelectText(11, combo, 4);
        else
            dx.ComboText(11, combo, 4);
        dx.Check(12, check);
        dx.ListIndex(13, list);
        dx.Text(14, last);
    }

public:
    bool selectText = false;
};

std::string Text(HWND dialog, int id) {
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(DataExchange, WritesAndReadsEveryKindAndSetsTheLimits) {
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    EXPECT_EQ(Text(hwnd, 10), "abc");
    EXPECT_EQ(Text(hwnd, 11), "xy");
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 12, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 13, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 10, EM_GETLIMITTEXT, 0, 0), 5);

    SetDlgItemTextA(hwnd, 10, "12345");
    SetDlgItemTextA(hwnd, 11, "new");
    SendDlgItemMessageA(hwnd, 12, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(hwnd, 13, CB_SETCURSEL, (WPARAM)-1, 0);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.edit, "12345");
    EXPECT_EQ(dialog.combo, "new");
    EXPECT_FALSE(dialog.check);
    EXPECT_EQ(dialog.list, -1);
    dialog.Destroy();
}

TEST(DataExchange, ASelectionTextPicksTheFirstEntryBeginningWithItOrSetsTheText) {
    ExchangeDialog dialog;
    dialog.selectText = true;
    dialog.combo = "ab";
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(Text(dialog.Handle(), 11), "ABC");  // the list is sorted ignoring case
    dialog.combo = "zz";
    dialog.UpdateData(false);
    EXPECT_EQ(Text(dialog.Handle(), 11), "zz");
    dialog.Destroy();
}

TEST(DataExchange, ATextOverItsLimitStopsTheReadingThere) {
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    // Typed text is held to the limit; a text set from elsewhere is not.
    SendDlgItemMessageA(hwnd, 10, WM_SETTEXT, 0, (LPARAM) "ok");
    SendDlgItemMessageA(hwnd, 11, WM_SETTEXT, 0, (LPARAM) "toolong");
    SendDlgItemMessageA(hwnd, 12, BM_SETCHECK, BST_UNCHECKED, 0);
    SetDlgItemTextA(hwnd, 14, "changed");

    std::string message;
    UiDriver ui([&](UiDriver& ui) {
        if (HWND box = ui.WaitForWindow("Error", "characters")) {
            message = WindowText(GetDlgItem(box, 0xFFFF));
            ui.Click(box, IDOK);
        }
    });
    bool read = dialog.UpdateData(true);
    ui.Join();

    EXPECT_FALSE(read);
    EXPECT_EQ(message, "Enter no more than 4 characters.");
    EXPECT_EQ(dialog.edit, "ok");   // before the stop: read
    EXPECT_EQ(dialog.combo, "xy");  // the stop: kept
    EXPECT_TRUE(dialog.check);      // after it: not read
    EXPECT_EQ(dialog.last, "end");
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == GetDlgItem(hwnd, 11) || GetParent(focus) == GetDlgItem(hwnd, 11));
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(hwnd, 11, CB_GETEDITSEL, (WPARAM)&start, (LPARAM)&end);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 7u);
    dialog.Destroy();
}
