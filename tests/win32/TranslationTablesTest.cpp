// The translation tables of core/Text checked byte by byte against Windows'
// own functions for code page 1252.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/CodePage1252.h"

namespace velmora {
namespace {

TEST(Win32TranslationTables, AgreeWithMultiByteToWideCharAndCharLower) {
    for (int byte = 0; byte < 256; ++byte) {
        const char narrow = static_cast<char>(byte);
        wchar_t wide = 0;
        ASSERT_EQ(::MultiByteToWideChar(1252, 0, &narrow, 1, &wide, 1), 1) << byte;
        EXPECT_EQ(static_cast<int>(utf16From1252(static_cast<unsigned char>(byte))), static_cast<int>(wide)) << byte;
        EXPECT_EQ(cp1252FromUtf16(static_cast<char16_t>(wide)), byte) << byte;

        ::CharLowerBuffW(&wide, 1);
        char lower = 0;
        BOOL lossy = FALSE;
        ::WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &wide, 1, &lower, 1, nullptr, &lossy);
        const int expected = lossy ? byte : static_cast<unsigned char>(lower);
        EXPECT_EQ(kFoldedCase[static_cast<size_t>(byte)], expected) << byte;
    }
}

}  // namespace
}  // namespace velmora
