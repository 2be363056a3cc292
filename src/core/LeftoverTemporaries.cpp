#include "core/LeftoverTemporaries.h"

#include "base/TemporaryNames.h"
#include "platform/Processes.h"

namespace velmora {

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
        const unsigned long writer = temporaryWriter(entry.name);
        if (writer == self || !processMayBeRunning(writer)) files.removeFile(folder + separator + entry.name);
    }
    return names;
}

}  // namespace velmora
