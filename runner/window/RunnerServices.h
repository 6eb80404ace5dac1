#pragma once
// What the run engine tells the user and asks, on Lorvan's main window: the
// status window and the "# of files" field, the progress bar, message boxes,
// the focus and the history lists. The window owns the controls; this only
// speaks through them.

#include "HistoryLists.h"
#include "StatusWindow.h"
#include "framework/Controls.h"
#include "runner/engine/RunServices.h"

#include <functional>

namespace runner {

class RunnerServices : public RunServices {
public:
    // focus moves the focus to a control of the window by its id, and first
    // shows what the status window gathered.
    void Attach(HWND window, HistoryLists& history, std::function<void(int)> focus);

    void SetStatus(std::string_view text) override;
    void AppendStatus(std::string_view text) override;
    // Ctrl+A: the whole text selected, the focus in it.
    void SelectAllStatus();
    void SetFileCount(std::string_view text) override;
    void SetFileCount(uint32_t count) override;
    void SetProgressRange(uint32_t upper) override;
    void SetProgressPos(uint32_t pos) override;
    Answer Ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
    void FocusField(Field field) override;
    void AddToHistory(HistoryList list, std::string_view value) override;

    // Hands what the status window gathered to its control and draws the
    // progress bar now.
    void Flush();

private:
    HWND window = nullptr;
    StatusWindow status;
    fw::ProgressBar progress;
    HistoryLists* history = nullptr;
    std::function<void(int)> focus;
};

}  // namespace runner
