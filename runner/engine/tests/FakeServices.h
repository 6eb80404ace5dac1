// Records what the engine tells the user, and answers its questions from a
// script. Stands in for the main dialog in the tests.
#pragma once

#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace lorvan {

struct AskedQuestion {
    std::string text;
    std::string title;
    Buttons buttons;
    Icon icon;
};

class FakeServices : public RunServices {
public:
    explicit FakeServices(RunSettings& settings) : settings(settings) {}

    // The status window's text, as the edit control would hold it.
    std::string status;
    std::string fileCountText = "0";
    uint32_t progressRange = 0;
    uint32_t progressPos = 0;
    std::vector<AskedQuestion> asked;
    // Answers given in turn; when none is left, the first button.
    std::deque<Answer> answers;
    // Called at every question, before it is answered (e.g. to change files).
    std::function<void(const AskedQuestion&)> onAsk;
    std::vector<int> focused;
    std::vector<std::string> history[4];
    // What the controls hold: ReadRecord copies it into the record.
    std::optional<RunSettings> controls;
    int readCount = 0;
    int showCount = 0;
    // Every call in order, for tests of the sequence ("SetStatus", "Ask: ...").
    std::vector<std::string> calls;

    const std::vector<std::string>& History(HistoryList list) const { return history[int(list)]; }

    void SetStatus(std::string_view text) override;
    void AppendStatus(std::string_view text) override;
    void SelectAllStatus() override {}
    void SetFileCount(std::string_view text) override;
    void SetFileCount(uint32_t count) override;
    std::string SymbolSetText() override;
    void SetProgressRange(uint32_t upper) override;
    void SetProgressPos(uint32_t pos) override;
    Answer Ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
    void FocusControl(int id) override;
    void ReadRecord() override;
    void ShowRecord() override;
    void AddToHistory(HistoryList list, std::string_view value) override;

private:
    RunSettings& settings;
};

}  // namespace lorvan
