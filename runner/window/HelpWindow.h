#pragma once
// Lorvan's own help: one resizable window, made on first use and reused,
// with the list of topics on the left and the chosen topic's text on the
// right. Its texts are a resource of the program (help/lorvan-help.txt):
// the contents, and one topic for each field with a help number, keyed by
// that number.

#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <string>
#include <string_view>
#include <vector>

namespace runner {

struct HelpTopic {
    DWORD number;  // the field's help number; 0 for the contents
    std::string title;
    std::string text;  // lines end in CR LF
};

// The topics of a help source: a line "== <key> <title>" starts a topic,
// the key being "contents" or a number such as 0x806603ED; the lines after
// it are its text.
std::vector<HelpTopic> ParseHelpTopics(std::string_view source);
// The program's help source, from its resources.
std::string_view HelpSource();

class CHelpWindow : public fw::Dialog {
public:
    CHelpWindow();
    ~CHelpWindow() override;

    // Shows the topic of that number (the contents for 0 or an unknown
    // number), making the window first when there is none.
    void Show(HWND owner, DWORD topic);
    void Close();
    HWND Window() const { return Handle(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnTopicChosen();
    bool OnSize(WPARAM wp, LPARAM lp, LRESULT& result);
    bool OnGetMinMaxInfo(WPARAM wp, LPARAM lp, LRESULT& result);
    void ShowTopic(size_t index);
    void Layout();

    std::vector<HelpTopic> topics;
    fw::ListBox topicList;

    static const fw::Route<CHelpWindow> routes[];
};

}  // namespace runner
