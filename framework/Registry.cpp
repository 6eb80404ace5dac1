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
