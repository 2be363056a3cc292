#include "core/Text.h"

#include <algorithm>

namespace velmora {

unsigned char foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c < 0x80) return c;
    // Code page 1252: the accented capitals of Latin-1 and the four
    // letters Windows added in 0x80..0x9F.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A: return 0x9A;  // S caron
        case 0x8C: return 0x9C;  // OE
        case 0x8E: return 0x9E;  // Z caron
        case 0x9F: return 0xFF;  // Y diaeresis
        default: return c;
    }
}

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
    return a.size() == b.size() && compareIgnoreCase(a, b) == 0;
}

bool endsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           equalsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

bool isProfileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1a;
}

std::string_view trimProfileSpace(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isProfileSpace(text[begin])) ++begin;
    while (end > begin && isProfileSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string clipToBuffer(std::string_view text, size_t limit) {
    if (limit == 0) return {};
    return std::string(text.substr(0, std::min(text.size(), limit - 1)));
}

std::string decimal(long long value) { return std::to_string(value); }

}  // namespace velmora
