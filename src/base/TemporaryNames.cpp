#include "base/TemporaryNames.h"

#include <atomic>

#include "core/FileSearch.h"
#include "platform/Processes.h"

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

// The process id in a temporary file's name; 0 when it is none.
unsigned long writerOf(std::string_view name) {
    const size_t marker = name.rfind(kMarker);
    unsigned long id = 0;
    for (size_t i = marker + kMarker.size(); i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        if (id > (~0ul - 9) / 10) return 0;
        id = id * 10 + static_cast<unsigned long>(name[i] - '0');
    }
    return id;
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
    const unsigned long self = currentProcessId();
    for (DirEntry& entry : entries) {
        if (entry.isDirectory || !isTemporaryName(entry.name)) {
            names.insert(std::move(entry.name));
            continue;
        }
        // Another running program (a second Velmora in another session) may
        // be writing it; this process writes none while it clears.
        const unsigned long writer = writerOf(entry.name);
        if (writer == self || !processMayBeRunning(writer)) files.removeFile(folder + separator + entry.name);
    }
    return names;
}

}  // namespace velmora
