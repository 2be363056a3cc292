#include "differential/ProfileCases.h"

#include <cstdio>

#include "core/Text.h"
#include "testkit/TempDir.h"

namespace velmora::differential {

uint64_t Rng::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

// Names of the kind the games' files and Velmora's own settings hold, a few
// with spaces, dots, brackets and code page 1252 letters.
const std::vector<std::string> kSectionNames = {
    "MAIN",     "misc_data",    "GUNSTATIONS", "guns.0",       "MULTIPLAYER",  "CFS2", "MODIFIED_DPS_1",
    "Game Options", "units",    "a]b",         "Sect\xE9",     "\xC9t\xE9",    "\x8Aip", "x"};
const std::vector<std::string> kKeyNames = {
    "gun.0",    "gunstation.1", "allegiance", "CUR_MISSION_2", "LAST_SAVE_1", "VLMR_VERSION", "Tower.dp",
    "COLLISION_SECS", "PORT",   "k",          "Key One",       "x[1]",        "cl\xE9",       "\xD6l",
    "name2",    "a.b-c_d"};
const std::vector<std::string> kDefaults = {
    "", "x", "dflt", "   ", " ", " a  ", "\"q\"", "'q'", "\"ab", "\"\"", "0", "d\xE9" "f",
    "a default long enough to be cut by every small buffer of the run"};
const std::vector<std::string> kQuotesAlone = {"\"", "'", "\"\"", "''", "\"\"\""};
const std::vector<std::string> kIntegers = {
    "42", "-1", "+5", " 7", "12abc", "0x1A", "0X1a", "0o17", "0b101", "0x", "0b2", "4294967297",
    "-4294967297", "abc", "\"3\"", "- 5", "--5", "007", "2147483648", "0", "-0x10", "1e3"};

bool isAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

std::string token(Rng& rng) {
    static const std::string kChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-";
    std::string text;
    const size_t length = 1 + rng.below(10);
    for (size_t i = 0; i < length; ++i) text += kChars[rng.below(kChars.size())];
    if (length > 2 && rng.chance(10)) text[1 + rng.below(length - 2)] = ' ';
    return text;
}

std::string padding(Rng& rng) {
    if (!rng.chance(30)) return {};
    std::string pad;
    const size_t length = 1 + rng.below(3);
    for (size_t i = 0; i < length; ++i) pad += rng.chance(80) ? ' ' : '\t';
    return pad;
}

// The same name as the engine and Windows see it, in another spelling:
// letters of another case, white space around it. Only ASCII letters change
// case: Wine folds no others (see the known differences).
std::string spell(const std::string& name, Rng& rng, bool padded = true) {
    std::string text = name;
    const size_t style = rng.below(10);
    for (char& c : text) {
        const bool upper = style == 5 || style == 6 || (style >= 7 && rng.chance(50));
        const bool lower = style == 3 || style == 4 || (style >= 7 && !upper);
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    if (!padded) return text;
    return padding(rng) + text + padding(rng);
}

std::string plainValue(Rng& rng, bool asciiOnly) {
    switch (rng.below(9)) {
        case 0: return token(rng);
        case 1: return "1,0,0,0,0,0,0,1";
        case 2: return "C:\\Games\\CFS2\\missions\\Pacific.mis";
        case 3: return rng.pick(kIntegers);
        case 4: return "";
        case 5: return token(rng) + (rng.chance(50) ? "=" : " ;") + token(rng);
        case 6: {
            std::string text;
            const size_t length = 40 + rng.below(60);
            for (size_t i = 0; i < length; ++i) text += static_cast<char>('!' + rng.below(94));
            return text;
        }
        case 7:
            if (!asciiOnly) {
                std::string text = token(rng);
                for (size_t i = rng.below(3) + 1; i > 0; --i) text += static_cast<char>(0x80 + rng.below(0x80));
                return text;
            }
            return token(rng);
        default: return "guns modified";
    }
}

std::string value(Rng& rng, bool asciiOnly) {
    std::string text = plainValue(rng, asciiOnly);
    switch (rng.below(12)) {
        case 0: text = "\"" + text + "\""; break;
        case 1: text = "'" + text + "'"; break;
        case 2: text = "\"" + text + "'"; break;
        case 3: text = rng.chance(50) ? "\"" + text : text + "'"; break;
        case 4: text = rng.pick(kQuotesAlone); break;
        default: break;
    }
    if (rng.chance(25)) text = padding(rng) + text + padding(rng);
    return text;
}

void addUnique(std::vector<std::string>& names, const std::string& name) {
    for (const std::string& existing : names)
        if (equalsIgnoreCase(existing, name)) return;
    names.push_back(name);
}

std::vector<std::string> pool(Rng& rng, const std::vector<std::string>& known, size_t count, bool asciiOnly) {
    std::vector<std::string> names;
    for (size_t tries = 0; names.size() < count && tries < 100; ++tries) {
        const std::string name = rng.chance(75) ? rng.pick(known) : token(rng);
        if (asciiOnly && !isAscii(name)) continue;
        addUnique(names, name);
    }
    return names;
}

std::string bodyLine(Rng& rng, const std::vector<std::string>& keys, bool asciiOnly) {
    switch (rng.below(14)) {
        case 0: return "; " + token(rng) + (rng.chance(50) ? "=" + token(rng) : "");
        case 1: return padding(rng);
        case 2: return spell(rng.pick(keys), rng);  // a key without '='
        case 3: return "=" + value(rng, asciiOnly);
        case 4: return "[" + token(rng);  // no closing bracket: an ordinary line
        default: return spell(rng.pick(keys), rng) + padding(rng) + "=" + value(rng, asciiOnly);
    }
}

std::string header(Rng& rng, const std::string& name) {
    std::string line = padding(rng) + "[" + padding(rng) + spell(name, rng, false) + padding(rng) + "]";
    if (rng.chance(8)) line += rng.chance(50) ? " ; " + token(rng) : token(rng);
    return line;
}

std::string fileText(Rng& rng, const std::vector<std::string>& sections, const std::vector<std::string>& keys,
                     bool bom) {
    std::vector<std::string> lines;
    if (rng.chance(15))
        for (size_t i = rng.below(3) + 1; i > 0; --i) lines.push_back(bodyLine(rng, keys, bom));
    for (size_t s = rng.below(5) + 1; s > 0; --s) {
        const std::string name = rng.chance(90) ? rng.pick(sections) : token(rng);
        lines.push_back(header(rng, name));
        for (size_t i = rng.below(7); i > 0; --i) lines.push_back(bodyLine(rng, keys, bom));
    }
    const size_t style = rng.below(100);  // CRLF, LF, CR alone, or mixed
    std::string text = bom ? "\xEF\xBB\xBF" : "";
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 == lines.size() && rng.chance(20)) break;  // no newline at the end
        const size_t eol = style < 45 ? 0 : style < 75 ? 1 : style < 83 ? 2 : rng.below(3);
        text += eol == 0 ? "\r\n" : eol == 1 ? "\n" : "\r";
    }
    if (rng.chance(3)) text += '\x1a';  // the DOS end-of-file mark of files copied from CD
    return text;
}

std::string listLine(Rng& rng, const std::vector<std::string>& keys, bool asciiOnly) {
    const size_t kind = rng.below(10);
    if (kind == 0) return "; modified by Velmora";
    if (kind == 1) return "; " + token(rng) + (rng.chance(50) ? "=" + token(rng) : "");
    return spell(rng.pick(keys), rng) + padding(rng) + "=" + padding(rng) + value(rng, asciiOnly);
}

unsigned bufferSize(Rng& rng) {
    const size_t kind = rng.below(10);
    if (kind < 4) return static_cast<unsigned>(1 + rng.below(12));
    if (kind < 7) return static_cast<unsigned>(13 + rng.below(58));
    return 256;
}

Op checkRead(const std::string& section, const std::string& key) {
    Op read;
    read.section = section;
    read.key = key;
    read.text = "(absent)";
    read.size = 256;
    return read;
}

// The names a write set, two names its section may have held before, and
// one other name.
std::vector<Op> readBacksAfter(const Op& write, const std::vector<std::string>& sections,
                               const std::vector<std::string>& keys, Rng& rng) {
    std::vector<Op> reads;
    auto add = [&](const std::string& section, const std::string& key) { reads.push_back(checkRead(section, key)); };
    if (write.kind == Op::WriteString) add(write.section, write.key);
    for (const std::string& line : write.lines) {
        if (line.empty()) break;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key(trimProfileSpace(std::string_view(line).substr(0, equals)));
        if (!key.empty() && key[0] != ';' && reads.size() < 3) add(write.section, key);
    }
    for (int i = 0; i < 2; ++i) add(write.section, spell(rng.pick(keys), rng));
    add(spell(rng.pick(sections), rng), spell(rng.pick(keys), rng));
    return reads;
}

}  // namespace

Case generateCase(uint64_t runSeed, uint64_t index) {
    Case profileCase;
    profileCase.seed = Rng(runSeed ^ (index * 0xD1B54A32D192ED03ull)).next();
    Rng rng(profileCase.seed);

    // A UTF-8 byte-order mark makes Wine read the file as UTF-8; such files
    // hold ASCII only so that both sides see the same characters. A UTF-16
    // file holds the same text as an ANSI one, code page 1252 letters
    // included; an empty one is the mark alone.
    const bool bom = rng.chance(4);
    profileCase.utf16 = !bom && rng.chance(30);
    const std::vector<std::string> sections = pool(rng, kSectionNames, 2 + rng.below(3), bom);
    const std::vector<std::string> keys = pool(rng, kKeyNames, 3 + rng.below(4), bom);

    const size_t kind = rng.below(100);
    profileCase.fileExists = kind >= 4;
    if (kind >= 7) profileCase.file = fileText(rng, sections, keys, bom);

    for (size_t n = 3 + rng.below(6); n > 0; --n) {
        Op op;
        const size_t what = rng.below(100);
        op.section = rng.chance(88) ? spell(rng.pick(sections), rng) : token(rng);
        op.key = rng.chance(88) ? spell(rng.pick(keys), rng) : token(rng);
        if (what < 45) {
            op.kind = Op::ReadString;
            op.text = rng.chance(20) ? value(rng, bom) : rng.pick(kDefaults);
            if (bom && !isAscii(op.text)) op.text = "x";
            op.size = bufferSize(rng);
        } else if (what < 60) {
            op.kind = Op::ReadInt;
            op.intDefault = static_cast<int>(rng.below(4)) - 1;
        } else if (what < 85) {
            op.kind = Op::WriteString;
            op.text = value(rng, bom);
        } else {
            op.kind = Op::WriteSection;
            if (!rng.chance(20))
                for (size_t i = 1 + rng.below(5); i > 0; --i) op.lines.push_back(listLine(rng, keys, bom));
            if (op.lines.size() > 2 && rng.chance(10)) op.lines.insert(op.lines.begin() + 1, "");
        }
        profileCase.ops.push_back(op);
    }
    for (const Op& op : profileCase.ops)
        profileCase.readBacks.push_back(op.kind == Op::WriteString || op.kind == Op::WriteSection
                                            ? readBacksAfter(op, sections, keys, rng)
                                            : std::vector<Op>{});
    for (int i = 0; i < 4; ++i)
        profileCase.finalReads.push_back(checkRead(spell(rng.pick(sections), rng), spell(rng.pick(keys), rng)));
    return profileCase;
}

std::string fileBytes(const std::string& text, bool utf16) { return utf16 ? testkit::utf16le(text) : text; }

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        char escape[8];
        switch (c) {
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    std::snprintf(escape, sizeof escape, "\\x%02X\"\"", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string describe(const Op& op) {
    switch (op.kind) {
        case Op::ReadString:
            return "getString(" + quoted(op.section) + ", " + quoted(op.key) + ", " + quoted(op.text) + ", " +
                   std::to_string(op.size) + ")";
        case Op::ReadInt:
            return "getInt(" + quoted(op.section) + ", " + quoted(op.key) + ", " + std::to_string(op.intDefault) + ")";
        case Op::WriteString:
            return "setString(" + quoted(op.section) + ", " + quoted(op.key) + ", " + quoted(op.text) + ")";
        case Op::WriteSection: {
            std::string text = "setSection(" + quoted(op.section) + ", {";
            for (size_t i = 0; i < op.lines.size(); ++i) text += (i ? ", " : "") + quoted(op.lines[i]);
            return text + "})";
        }
    }
    return {};
}

}  // namespace velmora::differential
