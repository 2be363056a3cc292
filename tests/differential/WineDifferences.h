// Where Wine's private-profile functions, which the comparison runs under,
// read differently from Windows and from Velmora's engine. Each difference
// is listed beside the engine, in core/ProfileFile.h; here it is a model,
// so that a disagreement it fully explains is counted as explained rather
// than reported, and nothing else is excused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::differential {

enum class WineQuirk {
    None,
    QuoteCut,       // a quoted value read into a buffer one byte short of its closing quote loses a byte more
    BlankDefault,   // a default of spaces only keeps one space
    Count
};
const char* quirkName(WineQuirk quirk);

struct WineRead {
    std::string text;
    WineQuirk quirk = WineQuirk::None;  // the quirk that made it differ from a plain read, if any
};

// What Wine's GetPrivateProfileStringA gives for a key stored with `stored`
// (trimmed, quotes kept), or absent, read with `defaultValue` into `size` bytes.
WineRead wineStringRead(const std::optional<std::string>& stored, std::string_view defaultValue, unsigned size);
// What Wine's GetPrivateProfileIntA gives for the same.
int wineIntRead(const std::optional<std::string>& stored, int defaultValue, WineQuirk& quirk);

// The name of the section whose header is the file's first line right after
// a UTF-8 byte-order mark: Wine skips the mark and finds the section, Windows
// and Velmora keep the mark on the line and do not. Empty when there is none.
std::string sectionBehindByteOrderMark(std::string_view file);

// The name to give Wine's WritePrivateProfileSectionA: Wine finds the section
// with the name trimmed but empties it only when the name matches untrimmed,
// so a padded name would keep the old keys under the new ones.
std::string sectionNameForWine(std::string_view name);

}  // namespace velmora::differential
