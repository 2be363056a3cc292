#include "core/ProfileFile.h"

#include <cstdint>

#include "core/Text.h"

namespace velmora {
namespace {

std::string foldedKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return key;
}

// The value as GetPrivateProfileString hands it out: one pair of matching
// quotes around it removed, then cut to what `size` bytes hold.
std::string copyEntry(std::string_view value, size_t size) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return clipToBuffer(value, size);
}

// The first CR or LF at or after `pos`, npos when none: a line ends at CR LF,
// LF or a CR alone, as Windows splits them. Two searches for one byte each,
// where find_first_of would test every byte against the pair through a call
// of its own: parsing is most of what a swap spends outside the disk.
size_t lineEnd(std::string_view text, size_t pos) {
    const size_t newline = text.find('\n', pos);
    const size_t cr = text.substr(0, newline == std::string_view::npos ? text.size() : newline).find('\r', pos);
    return cr != std::string_view::npos ? cr : newline;
}

std::string_view dropTrailingSpaces(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

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

ProfileFile::ProfileFile(std::string text) : text_(std::move(text)) { parse(); }

ProfileFile ProfileFile::load(FileSystem& files, const std::string& path) {
    std::string text;
    if (!files.readFile(path, text)) return ProfileFile();
    return ProfileFile(std::move(text));
}

void ProfileFile::parse() {
    lines_.clear();
    sections_.clear();
    firstSection_.clear();
    const std::string_view all(text_);
    size_t pos = 0;
    while (pos < all.size()) {
        Line line;
        line.begin = pos;
        const size_t end = lineEnd(all, pos);
        line.length = (end == std::string_view::npos ? all.size() : end) - pos;
        line.next = end == std::string_view::npos ? all.size()
                    : all.compare(end, 2, "\r\n") == 0 ? end + 2
                                                       : end + 1;
        pos = line.next;

        const std::string_view content = trimProfileSpace(all.substr(line.begin, line.length));
        if (content.empty()) {
            lines_.push_back(line);
            continue;
        }
        if (content.front() == '[') {
            const size_t close = content.rfind(']');
            if (close != std::string_view::npos) {
                line.kind = Line::Header;
                line.name = spanOf(trimProfileSpace(content.substr(1, close - 1)));
                lines_.push_back(line);
                continue;
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
        lines_.push_back(line);
    }

    // Lines before the first header belong to no section and are never read.
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Header) continue;
        if (!sections_.empty()) sections_.back().bodyEnd = i;
        sections_.push_back(Section{i, lines_.size()});
        const std::string_view name = view(lines_[i].name);
        if (!name.empty()) firstSection_.emplace(foldedKey(name), sections_.size() - 1);
    }
}

const ProfileFile::Section* ProfileFile::findSection(std::string_view name) const {
    name = trimProfileSpace(name);
    if (name.empty()) return nullptr;
    const auto found = firstSection_.find(foldedKey(name));
    return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

const ProfileFile::Line* ProfileFile::findKey(const Section& section, std::string_view key) const {
    key = trimProfileSpace(key);
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
    const std::string text = getString(section, key, "", 30);
    return text.empty() ? defaultValue : parseProfileInteger(text);
}

std::string ProfileFile::lineEnding() const {
    const size_t end = lineEnd(text_, 0);
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
        text_ += added;
        parse();
        return true;
    }

    if (const Line* line = findKey(*found, key)) {
        if (line->hasValue && view(line->value) == value) return false;
        // The line keeps its own ending.
        std::string replacement(view(line->name));
        replacement.append("=").append(value);
        text_.replace(line->begin, line->length, replacement);
        parse();
        return true;
    }

    const Line& after = lines_[lastContentLine(*found)];
    std::string added;
    size_t at = after.next;
    if (at == text_.size() && !endsInLineEnd()) added += eol;
    added.append(key).append("=").append(value).append(eol);
    text_.insert(at, added);
    parse();
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
        text_ += added;
        parse();
        return true;
    }

    const Line& header = lines_[found->header];
    const Line& last = lines_[lastContentLine(*found)];
    const size_t from = header.next;
    const size_t to = last.next;
    std::string replacement;
    if (from == text_.size() && !endsInLineEnd()) replacement += eol;
    replacement += body;
    if (text_.compare(from, to - from, replacement) == 0) return false;
    text_.replace(from, to - from, replacement);
    parse();
    return true;
}

bool saveProfile(FileSystem& files, const ProfileFile& profile, const std::string& path, Durability durability) {
    return replaceFileContents(files, path, profile.text(), durability);
}

namespace {

// Loads a file for a write. A file that exists but cannot be read is never
// written: rewriting it from an empty profile would lose what it holds.
bool loadForWrite(FileSystem& files, const std::string& path, ProfileFile& profile) {
    std::string text;
    if (!files.readFile(path, text)) {
        if (files.exists(path)) return false;
        text.clear();
    }
    profile = ProfileFile(std::move(text));
    return true;
}

}  // namespace

std::string getProfileString(FileSystem& files, std::string_view section, std::string_view key,
                             std::string_view defaultValue, size_t size, const std::string& path) {
    return ProfileFile::load(files, path).getString(section, key, defaultValue, size);
}

int getProfileInt(FileSystem& files, std::string_view section, std::string_view key, int defaultValue,
                  const std::string& path) {
    return ProfileFile::load(files, path).getInt(section, key, defaultValue);
}

bool writeProfileString(FileSystem& files, std::string_view section, std::string_view key,
                        std::string_view value, const std::string& path) {
    ProfileFile profile;
    if (!loadForWrite(files, path, profile)) return false;
    if (!profile.setString(section, key, value)) return true;
    return saveProfile(files, profile, path);
}

bool writeProfileSection(FileSystem& files, std::string_view section, const std::vector<std::string>& lines,
                         const std::string& path) {
    ProfileFile profile;
    if (!loadForWrite(files, path, profile)) return false;
    if (!profile.setSection(section, lines)) return true;
    return saveProfile(files, profile, path);
}

}  // namespace velmora
