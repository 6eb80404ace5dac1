#include "StoredSettings.h"

#include "framework/Registry.h"
#include "framework/WindowPosition.h"

using lorvan::IsBlankEntry;

const char* const storedListNames[storedListCount] = {"Program", "Files", "Command", "Translate"};

namespace {

// Every value of a key as it is stored.
std::vector<lorvan::StoredValue> ValuesOf(const fw::RegistryKey& key) {
    std::vector<fw::RegistryKey::Value> values;
    key.Values(values);
    std::vector<lorvan::StoredValue> stored;
    stored.reserve(values.size());
    for (auto& value : values) stored.push_back({std::move(value.name), value.type, std::move(value.data)});
    return stored;
}

void SaveList(const fw::RegistryKey& programKey, const char* name, const StoredList& list, bool keepBlank) {
    if (list.entries.empty()) return;
    programKey.DeleteSubkey(name);
    fw::RegistryKey key;
    if (!key.CreateForWriting(programKey.Handle(), name)) return;
    int selected = list.selected;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        const std::string valueName = std::to_string(i + 1);
        const std::string& text = list.entries[i];
        if (!IsBlankEntry(text))
            key.WriteString(valueName.c_str(), text);
        else if (keepBlank)
            key.WriteString(valueName.c_str(), " ");
        else if (static_cast<int>(i) < list.selected)
            --selected;  // "select" counts the stored entries only
    }
    key.WriteDword("select", list.selected < 0 ? 1 : static_cast<DWORD>(selected + 1));
}

}  // namespace

LoadedSettings LoadStoredSettings(const char* keyPath, lorvan::RunSettings& s, lorvan::Platform& platform) {
    LoadedSettings loaded;
    fw::RegistryKey key;
    if (!key.OpenForReading(HKEY_CURRENT_USER, keyPath)) return loaded;
    POINT position;
    if (fw::ReadWindowPosition(key, position)) loaded.position = position;
    lorvan::StoredKey stored;
    stored.values = ValuesOf(key);
    for (int i = 0; i < storedListCount; ++i) {
        fw::RegistryKey list;
        if (list.OpenForReading(key.Handle(), storedListNames[i])) stored.lists[i] = ValuesOf(list);
    }
    static_cast<lorvan::LoadedLists&>(loaded) = lorvan::LoadStoredValues(stored, s, platform);
    return loaded;
}

void SaveStoredSettings(const char* keyPath, const lorvan::RunSettings& s, HWND window,
                        const StoredList (&lists)[storedListCount]) {
    const std::string path = keyPath;
    const size_t slash = path.rfind('\\');
    fw::RegistryKey root, key;
    if (!root.CreateForWriting(HKEY_CURRENT_USER, path.substr(0, slash).c_str())) return;
    const std::string name = path.substr(slash + 1);
    root.DeleteTree(name.c_str());  // values and subkeys added by hand go too
    if (!key.CreateForWriting(root.Handle(), name.c_str())) return;

    fw::WriteWindowPosition(key, window);
    key.WriteDword("Handling0", s.handling0 ? 1 : 0);
    key.WriteString("CWD", s.cwd);
    for (int i = 0; i < storedListCount; ++i) SaveList(key, storedListNames[i], lists[i], i == ListTranslate);
    key.WriteString("Output", s.output);
    key.WriteString("Report", s.report);
    key.WriteString("TempExt", s.tempExt);
    key.WriteDword("Handling", static_cast<DWORD>(s.handling));
    key.WriteDword("Symbols", static_cast<DWORD>(s.symbols));
    key.WriteDword("Rename", s.rename ? 1 : 0);
    key.WriteDword("Test", s.test ? 1 : 0);
    key.WriteDword("FullPath", s.fullPath ? 1 : 0);
}
