#include "FakeServices.h"

namespace lorvan {

void FakeServices::SetStatus(std::string_view text)
{
    calls.push_back("SetStatus");
    status.clear();
    status += text;
    status += "\r\n";
}

void FakeServices::AppendStatus(std::string_view text)
{
    status += text;
    status += "\r\n";
}

void FakeServices::SetFileCount(std::string_view text)
{
    fileCountText = text;
}

void FakeServices::SetFileCount(uint32_t count)
{
    fileCountText = std::to_string(count);
}

std::string FakeServices::SymbolSetText()
{
    if (settings.symbols < 0 || settings.symbols >= symbolSetCount)
        return {};
    return symbolSetTexts[settings.symbols];
}

void FakeServices::SetProgressRange(uint32_t upper)
{
    calls.push_back("Range " + std::to_string(upper));
    progressRange = upper;
}

void FakeServices::SetProgressPos(uint32_t pos)
{
    progressPos = pos;
}

Answer FakeServices::Ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon)
{
    asked.push_back({std::string(text), std::string(title), buttons, icon});
    calls.push_back("Ask: " + std::string(text));
    if (onAsk)
        onAsk(asked.back());
    if (!answers.empty()) {
        Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

void FakeServices::FocusControl(int id)
{
    focused.push_back(id);
}

void FakeServices::ReadRecord()
{
    calls.push_back("ReadRecord");
    ++readCount;
    if (controls) {
        std::string cwd = settings.cwd;  // the CWD field is read-only
        settings = *controls;
        settings.cwd = cwd;
    }
}

void FakeServices::ShowRecord()
{
    ++showCount;
}

void FakeServices::AddToHistory(HistoryList list, std::string_view value)
{
    calls.push_back("AddToHistory");
    std::vector<std::string>& entries = history[int(list)];
    if (HistoryTakes(entries, value))
        entries.emplace_back(value);  // the sorted list's order does not matter here
}

}  // namespace lorvan
