// libFuzzer target over the INI engine in memory: a profile text, then a
// script of reads and edits run on it.
//
// Input: the profile text up to the first zero byte; the bytes after it are
// the script (operations, names, values, buffer sizes). A corpus file is an
// INI file, a zero byte and a few script bytes.
//
// Beyond not crashing, every edit must keep what the engine promises:
//  - after setString(s, k, v), getString(s, k) is v as stored: without its
//    leading white space, trimmed, one pair of quotes removed, cut to the
//    buffer;
//  - after setSection(s, lines), s reads exactly the key lines given and no
//    other key;
//  - every line outside the section edited stays byte for byte;
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

// The text before the first section named `section`'s body (its header
// included), and the text from the next header on; nothing when absent.
struct Around {
    std::string before;
    std::string after;
};
std::optional<Around> aroundSection(std::string_view text, std::string_view section) {
    const std::vector<std::string_view> lines = linesWithEndings(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = headerName(lines[i]);
        if (!name || !velmora::equalsIgnoreCase(*name, section)) continue;
        size_t next = i + 1;
        while (next < lines.size() && !headerName(lines[next])) ++next;
        Around around;
        for (size_t j = 0; j <= i; ++j) around.before += lines[j];
        for (size_t j = next; j < lines.size(); ++j) around.after += lines[j];
        return around;
    }
    return std::nullopt;
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

// An edit of one section keeps the text before its body and from the next
// header on; an edit that creates the section only appends.
void checkOtherLinesKept(const std::string& before, const std::string& after, const std::optional<Around>& around) {
    if (!around) {
        EXPECT(after.compare(0, before.size(), before) == 0);
        return;
    }
    EXPECT(after.compare(0, around->before.size(), around->before) == 0);
    EXPECT(after.size() >= around->after.size() &&
           after.compare(after.size() - around->after.size(), around->after.size(), around->after) == 0);
}

void checkSetString(ProfileFile& profile, const std::string& section, const std::string& key,
                    const std::string& value, size_t size) {
    const std::string before = profile.text();
    const auto around = aroundSection(before, velmora::trimProfileSpace(section));
    profile.setString(section, key, value);
    EXPECT(profile.getString(section, key, "\x01", size) == expectedRead(value, size));
    checkOtherLinesKept(before, profile.text(), around);
}

void checkSetSection(ProfileFile& profile, const std::string& section, const std::vector<std::string>& lines,
                     const std::vector<std::string>& knownKeys) {
    const std::string before = profile.text();
    const auto around = aroundSection(before, velmora::trimProfileSpace(section));
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
                                         : expectedRead(std::string_view(line).substr(equals + 1), 300);
        EXPECT(profile.getString(section, name, "\x01", 300) == expected);
    }
    for (const std::string& key : knownKeys) {
        bool listed = false;
        for (const std::string& name : given)
            listed = listed || velmora::equalsIgnoreCase(name, velmora::trimProfileSpace(key));
        if (!listed && usableKey(key)) EXPECT(profile.getString(section, key, "\x01", 300) == "\x01");
    }
    checkOtherLinesKept(before, profile.text(), around);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view text = input.substr(0, split);
    const std::string_view rest = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());

    ProfileFile profile{std::string(text)};
    std::vector<std::string> sections = namesIn(text, true);
    std::vector<std::string> keys = namesIn(text, false);
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
