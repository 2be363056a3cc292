#include "platform/CodePage.h"

#include <windows.h>

namespace velmora {

// The same conversion the A profile functions make. No best fit: a
// character the page lacks is '?', never a look-alike that could be a
// different name (or an '=' that splits a line anew). A UTF-8 system page
// takes neither the flag nor a default character.
void appendNarrow(std::u16string_view units, std::string& narrow) {
    if (units.empty()) return;
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int count = static_cast<int>(units.size());
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8 ? nullptr : "?";
    const int size = ::WideCharToMultiByte(CP_ACP, flags, wide, count, nullptr, 0, fallback, nullptr);
    if (size <= 0) {
        narrow.append(units.size(), '?');
        return;
    }
    const size_t at = narrow.size();
    narrow.resize(at + static_cast<size_t>(size));
    ::WideCharToMultiByte(CP_ACP, flags, wide, count, narrow.data() + at, size, fallback, nullptr);
}

void appendUtf16(std::string_view narrow, std::u16string& units) {
    if (narrow.empty()) return;
    const int count = static_cast<int>(narrow.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), count, nullptr, 0);
    if (size <= 0) {
        units.append(narrow.size(), u'?');
        return;
    }
    const size_t at = units.size();
    units.resize(at + static_cast<size_t>(size));
    ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), count, reinterpret_cast<wchar_t*>(units.data() + at), size);
}

}  // namespace velmora
