// libFuzzer target over the INI engine in memory: a profile text (to its
// first zero byte, or a UTF-16LE one from the mark FF FE to its first zero
// unit, an end unit FFFF losing its second byte so that odd byte counts come
// in too), then a script of reads and edits run on it.
//
// The sanitizers judge most of it. It also checks what needs no second INI
// reader: a read keeps at most size - 1 bytes; a plain value (no blank at
// either end, no quote in front) written under a usable key reads back as
// written; and an edited profile reads as its own text read afresh.
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

// libFuzzer keeps the input that aborts.
#define EXPECT(condition) \
    do if (!(condition)) std::fprintf(stderr, "broken: %s\n", #condition), std::abort(); while (0)

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// One line, not blank, no '=' and no '[' in front (which would make it a header).
bool usableKey(std::string_view name) {
    return !hasLineBreak(name) && !trimmed(name).empty() && !trimmed(name).starts_with('[') &&
           name.find('=') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool utf16 = input.starts_with("\xFF\xFE");
    size_t textEnd = utf16 ? std::string_view::npos : input.find('\0');
    for (size_t at = 2; utf16 && at + 1 < input.size() && textEnd == std::string_view::npos; at += 2)
        if (input[at] == 0 && input[at + 1] == 0) textEnd = at;
    std::string_view text = input.substr(0, textEnd);
    if (utf16 && text.size() >= 4 && text.ends_with("\xFF\xFF")) text.remove_suffix(1);
    const std::string_view rest = textEnd == std::string_view::npos ? "" : input.substr(textEnd + (utf16 ? 2 : 1));
    FuzzedDataProvider script(reinterpret_cast<const uint8_t*>(rest.data()), rest.size());

    ProfileFile profile{std::string(text)};
    // Pieces of the text between brackets, '=' and line ends, for the script to pick as names.
    std::vector<std::string> names;
    const std::string narrow = profile.narrowText();
    for (size_t at = 0, end = 0; at < narrow.size() && names.size() < 16; at = end + 1) {
        end = std::min(narrow.find_first_of("[]=\r\n", at), narrow.size());
        if (end > at) names.push_back(narrow.substr(at, end - at));
    }
    const auto pickName = [&] {
        const bool known = !names.empty() && script.ConsumeBool();
        return known ? names[script.ConsumeIntegralInRange<size_t>(0, names.size() - 1)]
                     : script.ConsumeRandomLengthString(24);
    };

    for (int step = 0; step < 16 && script.remaining_bytes() > 0; ++step) {
        const int kind = script.ConsumeIntegralInRange(0, 3);
        const std::string section = pickName(), key = pickName();
        if (kind == 0) {
            const size_t bufferSize = script.ConsumeIntegralInRange<size_t>(0, 300);
            const std::string defaultValue = script.ConsumeRandomLengthString(40);
            EXPECT(profile.getString(section, key, defaultValue, bufferSize).size() < std::max<size_t>(bufferSize, 1));
            continue;
        }
        if (kind == 1) {
            (void)profile.getInt(section, key, script.ConsumeIntegral<int>());
            continue;
        }
        if (hasLineBreak(section) || trimmed(section).empty()) continue;
        if (kind == 2) {
            const std::string value = script.ConsumeRandomLengthString(80);
            if (!usableKey(key) || hasLineBreak(value)) continue;
            profile.setString(section, key, value);
            if (value == trimmed(value) && !value.starts_with('"') && !value.starts_with('\''))
                EXPECT(profile.getString(section, key, "\x01", 300) == value);
        } else {
            std::vector<std::string> lines;
            for (size_t n = script.ConsumeIntegralInRange<size_t>(0, 6); n > 0; --n) {
                lines.push_back(script.ConsumeRandomLengthString(60));
                if (hasLineBreak(lines.back()) || trimmed(lines.back()).starts_with('[')) lines.back() = "k=v";
            }
            profile.setSection(section, lines);
        }
        // An edited profile keeps offsets into its text; they must match the text.
        names.push_back(section);
        names.push_back(key);
        const ProfileFile fresh(profile.text());
        for (size_t s = names.size() > 6 ? names.size() - 6 : 0; s < names.size(); ++s)
            for (size_t k = names.size() > 6 ? names.size() - 6 : 0; k < names.size(); ++k)
                EXPECT(profile.getString(names[s], names[k], "\x01", 300) ==
                       fresh.getString(names[s], names[k], "\x01", 300));
    }
    return 0;
}
