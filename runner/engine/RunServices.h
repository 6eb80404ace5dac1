// The services through which the engine tells the user what happens and
// asks what it must: what it reads comes in the settings it is given. The
// window's RunnerServices are their one real provider; tests record them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace runner {

struct RunSettings;

// The fields the engine moves the focus to; the window knows their controls.
enum class Field { Program, Files, Output, TempExt };

enum class HistoryList { Program, Files, Command, Translate };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Question, Exclamation };
enum class Answer { Ok, Cancel, Yes, No };

// Every message box of the batch runner bears this title unless told otherwise.
constexpr std::string_view lorvanTitle = "Lorvan";

// The report writes (WriteReportText, WriteReportBytes) are not
// here: the engine holds the open report file (ReportFile) and tells a failed
// write through Ask, which is all the dialog would do.
class RunServices {
public:
    virtual ~RunServices() = default;

    // Replaces the status window's text by text + CR LF, caret at the end.
    virtual void SetStatus(std::string_view text) = 0;
    // Replaces the current selection by text + CR LF.
    virtual void AppendStatus(std::string_view text) = 0;
    // The "# of files" field.
    virtual void SetFileCount(std::string_view text) = 0;
    virtual void SetFileCount(uint32_t count) = 0;
    // Full 32-bit range and position: more than 65,535 files must not wrap.
    virtual void SetProgressRange(uint32_t upper) = 0;
    virtual void SetProgressPos(uint32_t pos) = 0;
    virtual Answer Ask(std::string_view text, std::string_view title, Buttons buttons, Icon icon) = 0;
    virtual void FocusField(Field field) = 0;
    // A value the run used: added unless the list holds it exactly (or
    // holds a blank entry, for a blank value).
    virtual void AddToHistory(HistoryList list, std::string_view value) = 0;
};

// The walk of AddToHistory: whether a list holding these entries, in their
// order, takes the value (no exact equal, or no blank entry for a blank value).
bool HistoryTakes(const std::vector<std::string>& entries, std::string_view value);

}  // namespace runner
