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
    for (const std::string& temporary : temporaries_) files_.discardTemporary(temporary);
}

bool DurableCopies::add(const std::string& target, std::string_view contents) {
    std::string temporary = files_.writeTemporary(target, contents, false);
    if (temporary.empty()) return false;
    temporaries_.push_back(std::move(temporary));
    targets_.push_back(target);
    if (temporaries_.size() >= batchFiles_) placeBatch();
    return true;
}

void DurableCopies::placeBatch() {
    // No copy gets its name before its bytes are on the disk: a power loss
    // must not leave an empty or partial file under a backup's name.
    const bool durable = files_.flushTemporaries(temporaries_);
    for (size_t i = 0; i < temporaries_.size(); ++i) {
        Outcome outcome = Outcome::Failed;
        if (durable && files_.moveTemporaryIntoPlace(temporaries_[i], targets_[i])) outcome = Outcome::Placed;
        if (outcome != Outcome::Placed) {
            files_.discardTemporary(temporaries_[i]);
            // A copy refused only because its target is there is no loss: a
            // second name for the same file, or a name in another letter case.
            if (files_.exists(targets_[i])) outcome = Outcome::AlreadyThere;
        }
        outcomes_.push_back(outcome);
    }
    temporaries_.clear();
    targets_.clear();
}

std::vector<DurableCopies::Outcome> DurableCopies::place() {
    if (!temporaries_.empty()) placeBatch();
    return std::exchange(outcomes_, {});
}

}  // namespace velmora
