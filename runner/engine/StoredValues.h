// What Lorvan's stored values mean, both ways: the values of its registry
// key turned into the record and the history lists, and the record and the
// lists turned into values. No registry here: the window fetches whatever
// the key holds and writes what this gives. Whatever the values are (any
// type, length, bytes or number), what does not fit is passed over.
#pragma once

#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace runner {

class Platform;

// The registry's type numbers of the two types used.
constexpr uint32_t storedString = 1;  // REG_SZ
constexpr uint32_t storedNumber = 4;  // REG_DWORD

// A stored item's data holds at most 512 bytes with its zero, its name at
// most 99 characters; a per-directory text at most 1023 bytes.
constexpr size_t maxStoredItemData = 512;
constexpr size_t maxStoredItemName = 99;
constexpr size_t maxStoredTextData = 1023;

struct StoredValue {
    std::string name;
    uint32_t type = 0;
    std::string data;  // the bytes as stored
};

constexpr int historyListCount = 4;  // in HistoryList's order

// The program key: its values and the four history subkeys (none: missing).
struct StoredKey {
    std::vector<StoredValue> values;
    std::optional<std::vector<StoredValue>> lists[historyListCount];
};

// One history list in the order of its stored items, which is the sorted
// order of the moment of saving.
struct StoredList {
    std::vector<std::string> entries;
    int selected = -1;  // the index to select in the sorted list; -1: none
};

// Where a field's value is kept between two starts.
enum class StoredScope {
    NotStored,
    Global,     // read at every start
    Cwd,        // the working directory, written with the global values:
                // the per-directory values are read only in it
    Directory,  // per working directory
    History,    // the field's history list: a subkey of numbered entries
};

// A flag is stored as the number 1 or 0 and is set by any number but 0; a
// number is taken as stored.
enum class StoredKind { Text, Number, Flag };

// The record's side of one field: its member, its limit or range, and the
// name and scope it is stored under. One table of these (the window's)
// names every stored value; history fields come in HistoryList's order.
struct StoredField {
    const char* name = nullptr;  // the value, or the history list's subkey
    StoredScope scope = StoredScope::NotStored;
    StoredKind kind = StoredKind::Text;
    std::string RunSettings::*text = nullptr;
    int32_t RunSettings::*number = nullptr;
    bool RunSettings::*flag = nullptr;
    size_t limit = 0;  // a text's longest, counted as FieldLength does; 0: none
    NumberRange range;
    bool keepsBlank = false;  // a history list stores a blank entry (as " ")
};

constexpr StoredField TextField(std::string RunSettings::*member, size_t limit, StoredScope scope, const char* name) {
    return {name, scope, StoredKind::Text, member, nullptr, nullptr, limit};
}
constexpr StoredField NumberField(int32_t RunSettings::*member, StoredScope scope, const char* name,
                                  NumberRange range = {}) {
    return {name, scope, StoredKind::Number, nullptr, member, nullptr, 0, range};
}
constexpr StoredField FlagField(bool RunSettings::*member, StoredScope scope, const char* name) {
    return {name, scope, StoredKind::Flag, nullptr, nullptr, member};
}
constexpr StoredField ListField(std::string RunSettings::*member, size_t limit, const char* subkey,
                                bool keepsBlank = false) {
    return {subkey, StoredScope::History, StoredKind::Text, member, nullptr, nullptr, limit, {}, keepsBlank};
}

using StoredFields = std::span<const StoredField>;

// The longest entry a history list takes: its field's limit; the stored
// item's where the field has none.
size_t EntryLimit(const StoredField& list);

// Reads the global values always, and those of the working directory when
// the stored one is settings.cwd (ignoring case, as the platform compares
// names). Returns the lists to show; none where a list keeps its entries.
struct LoadedLists {
    std::optional<StoredList> lists[historyListCount];
};
LoadedLists LoadStoredValues(const StoredKey& key, RunSettings& settings, Platform& platform, StoredFields fields);

// The program key's values of the record, in the order they are written:
// the global ones and the working directory (before the lists), and those
// of the working directory (after them).
std::vector<StoredValue> GlobalStoredValues(const RunSettings& settings, StoredFields fields);
std::vector<StoredValue> DirectoryStoredValues(const RunSettings& settings, StoredFields fields);

// A list's subkey: its items numbered by their place in the list, 1 for the
// first, and "select". Blank items are dropped or kept as the list's field
// says; "select" counts the stored items. None for a list without entries,
// which gets no subkey.
std::vector<StoredValue> ListStoredValues(const StoredList& list, const StoredField& field);

}  // namespace runner
