#include "Registry.h"

namespace fw {

bool RegistryKey::OpenForReading(HKEY root, const char* path) {
    Close();
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key_) == ERROR_SUCCESS) return true;
    key_ = nullptr;
    return false;
}

bool RegistryKey::CreateForWriting(HKEY root, const char* path) {
    Close();
    DWORD disposition = 0;
    char emptyClass[] = "";
    if (RegCreateKeyExA(root, path, 0, emptyClass, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key_, &disposition) ==
        ERROR_SUCCESS)
        return true;
    key_ = nullptr;
    return false;
}

void RegistryKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

bool RegistryKey::ReadDword(const char* name, DWORD& value) const {
    DWORD type = 0, data = 0, size = sizeof data;
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof data) return false;
    value = data;
    return true;
}

bool RegistryKey::WriteDword(const char* name, DWORD value) const {
    return key_ && RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
                       ERROR_SUCCESS;
}

}  // namespace fw

namespace fw {

bool RegistryKey::WriteString(const char* name, const std::string& value) const {
    return key_ && RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.data()),
                                  static_cast<DWORD>(value.size())) == ERROR_SUCCESS;
}

bool RegistryKey::Values(std::vector<Value>& values) const {
    DWORD count = 0, maxName = 0, maxData = 0;
    if (!key_ || RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                                  &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    // Sized from the key's own figures: a value of any length is fetched
    // whole, and one that changed meanwhile is passed over.
    std::string name(maxName + 1, '\0'), data(maxData + 1, '\0');
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key_, i, name.data(), &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                          &dataSize) != ERROR_SUCCESS)
            continue;
        values.push_back({name.substr(0, nameSize), type, data.substr(0, dataSize)});
    }
    return true;
}

bool RegistryKey::DeleteTree(const char* name) const {
    const std::string subkeyName = name;
    RegistryKey subkey;
    if (!key_ || RegOpenKeyExA(key_, subkeyName.c_str(), 0, KEY_READ | KEY_WRITE, &subkey.key_) != ERROR_SUCCESS) {
        subkey.key_ = nullptr;
        return false;
    }
    DWORD subkeys = 0, maxName = 0;
    RegQueryInfoKeyA(subkey.key_, nullptr, nullptr, nullptr, &subkeys, &maxName, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    for (DWORD i = subkeys; i-- > 0;) {
        std::string child(maxName + 1, '\0');
        DWORD size = static_cast<DWORD>(child.size());
        if (RegEnumKeyExA(subkey.key_, i, child.data(), &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            subkey.DeleteTree(child.c_str());
    }
    subkey.Close();
    RegDeleteKeyA(key_, subkeyName.c_str());
    return true;
}

}  // namespace fw
