#include "common/text/CodePage.h"

#include <gtest/gtest.h>

namespace {

// Code page 932, where the second byte of a character may be 0x5C ("\").
struct Japanese : text::CodePage {
    bool IsLeadByte(unsigned char b) const override { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
};

}  // namespace

TEST(CodePage, ScansGoByCharacter) {
    const Japanese japanese;
    constexpr size_t none = std::string_view::npos;
    // text, first of ":\", first of ":\/"
    const std::tuple<const char*, size_t, size_t> rows[] = {
        {"\x95\x5C*.txt", none, none}, {"\x83\x5C\x83\x5C", none, none}, {"\x95\x5C\\x", 2, 2}, {"a\\\x95\x5C", 1, 1},
        {"\x95\x5C:", 2, 2},           {"\x95\x5C/", none, 2},
    };
    for (auto [text, path, any] : rows) {
        EXPECT_EQ(text::FindFirstChar(text, ":\\", japanese), path) << text;
        EXPECT_EQ(text::FindFirstChar(text, ":\\/", japanese), any) << text;
    }
}
