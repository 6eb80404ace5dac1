#include "RunnerServices.h"

#include "FieldTable.h"
#include "resource.h"

namespace runner {

namespace {

UINT MessageBoxFlags(Buttons buttons, Icon icon) {
    UINT flags = 0;
    switch (buttons) {
        case Buttons::Ok:
            flags = MB_OK;
            break;
        case Buttons::OkCancel:
            flags = MB_OKCANCEL;
            break;
        case Buttons::YesNo:
            flags = MB_YESNO;
            break;
        case Buttons::YesNoCancel:
            flags = MB_YESNOCANCEL;
            break;
    }
    switch (icon) {
        case Icon::None:
            break;
        case Icon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case Icon::Exclamation:
            flags |= MB_ICONEXCLAMATION;
            break;
    }
    return flags;
}

Answer AnswerOf(int pressed) {
    switch (pressed) {
        case IDOK:
            return Answer::Ok;
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

}  // namespace

void RunnerServices::Attach(HWND owner, HistoryLists& lists, std::function<void(int)> focusControl) {
    window = owner;
    status.Attach(GetDlgItem(owner, IDC_STATUS), GetDlgItem(owner, IDC_FILECOUNT));
    progress.hwnd = GetDlgItem(owner, IDC_PROGRESS);
    history = &lists;
    focus = std::move(focusControl);
}

void RunnerServices::Flush() {
    status.Flush();
    UpdateWindow(progress.hwnd);
}

void RunnerServices::SetStatus(std::string_view text) {
    status.Set(text);
}

void RunnerServices::AppendStatus(std::string_view text) {
    status.Append(text);
}

void RunnerServices::SelectAllStatus() {
    status.SelectAll();
}

void RunnerServices::SetFileCount(std::string_view text) {
    status.SetFileCount(std::string(text));
}

void RunnerServices::SetFileCount(uint32_t count) {
    status.SetFileCount(std::to_string(count));
}

void RunnerServices::SetProgressRange(uint32_t upper) {
    progress.SetRange(static_cast<int>(upper));
}

void RunnerServices::SetProgressPos(uint32_t pos) {
    progress.SetPos(static_cast<int>(pos));
}

Answer RunnerServices::Ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) {
    Flush();
    return AnswerOf(
        MessageBoxA(window, std::string(text).c_str(), std::string(title).c_str(), MessageBoxFlags(buttons, icon)));
}

void RunnerServices::FocusField(Field field) {
    for (const FieldRow& row : fieldRows)
        if (row.focus == field) return focus(row.id);
}

void RunnerServices::AddToHistory(HistoryList list, std::string_view value) {
    history->Add(list, value);
}

}  // namespace runner
