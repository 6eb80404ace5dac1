#include "HelpWindow.h"

#include "resource.h"

#include <cstdlib>

namespace runner {

std::vector<HelpTopic> ParseHelpTopics(std::string_view source) {
    std::vector<HelpTopic> topics;
    while (!source.empty()) {
        const size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (line.starts_with("== ")) {
            line.remove_prefix(3);
            const size_t space = line.find(' ');
            const std::string key(line.substr(0, space));
            HelpTopic topic{0, std::string(space == std::string_view::npos ? "" : line.substr(space + 1)), ""};
            if (key != "contents") topic.number = static_cast<DWORD>(std::strtoul(key.c_str(), nullptr, 16));
            topics.push_back(std::move(topic));
        } else if (!topics.empty()) {
            topics.back().text.append(line).append("\r\n");
        }
    }
    // No empty lines after a topic's last paragraph.
    for (HelpTopic& topic : topics)
        while (topic.text.ends_with("\r\n\r\n")) topic.text.resize(topic.text.size() - 2);
    return topics;
}

std::string_view HelpSource() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_HELPTEXT), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string_view(data, SizeofResource(nullptr, found)) : std::string_view();
}

using R = fw::Route<CHelpWindow>;
const R CHelpWindow::routes[] = {
    R::Command(LBN_SELCHANGE, IDC_HELP_TOPICS, &CHelpWindow::OnTopicChosen),
    R::Message(WM_SIZE, &CHelpWindow::OnSize),
    R::Message(WM_GETMINMAXINFO, &CHelpWindow::OnGetMinMaxInfo),
};

CHelpWindow::CHelpWindow() : Dialog(IDD_HELPWINDOW), topics(ParseHelpTopics(HelpSource())) {}

CHelpWindow::~CHelpWindow() {
    Destroy();
}

bool CHelpWindow::Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return fw::RouteMessage<CHelpWindow>(this, routes, msg, wp, lp, result);
}

BOOL CHelpWindow::OnInitDialog() {
    topicList.hwnd = Item(IDC_HELP_TOPICS);
    for (const HelpTopic& topic : topics) topicList.AddString(topic.title.c_str());
    Layout();
    return TRUE;
}

void CHelpWindow::Show(HWND owner, DWORD number) {
    if (!Handle() && !Create(owner)) return;
    size_t index = 0;
    for (size_t i = 0; i < topics.size(); ++i)
        if (topics[i].number == number) index = i;
    ShowTopic(index);
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void CHelpWindow::Close() {
    Destroy();
}

void CHelpWindow::OnCancel() {
    // The close box hides the window; the next request shows it again.
    ShowWindow(Handle(), SW_HIDE);
}

void CHelpWindow::OnTopicChosen() {
    const LRESULT index = SendMessageA(topicList.hwnd, LB_GETCURSEL, 0, 0);
    if (index >= 0) ShowTopic(static_cast<size_t>(index));
}

void CHelpWindow::ShowTopic(size_t index) {
    if (index >= topics.size()) return;
    SendMessageA(topicList.hwnd, LB_SETCURSEL, index, 0);
    SetDlgItemTextA(Handle(), IDC_HELP_TEXT, topics[index].text.c_str());
    SetWindowTextA(Handle(), ("Lorvan Help - " + topics[index].title).c_str());
}

bool CHelpWindow::OnSize(WPARAM, LPARAM, LRESULT& result) {
    Layout();
    result = 0;
    return true;
}

void CHelpWindow::Layout() {
    // In dialog units: a margin of 7 and a list 110 wide.
    RECT units{7, 7, 110, 0};
    MapDialogRect(Handle(), &units);
    RECT client;
    GetClientRect(Handle(), &client);
    const int margin = units.left, listWidth = units.right;
    const int height = client.bottom - 2 * margin;
    MoveWindow(topicList.hwnd, margin, margin, listWidth, height, TRUE);
    const int textLeft = 2 * margin + listWidth;
    MoveWindow(Item(IDC_HELP_TEXT), textLeft, margin, client.right - textLeft - margin, height, TRUE);
}

bool CHelpWindow::OnGetMinMaxInfo(WPARAM, LPARAM lp, LRESULT& result) {
    RECT least{0, 0, 260, 120};
    if (Handle()) MapDialogRect(Handle(), &least);
    auto* info = reinterpret_cast<MINMAXINFO*>(lp);
    info->ptMinTrackSize = {least.right, least.bottom};
    result = 0;
    return true;
}

}  // namespace runner
