// libFuzzer target over the INI engine in memory: a profile text (to its
// first zero byte, or a UTF-16LE one from the mark FF FE to its first zero
// unit, an end unit FFFF losing its second byte so that odd byte counts come
// in too), then a script of reads and edits run on it.
//
// Every edit is checked against an independent reading of the lines: what
// was written reads back as given (trimmed, one pair of quotes off, cut to
// the buffer; a section holds exactly the keys listed), every line outside
// the section edited stays as it was (a UTF-16 file's odd last byte staying
// last), and the profile reads as its own text read afresh.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/CodePage1252.h"
#include "core/ProfileFile.h"
#include "testkit/Cp1252Oracle.h"

using namespace velmora;
using oracle::trimmed;

namespace {

// libFuzzer saves the input that aborts and reports where.
#define EXPECT(condition) \
    do if (!(condition)) std::fprintf(stderr, "broken: %s\n", #condition), std::abort(); while (0)

// Lines with their endings: CR LF, LF or CR.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (size_t begin = 0; begin < text.size();) {
        size_t at = std::min(text.find_first_of("\r\n", begin), text.size());
        if (at < text.size()) at += text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back(text.substr(begin, at - begin));
        begin = at;
    }
    return lines;
}

std::string_view content(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return trimmed(line);
}

// A header is a trimmed line "[...]" that has a ']'.
std::optional<std::string_view> headerName(std::string_view line) {
    const std::string_view text = content(line);
    const size_t close = text.rfind(']');
    if (text.empty() || text[0] != '[' || close == std::string_view::npos) return std::nullopt;
    return trimmed(text.substr(1, close - 1));
}

// The first section named `section`: its header's line index and the next
// header's (or the line count).
std::optional<std::pair<size_t, size_t>> aroundSection(std::string_view text, std::string_view section) {
    const std::vector<std::string_view> lines = linesOf(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = headerName(lines[i]);
        if (!name || !oracle::sameIgnoringCase(*name, section)) continue;
        size_t next = i + 1;
        while (next < lines.size() && !headerName(lines[next])) ++next;
        return std::pair{i, next};
    }
    return std::nullopt;
}

std::string joined(const std::vector<std::string_view>& lines, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to && i < lines.size(); ++i) text += lines[i];
    return text;
}

// What a read gives of a stored value. A UTF-16 file holds it through
// UTF-16, which keeps every byte of the page.
std::string expectedRead(std::string_view stored, size_t size) {
    std::string value(trimmed(stored));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return size == 0 ? std::string() : value.substr(0, size - 1);
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A key a write can give and a read then find: one line, not blank, no '='
// and no '[' in front (which would make it a header).
bool usableKey(std::string_view name) {
    const std::string_view bare = trimmed(name);
    return !hasLineBreak(name) && !bare.empty() && bare[0] != '[' && name.find('=') == std::string_view::npos;
}

// Up to 8 section or key names the text holds, for the script to pick.
std::vector<std::string> namesIn(std::string_view text, bool sections) {
    std::vector<std::string> names;
    for (std::string_view line : linesOf(text)) {
        if (names.size() == 8) break;
        const auto name = headerName(line);
        if (name && sections) names.emplace_back(*name);
        if (!name && !sections) names.emplace_back(trimmed(content(line).substr(0, content(line).find('='))));
    }
    return names;
}

std::string pickName(FuzzedDataProvider& script, const std::vector<std::string>& known) {
    if (!known.empty() && script.ConsumeBool())
        return known[script.ConsumeIntegralInRange<size_t>(0, known.size() - 1)];
    return script.ConsumeRandomLengthString(24);
}

// The lines up to the edited section's header and from the next header on
// stay; an edit that creates the section only appends.
void checkOtherLinesKept(const ProfileFile& before, const ProfileFile& after, std::string_view section) {
    const auto around = aroundSection(before.narrowText(), trimmed(section));
    const auto was = linesOf(before.narrowText());
    const std::string is(after.narrowText());
    EXPECT(is.starts_with(joined(was, 0, around ? around->first + 1 : was.size())));
    if (around) EXPECT(is.ends_with(joined(was, around->second, was.size())));
    EXPECT(after.isUtf16() == before.isUtf16());
    if (!before.isUtf16()) return;
    EXPECT(after.text().starts_with("\xFF\xFE") && after.text().size() % 2 == before.text().size() % 2);
    if (before.text().size() % 2) EXPECT(after.text().back() == before.text().back());
}

void checkSetString(ProfileFile& profile, const std::string& section, const std::string& key,
                    const std::string& value, size_t size) {
    const ProfileFile before = profile;
    profile.setString(section, key, value);
    // A write drops the value's leading white space, which trimming does too.
    EXPECT(profile.getString(section, key, "\x01", size) == expectedRead(value, size));
    checkOtherLinesKept(before, profile, section);
}

// Each listed key reads as the first line of its name gives it (a line
// without '=' is a key without a value); no other known key is there.
void checkSetSection(ProfileFile& profile, const std::string& section, const std::vector<std::string>& lines,
                     const std::vector<std::string>& knownKeys) {
    const ProfileFile before = profile;
    profile.setSection(section, lines);
    std::vector<std::string> given;
    auto isGiven = [&](std::string_view name) {
        for (const std::string& earlier : given)
            if (oracle::sameIgnoringCase(earlier, trimmed(name))) return true;
        return false;
    };
    for (const std::string& line : lines) {
        if (line.empty()) break;
        const size_t equals = line.find('=');
        const std::string_view name = trimmed(std::string_view(line).substr(0, equals));
        if (name.empty() || isGiven(name)) continue;
        given.emplace_back(name);
        const std::string expected =
            equals == std::string::npos ? "\x01" : expectedRead(line.substr(equals + 1), 300);
        EXPECT(profile.getString(section, name, "\x01", 300) == expected);
    }
    for (const std::string& key : knownKeys)
        if (!isGiven(key) && usableKey(key)) EXPECT(profile.getString(section, key, "\x01", 300) == "\x01");
    checkOtherLinesKept(before, profile, section);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t textEnd = input.find('\0');
    const size_t endMark = input.starts_with("\xFF\xFE") ? 2 : 1;
    if (endMark == 2) {
        textEnd = std::string_view::npos;
        for (size_t at = 2; at + 1 < input.size() && textEnd == std::string_view::npos; at += 2)
            if (input[at] == 0 && input[at + 1] == 0) textEnd = at;
    }
    std::string_view text = input.substr(0, textEnd);
    if (endMark == 2 && text.size() >= 4 && text.ends_with("\xFF\xFF")) text.remove_suffix(1);
    const std::string_view rest =
        textEnd == std::string_view::npos ? std::string_view() : input.substr(textEnd + endMark);
    FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());

    ProfileFile profile{std::string(text)};
    std::vector<std::string> sections = namesIn(profile.narrowText(), true);
    std::vector<std::string> keys = namesIn(profile.narrowText(), false);

    for (int step = 0; step < 16 && script.remaining_bytes() > 0; ++step) {
        const int kind = script.ConsumeIntegralInRange(0, 3);
        const std::string section = pickName(script, sections);
        const size_t bufferSize = script.ConsumeIntegralInRange<size_t>(0, 300);
        const bool usableSection = !hasLineBreak(section) && !trimmed(section).empty();
        if (kind == 0) {
            const std::string key = pickName(script, keys);
            const std::string defaultValue = script.ConsumeRandomLengthString(40);
            EXPECT(profile.getString(section, key, defaultValue, bufferSize).size() < std::max<size_t>(bufferSize, 1));
        } else if (kind == 1) {
            (void)profile.getInt(section, pickName(script, keys), script.ConsumeIntegral<int>());
        } else if (kind == 2) {
            const std::string key = pickName(script, keys);
            const std::string value = script.ConsumeRandomLengthString(80);
            if (!usableSection || !usableKey(key) || hasLineBreak(value)) continue;
            checkSetString(profile, section, key, value, bufferSize);
            keys.push_back(key);
        } else {
            std::vector<std::string> lines;
            for (size_t n = script.ConsumeIntegralInRange<size_t>(0, 6); n > 0; --n) {
                std::string line = script.ConsumeRandomLengthString(60);
                // A line opening with '[' would be a header of its own.
                const std::string_view bare = trimmed(line);
                if (hasLineBreak(line) || (!bare.empty() && bare[0] == '[')) line = "k=v";
                lines.push_back(line);
            }
            if (!usableSection) continue;
            checkSetSection(profile, section, lines, keys);
        }
        sections.push_back(section);
        checkFreshReadAgrees(profile, sections, keys);
    }
    return 0;
}
