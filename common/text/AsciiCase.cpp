#include "common/text/AsciiCase.h"

namespace text {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

std::string AsciiCaseKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = LowerAscii(c);
    return key;
}

}  // namespace text
