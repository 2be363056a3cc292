// The INI engine: what every read and write of a settings, mission, DP or
// configuration file relies on.
#include "core/ProfileFile.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/Text.h"

#include "testkit/FaultyFileSystem.h"
#include "testkit/TempDir.h"

namespace velmora {
namespace {

using testkit::readText;
using testkit::writeText;

TEST(ProfileRead, FindsSectionsAndKeysWithoutRegardToCaseAfterTrimming) {
    const ProfileFile ini("[ Main ]\r\n  Key One =  some value  \r\nother=1\r\n");
    EXPECT_EQ(ini.getString("MAIN", "key one", "d", 256), "some value");
    EXPECT_EQ(ini.getString("  main", "KEY ONE  ", "d", 256), "some value");
    EXPECT_EQ(ini.getString("main", "missing", "dflt", 256), "dflt");
    EXPECT_EQ(ini.getString("nosuch", "other", "dflt", 256), "dflt");
    // Accented capitals fold as code page 1252 folds them (Wine folds ASCII only).
    EXPECT_EQ(ProfileFile("[\xC9t\xE9]\r\n\xC0k=v\r\n").getString("\xE9T\xC9", "\xE0K", "d", 256), "v");
}

TEST(ProfileRead, DefaultLosesTrailingSpacesAndQuotes) {
    const ProfileFile ini("");
    EXPECT_EQ(ini.getString("a", "b", "x   ", 256), "x");
    EXPECT_EQ(ini.getString("a", "b", "   ", 256), "");  // Wine keeps one space
    EXPECT_EQ(ini.getString("a", "b", "  x", 256), "  x");
    EXPECT_EQ(ini.getString("a", "b", "\"q\"", 256), "q");
}

TEST(ProfileRead, OnePairOfMatchingQuotesIsRemoved) {
    const ProfileFile ini("[s]\nd=\"double\"\ns='single'\nm=\"mixed'\nh=\"\nin=a \"b\" c\nn=\"\"\"\n");
    EXPECT_EQ(ini.getString("s", "d", "", 256), "double");
    EXPECT_EQ(ini.getString("s", "s", "", 256), "single");
    EXPECT_EQ(ini.getString("s", "m", "", 256), "\"mixed'");
    EXPECT_EQ(ini.getString("s", "h", "", 256), "\"");
    EXPECT_EQ(ini.getString("s", "in", "", 256), "a \"b\" c");
    EXPECT_EQ(ini.getString("s", "n", "", 256), "\"");
}

TEST(ProfileRead, ValueIsCutToOneByteLessThanTheBuffer) {
    const std::string longValue(100, 'v');
    const ProfileFile ini("[s]\nk=" + longValue + "\n");
    EXPECT_EQ(ini.getString("s", "k", "", 64), std::string(63, 'v'));
    EXPECT_EQ(ini.getString("s", "k", "", 1), "");
    EXPECT_EQ(ini.getString("s", "missing", "defaultvalue", 4), "def");
    // A buffer that holds the unquoted value but not the closing quote still
    // gets the whole value (Wine gives one byte less).
    const ProfileFile quoted("[s]\nq=\"abc\"\n");
    EXPECT_EQ(quoted.getString("s", "q", "", 4), "abc");
    EXPECT_EQ(quoted.getString("s", "q", "", 3), "ab");
}

TEST(ProfileRead, AByteOrderMarkStaysPartOfTheFirstLine) {
    // Windows reads an ANSI profile as it is: the mark hides a header on the
    // first line (Wine skips the mark), and changes nothing further down.
    const ProfileFile ini("\xEF\xBB\xBF[s]\r\nk=v\r\n[t]\r\nk=w\r\n");
    EXPECT_EQ(ini.getString("s", "k", "d", 256), "d");
    EXPECT_EQ(ini.getString("t", "k", "d", 256), "w");
}

TEST(ProfileRead, CommentsBlankLinesAndLinesWithoutEquals) {
    const ProfileFile ini("[s]\n; comment=1\n\nbare line\nk=v ;not a comment\nbare line=late\n");
    EXPECT_EQ(ini.getString("s", "k", "", 256), "v ;not a comment");
    // A line without '=' is a key without a value: the first of that name wins.
    EXPECT_EQ(ini.getString("s", "bare line", "none", 256), "none");
    EXPECT_EQ(ini.getString("s", "comment", "none", 256), "none");
}

TEST(ProfileRead, FirstSectionAndFirstKeyOfANameWin) {
    const ProfileFile ini("[s]\nk=first\nk=second\n[S]\nk=third\nonly=later\n");
    EXPECT_EQ(ini.getString("s", "k", "", 256), "first");
    EXPECT_EQ(ini.getString("s", "only", "absent", 256), "absent");
}

TEST(ProfileRead, TextBeforeTheFirstSectionBelongsToNoSection) {
    const ProfileFile ini("k=orphan\n[s]\nj=1\n");
    EXPECT_EQ(ini.getString("", "k", "none", 256), "none");
    EXPECT_EQ(ini.getString("s", "k", "none", 256), "none");
}

TEST(ProfileRead, SectionNameRunsToTheLastBracket) {
    const ProfileFile ini("[a]b] trailing\nk=1\n[broken\nj=2\n");
    EXPECT_EQ(ini.getInt("a]b", "k", 0), 1);
    // "[broken" has no ']' and is an ordinary line of section a]b.
    EXPECT_EQ(ini.getInt("a]b", "j", 0), 2);
}

TEST(ProfileRead, IntegersReadLeadingDigits) {
    const ProfileFile ini(
        "[n]\nplain=42\nneg=-1\nlead= 7\ntrail=12abc\nword=abc\nempty=\nplus=+5\nhex=0x1A\nquoted=\"3\"\n"
        "upperHex=0X1A\nupperBinary=0B11\noctal=0o17\nbinary=-0b101\n");
    EXPECT_EQ(ini.getInt("n", "plain", 0), 42);
    EXPECT_EQ(ini.getInt("n", "neg", 0), -1);
    EXPECT_EQ(ini.getInt("n", "lead", 0), 7);
    EXPECT_EQ(ini.getInt("n", "trail", 0), 12);
    EXPECT_EQ(ini.getInt("n", "word", 99), 0);
    EXPECT_EQ(ini.getInt("n", "empty", 99), 99);
    EXPECT_EQ(ini.getInt("n", "plus", 0), 5);
    EXPECT_EQ(ini.getInt("n", "hex", 0), 26);
    // Only the lower-case prefixes pick a base; "0X1A" is a decimal 0
    // followed by letters.
    EXPECT_EQ(ini.getInt("n", "upperHex", 99), 0);
    EXPECT_EQ(ini.getInt("n", "upperBinary", 99), 0);
    EXPECT_EQ(ini.getInt("n", "octal", 0), 15);
    EXPECT_EQ(ini.getInt("n", "binary", 0), -5);
    EXPECT_EQ(ini.getInt("n", "quoted", 0), 3);
    EXPECT_EQ(ini.getInt("n", "absent", -1), -1);
}

TEST(ProfileRead, CrLfAndLfAndNoFinalNewline) {
    EXPECT_EQ(ProfileFile("[s]\r\nk=v\r\n").getString("s", "k", "", 256), "v");
    EXPECT_EQ(ProfileFile("[s]\nk=v").getString("s", "k", "", 256), "v");
}

TEST(ProfileRead, ABareCarriageReturnEndsALineToo) {
    // Files saved by old Mac editors; Windows splits their lines at each CR.
    const ProfileFile ini("[s]\rk=v\rquoted=\"w\"\r\r[t]\rk=2\r\r\nlast=x");
    EXPECT_EQ(ini.getString("s", "k", "", 256), "v");
    EXPECT_EQ(ini.getString("s", "quoted", "", 256), "w");
    EXPECT_EQ(ini.getInt("t", "k", 0), 2);
    EXPECT_EQ(ini.getString("t", "last", "", 256), "x");
}

TEST(ProfileEdit, ReplacingAValueKeepsEveryOtherLineByteForByte) {
    ProfileFile ini("; header\r\n[MAIN]\r\n  A = 1 \r\nB=2\r\n\r\n[Other]\nmixed=lf\r\n");
    EXPECT_TRUE(ini.setString("main", "a", "9"));
    EXPECT_EQ(ini.text(), "; header\r\n[MAIN]\r\nA=9\r\nB=2\r\n\r\n[Other]\nmixed=lf\r\n");
}

TEST(ProfileEdit, WritingTheSameValueChangesNothing) {
    ProfileFile ini("[s]\r\nk = v\r\n");
    EXPECT_FALSE(ini.setString("S", "K", "v"));
    EXPECT_EQ(ini.text(), "[s]\r\nk = v\r\n");
}

TEST(ProfileEdit, NewKeyGoesAfterTheSectionsLastLineBeforeBlankLines) {
    ProfileFile ini("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    ini.setString("a", "new", "v");
    EXPECT_EQ(ini.text(), "[a]\r\nx=1\r\nnew=v\r\n\r\n[b]\r\ny=2\r\n");
}

TEST(ProfileEdit, NewSectionAndFileFollowTheFilesLineEndings) {
    ProfileFile empty("");
    empty.setString("MAIN", "VLMR_VERSION", "1.0");
    EXPECT_EQ(empty.text(), "[MAIN]\r\nVLMR_VERSION=1.0\r\n");

    ProfileFile lf("[a]\nx=1");
    lf.setString("b", "y", "2");
    EXPECT_EQ(lf.text(), "[a]\nx=1\n[b]\ny=2\n");

    ProfileFile noNewline("[a]\r\nx=1");
    noNewline.setString("a", "y", "2");
    EXPECT_EQ(noNewline.text(), "[a]\r\nx=1\r\ny=2\r\n");

    ProfileFile cr("[a]\rx=1\r");
    cr.setString("a", "x", "9");
    cr.setString("a", "y", "2");
    cr.setString("b", "z", "3");
    EXPECT_EQ(cr.text(), "[a]\rx=9\ry=2\r[b]\rz=3\r");
}

TEST(ProfileEdit, ValueLosesLeadingSpaces) {
    ProfileFile ini("");
    ini.setString("s", "k", "   v ");
    EXPECT_EQ(ini.getString("s", "k", "", 256), "v");
}

TEST(ProfileEdit, SectionReplacementWritesTheGivenLinesAndKeepsOtherSections) {
    ProfileFile ini(
        "[misc_data]\r\nallegiance=1\r\n\r\n[GUNSTATIONS]\r\n; old\r\ngunstation.0=1\r\ngunstation.1=2\r\n\r\n"
        "[guns.0]\r\ngun.0=5\r\n");
    ini.setSection("gunstations", {"; modified by Velmora", "gun.0=1,0,0,0,0,0,0,1"});
    EXPECT_EQ(ini.text(),
              "[misc_data]\r\nallegiance=1\r\n\r\n[GUNSTATIONS]\r\n; modified by Velmora\r\n"
              "gun.0=1,0,0,0,0,0,0,1\r\n\r\n[guns.0]\r\ngun.0=5\r\n");
    EXPECT_EQ(ini.getString("gunstations", "gunstation.1", "gone", 256), "gone");
}

TEST(ProfileEdit, EmptyListEmptiesOrCreatesTheSection) {
    ProfileFile ini("[MODIFIED_DPS_2]\r\nTower.dp=guns modified\r\n[MAIN]\r\nk=v\r\n");
    ini.setSection("modified_dps_2", {});
    EXPECT_EQ(ini.text(), "[MODIFIED_DPS_2]\r\n[MAIN]\r\nk=v\r\n");
    ini.setSection("MODIFIED_DPS_1", {});
    EXPECT_EQ(ini.text(), "[MODIFIED_DPS_2]\r\n[MAIN]\r\nk=v\r\n[MODIFIED_DPS_1]\r\n");
}

TEST(ProfileEdit, ListEndsAtItsFirstEmptyLine) {
    ProfileFile ini("");
    ini.setSection("s", {"a=1", "", "b=2"});
    EXPECT_EQ(ini.text(), "[s]\r\na=1\r\n");
}

TEST(ProfileEdit, OnlyTheFirstSectionOfANameIsReplaced) {
    ProfileFile ini("[s]\nk=1\n[s]\nk=2\n");
    ini.setSection("s", {"j=3"});
    EXPECT_EQ(ini.text(), "[s]\nj=3\n[s]\nk=2\n");
}

TEST(ProfileRead, LongSectionsFindKeysAsShortOnesDo) {
    // Sections past a dozen lines look keys up by hash: the same rules hold.
    std::string text = "[ids]\r\n";
    for (int i = 0; i < 40; ++i) text += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
    text += "K7=later\r\nbare\r\nBARE=late\r\n\r\n; c=1\r\n\xC9t\xE9=e\r\n[next]\r\nk1=n\r\n";
    ProfileFile ini(text);
    EXPECT_EQ(ini.getString("ids", " k7 ", "d", 256), "v7");
    EXPECT_EQ(ini.getString("IDS", "K39", "d", 256), "v39");
    EXPECT_EQ(ini.getString("ids", "bare", "d", 256), "d");
    EXPECT_EQ(ini.getString("ids", "; c", "d", 256), "1");  // a comment is a key Velmora never asks for
    EXPECT_EQ(ini.getString("ids", "\xE9T\xC9", "d", 256), "e");
    EXPECT_EQ(ini.getString("ids", "k40", "d", 256), "d");
    EXPECT_EQ(ini.getInt("next", "k1", 0), 0);
    EXPECT_TRUE(ini.setString("ids", "k12", "12"));
    EXPECT_TRUE(ini.setString("ids", "k40", "40"));
    EXPECT_EQ(ini.getInt("ids", "k12", 0), 12);
    EXPECT_EQ(ini.getInt("ids", "K40", 0), 40);
}

// UTF-16LE bytes of `text`, after the mark.
std::string utf16(std::u16string_view text, std::string_view mark = "\xFF\xFE") {
    std::string bytes(mark);
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

TEST(ProfileUtf16, ReadsAsTheNarrowText) {
    // U+0F40 is in no ANSI code page; D800 alone is no character.
    struct Row {
        std::string file;
        const char* section;
        const char* key;
        const char* expected;
    } rows[] = {
        {utf16(u"[s]\r\nk=v\r\n"), "S", "K", "v"},
        {utf16(u"[s]\nk=\"lf\"\n"), "s", "k", "lf"},
        {utf16(u"[s]\rk=cr\r"), "s", "k", "cr"},
        {utf16(u"k=orphan\r\n[s]\r\nk=after\r\n"), "s", "k", "after"},
        {utf16(u"[s]\r\nk=a\u0F40b\xD800.\r\n"), "s", "k", "a?b?."},
        {utf16(u"[\u0F40]\r\n\u0F40=1\r\n"), "?", "?", "1"},
        {utf16(u"[s]\r\nk=odd\r\n") + "\x41", "s", "k", "odd"},
        {utf16(u"[s]\r\nk=v"), "s", "k", "v"},
        {utf16(u""), "s", "k", "d"},
        {"\xFF", "s", "k", "d"},
        {utf16(u"[s]\r\nk=v\r\n", "\xFE\xFF"), "s", "k", "d"},  // only FF FE marks UTF-16
        {utf16(u"[s]\r\nk=v\r\n", "\xEF\xBB\xBF"), "s", "k", "d"},
    };
    for (const Row& row : rows) {
        const ProfileFile ini(row.file);
        EXPECT_EQ(ini.getString(row.section, row.key, "d", 256), row.expected) << testing::PrintToString(row.file);
    }
    EXPECT_TRUE(ProfileFile(utf16(u"")).isUtf16());
    EXPECT_EQ(ProfileFile(utf16(u"[s]\r\nk=v\r\n")).narrowText(), "[s]\r\nk=v\r\n");
}

TEST(ProfileUtf16, WritesStayUtf16AndKeepUntouchedLinesByteForByte) {
    const std::u16string base = u"; \u0F40 note\r\n[s]\r\n \u0F40k = old \r\nj=1\r\n\r\n[t]\r\nx=2\r\n";
    struct Row {
        std::u16string file;
        std::function<void(ProfileFile&)> edit;
        std::u16string expected;
    } rows[] = {
        {base, [](ProfileFile& p) { p.setString("s", "?k", "new"); },
         u"; \u0F40 note\r\n[s]\r\n\u0F40k=new\r\nj=1\r\n\r\n[t]\r\nx=2\r\n"},
        {base, [](ProfileFile& p) { p.setString("s", "added", "a"); },
         u"; \u0F40 note\r\n[s]\r\n \u0F40k = old \r\nj=1\r\nadded=a\r\n\r\n[t]\r\nx=2\r\n"},
        {base, [](ProfileFile& p) { p.setSection("s", {"; modified by Velmora", "gun.0=1"}); },
         u"; \u0F40 note\r\n[s]\r\n; modified by Velmora\r\ngun.0=1\r\n\r\n[t]\r\nx=2\r\n"},
        {u"[a]\nx=1", [](ProfileFile& p) { p.setString("b", "y", "2"); }, u"[a]\nx=1\n[b]\ny=2\n"},
        {u"", [](ProfileFile& p) { p.setString("MAIN", "STATIC_IP", "1.2.3.4"); },
         u"[MAIN]\r\nSTATIC_IP=1.2.3.4\r\n"},
    };
    for (const Row& row : rows) {
        ProfileFile ini(utf16(row.file));
        row.edit(ini);
        EXPECT_EQ(ini.text(), utf16(row.expected));
    }
}

TEST(ProfileUtf16, AnOddLastByteStaysLastAndWhatWasReadableStaysSo) {
    ProfileFile ini(utf16(u"[s]\r\nk=1\r\n") + "\x5B");
    EXPECT_TRUE(ini.setString("t", "j", "2"));
    EXPECT_TRUE(ini.setString("s", "k", "3"));
    EXPECT_EQ(ini.text(), utf16(u"[s]\r\nk=3\r\n[t]\r\nj=2\r\n") + "\x5B");
    EXPECT_EQ(ProfileFile(ini.text()).getInt("t", "j", 0), 2);
}

TEST(CodePage1252, EveryByteHasOneCharacterAndBack) {
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(cp1252FromUtf16(utf16From1252(static_cast<unsigned char>(byte))), byte);
    EXPECT_EQ(utf16From1252(0x80), u'\u20AC');
    EXPECT_EQ(utf16From1252(0x9F), u'\u0178');
    EXPECT_EQ(utf16From1252(0x81), u'\u0081');
    EXPECT_EQ(cp1252FromUtf16(u'\u0100'), -1);
    EXPECT_EQ(cp1252FromUtf16(u'\u0080'), -1);
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    testkit::TempDir dir;
    FileSystem& files = platformFileSystem();
    std::string path = dir / "settings.ini";
};

TEST_F(ProfileFileOnDisk, MissingFileReadsAsDefaultsAndIsCreatedByTheFirstWrite) {
    EXPECT_EQ(getProfileString(files, "MAIN", "k", "x", 256, path), "x");
    EXPECT_EQ(getProfileInt(files, "MAIN", "k", 2, path), 2);
    EXPECT_TRUE(writeProfileString(files, "MAIN", "k", "v", path));
    EXPECT_EQ(readText(path), "[MAIN]\r\nk=v\r\n");
    EXPECT_TRUE(writeProfileSection(files, "MODIFIED_DPS_1", {}, dir / "other.ini"));
    EXPECT_EQ(readText(dir / "other.ini"), "[MODIFIED_DPS_1]\r\n");
}

TEST_F(ProfileFileOnDisk, EveryWriteIsSeenByTheNextRead) {
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(writeProfileString(files, "MAIN", "n", std::to_string(i), path));
        EXPECT_EQ(getProfileInt(files, "main", "N", -1, path), i);
    }
}

TEST_F(ProfileFileOnDisk, WriteLeavesUntouchedLinesOfAGameFileAlone) {
    const std::string original = "[MULTIPLAYER]\r\nCOLLISION_SECS=5\r\nPORT=47624\r\n\r\n[MAIN]\r\nX=\"1\"\r\n";
    writeText(path, original);
    ASSERT_TRUE(writeProfileString(files, "MULTIPLAYER", "COLLISION_SECS", "0", path));
    EXPECT_EQ(readText(path), "[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\nPORT=47624\r\n\r\n[MAIN]\r\nX=\"1\"\r\n");
}

TEST_F(ProfileFileOnDisk, ReadOnlyFileIsNotWrittenAndStaysReadOnly) {
    writeText(path, "[s]\r\nk=1\r\n");
    testkit::makeReadOnly(path);
    EXPECT_FALSE(writeProfileString(files, "s", "k", "2", path));
    EXPECT_FALSE(writeProfileSection(files, "s", {"k=3"}, path));
    EXPECT_EQ(readText(path), "[s]\r\nk=1\r\n");
    EXPECT_TRUE(files.isReadOnly(path));
}

TEST_F(ProfileFileOnDisk, AFailureBetweenTheTemporaryFileAndTheRenameLeavesTheOriginalWhole) {
    const std::string original = "[s]\r\nk=1\r\nother=kept\r\n";
    writeText(path, original);
    testkit::FaultyFileSystem faulty(files);
    faulty.failNth(testkit::FileOp::ReplaceWithTemporary, 1);
    EXPECT_FALSE(writeProfileString(faulty, "s", "k", "2", path));
    EXPECT_EQ(readText(path), original);
    // Nothing is left beside it either.
    std::vector<DirEntry> entries;
    ASSERT_TRUE(files.listFolder(dir.path(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "settings.ini");
}

TEST_F(ProfileFileOnDisk, AFullDiskLeavesTheOriginalWhole) {
    writeText(path, "[s]\r\nk=1\r\n");
    testkit::FaultyFileSystem faulty(files);
    faulty.failNth(testkit::FileOp::WriteTemporary, 1);
    EXPECT_FALSE(writeProfileString(faulty, "s", "k", "2", path));
    EXPECT_EQ(readText(path), "[s]\r\nk=1\r\n");
}

TEST_F(ProfileFileOnDisk, AFolderInPlaceOfTheFileIsNeverClobbered) {
    ASSERT_EQ(files.makeDirectory(path), MakeDirResult::Created);
    EXPECT_EQ(getProfileString(files, "s", "k", "d", 256, path), "d");
    EXPECT_FALSE(writeProfileString(files, "s", "k", "v", path));
    EXPECT_TRUE(files.isDirectory(path));
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

TEST(ProfileCopy, ACopiedOrMovedShortProfileStillReads) {
    // Short texts live inside the string object itself; a profile that kept
    // views into them would read freed bytes after a move.
    ProfileFile original("[s]\r\nk=1\r\n");
    ProfileFile copied = original;
    ProfileFile moved = std::move(original);
    ProfileFile assigned;
    assigned = copied;
    EXPECT_EQ(copied.getInt("s", "k", 0), 1);
    EXPECT_EQ(moved.getInt("s", "k", 0), 1);
    EXPECT_EQ(assigned.getInt("s", "k", 0), 1);
    EXPECT_TRUE(moved.setString("s", "k", "2"));
    EXPECT_EQ(moved.text(), "[s]\r\nk=2\r\n");
}

}  // namespace
}  // namespace velmora
