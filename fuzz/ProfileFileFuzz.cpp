// libFuzzer target over the INI engine in memory: a profile text, then a
// script of reads and edits run on it.
//
// Input: the profile text up to the first zero byte; the bytes after it are
// the script (operations, names, values, buffer sizes). A corpus file is an
// INI file, a zero byte and a few script bytes. A text that starts with the
// UTF-16LE mark FF FE runs to its first zero code unit instead (two zero
// bytes at an even offset), or to the end; one that ends in the unit FFFF
// loses that unit's second byte, so that odd byte counts come in with a
// script too.
//
// Beyond not crashing, every edit must keep what the engine promises:
//  - after setString(s, k, v), getString(s, k) is v as stored: without its
//    leading white space, trimmed, one pair of quotes removed, cut to the
//    buffer;
//  - after setSection(s, lines), s reads exactly the key lines given and no
//    other key;
//  - every line outside the section edited stays byte for byte, in the
//    file's bytes as in its narrow text (a UTF-16 file's odd last byte
//    stays last);
//  - the edited profile reads as its own text read afresh.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ProfileFile.h"
#include "core/Text.h"
#include "platform/CodePage.h"

using velmora::ProfileFile;

namespace {

// libFuzzer saves the input that aborts and reports where.
[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

#define EXPECT(condition) \
    do {                  \
        if (!(condition)) broken(#condition); \
    } while (0)

// An independent reading of the format, as the oracle: lines end at CR LF,
// LF or CR; a header is a trimmed line "[...]" that has a ']'.
std::vector<std::string_view> linesWithEndings(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) end = text.size();
        else if (text.compare(end, 2, "\r\n") == 0) end += 2;
        else ++end;
        lines.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return lines;
}

std::string_view content(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return velmora::trimProfileSpace(line);
}

std::optional<std::string_view> headerName(std::string_view line) {
    const std::string_view text = content(line);
    const size_t close = text.rfind(']');
    if (text.empty() || text[0] != '[' || close == std::string_view::npos) return std::nullopt;
    return velmora::trimProfileSpace(text.substr(1, close - 1));
}

// A UTF-16 file's lines, with their endings, as bytes: the same lines as
// its narrow text has. The mark and an odd last byte belong to none.
std::vector<std::string_view> utf16Lines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    const size_t end = 2 + ((bytes.size() - 2) & ~size_t{1});
    auto unit = [&](size_t at) { return at + 1 < end && bytes[at + 1] == 0 ? bytes[at] : 'x'; };
    for (size_t begin = 2; begin < end;) {
        size_t at = begin;
        while (at < end && unit(at) != '\r' && unit(at) != '\n') at += 2;
        if (at < end) at += unit(at) == '\r' && unit(at + 2) == '\n' ? 4 : 2;
        lines.push_back(bytes.substr(begin, at - begin));
        begin = at;
    }
    return lines;
}

// The lines of the first section named `section` in `text`: its header's
// index and the index of the next header (or the count); nothing when absent.
struct Around {
    size_t header = 0;
    size_t next = 0;
};
std::optional<Around> aroundSection(std::string_view text, std::string_view section) {
    const std::vector<std::string_view> lines = linesWithEndings(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = headerName(lines[i]);
        if (!name || !velmora::equalsIgnoreCase(*name, section)) continue;
        size_t next = i + 1;
        while (next < lines.size() && !headerName(lines[next])) ++next;
        return Around{i, next};
    }
    return std::nullopt;
}

std::string joined(const std::vector<std::string_view>& lines, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to && i < lines.size(); ++i) text += lines[i];
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// What a read gives of a stored value: trimmed, one pair of quotes off, cut.
std::string expectedRead(std::string_view stored, size_t size) {
    stored = velmora::trimProfileSpace(stored);
    if (stored.size() >= 2 && (stored[0] == '"' || stored[0] == '\'') && stored.back() == stored[0])
        stored = stored.substr(1, stored.size() - 2);
    return velmora::clipToBuffer(stored, size);
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A name a write can give and a read then find: one line, not blank, and for
// a key no '=' and no '[' in front (which would make it a header).
bool usableSection(std::string_view name) { return !hasLineBreak(name) && !velmora::trimProfileSpace(name).empty(); }
bool usableKey(std::string_view name) {
    const std::string_view trimmed = velmora::trimProfileSpace(name);
    return !hasLineBreak(name) && !trimmed.empty() && trimmed[0] != '[' && name.find('=') == std::string_view::npos;
}

// Names the text holds, as the script's reads and writes may pick them.
// A few suffice; more would only slow each run.
std::vector<std::string> namesIn(std::string_view text, bool sections) {
    std::vector<std::string> names;
    for (std::string_view line : linesWithEndings(text)) {
        if (names.size() == 8) break;
        if (const auto name = headerName(line)) {
            if (sections) names.emplace_back(*name);
        } else if (!sections) {
            const std::string_view body = content(line);
            names.emplace_back(velmora::trimProfileSpace(body.substr(0, body.find('='))));
        }
    }
    return names;
}

std::string pickName(FuzzedDataProvider& script, const std::vector<std::string>& known) {
    if (!known.empty() && script.ConsumeBool())
        return known[script.ConsumeIntegralInRange<size_t>(0, known.size() - 1)];
    return script.ConsumeRandomLengthString(24);
}

// An edited profile keeps offsets into its text; they must match the text.
void checkFreshReadAgrees(const ProfileFile& profile, const std::vector<std::string>& sections,
                          const std::vector<std::string>& keys) {
    const ProfileFile fresh(profile.text());
    for (size_t s = sections.size() > 4 ? sections.size() - 4 : 0; s < sections.size(); ++s)
        for (size_t k = keys.size() > 4 ? keys.size() - 4 : 0; k < keys.size(); ++k)
            EXPECT(profile.getString(sections[s], keys[k], "\x01", 300) ==
                   fresh.getString(sections[s], keys[k], "\x01", 300));
}

// An edit of one section keeps the lines up to its header and from the
// next header on; an edit that creates the section only appends. Both in
// the narrow text and, for a UTF-16 file, in its bytes, which keep their
// mark and their odd last byte.
void checkOtherLinesKept(const ProfileFile& before, const ProfileFile& after, const std::optional<Around>& around) {
    EXPECT(after.isUtf16() == before.isUtf16());
    std::vector<std::vector<std::string_view>> was = {linesWithEndings(before.narrowText())};
    std::vector<std::vector<std::string_view>> is = {linesWithEndings(after.narrowText())};
    std::string_view oddByte;
    if (before.isUtf16()) {
        was.push_back(utf16Lines(before.text()));
        is.push_back(utf16Lines(after.text()));
        EXPECT(was[1].size() == was[0].size() && is[1].size() == is[0].size());
        EXPECT(startsWith(after.text(), "\xFF\xFE"));
        if (before.text().size() % 2) oddByte = std::string_view(before.text()).substr(before.text().size() - 1);
        EXPECT(after.text().size() % 2 == before.text().size() % 2 && endsWith(after.text(), oddByte));
    }
    for (size_t form = 0; form < was.size(); ++form) {
        const size_t keptUpTo = around ? around->header + 1 : was[form].size();
        EXPECT(startsWith(joined(is[form], 0, is[form].size()), joined(was[form], 0, keptUpTo)));
        if (around)
            EXPECT(endsWith(joined(is[form], 0, is[form].size()),
                            joined(was[form], around->next, was[form].size())));
    }
}

// A value as a UTF-16 file gives it back: through UTF-16 and back to the
// narrow page, where a byte the page leaves undefined may come back as '?'.
std::string narrowed(const ProfileFile& profile, std::string_view value) {
    if (!profile.isUtf16()) return std::string(value);
    std::u16string units;
    velmora::appendUtf16(value, units);
    std::string text;
    velmora::appendNarrow(units, text);
    return text;
}

void checkSetString(ProfileFile& profile, const std::string& section, const std::string& key,
                    const std::string& value, size_t size) {
    const ProfileFile before = profile;
    const auto around = aroundSection(before.narrowText(), velmora::trimProfileSpace(section));
    profile.setString(section, key, value);
    EXPECT(profile.getString(section, key, "\x01", size) == expectedRead(narrowed(profile, value), size));
    checkOtherLinesKept(before, profile, around);
}

void checkSetSection(ProfileFile& profile, const std::string& section, const std::vector<std::string>& lines,
                     const std::vector<std::string>& knownKeys) {
    const ProfileFile before = profile;
    const auto around = aroundSection(before.narrowText(), velmora::trimProfileSpace(section));
    profile.setSection(section, lines);

    // Each key reads as the first line of its name gives it; a line without
    // '=' is a key without a value.
    std::vector<std::string> given;
    for (const std::string& line : lines) {
        if (line.empty()) break;
        const size_t equals = line.find('=');
        const std::string_view name = velmora::trimProfileSpace(std::string_view(line).substr(0, equals));
        if (name.empty()) continue;
        bool seen = false;
        for (const std::string& earlier : given) seen = seen || velmora::equalsIgnoreCase(earlier, name);
        if (seen) continue;
        given.emplace_back(name);
        const std::string expected = equals == std::string::npos
                                         ? std::string("\x01")
                                         : expectedRead(narrowed(profile, line.substr(equals + 1)), 300);
        EXPECT(profile.getString(section, name, "\x01", 300) == expected);
    }
    for (const std::string& key : knownKeys) {
        bool listed = false;
        for (const std::string& name : given)
            listed = listed || velmora::equalsIgnoreCase(name, velmora::trimProfileSpace(key));
        if (!listed && usableKey(key)) EXPECT(profile.getString(section, key, "\x01", 300) == "\x01");
    }
    checkOtherLinesKept(before, profile, around);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t textEnd = input.find('\0');
    size_t endMark = 1;
    if (input.substr(0, 2) == "\xFF\xFE") {
        textEnd = std::string_view::npos;
        endMark = 2;
        for (size_t at = 2; at + 1 < input.size() && textEnd == std::string_view::npos; at += 2)
            if (input[at] == 0 && input[at + 1] == 0) textEnd = at;
    }
    std::string_view text = input.substr(0, textEnd);
    if (endMark == 2 && text.size() >= 4 && endsWith(text, "\xFF\xFF")) text.remove_suffix(1);
    const std::string_view rest =
        textEnd == std::string_view::npos ? std::string_view() : input.substr(textEnd + endMark);
    FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());

    ProfileFile profile{std::string(text)};
    std::vector<std::string> sections = namesIn(profile.narrowText(), true);
    std::vector<std::string> keys = namesIn(profile.narrowText(), false);
    for (const std::string& section : sections)
        for (const std::string& key : keys) (void)profile.getInt(section, key, -1);

    for (int step = 0; step < 16 && script.remaining_bytes() > 0; ++step) {
        const int kind = script.ConsumeIntegralInRange(0, 3);
        const std::string section = pickName(script, sections);
        const size_t bufferSize = script.ConsumeIntegralInRange<size_t>(0, 300);
        if (kind == 0) {
            const std::string key = pickName(script, keys);
            const std::string defaultValue = script.ConsumeRandomLengthString(40);
            EXPECT(profile.getString(section, key, defaultValue, bufferSize).size() <
                   std::max<size_t>(bufferSize, 1));
        } else if (kind == 1) {
            (void)profile.getInt(section, pickName(script, keys), script.ConsumeIntegral<int>());
        } else if (kind == 2) {
            const std::string key = pickName(script, keys);
            const std::string value = script.ConsumeRandomLengthString(80);
            if (!usableSection(section) || !usableKey(key) || hasLineBreak(value)) continue;
            checkSetString(profile, section, key, value, bufferSize);
            keys.push_back(key);
        } else {
            std::vector<std::string> lines;
            for (size_t n = script.ConsumeIntegralInRange<size_t>(0, 6); n > 0; --n) {
                std::string line = script.ConsumeRandomLengthString(60);
                // A line opening with '[' would be a header of its own.
                const std::string_view trimmed = velmora::trimProfileSpace(line);
                if (hasLineBreak(line) || (!trimmed.empty() && trimmed[0] == '[')) line = "k=v";
                lines.push_back(line);
            }
            if (!usableSection(section)) continue;
            checkSetSection(profile, section, lines, keys);
        }
        sections.push_back(section);
        checkFreshReadAgrees(profile, sections, keys);
    }
    return 0;
}
