#include "base/CodePage1252.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr unsigned char folded(unsigned c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c < 0x80) return static_cast<unsigned char>(c);
    // Code page 1252: the accented capitals of Latin-1 and the four
    // letters Windows added in 0x80..0x9F.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A: return 0x9A;  // S caron
        case 0x8C: return 0x9C;  // OE
        case 0x8E: return 0x9E;  // Z caron
        case 0x9F: return 0xFF;  // Y diaeresis
        default: return static_cast<unsigned char>(c);
    }
}

constexpr std::array<unsigned char, 256> foldTable() {
    std::array<unsigned char, 256> table{};
    for (unsigned c = 0; c < 256; ++c) table[c] = folded(c);
    return table;
}

}  // namespace

constinit const std::array<unsigned char, 256> kFoldedCase = foldTable();

int compareIgnoreCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = foldCase(static_cast<unsigned char>(a[i]));
        const int y = foldCase(static_cast<unsigned char>(b[i]));
        if (x != y) return x - y;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string foldedCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return result;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    // Most names are asked for as they are spelt.
    return a.size() == b.size() && (a == b || compareIgnoreCase(a, b) == 0);
}

namespace {

// 0x80..0x9F; the rest of the page is Latin-1.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t utf16From1252(unsigned char c) { return c >= 0x80 && c < 0xA0 ? k1252High[c - 0x80] : c; }

int cp1252FromUtf16(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i)
        if (k1252High[i] == c) return 0x80 + i;
    return -1;
}

}  // namespace velmora
