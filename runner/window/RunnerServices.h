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

class RunnerServices : public lorvan::RunServices {
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
    lorvan::Answer Ask(std::string_view text, std::string_view title, lorvan::Buttons buttons,
                       lorvan::Icon icon) override;
    void FocusField(lorvan::Field field) override;
    void AddToHistory(lorvan::HistoryList list, std::string_view value) override;

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
