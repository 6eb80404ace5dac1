#include "common/text/win32/Text.h"

#include <cstdlib>

namespace text {

bool ProcessIsUtf8() {
    return GetACP() == CP_UTF8;
}

bool Widen(std::string_view text, std::wstring& wide) {
    wide.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    const bool valid = length > 0;
    const DWORD flags = valid ? MB_ERR_INVALID_CHARS : 0;
    if (!valid) length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    if (length > 0) MultiByteToWideChar(CP_ACP, flags, text.data(), size, wide.data(), length);
    return valid;
}

std::wstring Widen(std::string_view text) {
    std::wstring wide;
    Widen(text, wide);
    return wide;
}

// WideCharToMultiByte into code page, with the flags that refuse what the
// code page cannot hold; false when a character was replaced.
bool NarrowTo(UINT codePage, std::wstring_view wide, std::string& text) {
    text.clear();
    if (wide.empty()) return true;
    const int size = static_cast<int>(wide.size());
    // UTF-8 can hold every character; only an unpaired surrogate fails, and
    // this code page allows no default character.
    const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && ProcessIsUtf8());
    BOOL usedDefault = FALSE;
    BOOL* used = utf8 ? nullptr : &usedDefault;
    DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, used);
    bool exact = length > 0;
    if (!exact) {  // an unpaired surrogate: written as U+FFFD
        flags = 0;
        length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, used);
    }
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    if (length > 0) WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, used);
    return exact && !usedDefault;
}

bool Narrow(std::wstring_view wide, std::string& text) {
    return NarrowTo(CP_ACP, wide, text);
}

std::string Narrow(std::wstring_view wide) {
    std::string text;
    Narrow(wide, text);
    return text;
}

size_t FieldLength(std::string_view text) {
    return ProcessIsUtf8() ? Widen(text).size() : text.size();
}

UINT OemCodePage() {
    static const UINT oem = [] {
        // Where the process's code page is UTF-8, GetOEMCP says so too; the
        // system's own OEM code page is kept under Nls.
        if (GetOEMCP() != CP_UTF8 || !ProcessIsUtf8()) return GetOEMCP();
        char value[16] = "";
        DWORD size = sizeof value - 1;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "OEMCP",
                         RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS) {
            const UINT stored = static_cast<UINT>(std::strtoul(value, nullptr, 10));
            if (stored != 0 && IsValidCodePage(stored)) return stored;
        }
        return UINT(437);
    }();
    return oem;
}

std::string CurrentDirectory() {
    std::wstring wide(MAX_PATH, L'\0');
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(wide.size()), wide.data());
    if (length >= wide.size()) {  // too small: length is the size needed
        wide.resize(length);
        length = GetCurrentDirectoryW(static_cast<DWORD>(wide.size()), wide.data());
    }
    wide.resize(length < wide.size() ? length : 0);
    return Narrow(wide);
}

std::string ModuleFileName() {
    std::wstring wide(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
        if (length < wide.size()) {
            wide.resize(length);
            return Narrow(wide);
        }
        wide.resize(wide.size() * 2);  // cut: the buffer was too small
    }
}

bool FindNames(std::string_view pattern, const std::function<void(const FoundName&)>& each) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Widen(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FoundName found;
    do {
        found.attributes = data.dwFileAttributes;
        const bool name = Narrow(data.cFileName, found.name);
        const bool alternate = Narrow(data.cAlternateFileName, found.alternateName);
        found.nameKnown = name && alternate;
        each(found);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

}  // namespace text
