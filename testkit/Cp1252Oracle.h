// Code page 1252 as the C library knows it, for the native tests and the
// fuzzers to check Velmora's own tables and name rules against: iconv's
// characters, C.UTF-8's lower case. Not built for Windows.
#pragma once

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <array>
#include <string>
#include <string_view>

namespace velmora::oracle {

// The character of each byte; for the five bytes iconv leaves undefined,
// the C1 control of the same number, as Windows maps them.
inline const std::array<char32_t, 256>& characters() {
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> result{};
        const iconv_t convert = iconv_open("UTF-32LE", "CP1252");
        for (unsigned byte = 0; byte < 256; ++byte) {
            char in = static_cast<char>(byte);
            unsigned char out[4] = {};
            char* inAt = &in;
            char* outAt = reinterpret_cast<char*>(out);
            size_t inLeft = 1, outLeft = sizeof out;
            iconv(convert, nullptr, nullptr, nullptr, nullptr);
            const bool defined = iconv(convert, &inAt, &inLeft, &outAt, &outLeft) != static_cast<size_t>(-1);
            result[byte] = defined ? static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16) : byte;
        }
        iconv_close(convert);
        return result;
    }();
    return table;
}

// The byte whose character is the Unicode lower case of `byte`'s, where
// the page has one; else `byte`.
inline const std::array<unsigned char, 256>& lowerCase() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> result{};
        const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        for (unsigned byte = 0; byte < 256; ++byte) {
            const char32_t lower = static_cast<char32_t>(towlower_l(static_cast<wint_t>(characters()[byte]), utf8));
            result[byte] = static_cast<unsigned char>(byte);
            for (unsigned other = 0; other < 256; ++other)
                if (characters()[other] == lower) result[byte] = static_cast<unsigned char>(other);
        }
        freelocale(utf8);
        return result;
    }();
    return table;
}

// Blanks as the profile functions trim them: C white space and ^Z.
inline std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1a; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace velmora::oracle
