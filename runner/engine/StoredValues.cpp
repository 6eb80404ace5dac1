#include "runner/engine/StoredValues.h"

#include "common/text/AsciiCase.h"
#include "runner/engine/Platform.h"
#include "runner/engine/RunSettings.h"

namespace lorvan {

namespace {

// Each value of the record, named once. A flag is stored as the number 1
// or 0 and is set by any number but 0; a number is taken as stored.
enum class Kind { Text, Number, Flag };
struct StoredField {
    const char* name;
    Kind kind;
    std::string RunSettings::*text = nullptr;
    int32_t RunSettings::*number = nullptr;
    bool RunSettings::*flag = nullptr;
};
const StoredField handling0Field{"Handling0", Kind::Flag, nullptr, nullptr, &RunSettings::handling0};
const StoredField standInsField{"StandIns", Kind::Number, nullptr, &RunSettings::standIns};
const StoredField atOnceField{"CommandsAtOnce", Kind::Number, nullptr, &RunSettings::commandsAtOnce};
const StoredField cwdField{"CWD", Kind::Text, &RunSettings::cwd};
const StoredField directoryFields[] = {
    {"Output", Kind::Text, &RunSettings::output},
    {"Report", Kind::Text, &RunSettings::report},
    {"TempExt", Kind::Text, &RunSettings::tempExt},
    {"Handling", Kind::Number, nullptr, &RunSettings::handling},
    {"Symbols", Kind::Number, nullptr, &RunSettings::symbols},
    {"Rename", Kind::Flag, nullptr, nullptr, &RunSettings::rename},
    {"Test", Kind::Flag, nullptr, nullptr, &RunSettings::test},
    {"FullPath", Kind::Flag, nullptr, nullptr, &RunSettings::fullPath},
};

StoredValue TextValue(std::string name, std::string_view text) {
    return {std::move(name), storedString, std::string(text)};
}

StoredValue NumberValue(std::string name, uint32_t n) {
    return {std::move(name), storedNumber, {char(n), char(n >> 8), char(n >> 16), char(n >> 24)}};
}

// Value names are compared as the registry compares them.
const StoredValue* Find(const std::vector<StoredValue>& values, std::string_view name) {
    for (const StoredValue& value : values)
        if (text::EqualsIgnoringAsciiCase(value.name, name)) return &value;
    return nullptr;
}

// A number counts only as REG_DWORD of exactly 4 bytes.
std::optional<uint32_t> Number(const StoredValue* value) {
    if (!value || value->type != storedNumber || value->data.size() != 4) return std::nullopt;
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->data[i]);
    return number;
}

// A text counts only as REG_SZ within its limit; it ends at its first zero.
// Limits count as a field does (FieldLength): a value an earlier version
// stored in an ANSI code page is longer in UTF-8, and must still load.
std::optional<std::string> Text(const StoredValue* value, size_t maxData, const text::CodePage& codePage) {
    if (!value || value->type != storedString || text::FieldLength(value->data, codePage) > maxData)
        return std::nullopt;
    return value->data.substr(0, value->data.find('\0'));
}

std::optional<StoredList> LoadList(const std::vector<StoredValue>& values, size_t entryLimit,
                                   const text::CodePage& codePage) {
    if (values.empty()) return std::nullopt;
    StoredList list;
    // "select" counts the stored items, 1 for the first; 0, or more than
    // there are values, means the first; one past the items, none.
    const std::optional<uint32_t> select = Number(Find(values, "select"));
    const bool counts = select && *select != 0 &&
                        static_cast<int64_t>(static_cast<int32_t>(*select)) <= static_cast<int64_t>(values.size());
    const size_t wanted = counts ? *select - 1 : 0;
    size_t item = 0, leftOut = 0;
    for (const StoredValue& value : values) {
        if (value.type != storedString) continue;
        const size_t index = item++;
        // An item that does not fit its field is left out: cut, a program's
        // path or a pattern would name another. The selection stays on the
        // item it was: none when that one is left out.
        std::optional<std::string> text =
            value.name.size() <= maxStoredItemName ? Text(&value, maxStoredItemData, codePage) : std::nullopt;
        if (!text || text::FieldLength(*text, codePage) > entryLimit) {
            ++leftOut;
            continue;
        }
        if (index == wanted) list.selected = static_cast<int>(index - leftOut);
        list.entries.push_back(std::move(*text));
    }
    return list;
}

}  // namespace

const HistoryListKind& KindOf(HistoryList list) {
    static constexpr HistoryListKind kinds[historyListCount] = {{"Program", maxProgramLength, false},
                                                                {"Files", maxFilesLength, false},
                                                                {"Command", maxCommandLength, false},
                                                                {"Translate", maxStoredItemData - 1, true}};
    return kinds[static_cast<int>(list)];
}

namespace {

void LoadField(const StoredField& field, const std::vector<StoredValue>& values, RunSettings& s,
               const text::CodePage& codePage) {
    const StoredValue* value = Find(values, field.name);
    if (field.kind == Kind::Text) {
        if (auto text = Text(value, maxStoredTextData, codePage)) s.*field.text = std::move(*text);
    } else if (auto number = Number(value)) {
        if (field.kind == Kind::Number)
            s.*field.number = static_cast<int32_t>(*number);
        else
            s.*field.flag = *number != 0;
    }
}

StoredValue StoredValueOf(const StoredField& field, const RunSettings& s) {
    switch (field.kind) {
        case Kind::Text:
            return TextValue(field.name, s.*field.text);
        case Kind::Number:
            return NumberValue(field.name, static_cast<uint32_t>(s.*field.number));
        case Kind::Flag:
            break;
    }
    return NumberValue(field.name, s.*field.flag ? 1 : 0);
}

}  // namespace

LoadedLists LoadStoredValues(const StoredKey& key, RunSettings& s, Platform& platform) {
    LoadedLists loaded;
    LoadField(handling0Field, key.values, s, platform);
    LoadField(standInsField, key.values, s, platform);
    LoadField(atOnceField, key.values, s, platform);
    for (int i = 0; i < historyListCount; ++i)
        if (key.lists[i])
            loaded.lists[i] = LoadList(*key.lists[i], KindOf(static_cast<HistoryList>(i)).entryLimit, platform);

    const std::optional<std::string> storedCwd = Text(Find(key.values, cwdField.name), maxStoredTextData, platform);
    if (!storedCwd || platform.CompareNoCase(*storedCwd, s.cwd) != 0) return loaded;
    for (const StoredField& field : directoryFields) LoadField(field, key.values, s, platform);
    return loaded;
}

std::vector<StoredValue> GlobalStoredValues(const RunSettings& s) {
    return {StoredValueOf(handling0Field, s), StoredValueOf(standInsField, s), StoredValueOf(atOnceField, s),
            StoredValueOf(cwdField, s)};
}

std::vector<StoredValue> DirectoryStoredValues(const RunSettings& s) {
    std::vector<StoredValue> values;
    for (const StoredField& field : directoryFields) values.push_back(StoredValueOf(field, s));
    return values;
}

std::vector<StoredValue> ListStoredValues(const StoredList& list, HistoryList which) {
    std::vector<StoredValue> values;
    if (list.entries.empty()) return values;
    int selected = list.selected;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        const std::string& text = list.entries[i];
        if (!IsBlankEntry(text))
            values.push_back(TextValue(std::to_string(i + 1), text));
        else if (KindOf(which).keepsBlank)
            values.push_back(TextValue(std::to_string(i + 1), " "));
        else if (static_cast<int>(i) < list.selected)
            --selected;  // "select" counts the stored entries only
    }
    values.push_back(NumberValue("select", list.selected < 0 ? 1 : static_cast<uint32_t>(selected + 1)));
    return values;
}

}  // namespace lorvan
