// Text helpers shared by the INI engine and the boxes that list files.
// Case folding and code page 1252 are base/CodePage1252.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// White space as the profile functions see it: the C white space characters
// and ^Z, the DOS end-of-file mark found on files copied from CD.
inline bool isProfileSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1a; }
std::string_view trimmedProfileSpace(std::string_view text);
// Most names and values have nothing to trim: they are passed over inline.
inline std::string_view trimProfileSpace(std::string_view text) {
    if (!text.empty() && !isProfileSpace(text.front()) && !isProfileSpace(text.back())) return text;
    return trimmedProfileSpace(text);
}

// The first `limit - 1` bytes of `text`: what a C buffer of `limit` bytes
// keeps of it.
std::string clipToBuffer(std::string_view text, size_t limit);

std::string decimal(long long value);

// The first five of `names`, one a line, then "and K more" for the rest:
// how every box lists the files it speaks of.
std::string firstNamesThenMore(const std::vector<std::string>& names);

}  // namespace velmora
