#include "swap/RosterMatch.h"

#include <algorithm>

#include "base/CodePage1252.h"

namespace velmora {
namespace {

// The length of a DP file's base name: all but its last three characters
// (".dp"), as the match rules count it.
size_t baseLength(std::string_view fileName) { return fileName.size() >= 3 ? fileName.size() - 3 : 0; }

}  // namespace

bool objectMatch(std::string_view name, std::string_view fileName) {
    const size_t n = std::max(name.size(), baseLength(fileName));
    // Over n characters, where both texts end at the same place they are
    // equal; where only one ends they differ.
    for (size_t i = 0; i < n; ++i) {
        const bool nameEnded = i >= name.size();
        const bool fileEnded = i >= fileName.size();
        if (nameEnded || fileEnded) return nameEnded && fileEnded;
        if (foldCase(static_cast<unsigned char>(name[i])) != foldCase(static_cast<unsigned char>(fileName[i])))
            return false;
    }
    return true;
}

bool shipMatch(std::string_view name, std::string_view fileName) {
    const size_t base = baseLength(fileName);
    return name.size() >= base && equalsIgnoreCase(name.substr(0, base), fileName.substr(0, base));
}

RosterMatcher::RosterMatcher(const UnitRoster& roster) {
    names_.reserve(roster.size());
    for (size_t i = 0; i < roster.size(); ++i) names_.emplace_back(foldedCase(roster[i].name), i);
    std::sort(names_.begin(), names_.end());
}

std::optional<size_t> RosterMatcher::firstObjectMatch(std::string_view fileName) const {
    // A name matches when it is the file name cut anywhere from the end of
    // the base name to the end of the extension: "Tower", "Tower.", "Tower.d"
    // or "Tower.dp".
    const std::string file = foldedCase(fileName);
    std::optional<size_t> first;
    for (size_t length = baseLength(file); length <= file.size(); ++length) {
        const std::string_view name = std::string_view(file).substr(0, length);
        const auto found = std::lower_bound(names_.begin(), names_.end(), name,
                                            [](const auto& entry, std::string_view n) { return entry.first < n; });
        if (found != names_.end() && found->first == name && (!first || found->second < *first))
            first = found->second;
    }
    return first;
}

std::optional<size_t> RosterMatcher::firstShipMatch(std::string_view fileName) const {
    // A name matches when it begins with the base name: those names sort
    // together, right from the base name itself.
    const std::string base = foldedCase(fileName.substr(0, baseLength(fileName)));
    std::optional<size_t> first;
    auto at = std::lower_bound(names_.begin(), names_.end(), base,
                               [](const auto& entry, const std::string& b) { return entry.first < b; });
    for (; at != names_.end() && at->first.compare(0, base.size(), base) == 0; ++at)
        if (!first || at->second < *first) first = at->second;
    return first;
}

}  // namespace velmora
