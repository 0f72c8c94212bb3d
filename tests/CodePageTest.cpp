#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage.h"

namespace {

struct ConversionCase {
    unsigned codePage;
    std::string bytes;
    std::wstring text;
};

TEST(CodePage, ConvertsBothWays) {
    const ConversionCase cases[] = {
        {936, "\xB2\xE2\xD5\xBE", L"\u6D4B\u7AD9"},  // 测站 in GBK
        {936, "ABC", L"ABC"},
        {1252, "Caf\xE9", L"Caf\u00E9"},
        {kUtf8CodePage, "\xE6\xB5\x8B", L"\u6D4B"},
        {437, "RN-7 \x82", L"RN-7 \u00E9"},
        {936, "", L""},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.codePage);
        EXPECT_EQ(MultiByteToUnicodeString(c.bytes, c.codePage), c.text);
        EXPECT_EQ(UnicodeStringToMultiByte(c.text, c.codePage), c.bytes);
    }
}

TEST(CodePage, UnmappableCharactersAreReplaced) {
    EXPECT_EQ(UnicodeStringToMultiByte(L"a\u6D4Bb", 1252), "a?b");
    const std::wstring decoded = MultiByteToUnicodeString("A\xFF", 936);
    ASSERT_FALSE(decoded.empty());
    EXPECT_EQ(decoded[0], L'A');
    // A sequence cut off at the end of one text leaves the next text alone.
    MultiByteToUnicodeString("\xB2", 936);
    EXPECT_EQ(MultiByteToUnicodeString("\xB2\xE2", 936), L"\u6D4B");
}

TEST(CodePage, KnownCodePagesAreAvailable) {
    for (unsigned codePage : {936u, 950u, 932u, 949u, 1251u, 1252u, 437u, kUtf8CodePage})
        EXPECT_TRUE(IsCodePageAvailable(codePage)) << codePage;
    EXPECT_FALSE(IsCodePageAvailable(4242));
}

}  // namespace
