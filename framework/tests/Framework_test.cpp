// The dialog layer: data exchange (the exact selection text, the stop at a
// text over its limit) and the exception boundary of the dispatch rows.

#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

// Edit 10 (limit 5), combo box 11 (limit 4, sorted), check box 12; menu 12
// counts, menu 99 throws.
class TestDialog : public fw::Dialog {
public:
    TestDialog() : Dialog(100) {}
    std::string edit = "abc", combo = "xy";
    bool check = true, selectText = false;
    int menuChoices = 0;

protected:
    BOOL OnInitDialog() override {
        for (const char* entry : {"Beta", "ABC", "abd"})
            SendDlgItemMessageA(Handle(), 11, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        return Dialog::OnInitDialog();
    }
    void DoDataExchange(fw::DataExchange& dx) override {
        dx.Text(10, edit, 5);
        selectText ? dx.ComboSelectText(11, combo, 4) : dx.ComboText(11, combo, 4);
        dx.Check(12, check);
    }
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        return fw::RouteMessage<TestDialog>(this, routes, msg, wp, lp, result);
    }

private:
    void OnMenu() { ++menuChoices; }
    void OnThrow() { throw std::runtime_error("broken"); }
    static inline const fw::Route<TestDialog> routes[] = {fw::Route<TestDialog>::Menu(12, &TestDialog::OnMenu),
                                                          fw::Route<TestDialog>::Menu(99, &TestDialog::OnThrow)};
};

std::string Text(HWND window, int id) {
    char text[64] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

// Does what, while a second thread answers the message box it shows; its text.
std::string Told(const std::function<void()>& what) {
    std::string told;
    std::thread answer([&] {
        for (int i = 0; i < 250 && told.empty(); ++i, Sleep(20))
            if (HWND box = FindWindowA("#32770", nullptr); box && GetDlgItem(box, 0xFFFF)) {
                told = Text(box, 0xFFFF);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
    });
    what();
    answer.join();
    return told;
}

}  // namespace

TEST(DataExchange, ASelectionTextPicksOnlyAnEntryEqualToItIgnoringCase) {
    TestDialog dialog;
    dialog.selectText = true;
    ASSERT_TRUE(dialog.Create());
    HWND combo = GetDlgItem(dialog.Handle(), 11);
    const struct {
        const char *value, *shown;
        int selected;  // the list is sorted ignoring case
    } cases[] = {{"abc", "ABC", 0}, {"ab", "ab", -1}, {"", "", -1}, {"BETA", "Beta", 2}};
    for (const auto& c : cases) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        dialog.combo = c.value;
        dialog.UpdateData(false);
        EXPECT_EQ(Text(dialog.Handle(), 11), c.shown) << c.value;
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), c.selected) << c.value;
    }
    dialog.Destroy();
}

TEST(DataExchange, ATextOverItsLimitStopsTheReadingThere) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 10, EM_GETLIMITTEXT, 0, 0), 5);
    SetDlgItemTextA(hwnd, 10, "ok");
    SetDlgItemTextA(hwnd, 11, "toolong");  // set from elsewhere, not held to the limit
    SendDlgItemMessageA(hwnd, 12, BM_SETCHECK, BST_UNCHECKED, 0);
    bool read = true;
    EXPECT_EQ(Told([&] { read = dialog.UpdateData(true); }), "Enter no more than 4 characters.");
    EXPECT_FALSE(read);
    EXPECT_EQ(dialog.edit, "ok");   // before the stop: read
    EXPECT_EQ(dialog.combo, "xy");  // the stop: kept, focused and selected
    EXPECT_TRUE(dialog.check);      // after it: not read
    HWND focus = GetFocus();
    EXPECT_TRUE(focus == GetDlgItem(hwnd, 11) || GetParent(focus) == GetDlgItem(hwnd, 11));
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 11, CB_GETEDITSEL, 0, 0), MAKELRESULT(0, 7));
    dialog.Destroy();
}

TEST(Dialog, AnExceptionInAReactionIsToldAndTheDialogGoesOn) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    EXPECT_NE(Told([&] { SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(99, 0), 0); }).find("broken"), std::string::npos);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(12, 0), 0);  // menu item
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(12, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd, 12)));  // the box
    EXPECT_EQ(dialog.menuChoices, 1);
    dialog.Destroy();
}
