// Text helpers shared by the INI engine, the match rules and the lists.
//
// Letter case is folded as the Windows ANSI code page 1252 folds it, so that
// names compare the way the games' own Windows functions compare them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Each byte's folded form; a table, since every name lookup folds bytes.
extern const std::array<unsigned char, 256> kFoldedCase;
inline unsigned char foldCase(unsigned char c) { return kFoldedCase[c]; }
// `text` with every letter folded: equal for any two texts that
// equalsIgnoreCase, so it can key a sorted or hashed lookup.
std::string foldedCase(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0, >0 as a case-blind comparison of the folded bytes.
int compareIgnoreCase(std::string_view a, std::string_view b);

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

// Code page 1252 and UTF-16: the character a byte stands for (the five bytes
// the page leaves undefined stand for U+0081, U+008D, U+008F, U+0090 and
// U+009D, as Windows maps them), and the byte of a character, -1 when the
// page has none.
char16_t utf16From1252(unsigned char c);
int cp1252FromUtf16(char16_t c);

}  // namespace velmora
