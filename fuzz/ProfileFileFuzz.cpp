// libFuzzer target over the INI engine in memory: a profile text (to its
// first zero byte, or a UTF-16LE one from the mark FF FE to its first zero
// unit, an end unit FFFF losing its second byte so that odd byte counts come
// in too), then a script of reads and edits run on it.
//
// The sanitizers judge most of it. It also checks what needs no second INI
// reader: a read keeps at most size - 1 bytes; a plain value (no blank at
// either end, no quote in front) written by setString, or by setSection's
// first line, reads back as written (a first line without '=': as a key
// without a value); the text before the edited section's header stays; and
// the profile reads as its own text read afresh.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/ProfileFile.h"
#include "testkit/Cp1252Oracle.h"

using namespace velmora;
using oracle::trimmed;

namespace {

constexpr size_t npos = std::string_view::npos;

// libFuzzer keeps the input that aborts.
#define EXPECT(condition) \
    do if (!(condition)) std::fprintf(stderr, "broken: %s\n", #condition), std::abort(); while (0)

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != npos; }

// One line, not blank, no '=' and no '[' in front (which would make it a header).
bool usableKey(std::string_view name) {
    return !hasLineBreak(name) && !trimmed(name).empty() && !trimmed(name).starts_with('[') && name.find('=') == npos;
}

// Each line (ending at CR LF, LF or CR) trimmed, with its offset; a header is "[...]" with a ']'.
struct Line {
    size_t begin;
    std::string_view text;
    bool header() const { return text.starts_with('[') && text.find(']') != npos; }
    std::string_view name() const {
        return trimmed(header() ? text.substr(1, text.rfind(']') - 1) : text.substr(0, text.find('=')));
    }
};
std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    for (size_t begin = 0, end = 0; begin < text.size(); begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1)) {
        end = std::min(text.find_first_of("\r\n", begin), text.size());
        lines.push_back({begin, trimmed(text.substr(begin, end - begin))});
    }
    return lines;
}

void checkEdit(const ProfileFile& before, const ProfileFile& after, const std::string& section, std::string_view key,
               std::string_view value) {
    size_t header = npos;  // where the first header of `section` starts
    for (const Line& line : linesOf(before.narrowText()))
        if (header == npos && line.header() && oracle::sameIgnoringCase(line.name(), trimmed(section)))
            header = line.begin;
    EXPECT(after.narrowText().starts_with(before.narrowText().substr(0, header)));
    if (usableKey(key) && value == trimmed(value) && !value.starts_with('"') && !value.starts_with('\''))
        EXPECT(after.getString(section, key, "\x01", 300) == value);
}

std::string pickName(FuzzedDataProvider& script, const std::vector<std::string>& known) {
    if (!known.empty() && script.ConsumeBool())
        return known[script.ConsumeIntegralInRange<size_t>(0, known.size() - 1)];
    return script.ConsumeRandomLengthString(24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool utf16 = input.starts_with("\xFF\xFE");
    size_t textEnd = utf16 ? npos : input.find('\0');
    for (size_t at = 2; utf16 && at + 1 < input.size() && textEnd == npos; at += 2)
        if (input[at] == 0 && input[at + 1] == 0) textEnd = at;
    std::string_view text = input.substr(0, textEnd);
    if (utf16 && text.size() >= 4 && text.ends_with("\xFF\xFF")) text.remove_suffix(1);
    const std::string_view rest = textEnd == npos ? std::string_view() : input.substr(textEnd + (utf16 ? 2 : 1));
    FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());

    ProfileFile profile{std::string(text)};
    std::vector<std::string> sections, keys;  // up to 8 of each from the text, for the script to pick
    for (const Line& line : linesOf(profile.narrowText()))
        if ((line.header() ? sections : keys).size() < 8) (line.header() ? sections : keys).emplace_back(line.name());

    for (int step = 0; step < 16 && script.remaining_bytes() > 0; ++step) {
        const int kind = script.ConsumeIntegralInRange(0, 3);
        const std::string section = pickName(script, sections);
        const size_t bufferSize = script.ConsumeIntegralInRange<size_t>(0, 300);
        const bool usableSection = !hasLineBreak(section) && !trimmed(section).empty();
        const ProfileFile before = profile;
        if (kind == 1) {
            (void)profile.getInt(section, pickName(script, keys), script.ConsumeIntegral<int>());
        } else if (kind == 0) {
            const std::string key = pickName(script, keys);
            const std::string defaultValue = script.ConsumeRandomLengthString(40);
            EXPECT(profile.getString(section, key, defaultValue, bufferSize).size() < std::max<size_t>(bufferSize, 1));
        } else if (kind == 2) {
            const std::string key = pickName(script, keys);
            const std::string value = script.ConsumeRandomLengthString(80);
            if (!usableSection || !usableKey(key) || hasLineBreak(value)) continue;
            profile.setString(section, key, value);
            checkEdit(before, profile, section, key, value);
            keys.push_back(key);
        } else {
            std::vector<std::string> lines;
            for (size_t n = script.ConsumeIntegralInRange<size_t>(0, 6); n > 0; --n) {
                lines.push_back(script.ConsumeRandomLengthString(60));
                if (hasLineBreak(lines.back()) || trimmed(lines.back()).starts_with('[')) lines.back() = "k=v";
            }
            if (!usableSection) continue;
            profile.setSection(section, lines);
            const std::string first = lines.empty() ? "" : lines[0];
            const size_t equals = first.find('=');
            checkEdit(before, profile, section, first.substr(0, equals),
                      equals == std::string::npos ? "\x01" : std::string_view(first).substr(equals + 1));
        }
        sections.push_back(section);
        // An edited profile keeps offsets into its text; they must match the text.
        const ProfileFile fresh(profile.text());
        for (size_t s = sections.size() > 4 ? sections.size() - 4 : 0; s < sections.size(); ++s)
            for (size_t k = keys.size() > 4 ? keys.size() - 4 : 0; k < keys.size(); ++k)
                EXPECT(profile.getString(sections[s], keys[k], "\x01", 300) ==
                       fresh.getString(sections[s], keys[k], "\x01", 300));
    }
    return 0;
}
