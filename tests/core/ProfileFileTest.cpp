// The INI engine: what every read and write of a settings, mission, DP or
// configuration file relies on.
#include "core/PrivateProfile.h"
#include "core/ProfileFile.h"

#include <gtest/gtest.h>

#include "base/CodePage1252.h"
#include "core/Text.h"

#include "testkit/FaultyFileSystem.h"
#include "testkit/TempDir.h"

namespace velmora {
namespace {

using testkit::readText;
using testkit::writeText;

// UTF-16LE bytes of `text`, after the mark.
std::string utf16(std::u16string_view text, std::string_view mark = "\xFF\xFE") {
    std::string bytes(mark);
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// A section of more lines than are scanned, whose keys are found by hash.
std::string longSection(std::string_view k12 = "v12", std::string_view added = "") {
    std::string text = "[ids]\r\n";
    for (int i = 0; i < 40; ++i)
        text += "k" + std::to_string(i) + "=" + (i == 12 ? std::string(k12) : "v" + std::to_string(i)) + "\r\n";
    return text + "K7=later\r\nbare\r\nBARE=late\r\n\r\n; c=1\r\n\xC9t\xE9=e\r\n" + std::string(added) +
           "[next]\r\nk1=n\r\n";
}

TEST(ProfileRead, Rules) {
    const std::string padded = "[ Main ]\r\n  Key One =  some value  \r\nother=1\r\n";
    const std::string quotes = "[s]\nd=\"double\"\ns='single'\nm=\"mixed'\nh=\"\nin=a \"b\" c\nn=\"\"\"\ne=\"\"\n";
    const std::string comments = "[s]\n; comment=1\n\nbare line\nk=v ;not a comment\nbare line=late\n";
    const std::string crOnly = "[s]\rk=v\rquoted=\"w\"\r\r[t]\rk=2\r\r\nlast=x";
    const std::string bom = "\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nk=w\r\n";
    const std::string twice = "[s]\nk=first\nk=second\n[S]\nk=third\nonly=later\n";
    const std::string broken = "[a]b] trailing\nk=1\n[broken\nj=2\n";
    const std::string hundred = "[s]\nk=" + std::string(100, 'v') + "\n";
    std::string twelve = "[s]\r\n";  // the longest section still scanned
    for (int i = 0; i < 11; ++i) twelve += "k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    struct Row {
        std::string file;
        const char* section;
        const char* key;
        std::string expected;
        size_t size = 256;
        const char* defaultValue = "d";
    } rows[] = {
        {padded, "MAIN", "key one", "some value"}, {padded, "  main", "KEY ONE  ", "some value"},
        {padded, "main", "missing", "d"}, {padded, "nosuch", "other", "d"},
        {"[\xC9t\xE9]\r\n\xC0k=v\r\n", "\xE9T\xC9", "\xE0K", "v"},  // code page 1252 folds accented capitals
        {"", "a", "b", "x", 256, "x   "}, {"", "a", "b", "", 256, "   "},
        {"", "a", "b", "  x", 256, "  x"}, {"", "a", "b", "q", 256, "\"q\""},
        {quotes, "s", "d", "double"}, {quotes, "s", "s", "single"}, {quotes, "s", "m", "\"mixed'"},
        {quotes, "s", "h", "\""}, {quotes, "s", "in", "a \"b\" c"}, {quotes, "s", "n", "\""}, {quotes, "s", "e", ""},
        {hundred, "s", "k", std::string(63, 'v'), 64}, {hundred, "s", "k", "", 1},
        {hundred, "s", "missing", "def", 4, "defaultvalue"},
        {"[s]\nq=\"abc\"\n", "s", "q", "abc", 4},  // the closing quote needs no room
        {"[s]\nq=\"abc\"\n", "s", "q", "ab", 3},
        {bom, "s", "k", "d"}, {bom, "t", "k", "w"},  // a UTF-8 mark is part of the first line
        {comments, "s", "k", "v ;not a comment"},
        {comments, "s", "bare line", "d"},  // a line without '=' is a key without a value, and the first wins
        {comments, "s", "comment", "d"},
        {twice, "s", "k", "first"}, {twice, "s", "only", "d"},
        {"k=orphan\n[s]\nj=1\n", "", "k", "d"}, {"k=orphan\n[s]\nj=1\n", "s", "k", "d"},
        {"[s]\r\n=v\r\n", "s", "", "d"}, {"[a]\r\nx=1\r\n[]\r\ny=2\r\n", "a", "y", "d"},  // "[]" is a header
        {broken, "a]b", "k", "1"}, {broken, "a]b", "j", "2"},  // "[broken" is an ordinary line
        {"[s]\r\nk=v\r\n", "s", "k", "v"}, {"[s]\nk=v", "s", "k", "v"},
        {crOnly, "s", "k", "v"}, {crOnly, "s", "quoted", "w"}, {crOnly, "t", "k", "2"}, {crOnly, "t", "last", "x"},
        {twelve, "s", "K10", "10"},
        {longSection(), "ids", " k7 ", "v7"}, {longSection(), "IDS", "K39", "v39"}, {longSection(), "ids", "bare", "d"},
        {longSection(), "ids", "; c", "1"},  // a comment is a key Velmora never asks for
        {longSection(), "ids", "\xE9T\xC9", "e"}, {longSection(), "ids", "k40", "d"}, {longSection(), "next", "k1", "n"},
        {utf16(u"[s]\r\nk=v\r\n"), "S", "K", "v"},
        {utf16(u"[s]\nk=\"lf\"\n"), "s", "k", "lf"},
        {utf16(u"[s]\rk=cr\r"), "s", "k", "cr"},
        {utf16(u"k=orphan\r\n[s]\r\nk=after\r\n"), "s", "k", "after"},
        {utf16(u"[s]\r\nk=a\u0F40b\xD800.\r\n"), "s", "k", "a?b?."},  // in no code page; no character
        {utf16(u"[\u0F40]\r\n\u0F40=1\r\n"), "?", "?", "1"},
        {utf16(u"[s]\r\nk=odd\r\n") + "\x41", "s", "k", "odd"}, {utf16(u"[s]\r\nk=v"), "s", "k", "v"},
        {utf16(u""), "s", "k", "d"}, {"\xFF", "s", "k", "d"},
        {utf16(u"[s]\r\nk=v\r\n", "\xFE\xFF"), "s", "k", "d"},  // only FF FE marks UTF-16
        {utf16(u"[s]\r\nk=v\r\n", "\xEF\xBB\xBF"), "s", "k", "d"},
    };
    for (const Row& row : rows) {
        // Moved, as copied in the write rules: a profile that kept views into
        // a short text, held inside the string object, would read freed bytes.
        ProfileFile parsed(row.file);
        const ProfileFile ini(std::move(parsed));
        EXPECT_EQ(ini.getString(row.section, row.key, row.defaultValue, row.size), row.expected)
            << testing::PrintToString(row.file) << " [" << row.section << "] " << row.key;
    }
    EXPECT_TRUE(ProfileFile(utf16(u"")).isUtf16());
    EXPECT_EQ(ProfileFile(utf16(u"[s]\r\nk=v\r\n")).narrowText(), "[s]\r\nk=v\r\n");
}

TEST(ProfileRead, IntegersReadLeadingDigits) {
    struct Row {
        const char* value;  // null: no such key
        int defaultValue;
        int expected;
    } rows[] = {
        {"42", 0, 42}, {"-1", 0, -1}, {" 7", 0, 7}, {"12abc", 0, 12}, {"abc", 99, 0}, {"", 99, 99},
        {"+5", 0, 5}, {"0x1A", 0, 26}, {"0o17", 0, 15}, {"-0b101", 0, -5}, {"\"3\"", 0, 3}, {nullptr, -1, -1},
        {"0X1A", 99, 0}, {"0B11", 99, 0},  // only lower-case prefixes pick a base
        {"4294967297", 0, 1},              // 32 bits that wrap
        {"000000000000000000000000000007", 0, 0},  // only the first 29 characters are read
    };
    for (const Row& row : rows) {
        const ProfileFile ini(row.value ? std::string("[n]\r\nv=") + row.value + "\r\n" : "[n]\r\n");
        EXPECT_EQ(ini.getInt("N", "V", row.defaultValue), row.expected) << (row.value ? row.value : "(absent)");
    }
}

// One write: a key's value, or, without a key, a section's list.
struct Edit {
    const char* section;
    const char* key;
    std::string value = {};
    std::vector<std::string> lines = {};
};

bool apply(ProfileFile& ini, const Edit& edit) {
    return edit.key ? ini.setString(edit.section, edit.key, edit.value) : ini.setSection(edit.section, edit.lines);
}

bool applyToFile(FileSystem& files, const Edit& edit, const std::string& path) {
    return edit.key ? writeProfileString(files, edit.section, edit.key, edit.value, path)
                    : writeProfileSection(files, edit.section, edit.lines, path);
}

// Each row runs in memory and on a real file (none for an empty one): the
// bytes after, every untouched line kept as it was.
TEST(ProfileWrite, Rules) {
    const std::u16string base = u"; \u0F40 note\r\n[s]\r\n \u0F40k = old \r\nj=1\r\n\r\n[t]\r\nx=2\r\n";
    struct Row {
        std::string before;
        std::vector<Edit> edits;
        std::string after;
        bool changed = true;  // what the last edit returns
    } rows[] = {
        {"; header\r\n[MAIN]\r\n  A = 1 \r\nB=2\r\n\r\n[Other]\nmixed=lf\r\n", {{"main", "a", "9"}},
         "; header\r\n[MAIN]\r\nA=9\r\nB=2\r\n\r\n[Other]\nmixed=lf\r\n"},
        {"[MULTIPLAYER]\r\nCOLLISION_SECS=5\r\nPORT=47624\r\n\r\n[MAIN]\r\nX=\"1\"\r\n",
         {{"MULTIPLAYER", "COLLISION_SECS", "0"}},
         "[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\nPORT=47624\r\n\r\n[MAIN]\r\nX=\"1\"\r\n"},
        {"[s]\r\nk = v\r\n", {{"S", "K", "v"}}, "[s]\r\nk = v\r\n", false},
        {"[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", {{"a", "new", "v"}}, "[a]\r\nx=1\r\nnew=v\r\n\r\n[b]\r\ny=2\r\n"},
        {"", {{"MAIN", "VLMR_VERSION", "1.0"}}, "[MAIN]\r\nVLMR_VERSION=1.0\r\n"},
        {"[a]\nx=1", {{"b", "y", "2"}}, "[a]\nx=1\n[b]\ny=2\n"},
        {"[a]\r\nx=1", {{"a", "y", "2"}}, "[a]\r\nx=1\r\ny=2\r\n"},
        {"[a]\rx=1\r", {{"a", "x", "9"}, {"a", "y", "2"}, {"b", "z", "3"}}, "[a]\rx=9\ry=2\r[b]\rz=3\r"},
        {"", {{"s", "k", "   v "}}, "[s]\r\nk=v \r\n"},
        {longSection(), {{"ids", "k12", "12"}, {"IDS", "k40", "40"}}, longSection("12", "k40=40\r\n")},
        {"[misc_data]\r\nallegiance=1\r\n\r\n[GUNSTATIONS]\r\n; old\r\ngunstation.0=1\r\ngunstation.1=2\r\n\r\n"
         "[guns.0]\r\ngun.0=5\r\n",
         {{"gunstations", nullptr, "", {"; modified by Velmora", "gun.0=1,0,0,0,0,0,0,1"}}},
         "[misc_data]\r\nallegiance=1\r\n\r\n[GUNSTATIONS]\r\n; modified by Velmora\r\ngun.0=1,0,0,0,0,0,0,1\r\n\r\n"
         "[guns.0]\r\ngun.0=5\r\n"},
        {"[MODIFIED_DPS_2]\r\nTower.dp=guns modified\r\n[MAIN]\r\nk=v\r\n", {{"modified_dps_2", nullptr}},
         "[MODIFIED_DPS_2]\r\n[MAIN]\r\nk=v\r\n"},
        {"[MAIN]\r\nk=v\r\n", {{"MODIFIED_DPS_1", nullptr}}, "[MAIN]\r\nk=v\r\n[MODIFIED_DPS_1]\r\n"},
        {"", {{"s", nullptr, "", {"a=1", "", "b=2"}}}, "[s]\r\na=1\r\n"},  // the list ends at an empty line
        {"[s]\nk=1\n[s]\nk=2\n", {{"s", nullptr, "", {"j=3"}}}, "[s]\nj=3\n[s]\nk=2\n"},
        {"[s]\r\nk=1\r\n", {{"  s ", nullptr, "", {"a=1"}}}, "[s]\r\na=1\r\n"},
        {"[s]", {{"s", nullptr, "", {"a=1"}}}, "[s]\r\na=1\r\n"},
        {"[s]\r\na=1\r\n\r\n[t]\r\n", {{"s", nullptr, "", {"a=1"}}}, "[s]\r\na=1\r\n\r\n[t]\r\n", false},
        {utf16(base), {{"s", "?k", "new"}}, utf16(u"; \u0F40 note\r\n[s]\r\n\u0F40k=new\r\nj=1\r\n\r\n[t]\r\nx=2\r\n")},
        {utf16(base), {{"s", "added", "a"}},
         utf16(u"; \u0F40 note\r\n[s]\r\n \u0F40k = old \r\nj=1\r\nadded=a\r\n\r\n[t]\r\nx=2\r\n")},
        {utf16(base), {{"s", nullptr, "", {"; modified by Velmora", "gun.0=1"}}},
         utf16(u"; \u0F40 note\r\n[s]\r\n; modified by Velmora\r\ngun.0=1\r\n\r\n[t]\r\nx=2\r\n")},
        {utf16(u"[a]\nx=1"), {{"b", "y", "2"}}, utf16(u"[a]\nx=1\n[b]\ny=2\n")},
        {utf16(u""), {{"MAIN", "STATIC_IP", "1.2.3.4"}}, utf16(u"[MAIN]\r\nSTATIC_IP=1.2.3.4\r\n")},
        {utf16(u"[s]\r\nk=1\r\n") + "\x5B", {{"t", "j", "2"}, {"s", "k", "3"}},
         utf16(u"[s]\r\nk=3\r\n[t]\r\nj=2\r\n") + "\x5B"},  // an odd last byte stays last
        {utf16(u"[s]\rk=1\r") + "\n", {{"s", "j", "2"}}, utf16(u"[s]\rk=1\rj=2\r") + "\n"},  // and is no LF
    };
    FileSystem& files = platformFileSystem();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.before));
        const ProfileFile original(row.before);
        ProfileFile ini = original;
        bool changed = false;
        for (const Edit& edit : row.edits) changed = apply(ini, edit);
        EXPECT_EQ(ini.text(), row.after);
        EXPECT_EQ(changed, row.changed);

        testkit::TempDir dir;
        const std::string path = dir / "settings.ini";
        if (!row.before.empty()) writeText(path, row.before);
        for (const Edit& edit : row.edits) EXPECT_TRUE(applyToFile(files, edit, path));
        EXPECT_EQ(readText(path), row.after);
        std::vector<DirEntry> entries;
        ASSERT_TRUE(files.listFolder(dir.path(), entries));
        EXPECT_LE(entries.size(), 1u);  // no temporary left beside it
    }
}

// The file is replaced through a temporary beside it and a rename: whatever
// fails on the way, the write reports it and the file stays as it was.
TEST(ProfileFileOnDisk, AWriteThatCannotCompleteReportsFailureAndChangesNothing) {
    enum Setup { ReadOnly, Folder, Fault };
    const struct Row {
        const char* what;
        Setup setup;
        testkit::FileOp fault = testkit::FileOp::ReadFile;
    } rows[] = {
        {"read-only file", ReadOnly},
        {"folder in place of the file", Folder},
        {"file that exists but cannot be read", Fault, testkit::FileOp::ReadFile},
        {"full disk", Fault, testkit::FileOp::WriteTemporary},
        {"failed rename", Fault, testkit::FileOp::ReplaceWithTemporary},
    };
    const std::string original = "[s]\r\nk=1\r\nother=kept\r\n";
    FileSystem& files = platformFileSystem();
    for (const Row& row : rows) {
        for (const Edit& edit : {Edit{"s", "k", "2"}, Edit{"s", nullptr, "", {"k=3"}}}) {
            SCOPED_TRACE(std::string(row.what) + (edit.key ? ", key" : ", section"));
            testkit::TempDir dir;
            const std::string path = dir / "settings.ini";
            if (row.setup == Folder)
                ASSERT_EQ(files.makeDirectory(path), MakeDirResult::Created);
            else
                writeText(path, original);
            if (row.setup == ReadOnly) testkit::makeReadOnly(path);
            testkit::FaultyFileSystem faulty(files);
            if (row.setup == Fault) faulty.failNth(row.fault, 1);

            EXPECT_FALSE(applyToFile(faulty, edit, path));
            if (row.setup == Folder) {
                EXPECT_TRUE(files.isDirectory(path));
                EXPECT_EQ(getProfileString(files, "s", "k", "d", 256, path), "d");
            } else {
                EXPECT_EQ(readText(path), original);
                EXPECT_EQ(files.isReadOnly(path), row.setup == ReadOnly);
            }
            std::vector<DirEntry> entries;
            ASSERT_TRUE(files.listFolder(dir.path(), entries));
            ASSERT_EQ(entries.size(), 1u);
            EXPECT_EQ(entries[0].name, "settings.ini");
        }
    }
}

}  // namespace
}  // namespace velmora
