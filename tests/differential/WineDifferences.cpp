#include "differential/WineDifferences.h"

#include "core/ProfileFile.h"
#include "core/Text.h"

namespace velmora::differential {

const char* quirkName(WineQuirk quirk) {
    switch (quirk) {
        case WineQuirk::QuoteCut: return "quoted value one byte short of its closing quote";
        case WineQuirk::BlankDefault: return "default of spaces only";
        default: return "none";
    }
}

WineRead wineStringRead(const std::optional<std::string>& stored, std::string_view defaultValue, unsigned size) {
    WineRead read;
    std::string_view source;
    if (stored) {
        source = *stored;
    } else {
        // Trailing spaces go, but Wine's loop stops at the first character,
        // so a default of spaces only keeps one.
        size_t end = defaultValue.size();
        while (end > 1 && defaultValue[end - 1] == ' ') --end;
        source = defaultValue.substr(0, end);
        if (source == " ") read.quirk = WineQuirk::BlankDefault;
    }
    if (size == 0) return read;
    const bool quoted = source.size() >= 2 && (source[0] == '"' || source[0] == '\'') && source.back() == source[0];
    if (!quoted) {
        read.text = clipToBuffer(source, size);
        return read;
    }
    // Wine copies from after the opening quote, then drops the last byte it
    // copied whenever the buffer could have held the closing quote's place,
    // one byte too early: a buffer of exactly the value's length less one
    // loses the value's last byte instead of the quote.
    const std::string_view rest = source.substr(1);
    read.text = clipToBuffer(rest, size);
    if (size >= rest.size() && !read.text.empty()) {
        if (size == rest.size()) read.quirk = WineQuirk::QuoteCut;
        read.text.pop_back();
    }
    return read;
}

int wineIntRead(const std::optional<std::string>& stored, int defaultValue, WineQuirk& quirk) {
    // GetPrivateProfileIntA reads the value as a string of at most 29
    // characters with an empty default first.
    const WineRead text = wineStringRead(stored, "", 30);
    quirk = text.quirk;
    return text.text.empty() ? defaultValue : parseProfileInteger(text.text);
}

std::string sectionBehindByteOrderMark(std::string_view file) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (file.substr(0, kMark.size()) != kMark) return {};
    file.remove_prefix(kMark.size());
    const std::string_view line = trimProfileSpace(file.substr(0, file.find_first_of("\r\n")));
    const size_t close = line.rfind(']');
    if (line.empty() || line[0] != '[' || close == std::string_view::npos) return {};
    return std::string(trimProfileSpace(line.substr(1, close - 1)));
}

std::string sectionNameForWine(std::string_view name) { return std::string(trimProfileSpace(name)); }

}  // namespace velmora::differential
