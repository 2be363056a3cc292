#include "differential/CaseRunner.h"

#include "core/ProfileFile.h"
#include "core/Text.h"
#include "differential/ProfileEngines.h"

namespace velmora::differential {
namespace {

bool isWrite(const Op& op) { return op.kind == Op::WriteString || op.kind == Op::WriteSection; }

void prepare(const Workspace& workspace, bool fileExists, const std::string& file, bool utf16) {
    for (const std::string& path : {workspace.windowsFile, workspace.velmoraFile}) {
        if (fileExists)
            putFile(path, fileBytes(file, utf16));
        else
            removeFile(path);
    }
}

void applyWrite(const Op& write, const Workspace& workspace) {
    Op forWine = write;
    if (write.kind == Op::WriteSection) forWine.section = sectionNameForWine(write.section);
    windowsWrite(forWine, workspace.windowsFile);
    velmoraWrite(write, workspace.velmoraFile);
}

class Comparer {
public:
    Comparer(const Workspace& workspace, std::string hiddenSection, CaseResult& result)
        : workspace_(workspace), hiddenSection_(std::move(hiddenSection)), result_(result) {}

    // Compares Windows reading its own file (or, `ofVelmoraFile`, the file
    // Velmora wrote) with Velmora reading Velmora's. False on a disagreement
    // that nothing documented explains.
    bool compare(const Op& read, bool ofVelmoraFile) {
        ++result_.comparisons;
        const std::string& windowsPath = ofVelmoraFile ? workspace_.velmoraFile : workspace_.windowsFile;
        std::string windows, velmora;
        WineQuirk quirk = WineQuirk::None;
        bool explained = false;
        if (read.kind == Op::ReadInt) {
            const int w = windowsReadInt(read, windowsPath);
            const int v = velmoraReadInt(read, workspace_.velmoraFile);
            if (w == v) return true;
            explained = wineIntRead(storedValue(read), read.intDefault, quirk) == w;
            windows = std::to_string(w);
            velmora = std::to_string(v);
        } else {
            const StringRead w = windowsReadString(read, windowsPath);
            const StringRead v = velmoraReadString(read, workspace_.velmoraFile);
            if (w == v) return true;
            const WineRead model = wineStringRead(storedValue(read), read.text, read.size);
            quirk = model.quirk;
            explained = model.text == w.text && w.count == static_cast<long>(w.text.size());
            windows = quoted(w.text) + " (" + std::to_string(w.count) + ")";
            velmora = quoted(v.text) + " (" + std::to_string(v.count) + ")";
        }
        if (!hiddenSection_.empty() && equalsIgnoreCase(trimProfileSpace(read.section), hiddenSection_)) {
            ++result_.skipped;
            return true;
        }
        if (explained && quirk != WineQuirk::None) {
            ++result_.explained[static_cast<size_t>(quirk)];
            return true;
        }
        result_.mismatch = Mismatch{read, ofVelmoraFile, windows, velmora};
        return false;
    }

private:
    // The value as Velmora's file stores it, which Wine's quirks are applied to.
    std::optional<std::string> storedValue(const Op& read) const {
        const ProfileFile profile = ProfileFile::load(platformFileSystem(), workspace_.velmoraFile);
        const auto value = profile.rawValue(read.section, read.key);
        return value ? std::optional<std::string>(*value) : std::nullopt;
    }

    const Workspace& workspace_;
    std::string hiddenSection_;
    CaseResult& result_;
};

// Runs `writes` from the given file, then the one read that disagreed.
std::optional<Mismatch> replay(bool fileExists, bool utf16, const std::string& file, const std::vector<Op>& writes,
                               const Mismatch& check, const Workspace& workspace) {
    prepare(workspace, fileExists, file, utf16);
    for (const Op& write : writes) applyWrite(write, workspace);
    CaseResult result;
    Comparer comparer(workspace, sectionBehindByteOrderMark(file), result);
    comparer.compare(check.read, check.ofVelmoraFile);
    return result.mismatch;
}

std::vector<std::string> splitKeepingEndings(const std::string& text) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') end += 2;
        else ++end;
        lines.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return lines;
}

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

}  // namespace

CaseResult runCase(const Case& profileCase, const Workspace& workspace) {
    CaseResult result;
    prepare(workspace, profileCase.fileExists, profileCase.file, profileCase.utf16);
    Comparer comparer(workspace, sectionBehindByteOrderMark(profileCase.file), result);
    for (size_t i = 0; i < profileCase.ops.size(); ++i) {
        const Op& op = profileCase.ops[i];
        if (!isWrite(op)) {
            if (!comparer.compare(op, false)) return result;
            continue;
        }
        applyWrite(op, workspace);
        for (const Op& read : profileCase.readBacks[i])
            if (!comparer.compare(read, false) || !comparer.compare(read, true)) return result;
    }
    for (const Op& read : profileCase.finalReads)
        if (!comparer.compare(read, false) || !comparer.compare(read, true)) return result;
    return result;
}

Reproduction minimise(const Case& profileCase, const Mismatch& first, const Workspace& workspace) {
    Reproduction best;
    best.fileExists = profileCase.fileExists;
    best.utf16 = profileCase.utf16;
    best.file = profileCase.file;
    best.mismatch = first;
    // Reads change nothing: the writes before the disagreement are all that
    // can matter. Find where it first showed.
    for (size_t i = 0; i <= profileCase.ops.size(); ++i) {
        if (replay(best.fileExists, best.utf16, best.file, best.writes, first, workspace)) break;
        if (i == profileCase.ops.size()) break;
        if (isWrite(profileCase.ops[i])) best.writes.push_back(profileCase.ops[i]);
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < best.writes.size(); ++i) {
            std::vector<Op> fewer = best.writes;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
            if (auto found = replay(best.fileExists, best.utf16, best.file, fewer, first, workspace)) {
                best.writes = fewer;
                best.mismatch = *found;
                changed = true;
                --i;
            }
        }
        for (size_t w = 0; w < best.writes.size(); ++w) {
            for (size_t i = 0; i < best.writes[w].lines.size(); ++i) {
                std::vector<Op> fewer = best.writes;
                fewer[w].lines.erase(fewer[w].lines.begin() + static_cast<std::ptrdiff_t>(i));
                if (auto found = replay(best.fileExists, best.utf16, best.file, fewer, first, workspace)) {
                    best.writes = fewer;
                    best.mismatch = *found;
                    changed = true;
                    --i;
                }
            }
        }
        std::vector<std::string> lines = splitKeepingEndings(best.file);
        for (size_t i = 0; i < lines.size(); ++i) {
            std::vector<std::string> fewer = lines;
            fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
            if (auto found = replay(best.fileExists, best.utf16, join(fewer), best.writes, first, workspace)) {
                lines = fewer;
                best.file = join(fewer);
                best.mismatch = *found;
                changed = true;
                --i;
            }
        }
    }
    if (auto found = replay(best.fileExists, best.utf16, best.file, best.writes, first, workspace)) best.mismatch = *found;
    best.windowsFileAfter = fileContents(workspace.windowsFile);
    best.velmoraFileAfter = fileContents(workspace.velmoraFile);
    return best;
}

namespace {

// A file as a report shows it: a UTF-16 one as its text, marked as such.
std::string shown(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFF\xFE") != 0) return quoted(bytes);
    return "UTF-16LE " + quoted(ProfileFile(bytes).narrowText());
}

}  // namespace

std::string describe(const Reproduction& reproduction) {
    std::string text;
    text += "    file:     " +
            (reproduction.fileExists ? shown(fileBytes(reproduction.file, reproduction.utf16)) : std::string("(none)")) +
            "\n";
    for (const Op& write : reproduction.writes) text += "    write:    " + describe(write) + "\n";
    text += "    read:     " + describe(reproduction.mismatch.read) +
            (reproduction.mismatch.ofVelmoraFile ? " of the file Velmora wrote\n" : "\n");
    text += "    Windows:  " + reproduction.mismatch.windows + "\n";
    text += "    Velmora:  " + reproduction.mismatch.velmora + "\n";
    text += "    file Windows wrote: " + shown(reproduction.windowsFileAfter) + "\n";
    text += "    file Velmora wrote: " + shown(reproduction.velmoraFileAfter) + "\n";
    return text;
}

}  // namespace velmora::differential
