#pragma once
// A registry key under which values are read and written, closed when the
// object goes. Read failures are the caller's to ignore.

#include <windows.h>

#include <string>
#include <vector>

namespace fw {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool OpenForReading(HKEY root, const char* path);
    // Creates the key, or opens it where it exists.
    bool CreateForWriting(HKEY root, const char* path);
    void Close();
    HKEY Handle() const { return key; }

    // A value counts only as REG_DWORD of exactly 4 bytes.
    bool ReadDword(const char* name, DWORD& value) const;
    bool WriteDword(const char* name, DWORD value) const;
    // A value of any type, its bytes as given (a REG_SZ without its zero).
    bool WriteValue(const std::string& name, DWORD type, const std::string& data) const;

    // Every value of the key, in the key's order, as stored: name, type and
    // bytes, whatever their length. What the values mean is the caller's.
    struct Value {
        std::string name;
        DWORD type = 0;
        std::string data;
    };
    bool Values(std::vector<Value>& values) const;

    // Deletes a subkey that has no subkeys of its own.
    void DeleteSubkey(const char* name) const { RegDeleteKeyA(key, name); }

private:
    HKEY key = nullptr;
};

}  // namespace fw
