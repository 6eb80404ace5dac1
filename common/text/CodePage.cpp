#include "common/text/CodePage.h"

namespace text {

namespace {

class SingleByte : public CodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

// The offset of the first or the last character that is one of chars, or
// npos; the second byte of a double-byte character is never taken for one.
size_t FindChar(std::string_view text, std::string_view chars, const CodePage& codePage, bool last) {
    size_t at = std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (codePage.IsLeadByte(byte) && i + 1 < text.size()) {
            ++i;  // its second byte is part of this character
            continue;
        }
        if (chars.find(text[i]) == std::string_view::npos) continue;
        at = i;
        if (!last) break;
    }
    return at;
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
    return FindChar(text, chars, codePage, false);
}

size_t FindLastChar(std::string_view text, std::string_view chars, const CodePage& codePage) {
    return FindChar(text, chars, codePage, true);
}

}  // namespace text
