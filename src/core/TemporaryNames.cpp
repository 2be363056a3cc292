#include "core/TemporaryNames.h"

#include <atomic>

#include "core/FileSearch.h"

namespace velmora {

namespace {
constexpr std::string_view kMarker = ".vlmr-";
constexpr std::string_view kSuffix = ".tmp";
}  // namespace

std::string temporaryNameFor(const std::string& target, unsigned long processId) {
    static std::atomic<unsigned> counter{0};
    std::string name = target;
    name.append(kMarker).append(std::to_string(processId)).append("-").append(std::to_string(counter++));
    name.append(kSuffix);
    return name;
}

bool isTemporaryName(std::string_view name) {
    const size_t marker = name.rfind(kMarker);
    if (marker == std::string_view::npos || name.size() < kSuffix.size() ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
        return false;
    // Between the marker and the suffix: the process id, a dash, the counter.
    const std::string_view middle = name.substr(marker + kMarker.size(),
                                                name.size() - kSuffix.size() - marker - kMarker.size());
    const size_t dash = middle.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == middle.size()) return false;
    for (size_t i = 0; i < middle.size(); ++i)
        if (i != dash && (middle[i] < '0' || middle[i] > '9')) return false;
    return true;
}

std::unordered_set<std::string> removeLeftoverTemporaries(FileSystem& files, const std::string& folder,
                                                          char separator) {
    std::unordered_set<std::string> names;
    std::vector<DirEntry> entries;
    if (!files.listFolder(folder, entries)) return names;
    for (DirEntry& entry : entries) {
        if (!entry.isDirectory && isTemporaryName(entry.name))
            files.removeFile(folder + separator + entry.name);
        else
            names.insert(std::move(entry.name));
    }
    return names;
}

}  // namespace velmora
