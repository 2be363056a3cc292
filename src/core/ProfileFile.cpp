#include "core/ProfileFile.h"

#include <cstdint>

#include "base/CodePage1252.h"
#include "core/Text.h"
#include "platform/CodePage.h"

namespace velmora {
namespace {

// A section of more lines than this finds its keys through the index; a
// shorter one is scanned, which costs less than hashing the name.
constexpr size_t kScannedLines = 12;

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The value as GetPrivateProfileString hands it out: one pair of matching
// quotes around it removed, then cut to what `size` bytes hold.
std::string copyEntry(std::string_view value, size_t size) { return clipToBuffer(unquoted(value), size); }

// Line ends as Windows splits them: CR LF, LF or a CR alone. The next LF is
// looked for once and kept until the lines pass it: searching for it again
// from every line start would scan to the end of a file of CRs alone for
// each of its lines. Two searches for one byte each, where find_first_of
// would test every byte against the pair through a call of its own:
// parsing is most of what a swap spends outside the disk.
class LineEnds {
public:
    explicit LineEnds(std::string_view text) : text_(text) {}
    // The first CR or LF at or after `pos`, npos when none.
    size_t after(size_t pos) {
        if (!searched_ || (newline_ != std::string_view::npos && newline_ < pos)) {
            newline_ = text_.find('\n', pos);
            searched_ = true;
        }
        const size_t limit = newline_ == std::string_view::npos ? text_.size() : newline_;
        const size_t cr = text_.substr(0, limit).find('\r', pos);
        return cr != std::string_view::npos ? cr : newline_;
    }

private:
    std::string_view text_;
    size_t newline_ = std::string_view::npos;
    bool searched_ = false;
};

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

char16_t unitAt(std::string_view bytes, size_t at) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                 static_cast<unsigned char>(bytes[at + 1]) << 8);
}

bool isSpaceUnit(char16_t unit) { return unit < 0x80 && isProfileSpace(static_cast<char>(unit)); }

std::string_view dropTrailingSpaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// RtlUnicodeStringToInteger with base 0, which GetPrivateProfileInt uses:
// 32-bit arithmetic that wraps, as the system's does, and only the
// lower-case prefixes Microsoft documents for it.
int parseProfileInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        const char p = text[i + 1];
        if (p == 'x') base = 16;
        if (p == 'o') base = 8;
        if (p == 'b') base = 2;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'z') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z') digit = static_cast<unsigned>(c - 'A' + 10);
        else break;
        if (digit >= base) break;
        total = total * base + digit;
    }
    if (negative) total = 0u - total;
    return static_cast<int>(total);
}

}  // namespace

ProfileFile::ProfileFile(std::string bytes) {
    if (std::string_view(bytes).substr(0, kUtf16Mark.size()) == kUtf16Mark) {
        utf16_ = true;
        file_ = std::move(bytes);
    } else {
        text_ = std::move(bytes);
    }
    parse();
}

ProfileFile ProfileFile::load(FileSystem& files, const std::string& path) {
    std::string text;
    if (!files.readFile(path, text)) return ProfileFile();
    return ProfileFile(std::move(text));
}

void ProfileFile::splitNarrow() {
    const std::string_view all(text_);
    LineEnds ends(all);
    for (size_t pos = 0; pos < all.size();) {
        Line line;
        line.begin = pos;
        const size_t end = ends.after(pos);
        line.length = (end == std::string_view::npos ? all.size() : end) - pos;
        line.next = end == std::string_view::npos ? all.size()
                    : all.compare(end, 2, "\r\n") == 0 ? end + 2
                                                       : end + 1;
        line.fileBegin = line.begin;
        line.fileLength = line.length;
        line.fileNext = line.next;
        pos = line.next;
        lines_.push_back(line);
    }
}

// Each line's code units become its narrow text, one line at a time, so
// that every line knows where it is in both. An odd last byte is no code
// unit and no text: it stays where it is, after everything a write adds.
void ProfileFile::splitUtf16() {
    text_.clear();
    const std::string_view bytes(file_);
    const size_t end = fileEnd();
    std::u16string units;
    for (size_t pos = kUtf16Mark.size(); pos < end;) {
        Line line;
        line.fileBegin = pos;
        size_t at = pos;
        units.clear();
        while (at < end && unitAt(bytes, at) != u'\r' && unitAt(bytes, at) != u'\n') {
            units += unitAt(bytes, at);
            at += 2;
        }
        line.fileLength = at - pos;
        line.begin = text_.size();
        appendNarrow(units, text_);
        line.length = text_.size() - line.begin;
        if (at < end) {
            const bool crlf = unitAt(bytes, at) == u'\r' && at + 2 < end && unitAt(bytes, at + 2) == u'\n';
            text_ += crlf ? "\r\n" : unitAt(bytes, at) == u'\r' ? "\r" : "\n";
            at += crlf ? 4 : 2;
        }
        line.next = text_.size();
        line.fileNext = at;
        pos = at;
        lines_.push_back(line);
    }
}

void ProfileFile::classify(Line& line) const {
    const std::string_view content = trimProfileSpace(std::string_view(text_).substr(line.begin, line.length));
    if (content.empty()) return;
    if (content.front() == '[') {
        const size_t close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = Line::Header;
            line.name = spanOf(trimProfileSpace(content.substr(1, close - 1)));
            return;
        }
    }
    line.kind = Line::Entry;
    const size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
        line.name = spanOf(content);
    } else {
        line.name = spanOf(trimProfileSpace(content.substr(0, equals)));
        line.hasValue = true;
        line.value = spanOf(trimProfileSpace(content.substr(equals + 1)));
    }
}

void ProfileFile::buildIndexes() {
    sectionIndex_.reset(sections_.size());
    size_t indexedKeys = 0;
    for (const Section& section : sections_)
        if (section.bodyEnd - section.header > kScannedLines) indexedKeys += section.bodyEnd - section.header;
    keyIndex_.reset(indexedKeys);

    const auto sectionName = [&](size_t s) { return view(lines_[sections_[s].header].name); };
    const auto keyName = [&](size_t i) { return view(lines_[i].name); };
    for (size_t s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        const std::string_view name = sectionName(s);
        if (!name.empty()) sectionIndex_.addFirst(name, 0, s, sectionName);
        if (section.bodyEnd - section.header <= kScannedLines) continue;
        for (size_t i = section.header + 1; i < section.bodyEnd; ++i)
            if (lines_[i].kind == Line::Entry)
                keyIndex_.addFirst(keyName(i), static_cast<uint32_t>(s + 1), i, keyName);
    }
}

void ProfileFile::parse() {
    lines_.clear();
    sections_.clear();
    if (utf16_)
        splitUtf16();
    else
        splitNarrow();
    for (Line& line : lines_) classify(line);

    // Lines before the first header belong to no section and are never read.
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Header) continue;
        if (!sections_.empty()) sections_.back().bodyEnd = i;
        sections_.push_back(Section{i, lines_.size()});
    }
    buildIndexes();
}

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const {
    name = trimProfileSpace(name);
    if (name.empty()) return nullptr;
    const auto found =
        sectionIndex_.find(name, 0, [&](size_t s) { return view(lines_[sections_[s].header].name); });
    return found ? &sections_[*found] : nullptr;
}

const ProfileFile::Line* ProfileFile::findKey(const Section& section, std::string_view key) const {
    key = trimProfileSpace(key);
    if (section.bodyEnd - section.header > kScannedLines) {
        const auto s = static_cast<uint32_t>(&section - sections_.data() + 1);
        const auto found = keyIndex_.find(key, s, [&](size_t i) { return view(lines_[i].name); });
        return found ? &lines_[*found] : nullptr;
    }
    for (size_t i = section.header + 1; i < section.bodyEnd; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Line::Entry && equalsIgnoreCase(view(line.name), key)) return &line;
    }
    return nullptr;
}

std::optional<std::string_view> ProfileFile::rawValue(std::string_view section, std::string_view key) const {
    if (trimProfileSpace(key).empty()) return std::nullopt;
    const Section* found = findSection(section);
    if (!found) return std::nullopt;
    const Line* line = findKey(*found, key);
    if (!line || !line->hasValue) return std::nullopt;
    return view(line->value);
}

std::string ProfileFile::getString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                   size_t size) const {
    if (const auto value = rawValue(section, key)) return copyEntry(*value, size);
    return copyEntry(dropTrailingSpaces(defaultValue), size);
}

int ProfileFile::getInt(std::string_view section, std::string_view key, int defaultValue) const {
    // The system reads the value into a buffer of 30 characters first.
    const auto value = rawValue(section, key);
    const std::string_view text = value ? unquoted(*value).substr(0, 29) : std::string_view();
    return text.empty() ? defaultValue : parseProfileInteger(text);
}

std::string ProfileFile::lineEnding() const {
    const size_t end = LineEnds(text_).after(0);
    if (end == std::string::npos || text_.compare(end, 2, "\r\n") == 0) return "\r\n";
    return std::string(1, text_[end]);
}

bool ProfileFile::endsInLineEnd() const {
    return !text_.empty() && (text_.back() == '\n' || text_.back() == '\r');
}

size_t ProfileFile::lastContentLine(const Section& section) const {
    size_t last = section.header;
    for (size_t i = section.header + 1; i < section.bodyEnd; ++i)
        if (lines_[i].kind != Line::Blank) last = i;
    return last;
}

std::string ProfileFile::encoded(std::string_view narrow) const {
    if (!utf16_) return std::string(narrow);
    std::u16string units;
    appendUtf16(narrow, units);
    std::string bytes;
    bytes.reserve(2 * units.size());
    for (const char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// A UTF-16 name keeps its own units: its narrow form may hold '?' for
// characters the code page lacks.
std::string ProfileFile::fileName(const Line& line) const {
    if (!utf16_) return std::string(view(line.name));
    const std::string_view bytes = std::string_view(file_).substr(line.fileBegin, line.fileLength);
    size_t begin = 0, end = 0;
    while (begin < bytes.size() && isSpaceUnit(unitAt(bytes, begin))) begin += 2;
    for (end = begin; end < bytes.size() && unitAt(bytes, end) != u'='; end += 2) {}
    while (end > begin && isSpaceUnit(unitAt(bytes, end - 2))) end -= 2;
    return std::string(bytes.substr(begin, end - begin));
}

size_t ProfileFile::fileEnd() const {
    if (!utf16_) return text_.size();
    return kUtf16Mark.size() + ((file_.size() - kUtf16Mark.size()) & ~size_t{1});
}

void ProfileFile::splice(size_t from, size_t to, const std::string& bytes) {
    (utf16_ ? file_ : text_).replace(from, to - from, bytes);
    parse();
}

bool ProfileFile::setString(std::string_view section, std::string_view key, std::string_view value) {
    section = trimProfileSpace(section);
    key = trimProfileSpace(key);
    while (!value.empty() && isProfileSpace(value.front())) value.remove_prefix(1);
    const std::string eol = lineEnding();

    const Section* found = findSection(section);
    if (!found) {
        std::string added;
        if (!text_.empty() && !endsInLineEnd()) added += eol;
        added.append("[").append(section).append("]").append(eol);
        added.append(key).append("=").append(value).append(eol);
        splice(fileEnd(), fileEnd(), encoded(added));
        return true;
    }

    if (const Line* line = findKey(*found, key)) {
        if (line->hasValue && view(line->value) == value) return false;
        // The line keeps its own ending.
        const std::string replacement = fileName(*line) + encoded("=" + std::string(value));
        splice(line->fileBegin, line->fileBegin + line->fileLength, replacement);
        return true;
    }

    const Line& after = lines_[lastContentLine(*found)];
    std::string added;
    if (after.next == text_.size() && !endsInLineEnd()) added += eol;
    added.append(key).append("=").append(value).append(eol);
    splice(after.fileNext, after.fileNext, encoded(added));
    return true;
}

bool ProfileFile::setSection(std::string_view section, const std::vector<std::string>& lines) {
    section = trimProfileSpace(section);
    const std::string eol = lineEnding();
    std::string body;
    for (const std::string& line : lines) {
        if (line.empty()) break;  // the list ends at its first empty line
        body.append(line).append(eol);
    }

    const Section* found = findSection(section);
    if (!found) {
        std::string added;
        if (!text_.empty() && !endsInLineEnd()) added += eol;
        added.append("[").append(section).append("]").append(eol).append(body);
        splice(fileEnd(), fileEnd(), encoded(added));
        return true;
    }

    const Line& header = lines_[found->header];
    const Line& last = lines_[lastContentLine(*found)];
    const size_t from = header.fileNext;
    const size_t to = last.fileNext;
    std::string replacement;
    if (header.next == text_.size() && !endsInLineEnd()) replacement += eol;
    replacement = encoded(replacement + body);
    if (text().compare(from, to - from, replacement) == 0) return false;
    splice(from, to, replacement);
    return true;
}

}  // namespace velmora
