#pragma once
// Text in this process's code page and in UTF-16. The code page is UTF-8
// where Windows honours the manifest's activeCodePage (Windows 10 1903 and
// later), and the system's ANSI code page before that; there, the ANSI
// functions give a name they cannot hold as a look-alike ("Omega" for
// "Ωmega") or with "?", so names are fetched wide and narrowed strictly.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace text {

// Whether the process's code page is UTF-8.
bool ProcessIsUtf8();

// The UTF-16 form of text in the process's code page; false when the text
// is not valid there (wide then holds what could be read).
bool Widen(std::string_view text, std::wstring& wide);
std::wstring Widen(std::string_view text);

// The form in the process's code page; false when a character has none
// there, never a look-alike (text then holds what could be written).
bool Narrow(std::wstring_view wide, std::string& text);
std::string Narrow(std::wstring_view wide);
// The same into another code page (the OEM one).
bool NarrowTo(UINT codePage, std::wstring_view wide, std::string& text);

// The length of a text as an edit control counts it against its limit: in
// UTF-16 units where the process's code page is UTF-8, in bytes before that.
// FieldLength(text, codePage) is the same rule without Windows.
size_t FieldLength(std::string_view text);

// The system's OEM code page, that of its DOS programs, also where the
// process's own code page is UTF-8 and GetOEMCP says 65001 too.
UINT OemCodePage();

// The process's current directory and its program file, whatever their length.
std::string CurrentDirectory();
std::string ModuleFileName();

// One entry of an enumeration by wildcard; nameKnown is false when the
// process's code page cannot hold the name: nothing may be done under it.
struct FoundName {
    DWORD attributes = 0;
    std::string name, alternateName;
    bool nameKnown = true;
};

// FindFirstFileW and FindNextFileW, each entry narrowed; false when
// nothing matched or the enumeration could not start.
bool FindNames(std::string_view pattern, const std::function<void(const FoundName&)>& each);

}  // namespace text
