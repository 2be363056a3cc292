#include "core/AtomicFile.h"

#include <utility>

namespace velmora {
namespace {

bool commitReplacing(FileSystem& files, const std::string& temporary, const std::string& target) {
    if (temporary.empty()) return false;
    if (files.replaceWithTemporary(temporary, target)) return true;
    files.discardTemporary(temporary);
    return false;
}

}  // namespace

bool replaceFileContents(FileSystem& files, const std::string& path, std::string_view contents,
                         Durability durability) {
    // A read-only file is refused before anything is written beside it.
    if (files.isReadOnly(path)) return false;
    return commitReplacing(files, files.writeTemporary(path, contents, durability == Durability::Flushed), path);
}

bool copyReplacing(FileSystem& files, const std::string& source, const std::string& target,
                   Durability durability) {
    if (files.isReadOnly(target)) return false;
    return commitReplacing(files, files.copyToTemporary(source, target, durability == Durability::Flushed),
                           target);
}

DurableCopies::~DurableCopies() {
    worker_.wait();
    for (const std::string& temporary : staged_.temporaries) files_.discardTemporary(temporary);
}

bool DurableCopies::add(const std::string& source, const std::string& target) {
    std::string temporary = files_.copyToTemporary(source, target, false);
    if (temporary.empty()) return false;
    staged_.temporaries.push_back(std::move(temporary));
    staged_.targets.push_back(target);
    if (staged_.temporaries.size() >= kBatchFiles) handOver();
    return true;
}

void DurableCopies::handOver() {
    worker_.post([this, batch = std::exchange(staged_, {})] {
        // No copy gets its name before its bytes are on the disk: a power
        // loss must not leave an empty or partial file under a backup's name.
        const bool durable = files_.flushTemporaries(batch.temporaries);
        for (size_t i = 0; i < batch.temporaries.size(); ++i) {
            const bool placed = durable && files_.moveTemporaryIntoPlace(batch.temporaries[i], batch.targets[i]);
            if (!placed) files_.discardTemporary(batch.temporaries[i]);
            placed_.push_back(placed);
        }
    });
}

std::vector<bool> DurableCopies::place() {
    if (!staged_.temporaries.empty()) handOver();
    worker_.wait();
    return std::exchange(placed_, {});
}

}  // namespace velmora
