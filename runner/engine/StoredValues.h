// What Lorvan's stored values mean, both ways: the values of its registry
// key turned into the record and the history lists, and the record and the
// lists turned into values. No registry here: the window fetches whatever
// the key holds and writes what this gives. Whatever the values are (any
// type, length, bytes or number), what does not fit is passed over.
#pragma once

#include "runner/engine/RunServices.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lorvan {

struct RunSettings;
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

// What sets the history lists apart, in HistoryList's order: the subkey,
// the longest entry a list takes (its field's limit; the stored item's for
// Translate, whose field has none), and whether a blank entry is stored (as
// " ") rather than dropped.
struct HistoryListKind {
    const char* subkey;
    size_t entryLimit;
    bool keepsBlank;
};
const HistoryListKind& KindOf(HistoryList list);

// Reads handling0 always, and the fields of the working directory when the
// stored CWD is settings.cwd (ignoring case, as the platform compares
// names). Returns the lists to show; none where a list keeps its entries.
struct LoadedLists {
    std::optional<StoredList> lists[historyListCount];
};
LoadedLists LoadStoredValues(const StoredKey& key, RunSettings& settings, Platform& platform);

// The program key's values of the record, in the order they are written:
// the global ones (before the lists) and those of the working directory
// (after them).
std::vector<StoredValue> GlobalStoredValues(const RunSettings& settings);
std::vector<StoredValue> DirectoryStoredValues(const RunSettings& settings);

// A list's subkey: its items numbered by their place in the list, 1 for the
// first, and "select". Blank items are dropped or kept as the list's kind
// says; "select" counts the stored items. None for a list without entries,
// which gets no subkey.
std::vector<StoredValue> ListStoredValues(const StoredList& list, HistoryList which);

}  // namespace lorvan
