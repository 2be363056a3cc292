#include "differential/KnownDifferences.h"

#include <cstdio>

#include "differential/ProfileEngines.h"

namespace velmora::differential {
namespace {

Op stringRead(std::string section, std::string key, std::string defaultValue = "d", unsigned size = 256) {
    Op read;
    read.section = std::move(section);
    read.key = std::move(key);
    read.text = std::move(defaultValue);
    read.size = size;
    return read;
}

Op stringWrite(std::string section, std::string key, std::string value) {
    Op write;
    write.kind = Op::WriteString;
    write.section = std::move(section);
    write.key = std::move(key);
    write.text = std::move(value);
    return write;
}

Op sectionWrite(std::string section, std::vector<std::string> lines) {
    Op write;
    write.kind = Op::WriteSection;
    write.section = std::move(section);
    write.lines = std::move(lines);
    return write;
}

// One documented difference, shown on a small file: what each side reads
// (or, for a difference of layout, the whole file each side leaves).
struct Difference {
    const char* title;
    std::string file;
    std::vector<Op> writes;
    bool comparesFiles = false;
    Op read;
    std::string wine;     // what Wine 8 gives
    std::string velmora;  // what Velmora gives, as Windows does
};

// UTF-16LE bytes with the mark, of text whose characters are all below U+0100
// but one: `wide` at the place of a '#'.
std::string unicode(std::string_view text, char16_t wide = u'#') {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        const char16_t unit = c == '#' ? wide : static_cast<unsigned char>(c);
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::vector<Difference> differences() {
    return {
        {"a UTF-16 character the code page lacks: Wine gives a look-alike, Velmora \"?\"",
         unicode("[s]\r\nk=#x\r\n", u'\u0100'), {}, false, stringRead("s", "k"), "Ax", "?x"},
        {"a file that starts FE FF: Wine reads it as UTF-16BE", std::string("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v\0\n", 18),
         {}, false, stringRead("s", "k"), "v", "d"},
        {"a UTF-8 byte-order mark: Wine skips it and finds the first section",
         "\xEF\xBB\xBF[s]\r\nk=v\r\n", {}, false, stringRead("s", "k"), "v", "d"},
        {"a quoted value read into a buffer one byte short of its closing quote loses a byte more in Wine",
         "[s]\r\nq=\"abc\"\r\n", {}, false, stringRead("s", "q", "d", 4), "ab", "abc"},
        {"a default of spaces only keeps one space in Wine", "", {}, false, stringRead("s", "k", "   "), " ", ""},
        {"Wine folds the case of ASCII letters only", "[\xC9t\xE9]\r\nk=v\r\n", {}, false,
         stringRead("\xE9t\xE9", "k"), "d", "v"},
        {"Wine empties a section only for its untrimmed name", "[s]\r\nk=1\r\n", {sectionWrite("  s ", {"a=1"})},
         false, stringRead("s", "k"), "1", "d"},
        {"Wine reads text before the first section as section \"\"", "k=orphan\r\n[s]\r\n", {}, false,
         stringRead("", "k"), "orphan", "d"},
        {"Wine reads a line \"=value\" as key \"\"", "[s]\r\n=v\r\n", {}, false, stringRead("s", ""), "v", "d"},
        {"Wine rewrites an empty header \"[]\" away, joining its keys to the section before",
         "[a]\r\nx=1\r\n[]\r\ny=2\r\n", {stringWrite("a", "z", "3")}, false, stringRead("a", "y"), "2", "d"},
        {"Wine rewrites the whole file in its own layout", "[a]\nx = 1\n\n[b]\ny=2\n", {stringWrite("b", "y", "3")},
         true, {}, "[a]\r\nx=1\r\n[b]\r\ny=3\r\n", "[a]\nx = 1\n\n[b]\ny=3\n"},
        {"Wine drops lines without '=' from a section list", "[s]\r\nk=1\r\n",
         {sectionWrite("s", {"; modified by Velmora", "a=1"})}, true, {}, "[s]\r\na=1\r\n",
         "[s]\r\n; modified by Velmora\r\na=1\r\n"},
        {"Wine creates no section for an empty list", "[s]\r\nk=1\r\n", {sectionWrite("t", {})}, true, {},
         "[s]\r\nk=1\r\n", "[s]\r\nk=1\r\n[t]\r\n"},
    };
}

}  // namespace

bool showKnownDifferences(const Workspace& workspace) {
    bool velmoraAsDocumented = true;
    std::printf("known differences from Wine 8 (Velmora reads and writes as Windows does):\n");
    for (const Difference& difference : differences()) {
        for (const std::string& path : {workspace.windowsFile, workspace.velmoraFile}) putFile(path, difference.file);
        for (const Op& write : difference.writes) {
            windowsWrite(write, workspace.windowsFile);
            velmoraWrite(write, workspace.velmoraFile);
        }
        std::string wine, velmora;
        if (difference.comparesFiles) {
            wine = fileContents(workspace.windowsFile);
            velmora = fileContents(workspace.velmoraFile);
        } else {
            wine = windowsReadString(difference.read, workspace.windowsFile).text;
            velmora = velmoraReadString(difference.read, workspace.velmoraFile).text;
        }
        const bool wineShows = wine == difference.wine;
        std::printf("  %s %s\n", wineShows ? "[shows]    " : "[GONE]     ", difference.title);
        if (!wineShows) std::printf("      Wine now gives %s\n", quoted(wine).c_str());
        if (velmora != difference.velmora) {
            std::printf("      VELMORA gives %s, not %s\n", quoted(velmora).c_str(),
                        quoted(difference.velmora).c_str());
            velmoraAsDocumented = false;
        }
    }
    return velmoraAsDocumented;
}

}  // namespace velmora::differential
