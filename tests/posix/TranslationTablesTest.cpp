// The translation tables of core/Text checked byte by byte against the C
// library's: iconv's code page 1252 and C.UTF-8's lower case.
// tests/win32/TranslationTablesTest.cpp checks them against Windows.
#include <gtest/gtest.h>

#include "base/CodePage1252.h"
#include "testkit/Cp1252Oracle.h"

namespace velmora {
namespace {

TEST(TranslationTables, AgreeWithTheCLibrary) {
    int undefined = 0, letters = 0;
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char32_t character = oracle::characters()[byte];
        undefined += byte >= 0x80 && byte < 0xA0 && character == byte;
        EXPECT_EQ(static_cast<char32_t>(utf16From1252(static_cast<unsigned char>(byte))), character) << byte;
        EXPECT_EQ(cp1252FromUtf16(static_cast<char16_t>(character)), static_cast<int>(byte)) << byte;
        letters += oracle::lowerCase()[byte] != byte;
        EXPECT_EQ(kFoldedCase[byte], oracle::lowerCase()[byte]) << byte;
    }
    EXPECT_EQ(undefined, 5);  // 81, 8D, 8F, 90, 9D
    EXPECT_EQ(letters, 26 + 30 + 4);  // A-Z, Latin-1's capitals, S, OE, Z and Y of 0x80-0x9F
    // A character of 0x80-0x9F is its own byte only where the page leaves that byte undefined.
    for (unsigned c = 0x80; c < 0xA0; ++c)
        EXPECT_EQ(cp1252FromUtf16(static_cast<char16_t>(c)), oracle::characters()[c] == c ? int(c) : -1) << c;
    EXPECT_EQ(cp1252FromUtf16(u'\u0100'), -1);
}

}  // namespace
}  // namespace velmora
