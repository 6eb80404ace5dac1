#include "StoredSettings.h"

#include "framework/Registry.h"
#include "framework/WindowPosition.h"

using lorvan::IsBlankEntry;

const char* const storedListNames[storedListCount] = {"Program", "Files", "Command", "Translate"};

namespace {

std::optional<StoredList> LoadList(const fw::RegistryKey& programKey, const char* name) {
    fw::RegistryKey key;
    if (!key.OpenForReading(programKey.Handle(), name)) return std::nullopt;
    StoredList list;
    DWORD values = 0;
    if (!key.StringValues(list.entries, values) || values == 0) return std::nullopt;
    // The combo box keeps its entries sorted; the stored order is the sorted
    // one of the moment of saving.
    DWORD select = 0;
    const bool counts = key.ReadDword("select", select) && select != 0 &&
                        static_cast<LONG>(select) <= static_cast<LONG>(values);
    list.selected = counts ? static_cast<int>(select) - 1 : 0;
    return list;
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
    DWORD number = 0;
    if (key.ReadDword("Handling0", number)) s.handling0 = number != 0;
    for (int i = 0; i < storedListCount; ++i) loaded.lists[i] = LoadList(key, storedListNames[i]);

    std::string storedCwd;
    if (!key.ReadString("CWD", storedCwd) || platform.CompareNoCase(storedCwd, s.cwd) != 0)
        return loaded;
    key.ReadString("Output", s.output);
    key.ReadString("Report", s.report);
    key.ReadString("TempExt", s.tempExt);
    if (key.ReadDword("Handling", number)) s.handling = static_cast<int32_t>(number);
    if (key.ReadDword("Symbols", number)) s.symbols = static_cast<int32_t>(number);
    if (key.ReadDword("Rename", number)) s.rename = number != 0;
    if (key.ReadDword("Test", number)) s.test = number != 0;
    if (key.ReadDword("FullPath", number)) s.fullPath = number != 0;
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
