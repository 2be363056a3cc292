// Code page 1252, the page Velmora's names are compared in: how its letters
// fold, and the character each byte stands for.
//
// Letter case is folded as the Windows ANSI code page 1252 folds it, so that
// names compare the way the games' own Windows functions compare them.
#pragma once

#include <array>
#include <string>
#include <string_view>

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

// Code page 1252 and UTF-16: the character a byte stands for (the five bytes
// the page leaves undefined stand for U+0081, U+008D, U+008F, U+0090 and
// U+009D, as Windows maps them), and the byte of a character, -1 when the
// page has none.
char16_t utf16From1252(unsigned char c);
int cp1252FromUtf16(char16_t c);

}  // namespace velmora
