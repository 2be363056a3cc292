// profile_differential [--seed N] [--cases N] [--case I] [--dir FOLDER]: runs
// generated INI files and operations through the Win32 private-profile
// functions and through Velmora's engine, under Wine, and reports the first
// read on which they disagree. The seed printed reproduces a run; --case I
// runs case I of it alone.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/CodePage1252.h"
#include "core/PrivateProfile.h"
#include "core/ProfileFile.h"
#include "core/Text.h"
#include "testkit/TempDir.h"

using namespace velmora;

namespace {

struct Op {
    enum Kind { ReadString, ReadInt, WriteString, WriteSection } kind = ReadString;
    std::string section, key;
    std::string text = "(absent)";   // default of a string read, value of a write
    unsigned size = 256;             // buffer size of a string read
    int intDefault = 0;              // default of an integer read
    std::vector<std::string> lines = {};  // a section replacement's list
};

Op read(std::string section, std::string key) { return {Op::ReadString, std::move(section), std::move(key)}; }

// splitmix64: the same on every compiler, unlike the distributions of <random>.
struct Rng {
    uint64_t state;
    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    size_t below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(next() % bound); }
    bool chance(unsigned percent) { return below(100) < percent; }
    const std::string& pick(const std::vector<std::string>& items) { return items[below(items.size())]; }
};

// Names of the kind the games' files and Velmora's settings hold, a few with
// spaces, dots, brackets and code page 1252 letters.
const std::vector<std::string> kSectionNames = {
    "MAIN", "misc_data", "GUNSTATIONS", "guns.0", "MULTIPLAYER", "CFS2", "MODIFIED_DPS_1",
    "Game Options", "units", "a]b", "Sect\xE9", "\xC9t\xE9", "\x8Aip", "x"};
const std::vector<std::string> kKeyNames = {
    "gun.0", "gunstation.1", "allegiance", "CUR_MISSION_2", "LAST_SAVE_1", "VLMR_VERSION", "Tower.dp",
    "COLLISION_SECS", "PORT", "k", "Key One", "x[1]", "cl\xE9", "\xD6l", "name2", "a.b-c_d"};
const std::vector<std::string> kDefaults = {
    "", "x", "dflt", " a  ", "\"q\"", "'q'", "\"ab", "\"\"", "0", "d\xE9" "f",
    "a default long enough to be cut by every small buffer of the run"};
const std::vector<std::string> kQuotesAlone = {"\"", "'", "\"\"", "''", "\"\"\""};
const std::vector<std::string> kIntegers = {
    "42", "-1", "+5", " 7", "12abc", "0x1A", "0X1a", "0o17", "0b101", "0x", "0b2", "4294967297",
    "-4294967297", "abc", "\"3\"", "- 5", "--5", "007", "2147483648", "0", "-0x10", "1e3"};

std::string token(Rng& rng) {
    static const std::string kChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-";
    std::string text(1 + rng.below(10), ' ');
    for (char& c : text) c = kChars[rng.below(kChars.size())];
    if (text.size() > 2 && rng.chance(10)) text[1 + rng.below(text.size() - 2)] = ' ';
    return text;
}

std::string padding(Rng& rng) {
    std::string pad;
    for (size_t i = rng.chance(30) ? 1 + rng.below(3) : 0; i > 0; --i) pad += rng.chance(80) ? ' ' : '\t';
    return pad;
}

// The same name in another spelling: ASCII letters of another case (Wine
// folds no others), white space around it.
std::string spell(const std::string& name, Rng& rng, bool padded = true) {
    std::string text = name;
    const size_t style = rng.below(10);
    for (char& c : text) {
        const bool upper = style == 5 || style == 6 || (style >= 7 && rng.chance(50));
        const bool lower = style == 3 || style == 4 || (style >= 7 && !upper);
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return padded ? padding(rng) + text + padding(rng) : text;
}

std::string value(Rng& rng) {
    std::string text;
    const size_t kind = rng.below(9);
    if (kind == 0 || kind == 7) text = token(rng);
    if (kind == 1) text = "1,0,0,0,0,0,0,1";
    if (kind == 2) text = "C:\\Games\\CFS2\\missions\\Pacific.mis";
    if (kind == 3) text = rng.pick(kIntegers);
    if (kind == 5) text = token(rng) + (rng.chance(50) ? "=" : " ;") + token(rng);
    for (size_t i = kind == 6 ? 40 + rng.below(60) : 0; i > 0; --i) text += static_cast<char>('!' + rng.below(94));
    for (size_t i = kind == 7 ? 1 + rng.below(3) : 0; i > 0; --i) text += static_cast<char>(0x80 + rng.below(0x80));
    if (kind == 8) text = "guns modified";
    const size_t quotes = rng.below(12);
    if (quotes == 0 || quotes == 2) text = "\"" + text + (quotes == 0 ? "\"" : "'");
    if (quotes == 1) text = "'" + text + "'";
    if (quotes == 3) text = rng.chance(50) ? "\"" + text : text + "'";
    if (quotes == 4) text = rng.pick(kQuotesAlone);
    return rng.chance(25) ? padding(rng) + text + padding(rng) : text;
}

// A few names of `known` or made up, different without regard to case.
std::vector<std::string> pool(Rng& rng, const std::vector<std::string>& known, size_t count) {
    std::vector<std::string> names;
    for (size_t tries = 0; names.size() < count && tries < 100; ++tries) {
        const std::string name = rng.chance(75) ? rng.pick(known) : token(rng);
        bool taken = false;
        for (const std::string& existing : names) taken = taken || equalsIgnoreCase(existing, name);
        if (!taken) names.push_back(name);
    }
    return names;
}

std::string comment(Rng& rng) { return "; " + token(rng) + (rng.chance(50) ? "=" + token(rng) : ""); }

std::string bodyLine(Rng& rng, const std::vector<std::string>& keys) {
    switch (rng.below(14)) {
        case 0: return comment(rng);
        case 1: return padding(rng);
        case 2: return spell(rng.pick(keys), rng);  // a key without '='
        case 3: return "=" + value(rng);
        case 4: return "[" + token(rng);  // no closing bracket: an ordinary line
        default: return spell(rng.pick(keys), rng) + padding(rng) + "=" + value(rng);
    }
}

std::string fileText(Rng& rng, const std::vector<std::string>& sections, const std::vector<std::string>& keys) {
    std::vector<std::string> lines;
    for (size_t i = rng.chance(15) ? rng.below(3) + 1 : 0; i > 0; --i) lines.push_back(bodyLine(rng, keys));
    for (size_t s = rng.below(5) + 1; s > 0; --s) {
        const std::string name = rng.chance(90) ? rng.pick(sections) : token(rng);
        std::string header = padding(rng) + "[" + padding(rng) + spell(name, rng, false) + padding(rng) + "]";
        if (rng.chance(8)) header += rng.chance(50) ? " ; " + token(rng) : token(rng);
        lines.push_back(header);
        for (size_t i = rng.below(7); i > 0; --i) lines.push_back(bodyLine(rng, keys));
    }
    const size_t style = rng.below(100);  // CRLF, LF, CR alone, or mixed
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 == lines.size() && rng.chance(20)) break;  // no newline at the end
        const size_t eol = style < 45 ? 0 : style < 75 ? 1 : style < 83 ? 2 : rng.below(3);
        text += eol == 0 ? "\r\n" : eol == 1 ? "\n" : "\r";
    }
    if (rng.chance(3)) text += '\x1a';  // the DOS end-of-file mark of files copied from CD
    return text;
}

struct Case {
    bool fileExists = true;
    bool utf16 = false;  // the file holds `file` as UTF-16LE, its characters those of code page 1252
    std::string file;
    std::vector<Op> ops;
};

Case generateCase(uint64_t runSeed, uint64_t index) {
    Rng rng{Rng{runSeed ^ (index * 0xD1B54A32D192ED03ull)}.next()};
    Case generated;
    generated.utf16 = rng.chance(30);
    const std::vector<std::string> sections = pool(rng, kSectionNames, 2 + rng.below(3));
    const std::vector<std::string> keys = pool(rng, kKeyNames, 3 + rng.below(4));
    const size_t kind = rng.below(100);
    generated.fileExists = kind >= 4;
    if (kind >= 7) generated.file = fileText(rng, sections, keys);
    auto anyRead = [&] { return read(spell(rng.pick(sections), rng), spell(rng.pick(keys), rng)); };

    for (size_t n = 3 + rng.below(6); n > 0; --n) {
        Op op;
        const size_t what = rng.below(100);
        op.section = rng.chance(88) ? spell(rng.pick(sections), rng) : token(rng);
        op.key = rng.chance(88) ? spell(rng.pick(keys), rng) : token(rng);
        if (what < 45) {
            op.text = rng.chance(20) ? value(rng) : rng.pick(kDefaults);
            const size_t buffer = rng.below(10);
            op.size = static_cast<unsigned>(buffer < 4 ? 1 + rng.below(12) : buffer < 7 ? 13 + rng.below(58) : 256);
        } else if (what < 60) {
            op.kind = Op::ReadInt;
            op.intDefault = static_cast<int>(rng.below(4)) - 1;
        } else if (what < 85) {
            op.kind = Op::WriteString;
            op.text = value(rng);
        } else {
            op.kind = Op::WriteSection;
            for (size_t i = rng.chance(20) ? 0 : 1 + rng.below(5); i > 0; --i) {
                const size_t line = rng.below(10);
                op.lines.push_back(line == 0   ? "; modified by Velmora"
                                   : line == 1 ? comment(rng)
                                               : spell(rng.pick(keys), rng) + padding(rng) + "=" + padding(rng) +
                                                     value(rng));
            }
            if (op.lines.size() > 2 && rng.chance(10)) op.lines.insert(op.lines.begin() + 1, "");
        }
        generated.ops.push_back(op);
        if (op.kind < Op::WriteString) continue;
        // Reads that check a write: the names it wrote, names its section may
        // have held, one other.
        if (op.kind == Op::WriteString) generated.ops.push_back(read(op.section, op.key));
        size_t listed = 0;
        for (const std::string& line : op.lines) {
            if (line.empty()) break;
            const std::string key(trimProfileSpace(std::string_view(line).substr(0, line.find('='))));
            if (line.find('=') != std::string::npos && !key.empty() && key[0] != ';' && listed++ < 3)
                generated.ops.push_back(read(op.section, key));
        }
        for (int i = 0; i < 2; ++i) generated.ops.push_back(read(op.section, spell(rng.pick(keys), rng)));
        generated.ops.push_back(anyRead());
    }
    for (int i = 0; i < 4; ++i) generated.ops.push_back(anyRead());
    return generated;
}

// A C-like literal of `text`, for reports; a UTF-16 file shown as its text.
std::string quoted(const std::string& text) {
    if (text.compare(0, 2, "\xFF\xFE") == 0) return "UTF-16LE " + quoted(ProfileFile(text).narrowText());
    std::string out = "\"";
    for (unsigned char c : text) {
        char escape[8] = {static_cast<char>(c)};
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') std::snprintf(escape, sizeof escape, "\\x%02X\"\"", c);
        out += escape;
    }
    return out + "\"";
}

std::string describe(const Op& op) {
    const std::string names = quoted(op.section) + ", " + quoted(op.key) + ", ";
    if (op.kind == Op::ReadString) return "getString(" + names + quoted(op.text) + ", " + std::to_string(op.size) + ")";
    if (op.kind == Op::ReadInt) return "getInt(" + names + std::to_string(op.intDefault) + ")";
    if (op.kind == Op::WriteString) return "setString(" + names + quoted(op.text) + ")";
    std::string text = "setSection(" + quoted(op.section) + ", {";
    for (size_t i = 0; i < op.lines.size(); ++i) text += (i ? ", " : "") + quoted(op.lines[i]);
    return text + "})";
}

// The two copies of a case's file: one only the Win32 functions touch, one
// only Velmora's operations write.
std::string windowsFile, velmoraFile;

// A read's answer: the integer, or the text and the count the call returned.
std::string answer(const std::string& text, size_t count) { return quoted(text) + " (" + std::to_string(count) + ")"; }

std::string windowsRead(const Op& op, const std::string& path) {
    if (op.kind == Op::ReadInt)
        return std::to_string(
            static_cast<int>(::GetPrivateProfileIntA(op.section.c_str(), op.key.c_str(), op.intDefault, path.c_str())));
    std::vector<char> buffer(op.size + 16, '\x7F');
    const DWORD count = ::GetPrivateProfileStringA(op.section.c_str(), op.key.c_str(), op.text.c_str(),
                                                   buffer.data(), static_cast<DWORD>(op.size), path.c_str());
    return answer(op.size > 0 ? std::string(buffer.data()) : std::string(), count);
}

std::string velmoraRead(const Op& op) {
    if (op.kind == Op::ReadInt)
        return std::to_string(getProfileInt(platformFileSystem(), op.section, op.key, op.intDefault, velmoraFile));
    const std::string text = getProfileString(platformFileSystem(), op.section, op.key, op.text, op.size, velmoraFile);
    return answer(text, text.size());
}

// Wine finds a section by its trimmed name but empties it only for the
// untrimmed one: a case's writes give it the name trimmed.
void write(const Op& op, bool trimmedForWine) {
    const std::string section(trimmedForWine ? trimProfileSpace(op.section) : op.section);
    if (op.kind == Op::WriteString) {
        ::WritePrivateProfileStringA(op.section.c_str(), op.key.c_str(), op.text.c_str(), windowsFile.c_str());
        writeProfileString(platformFileSystem(), op.section, op.key, op.text, velmoraFile);
    } else {
        std::string list;  // strings each ended by a zero, the whole by an empty one
        for (size_t i = 0; i < op.lines.size() && !op.lines[i].empty(); ++i) list.append(op.lines[i]).push_back('\0');
        list.push_back('\0');
        ::WritePrivateProfileSectionA(section.c_str(), list.c_str(), windowsFile.c_str());
        writeProfileSection(platformFileSystem(), op.section, op.lines, velmoraFile);
    }
    // Wine's parsed copy of a file it wrote can differ from the file read
    // afresh (names keep trailing spaces in it): dropped, as Windows keeps none.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, windowsFile.c_str());
}

// Where Wine 8 reads or writes otherwise than Windows and the engine (whose
// side tests/core/ProfileFileTest.cpp holds): a UTF-16 character the code
// page lacks becomes a look-alike, not "?"; a file that starts FE FF is read
// as UTF-16BE, and one with a UTF-8 mark from its first section; a quoted
// value read into a buffer one byte short of its closing quote loses a byte
// more; a default of spaces only keeps one space; only ASCII letters fold
// case; a section is emptied only under its untrimmed name; text before the
// first section is section "", and a line "=value" key ""; a header "[]" is
// written away, joining its keys to the section before; a write rewrites the
// whole file in Wine's layout, drops lines without '=' from a section list
// and makes no section for an empty one. The generator keeps clear of these
// or, for reads, wineReadsOtherwise() leaves them out.

// Reads of a case on which Wine answers otherwise than Windows whatever the
// engine does: not compared.
bool wineReadsOtherwise(const Op& op) {
    const ProfileFile profile = ProfileFile::load(platformFileSystem(), velmoraFile);
    const auto stored = profile.rawValue(op.section, op.key);
    std::string_view value = stored ? *stored : op.kind == Op::ReadInt ? "" : std::string_view(op.text);
    if (!stored) {
        while (value.size() > 1 && value.back() == ' ') value.remove_suffix(1);
        if (value == " ") return true;  // a default of spaces only
    }
    // A quoted value read into a buffer one byte short of its closing quote;
    // an integer is read as a string of at most 29 characters first.
    const size_t size = op.kind == Op::ReadInt ? 30 : op.size;
    return value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0] &&
           size == value.size() - 1;
}

// Runs a case on both sides: at the first disagreement, the op's index and
// what each side read.
std::optional<std::pair<size_t, std::string>> runCase(const Case& run, uint64_t& compared, uint64_t& excused) {
    const std::string bytes = run.utf16 ? testkit::utf16le(run.file) : run.file;
    for (const std::string& path : {windowsFile, velmoraFile})
        run.fileExists ? void(testkit::writeText(path, bytes)) : void(::DeleteFileA(path.c_str()));
    for (size_t i = 0; i < run.ops.size(); ++i) {
        const Op& op = run.ops[i];
        if (op.kind >= Op::WriteString) {
            write(op, true);
            continue;
        }
        // Windows reads its own file, then the one Velmora wrote.
        for (const std::string* path : {&windowsFile, &velmoraFile}) {
            ++compared;
            const std::string windows = windowsRead(op, *path), velmora = velmoraRead(op);
            if (windows == velmora || (wineReadsOtherwise(op) && ++excused)) continue;
            return std::pair(i, (path == &velmoraFile ? "    (of the file Velmora wrote)\n" : std::string()) +
                                    "    Windows:  " + windows + "\n    Velmora:  " + velmora +
                                    "\n    file Windows wrote: " + quoted(testkit::readText(windowsFile)) +
                                    "\n    file Velmora wrote: " + quoted(testkit::readText(velmoraFile)) + "\n");
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    using ull = unsigned long long;
    std::optional<uint64_t> seed, only;
    uint64_t cases = 10000;
    std::string dir = ".";
    for (int i = 1; i < argc; i += 2) {
        const std::string option = argv[i];
        const char* given = i + 1 < argc ? argv[i + 1] : nullptr;
        const uint64_t number = given ? std::strtoull(given, nullptr, 0) : 0;
        if (given && option == "--seed") seed = number;
        else if (given && option == "--case") only = number;
        else if (given && option == "--cases") cases = number;
        else if (given && option == "--dir") dir = given;
        else {
            std::fprintf(stderr, "usage: profile_differential [--seed N] [--cases N] [--case I] [--dir FOLDER]\n");
            return 2;
        }
    }
    if (!seed) {
        const auto now = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
        seed = Rng{now ^ (static_cast<uint64_t>(::GetCurrentProcessId()) << 32)}.next() >> 16;
    }
    ::CreateDirectoryA(dir.c_str(), nullptr);
    windowsFile = dir + "\\windows.ini";
    velmoraFile = dir + "\\velmora.ini";
    const auto start = std::chrono::steady_clock::now();
    std::printf("profile differential: seed %llu\n", ull(*seed));
    std::fflush(stdout);

    uint64_t run = 0, disagreed = 0, utf16Run = 0, utf16Disagreed = 0, compared = 0, excused = 0;
    for (uint64_t index = only.value_or(0); index < (only ? *only + 1 : cases); ++index) {
        const Case generated = generateCase(*seed, index);
        const auto mismatch = runCase(generated, compared, excused);
        ++run;
        utf16Run += generated.utf16 ? 1 : 0;
        if (!mismatch) continue;
        utf16Disagreed += generated.utf16 ? 1 : 0;
        if (++disagreed > 1) continue;
        std::printf("MISMATCH in case %llu (rerun: --seed %llu --case %llu):\n    file: %s%s\n", ull(index), ull(*seed),
                    ull(index), generated.utf16 ? "UTF-16LE " : "",
                    generated.fileExists ? quoted(generated.file).c_str() : "(none)");
        for (size_t i = 0; i < generated.ops.size(); ++i)
            std::printf("  %s %s\n", i == mismatch->first ? "=>" : "  ", describe(generated.ops[i]).c_str());
        std::printf("%s", mismatch->second.c_str());
    }
    std::printf("profile differential: seed %llu: %llu cases run, %llu agreed, %llu disagreed; UTF-16LE files: %llu "
                "run, %llu disagreed; %llu reads compared, %llu of them left out for a known Wine difference; %.1f s\n",
                ull(*seed), ull(run), ull(run - disagreed), ull(disagreed), ull(utf16Run), ull(utf16Disagreed),
                ull(compared), ull(excused),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    ::DeleteFileA(windowsFile.c_str());
    ::DeleteFileA(velmoraFile.c_str());
    return disagreed == 0 ? 0 : 1;
}
