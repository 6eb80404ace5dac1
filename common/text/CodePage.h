// Text is in the ANSI code page, where a character may take two bytes. A
// scan for "\" or ":" steps by character: in a double-byte code page (932 and
// others) the second byte of a character may be 0x5C.
#pragma once

#include <cstddef>
#include <string_view>

namespace text {

class CodePage {
public:
    virtual ~CodePage() = default;
    // Whether the byte begins a double-byte character, as IsDBCSLeadByteEx.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // Whether the code page is UTF-8, where no byte leads a double-byte character.
    virtual bool IsUtf8() const { return false; }
};

// A text's length as a field of the window counts it: in UTF-8 by UTF-16
// units, as the controls count; in an ANSI code page by bytes.
size_t FieldLength(std::string_view text, const CodePage& codePage);

// A code page of single bytes only, such as 1252.
const CodePage& SingleByteCodePage();

// The byte offset of the first (last) character that is one of chars, or
// npos. The second byte of a double-byte character is never taken for one.
size_t FindFirstChar(std::string_view text, std::string_view chars, const CodePage& codePage);
size_t FindLastChar(std::string_view text, std::string_view chars, const CodePage& codePage);

}  // namespace text
