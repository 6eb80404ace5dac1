// The dialog layer: data exchange (the stop at a text over its limit, writes
// that fire no notification, the exact selection text), dispatch rows, the
// exception boundary and the closing of a dialog whose object goes first.

#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

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

    bool Dispatch(UINT msg, WPARAM wp, LPARAM, LRESULT&) override {
        if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) ++changes;
        return false;
    }

public:
    bool selectText = false;
    int changes = 0;
};

std::string Text(HWND dialog, int id) {
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Answers the first message box of this process; gives its text.
std::string AnswerMessageBox(std::atomic<bool>& stop) {
    while (!stop) {
        HWND box = FindWindowA("#32770", nullptr);
        DWORD pid = 0;
        if (box) GetWindowThreadProcessId(box, &pid);
        if (box && pid == GetCurrentProcessId() && GetDlgItem(box, 0xFFFF)) {
            std::string text = Text(box, 0xFFFF);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return text;
        }
        Sleep(20);
    }
    return "";
}

}  // namespace

TEST(DataExchange, WritesReadsAndSetsTheLimitsOfEveryKind) {
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    EXPECT_EQ(Text(hwnd, 10), "abc");
    EXPECT_EQ(Text(hwnd, 11), "xy");
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 12, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 13, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendDlgItemMessageA(hwnd, 10, EM_GETLIMITTEXT, 0, 0), 5);
    // Writing an unchanged text fires no change notification.
    dialog.changes = 0;
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.changes, 0);

    SetDlgItemTextA(hwnd, 10, "12345");
    SetDlgItemTextA(hwnd, 11, "new");
    SendDlgItemMessageA(hwnd, 12, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(hwnd, 13, CB_SETCURSEL, (WPARAM)-1, 0);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.edit, "12345");
    EXPECT_EQ(dialog.combo, "new");
    EXPECT_FALSE(dialog.check);
    EXPECT_EQ(dialog.list, -1);
    dialog.changes = 0;
    dialog.edit = "new";
    dialog.UpdateData(false);
    EXPECT_EQ(dialog.changes, 1);
    dialog.Destroy();
}

TEST(DataExchange, ASelectionTextPicksOnlyAnEntryEqualToItIgnoringCase) {
    ExchangeDialog dialog;
    dialog.selectText = true;
    ASSERT_TRUE(dialog.Create());
    HWND combo = GetDlgItem(dialog.Handle(), 11);
    // value written, text shown, entry selected (the list is sorted ignoring case)
    const struct {
        const char* value;
        const char* shown;
        int selected;
    } cases[] = {{"abc", "ABC", 0}, {"ab", "ab", -1}, {"", "", -1}, {"zz", "zz", -1}, {"BETA", "Beta", 2}};
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
    ExchangeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    // Typed text is held to the limit; a text set from elsewhere is not.
    SendDlgItemMessageA(hwnd, 10, WM_SETTEXT, 0, (LPARAM) "ok");
    SendDlgItemMessageA(hwnd, 11, WM_SETTEXT, 0, (LPARAM) "toolong");
    SendDlgItemMessageA(hwnd, 12, BM_SETCHECK, BST_UNCHECKED, 0);
    SetDlgItemTextA(hwnd, 14, "changed");

    std::atomic<bool> stop{false};
    std::string message;
    std::thread answer([&] { message = AnswerMessageBox(stop); });
    bool read = dialog.UpdateData(true);
    stop = true;
    answer.join();

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

namespace {

// A dialog whose reactions are reached through a dispatch table: a button
// row and a menu row for the same id, and a row that throws.
class RoutedDialog : public fw::Dialog {
public:
    RoutedDialog() : Dialog(100) {}
    int buttonClicks = 0, menuChoices = 0;

protected:
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnButton() { ++buttonClicks; }
    void OnMenu() { ++menuChoices; }
    void OnThrow() { throw std::runtime_error("broken"); }
    static const fw::Route<RoutedDialog> routes[];
};

const fw::Route<RoutedDialog> RoutedDialog::routes[] = {
    fw::Route<RoutedDialog>::Command(BN_CLICKED, 12, &RoutedDialog::OnButton),
    fw::Route<RoutedDialog>::Menu(12, &RoutedDialog::OnMenu),
    fw::Route<RoutedDialog>::Menu(99, &RoutedDialog::OnThrow),
};

bool RoutedDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return fw::RouteMessage<RoutedDialog>(this, routes, msg, wp, lp, result);
}

}  // namespace

TEST(Dialog, MenuRowsAndButtonRowsAreToldApart) {
    RoutedDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.Handle();
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, 12)));
    EXPECT_EQ(dialog.buttonClicks, 1);
    EXPECT_EQ(dialog.menuChoices, 0);
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(12, 0), 0);  // menu item
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(12, 1), 0);  // accelerator
    EXPECT_EQ(dialog.buttonClicks, 1);
    EXPECT_EQ(dialog.menuChoices, 2);
    dialog.Destroy();
}

TEST(Dialog, AnExceptionInAReactionIsToldAndTheDialogGoesOn) {
    RoutedDialog dialog;
    ASSERT_TRUE(dialog.Create());
    SetWindowTextA(dialog.Handle(), "Routed");
    std::atomic<bool> stop{false};
    std::string message;
    std::thread answer([&] { message = AnswerMessageBox(stop); });
    SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(99, 0), 0);
    stop = true;
    answer.join();
    EXPECT_NE(message.find("broken"), std::string::npos) << message;
    SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(12, 0), 0);
    EXPECT_EQ(dialog.menuChoices, 1);
    dialog.Destroy();
}

TEST(Dialog, ADerivedOnDestroyRunsWhenTheObjectGoesFirst) {
    struct Closing : fw::Dialog {
        bool* destroyed;
        explicit Closing(bool* d) : Dialog(100), destroyed(d) {}
        ~Closing() override { Destroy(); }
        void OnDestroy() override { *destroyed = true; }
    };
    bool destroyed = false;
    {
        Closing dialog(&destroyed);
        ASSERT_TRUE(dialog.Create());
    }
    EXPECT_TRUE(destroyed);
}
