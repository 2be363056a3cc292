#include "core/FileSearch.h"

#include "base/CodePage1252.h"

namespace velmora {
namespace {

bool globMatch(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || foldCase(static_cast<unsigned char>(pattern[p])) ==
                                             foldCase(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == "*.") {
        if (name.find('.') != std::string_view::npos) return false;
        return globMatch(name, pattern.substr(0, pattern.size() - 1));
    }
    return globMatch(name, pattern);
}

std::vector<std::string> findNames(FileSystem& files, const std::string& folder, std::string_view pattern) {
    std::vector<DirEntry> entries;
    std::vector<std::string> names;
    if (!files.listFolder(folder, entries)) return names;
    for (DirEntry& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        if (matchesWildcard(entry.name, pattern)) names.push_back(std::move(entry.name));
    }
    return names;
}

}  // namespace velmora
