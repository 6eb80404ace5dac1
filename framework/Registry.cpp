#include "Registry.h"

namespace fw {

bool RegistryKey::OpenForReading(HKEY root, const char* path) {
    Close();
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) return true;
    key = nullptr;
    return false;
}

bool RegistryKey::CreateForWriting(HKEY root, const char* path) {
    Close();
    DWORD disposition = 0;
    char emptyClass[] = "";
    if (RegCreateKeyExA(root, path, 0, emptyClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, &disposition) ==
        ERROR_SUCCESS)
        return true;
    key = nullptr;
    return false;
}

void RegistryKey::Close() {
    if (key) RegCloseKey(key);
    key = nullptr;
}

bool RegistryKey::ReadDword(const char* name, DWORD& value) const {
    DWORD type = 0, data = 0, size = sizeof data;
    if (!key || RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof data) return false;
    value = data;
    return true;
}

bool RegistryKey::WriteDword(const char* name, DWORD value) const {
    return key && RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
                      ERROR_SUCCESS;
}

}  // namespace fw

namespace fw {

bool RegistryKey::WriteValue(const std::string& name, DWORD type, const std::string& data) const {
    return key && RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

bool RegistryKey::Values(std::vector<Value>& values) const {
    DWORD count = 0, maxName = 0, maxData = 0;
    if (!key || RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData,
                                 nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    // Sized from the key's own figures: a value of any length is fetched
    // whole, and one that changed meanwhile is passed over.
    std::string name(maxName + 1, '\0'), data(maxData + 1, '\0');
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &dataSize) != ERROR_SUCCESS)
            continue;
        values.push_back({name.substr(0, nameSize), type, data.substr(0, dataSize)});
    }
    return true;
}

}  // namespace fw
