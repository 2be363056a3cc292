// The narrow code page that Velmora's text is in, and its conversion to and
// from UTF-16, for profile files saved as Unicode.
//
// Contract: appendNarrow converts UTF-16 code units to the narrow page; a
// character the page cannot hold, an unpaired surrogate included, becomes
// '?'. appendUtf16 converts narrow text to UTF-16 code units. Neither fails.
// Windows uses the system's ANSI code page, as the A profile functions do;
// elsewhere it is code page 1252, the page names fold in (base/CodePage1252.h).
#pragma once

#include <string>
#include <string_view>

namespace velmora {

void appendNarrow(std::u16string_view units, std::string& narrow);
void appendUtf16(std::string_view narrow, std::u16string& units);

}  // namespace velmora
