#include "runner/engine/StoredValues.h"

#include "runner/engine/Platform.h"
#include "runner/engine/RunSettings.h"

namespace lorvan {

namespace {

// Value names are compared as the registry compares them.
const StoredValue* Find(const std::vector<StoredValue>& values, std::string_view name) {
    for (const StoredValue& value : values)
        if (EqualsIgnoringAsciiCase(value.name, name)) return &value;
    return nullptr;
}

// A number counts only as REG_DWORD of exactly 4 bytes.
std::optional<uint32_t> Number(const StoredValue* value) {
    if (!value || value->type != StoredNumber || value->data.size() != 4) return std::nullopt;
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value->data[i]);
    return number;
}

// A text counts only as REG_SZ within its limit; it ends at its first zero.
std::optional<std::string> Text(const StoredValue* value, size_t maxData) {
    if (!value || value->type != StoredString || value->data.size() > maxData) return std::nullopt;
    return value->data.substr(0, value->data.find('\0'));
}

std::optional<StoredList> LoadList(const std::vector<StoredValue>& values, size_t entryLimit) {
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
        if (value.type != StoredString) continue;
        const size_t index = item++;
        // An item that does not fit its field is left out: cut, a program's
        // path or a pattern would name another. The selection stays on the
        // item it was: none when that one is left out.
        std::optional<std::string> text =
            value.name.size() <= maxStoredItemName ? Text(&value, maxStoredItemData) : std::nullopt;
        if (!text || text->size() > entryLimit) {
            ++leftOut;
            continue;
        }
        if (index == wanted) list.selected = static_cast<int>(index - leftOut);
        list.entries.push_back(std::move(*text));
    }
    return list;
}

}  // namespace

size_t HistoryEntryLimit(HistoryList list) {
    // In HistoryList's order.
    constexpr size_t limits[historyListCount] = {maxProgramLength, maxFilesLength, maxCommandLength,
                                                 maxStoredItemData - 1};
    return limits[static_cast<int>(list)];
}

LoadedLists LoadStoredValues(const StoredKey& key, RunSettings& s, Platform& platform) {
    LoadedLists loaded;
    if (auto number = Number(Find(key.values, "Handling0"))) s.handling0 = *number != 0;
    for (int i = 0; i < historyListCount; ++i)
        if (key.lists[i]) loaded.lists[i] = LoadList(*key.lists[i], HistoryEntryLimit(static_cast<HistoryList>(i)));

    const std::optional<std::string> storedCwd = Text(Find(key.values, "CWD"), maxStoredTextData);
    if (!storedCwd || platform.CompareNoCase(*storedCwd, s.cwd) != 0) return loaded;
    struct {
        const char* name;
        std::string& field;
    } const texts[] = {{"Output", s.output}, {"Report", s.report}, {"TempExt", s.tempExt}};
    for (const auto& t : texts)
        if (auto text = Text(Find(key.values, t.name), maxStoredTextData)) t.field = std::move(*text);
    if (auto number = Number(Find(key.values, "Handling"))) s.handling = static_cast<int32_t>(*number);
    if (auto number = Number(Find(key.values, "Symbols"))) s.symbols = static_cast<int32_t>(*number);
    if (auto number = Number(Find(key.values, "Rename"))) s.rename = *number != 0;
    if (auto number = Number(Find(key.values, "Test"))) s.test = *number != 0;
    if (auto number = Number(Find(key.values, "FullPath"))) s.fullPath = *number != 0;
    return loaded;
}

}  // namespace lorvan
