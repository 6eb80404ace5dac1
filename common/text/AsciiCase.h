// Case of the ASCII letters only, as toupper and tolower in the runtime's "C"
// locale: what the command interpreter and the registry fold in command
// words, extensions and value names, and how Kastrelo orders names where the
// system gives no order of its own. A byte above 127 is never folded.
#pragma once

#include <string>
#include <string_view>

namespace text {

inline char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The key by which names order ignoring ASCII case, compared byte by byte:
// the name in lower case, so that the order is _stricmp's in the "C" locale
// ("_x" before "Alpha").
std::string AsciiCaseKey(const std::string& name);

}  // namespace text
