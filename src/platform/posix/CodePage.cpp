#include "platform/CodePage.h"

#include "base/CodePage1252.h"

namespace velmora {

void appendNarrow(std::u16string_view units, std::string& narrow) {
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        // A pair stands for one character, which no single-byte page holds.
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000)
            ++i;
        const int byte = cp1252FromUtf16(unit);
        narrow += byte < 0 ? '?' : static_cast<char>(byte);
    }
}

void appendUtf16(std::string_view narrow, std::u16string& units) {
    for (const char c : narrow) units += utf16From1252(static_cast<unsigned char>(c));
}

}  // namespace velmora
