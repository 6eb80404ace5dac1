#include "common/text/CodePage.h"

namespace text {

namespace {

class SingleByte : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

// Calls found(offset) for every character that is one of chars, in order,
// until it returns false.
template <typename Found>
void ScanChars(std::string_view text, std::string_view chars, const CodePage& codePage, Found found) {
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (codePage.IsLeadByte(byte) && i + 1 < text.size()) {
            ++i;  // its second byte is part of this character
            continue;
        }
        if (chars.find(text[i]) != std::string_view::npos && !found(i)) return;
    }
}

}  // namespace

const CodePage& SingleByteCodePage() {
    static const SingleByte singleByte;
    return singleByte;
}

size_t FieldLength(std::string_view text, const CodePage& codePage) {
    if (!codePage.IsUtf8()) return text.size();
    size_t units = 0;
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // not a continuation byte
        if (byte >= 0xF0) ++units;           // beyond U+FFFF: a surrogate pair
    }
    return units;
}

size_t FindFirstChar(std::string_view text, std::string_view chars, const CodePage& codePage) {
    size_t at = std::string_view::npos;
    ScanChars(text, chars, codePage, [&](size_t i) {
        at = i;
        return false;
    });
    return at;
}

size_t FindLastChar(std::string_view text, std::string_view chars, const CodePage& codePage) {
    size_t at = std::string_view::npos;
    ScanChars(text, chars, codePage, [&](size_t i) {
        at = i;
        return true;
    });
    return at;
}

}  // namespace text
