// Stands in for the main dialog in the tests: records what the engine tells
// the user and answers its questions from a script.
#pragma once

#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

namespace runner {

struct AskedQuestion {
    std::string text;
    std::string title = "Lorvan";
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;

    bool operator==(const AskedQuestion&) const = default;
};

inline void PrintTo(const AskedQuestion& q, std::ostream* out) {
    *out << '"' << q.text << "\" titled \"" << q.title << "\", buttons " << int(q.buttons) << ", icon " << int(q.icon);
}

class FakeServices : public RunServices {
public:
    std::string status;    // as the edit control would hold it
    std::string progress;  // every call: "/range" or the position, each followed by a space
    std::string fileCountText = "0";
    uint32_t progressRange = 0, progressPos = 0;
    std::vector<AskedQuestion> asked;
    std::deque<Answer> answers;   // given in turn; when none is left, the first button
    std::function<void()> onAsk;  // called at every question, before it is answered
    std::vector<Field> focused;
    std::vector<std::string> history[4];

    void SetStatus(std::string_view text) override { status.assign(text).append("\r\n"); }
    void AppendStatus(std::string_view text) override { status.append(text).append("\r\n"); }
    void SetFileCount(std::string_view text) override { fileCountText = text; }
    void SetFileCount(uint32_t count) override { fileCountText = std::to_string(count); }
    void SetProgressRange(uint32_t upper) override {
        progress.append("/").append(std::to_string(progressRange = upper)).append(" ");
    }
    void SetProgressPos(uint32_t pos) override { progress.append(std::to_string(progressPos = pos)).append(" "); }
    Answer Ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override {
        asked.push_back({std::string(text), std::string(title), buttons, icon});
        if (onAsk) onAsk();
        if (answers.empty()) return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
        const Answer answer = answers.front();
        return answers.pop_front(), answer;
    }
    void FocusField(Field field) override { focused.push_back(field); }
    void AddToHistory(HistoryList list, std::string_view value) override {
        if (HistoryTakes(history[int(list)], value))
            history[int(list)].emplace_back(value);  // the sorted list's order does not matter here
    }
};

}  // namespace runner
