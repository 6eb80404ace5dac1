#pragma once
// A registry key under which values are read and written, closed when the
// object goes. Read failures are the caller's to ignore.

#include <windows.h>

#include <string>

namespace fw {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool OpenForReading(HKEY root, const char* path);
    bool CreateForWriting(HKEY root, const char* path);
    void Close();

    // A value counts only as REG_DWORD of exactly 4 bytes.
    bool ReadDword(const char* name, DWORD& value) const;
    bool WriteDword(const char* name, DWORD value) const;

private:
    HKEY key_ = nullptr;
};

}  // namespace fw
