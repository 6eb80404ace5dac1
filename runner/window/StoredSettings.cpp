#include "StoredSettings.h"

#include "FieldTable.h"
#include "framework/Registry.h"
#include "framework/WindowPosition.h"

namespace runner {

namespace {

// Every value of a key as it is stored.
std::vector<StoredValue> ValuesOf(const fw::RegistryKey& key) {
    std::vector<fw::RegistryKey::Value> values;
    key.Values(values);
    std::vector<StoredValue> stored;
    stored.reserve(values.size());
    for (auto& value : values) stored.push_back({std::move(value.name), value.type, std::move(value.data)});
    return stored;
}

void Write(const fw::RegistryKey& key, const std::vector<StoredValue>& values) {
    for (const StoredValue& value : values) key.WriteValue(value.name, value.type, value.data);
}

}  // namespace

LoadedSettings LoadStoredSettings(const char* keyPath, RunSettings& s, Platform& platform) {
    LoadedSettings loaded;
    fw::RegistryKey key;
    if (!key.OpenForReading(HKEY_CURRENT_USER, keyPath)) return loaded;
    POINT position;
    if (fw::ReadWindowPosition(key, position)) loaded.position = position;
    StoredKey stored;
    stored.values = ValuesOf(key);
    for (int i = 0; i < historyListCount; ++i) {
        fw::RegistryKey list;
        if (list.OpenForReading(key.Handle(), historyRows[i]->stored.name)) stored.lists[i] = ValuesOf(list);
    }
    static_cast<LoadedLists&>(loaded) = LoadStoredValues(stored, s, platform, storedFields);
    return loaded;
}

void SaveStoredSettings(const char* keyPath, const RunSettings& s, HWND window,
                        const StoredList (&lists)[historyListCount]) {
    const std::string path = keyPath;
    const size_t slash = path.rfind('\\');
    fw::RegistryKey root, key;
    if (!root.CreateForWriting(HKEY_CURRENT_USER, path.substr(0, slash).c_str())) return;
    // Values and subkeys added by hand go too. From the root of the user's
    // keys, which may delete anything below it.
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath);
    if (!key.CreateForWriting(root.Handle(), path.substr(slash + 1).c_str())) return;

    fw::WriteWindowPosition(key, window);
    Write(key, GlobalStoredValues(s, storedFields));
    for (int i = 0; i < historyListCount; ++i) {
        const StoredField& field = historyRows[i]->stored;
        const std::vector<StoredValue> values = ListStoredValues(lists[i], field);
        if (values.empty()) continue;  // an empty list gets no subkey
        key.DeleteSubkey(field.name);
        fw::RegistryKey list;
        if (list.CreateForWriting(key.Handle(), field.name)) Write(list, values);
    }
    Write(key, DirectoryStoredValues(s, storedFields));
}

}  // namespace runner
