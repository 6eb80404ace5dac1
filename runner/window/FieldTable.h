#pragma once
// The fields of Lorvan's main window, one row each: the control (or the
// Options menu item), how the data exchange moves it, whether a run greys
// it, whether it has a help topic, and the record's side (member, limit or
// range, stored name and scope). The data exchange, the greying of a run,
// the help numbers, the focus the engine asks for, the history lists and
// the stored values all go by it. Platform-free: the engine's tests load
// and save through it too.

#include "resource.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/StoredValues.h"

#include <array>
#include <iterator>
#include <optional>
#include <type_traits>

namespace runner {

// How the main window's data exchange moves a field: the framework's
// kinds; Menu for an Options menu item (a value set by a command of its
// own, or a command alone); MenuChoice for a value chosen among radio items
// (id + each value of the range, from its low end); None for a control
// without a value.
enum class Exchange { Text, ComboText, ComboSelectText, ListIndex, Check, Menu, MenuChoice, None };

// Greyed during a run; with a help topic (its number HIDC_BASE + id).
enum FieldTraits : unsigned { Plain = 0, GreyedInRun = 1, WithHelp = 2, GreyedWithHelp = 3 };

struct FieldRow {
    int id;
    Exchange exchange;
    unsigned traits;
    StoredField stored;
    std::optional<Field> focus;  // how the engine names it, to move the focus there
};

constexpr StoredScope global = StoredScope::Global, perDirectory = StoredScope::Directory;

// In the order of the data exchange, the menu's values first. History
// fields come in HistoryList's order; the global values are written in this
// order, a directory's texts, numbers and flags each in this order.
inline constexpr FieldRow fieldRows[] = {
    {ID_OPTIONS_HANDLING, Exchange::Menu, GreyedInRun,
     FlagField(&RunSettings::nameTimeWithoutRunInformation, global, "Handling0")},
    {ID_STANDINS_OFF, Exchange::MenuChoice, GreyedInRun,
     NumberField(&RunSettings::standIns, global, "StandIns", standInModes)},
    {ID_OPTIONS_ATONCE, Exchange::Menu, GreyedInRun,
     NumberField(&RunSettings::commandsAtOnce, global, "CommandsAtOnce", commandsAtOnceRange)},
    {ID_OPTIONS_TIMELIMIT, Exchange::Menu, GreyedInRun,
     NumberField(&RunSettings::timeLimit, global, "TimeLimit", timeLimitRange)},
    {ID_OPTIONS_SHOWOUTPUT, Exchange::Menu, GreyedInRun, FlagField(&RunSettings::showOutput, global, "ShowOutput")},
    {ID_OPTIONS_EMULATOR, Exchange::Menu, GreyedInRun,
     NumberField(&RunSettings::emulator, global, "Emulator", emulatorChoices)},
    // Each emulator's program file, set in the DOS emulator dialog.
    {0, Exchange::None, Plain, TextField(&RunSettings::msDosPlayerPath, 0, global, "MsDosPlayerPath")},
    {0, Exchange::None, Plain, TextField(&RunSettings::dosBoxXPath, 0, global, "DosBoxXPath")},
    {0, Exchange::None, Plain, TextField(&RunSettings::dosBoxPath, 0, global, "DosBoxPath")},
    {IDC_HANDLING, Exchange::ListIndex, GreyedWithHelp, NumberField(&RunSettings::handling, perDirectory, "Handling")},
    {IDC_RENAME, Exchange::Check, GreyedWithHelp, FlagField(&RunSettings::rename, perDirectory, "Rename")},
    {IDC_CWD, Exchange::Text, Plain, TextField(&RunSettings::cwd, 0, StoredScope::Cwd, "CWD")},
    {IDC_PROGRAM, Exchange::ComboText, GreyedWithHelp, ListField(&RunSettings::program, maxProgramLength, "Program"),
     Field::Program},
    {IDC_FILES, Exchange::ComboText, GreyedWithHelp, ListField(&RunSettings::files, maxFilesLength, "Files"),
     Field::Files},
    {IDC_COMMAND, Exchange::ComboText, GreyedWithHelp, ListField(&RunSettings::command, maxCommandLength, "Command")},
    {IDC_OUTPUT, Exchange::Text, GreyedWithHelp,
     TextField(&RunSettings::output, maxOutputLength, perDirectory, "Output"), Field::Output},
    {IDC_REPORT, Exchange::Text, GreyedWithHelp, TextField(&RunSettings::report, 0, perDirectory, "Report")},
    {IDC_SYMBOLS, Exchange::ListIndex, GreyedWithHelp, NumberField(&RunSettings::symbols, perDirectory, "Symbols")},
    {IDC_TEMPEXT, Exchange::Text, GreyedWithHelp,
     TextField(&RunSettings::tempExt, maxTempExtLength, perDirectory, "TempExt"), Field::TempExt},
    {IDC_TEST, Exchange::Check, GreyedWithHelp, FlagField(&RunSettings::test, perDirectory, "Test")},
    {IDC_FULLPATH, Exchange::Check, GreyedWithHelp, FlagField(&RunSettings::fullPath, perDirectory, "FullPath")},
    {IDC_TRANSLATE, Exchange::ComboSelectText, GreyedWithHelp,
     ListField(&RunSettings::translate, 0, "Translate", true)},
    // Controls and commands without a value, greyed or with help.
    {IDC_CHANGE, Exchange::None, GreyedWithHelp},
    {IDC_STATUS, Exchange::None, WithHelp},
    {ID_OPTIONS_PROGRAM, Exchange::Menu, GreyedInRun},
    {ID_OPTIONS_FILES, Exchange::Menu, GreyedInRun},
    {ID_OPTIONS_COMMAND, Exchange::Menu, GreyedInRun},
    {ID_OPTIONS_TRANSLATE, Exchange::Menu, GreyedInRun},
};

// What the engine loads and saves: each row's record side.
inline constexpr auto storedFields = [] {
    std::array<StoredField, std::size(fieldRows)> fields;
    for (size_t i = 0; i < fields.size(); ++i) fields[i] = fieldRows[i].stored;
    return fields;
}();

constexpr bool InMenu(const FieldRow& row) {
    return row.exchange == Exchange::Menu || row.exchange == Exchange::MenuChoice;
}

// The menu items of a row: one, or a radio group's.
constexpr int ItemCount(const FieldRow& row) {
    return row.exchange == Exchange::MenuChoice ? row.stored.range.high - row.stored.range.low + 1 : 1;
}

// The row of a member of the record.
template <class T>
consteval const FieldRow& RowOf(T RunSettings::*member) {
    for (const FieldRow& row : fieldRows) {
        const StoredField& f = row.stored;
        if constexpr (std::is_same_v<T, bool>) {
            if (f.flag == member) return row;
        } else if constexpr (std::is_same_v<T, int32_t>) {
            if (f.number == member) return row;
        } else if (f.text == member) {
            return row;
        }
    }
    throw "a member without a row";
}

// The control or menu item of a member; a radio item by its value.
template <class T>
consteval int IdOf(T RunSettings::*member) {
    return RowOf(member).id;
}
consteval int IdOf(int32_t RunSettings::*member, int32_t value) {
    return RowOf(member).id + value - RowOf(member).stored.range.low;
}

// The rows of the history lists, in HistoryList's order.
inline constexpr auto historyRows = [] {
    std::array<const FieldRow*, historyListCount> rows{};
    size_t count = 0;
    for (const FieldRow& row : fieldRows)
        if (row.stored.scope == StoredScope::History) rows.at(count++) = &row;
    return rows;
}();
static_assert(historyRows[int(HistoryList::Program)]->stored.text == &RunSettings::program &&
              historyRows[int(HistoryList::Files)]->stored.text == &RunSettings::files &&
              historyRows[int(HistoryList::Command)]->stored.text == &RunSettings::command &&
              historyRows[int(HistoryList::Translate)]->stored.text == &RunSettings::translate);

}  // namespace runner
