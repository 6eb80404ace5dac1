#include "runner/engine/StoredValues.h"

#include "common/text/AsciiCase.h"
#include "runner/engine/Platform.h"
#include "runner/engine/RunSettings.h"

namespace runner {

namespace {

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

size_t EntryLimit(const StoredField& list) {
    return list.limit ? list.limit : maxStoredItemData - 1;
}

namespace {

void LoadField(const StoredField& field, const std::vector<StoredValue>& values, RunSettings& s,
               const text::CodePage& codePage) {
    const StoredValue* value = Find(values, field.name);
    if (field.kind == StoredKind::Text) {
        if (auto text = Text(value, maxStoredTextData, codePage)) s.*field.text = std::move(*text);
    } else if (auto number = Number(value)) {
        if (field.kind == StoredKind::Number)
            s.*field.number = static_cast<int32_t>(*number);
        else
            s.*field.flag = *number != 0;
    }
}

StoredValue StoredValueOf(const StoredField& field, const RunSettings& s) {
    switch (field.kind) {
        case StoredKind::Text:
            return TextValue(field.name, s.*field.text);
        case StoredKind::Number:
            return NumberValue(field.name, static_cast<uint32_t>(s.*field.number));
        case StoredKind::Flag:
            break;
    }
    return NumberValue(field.name, s.*field.flag ? 1 : 0);
}

// The values of one scope (and kind) in the table's order.
void AppendValues(std::vector<StoredValue>& values, const RunSettings& s, StoredFields fields, StoredScope scope,
                  std::optional<StoredKind> kind = std::nullopt) {
    for (const StoredField& field : fields)
        if (field.scope == scope && (!kind || field.kind == *kind)) values.push_back(StoredValueOf(field, s));
}

}  // namespace

LoadedLists LoadStoredValues(const StoredKey& key, RunSettings& s, Platform& platform, StoredFields fields) {
    LoadedLists loaded;
    const StoredField* cwd = nullptr;
    int list = 0;
    for (const StoredField& field : fields) {
        if (field.scope == StoredScope::Global) LoadField(field, key.values, s, platform);
        if (field.scope == StoredScope::Cwd) cwd = &field;
        if (field.scope != StoredScope::History || list == historyListCount) continue;
        if (key.lists[list]) loaded.lists[list] = LoadList(*key.lists[list], EntryLimit(field), platform);
        ++list;
    }
    if (!cwd) return loaded;
    const std::optional<std::string> storedCwd = Text(Find(key.values, cwd->name), maxStoredTextData, platform);
    if (!storedCwd || platform.CompareNoCase(*storedCwd, s.*cwd->text) != 0) return loaded;
    for (const StoredField& field : fields)
        if (field.scope == StoredScope::Directory) LoadField(field, key.values, s, platform);
    return loaded;
}

std::vector<StoredValue> GlobalStoredValues(const RunSettings& s, StoredFields fields) {
    std::vector<StoredValue> values;
    AppendValues(values, s, fields, StoredScope::Global);
    AppendValues(values, s, fields, StoredScope::Cwd);
    return values;
}

std::vector<StoredValue> DirectoryStoredValues(const RunSettings& s, StoredFields fields) {
    // The texts, then the numbers, then the flags: the order of earlier versions.
    std::vector<StoredValue> values;
    for (StoredKind kind : {StoredKind::Text, StoredKind::Number, StoredKind::Flag})
        AppendValues(values, s, fields, StoredScope::Directory, kind);
    return values;
}

std::vector<StoredValue> ListStoredValues(const StoredList& list, const StoredField& field) {
    std::vector<StoredValue> values;
    if (list.entries.empty()) return values;
    int selected = list.selected;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        const std::string& text = list.entries[i];
        if (!IsBlankEntry(text))
            values.push_back(TextValue(std::to_string(i + 1), text));
        else if (field.keepsBlank)
            values.push_back(TextValue(std::to_string(i + 1), " "));
        else if (static_cast<int>(i) < list.selected)
            --selected;  // "select" counts the stored entries only
    }
    values.push_back(NumberValue("select", list.selected < 0 ? 1 : static_cast<uint32_t>(selected + 1)));
    return values;
}

}  // namespace runner
