// ProfileFile: the INI engine every file Velmora reads or edits goes through
// (its settings file, the games' missions, DP files, ship.cfg, the game
// configuration file and idlist.txt). The operations on a file are
// core/PrivateProfile.h; the lookup of names is core/NameIndex.h.
//
// It reads as the Windows private-profile functions read: section and key
// names match without regard to case (as code page 1252 folds it) after
// trimming, only the first section of a name and the first key of a name in
// it count, values are trimmed and lose one pair of matching quotes, a read
// keeps at most size - 1 bytes.
//
// A file that starts with the UTF-16LE mark FF FE is a Unicode profile, as
// for Windows: it is read as UTF-16 converted to the narrow code page
// (platform/CodePage.h; a character the page lacks reads as '?'), and
// written back as UTF-16 with its mark, new lines taking its line ends. An
// odd last byte or an unpaired surrogate is read as well as it can be and
// never made worse. No other mark counts, the UTF-8 one included.
//
// It writes unlike them, because game files are precious: every line a write
// does not have to change stays byte for byte, with its own line ending (a
// new line takes that of the file's first line); a section replacement
// writes the lines it is given verbatim, comment lines included, empties only
// the first section of that name (blank lines at its end stay) and creates
// the section even for an empty list. Saving (core/PrivateProfile.h)
// replaces the file in one step.
//
// Where Wine's functions read otherwise than Windows and this engine is
// listed in tests/differential/ProfileDifferential.cpp; every other read and
// write is compared with Wine's there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/NameIndex.h"
#include "platform/Files.h"

namespace velmora {

class ProfileFile {
public:
    ProfileFile() = default;
    // A file's bytes. Bytes that start with the UTF-16LE mark FF FE are read
    // as UTF-16 text in the narrow code page (platform/CodePage.h), as
    // Windows reads a Unicode profile; any others as narrow text as they are.
    explicit ProfileFile(std::string bytes);

    // The file at `path`. A missing or unreadable file gives an empty profile
    // in which every read yields its default.
    static ProfileFile load(FileSystem& files, const std::string& path);

    // GetPrivateProfileStringA: the value, or `defaultValue` (trailing spaces
    // dropped) when the section or key is absent or the key has no '=';
    // at most size - 1 bytes of it.
    std::string getString(std::string_view section, std::string_view key, std::string_view defaultValue,
                          size_t size) const;
    // GetPrivateProfileIntA: leading white space, an optional sign, then
    // digits (a lower-case 0x, 0o or 0b prefix picks the base); an empty or
    // absent value gives `defaultValue`, a value without digits 0.
    int getInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Edits in memory; each returns whether the text changed.
    // WritePrivateProfileStringA: creates the section and the key as needed.
    bool setString(std::string_view section, std::string_view key, std::string_view value);
    // WritePrivateProfileSectionA: the first section of that name gets
    // exactly `lines` (up to the first empty one), created when absent.
    bool setSection(std::string_view section, const std::vector<std::string>& lines);

    // The file's bytes, as saveProfile writes them.
    const std::string& text() const { return utf16_ ? file_ : text_; }
    // The text the reads see: text() itself, or a UTF-16 file's text in the
    // narrow code page, without its mark.
    const std::string& narrowText() const { return text_; }
    bool isUtf16() const { return utf16_; }

    // The trimmed value of a key exactly as stored (quotes kept), or nothing.
    std::optional<std::string_view> rawValue(std::string_view section, std::string_view key) const;

private:
    // Parts of text_ are kept as offsets, never as views, so that a copied
    // or moved profile stays valid (a short string moves its bytes).
    struct Span {
        size_t pos = 0;
        size_t length = 0;
    };
    struct Line {
        size_t begin = 0;    // offset of the line in text_
        size_t length = 0;   // bytes before its line end (CR LF, LF or CR)
        size_t next = 0;     // offset of the following line
        // The same three in the file's bytes: for a narrow file, the same.
        size_t fileBegin = 0;
        size_t fileLength = 0;
        size_t fileNext = 0;
        enum Kind { Blank, Header, Entry } kind = Blank;
        Span name;           // section or key name, trimmed
        bool hasValue = false;
        Span value;          // after '=', trimmed
    };
    struct Section {
        size_t header = 0;   // line index of "[name]"
        size_t bodyEnd = 0;  // one past its last line
    };
    std::string_view view(Span span) const { return std::string_view(text_).substr(span.pos, span.length); }
    Span spanOf(std::string_view part) const { return Span{static_cast<size_t>(part.data() - text_.data()), part.size()}; }
    void parse();
    void splitNarrow();
    void splitUtf16();
    void classify(Line& line) const;
    void buildIndexes();
    const Section* findSection(std::string_view name) const;
    const Line* findKey(const Section& section, std::string_view key) const;
    // The ending of the file's first line, which new lines take; CR LF in a
    // file without one.
    std::string lineEnding() const;
    bool endsInLineEnd() const;
    // Index of the line after which a new line of `section` goes.
    size_t lastContentLine(const Section& section) const;
    // Edits in the file's bytes: narrow text as the file holds it, the bytes
    // of a key's name as they are, the end of the file's readable text.
    std::string encoded(std::string_view narrow) const;
    std::string fileName(const Line& line) const;
    size_t fileEnd() const;
    void splice(size_t from, size_t to, const std::string& bytes);

    std::string text_;
    bool utf16_ = false;
    std::string file_;  // a UTF-16 file's bytes, mark included; unused for a narrow file
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    NameIndex sectionIndex_;  // over sections_
    NameIndex keyIndex_;      // over lines_: the keys of sections too long to scan
};

}  // namespace velmora
