#include "core/AtomicFile.h"

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

bool replaceFileContentsIfChanged(FileSystem& files, const std::string& path, std::string_view contents,
                                  Durability durability) {
    std::string current;
    if (files.readFile(path, current) && current == contents) return true;
    if (files.isReadOnly(path)) return false;
    return commitReplacing(files, files.writeTemporary(path, contents, durability == Durability::Flushed), path);
}

bool copyReplacing(FileSystem& files, const std::string& source, const std::string& target,
                   Durability durability) {
    if (files.isReadOnly(target)) return false;
    return commitReplacing(files, files.copyToTemporary(source, target, durability == Durability::Flushed),
                           target);
}

bool copyWithoutReplacing(FileSystem& files, const std::string& source, const std::string& target,
                          Durability durability) {
    // Checked first so that a file already backed up costs no copy; the move
    // below refuses an existing target all the same.
    if (files.exists(target)) return false;
    const std::string temporary =
        files.copyToTemporary(source, target, durability == Durability::Flushed);
    if (temporary.empty()) return false;
    if (files.moveTemporaryIntoPlace(temporary, target)) return true;
    files.discardTemporary(temporary);
    return false;
}

DurableCopies::~DurableCopies() {
    for (const std::string& temporary : temporaries_) files_.discardTemporary(temporary);
}

bool DurableCopies::add(const std::string& source, const std::string& target) {
    if (files_.exists(target)) return false;
    std::string temporary = files_.copyToTemporary(source, target, false);
    if (temporary.empty()) return false;
    temporaries_.push_back(std::move(temporary));
    targets_.push_back(target);
    return true;
}

std::vector<bool> DurableCopies::place() {
    std::vector<bool> placed(temporaries_.size(), false);
    // No copy gets its name before its bytes are on the disk: a power loss
    // must not leave an empty or partial file under a backup's name.
    const bool durable = !temporaries_.empty() && files_.flushTemporaries(temporaries_);
    for (size_t i = 0; i < temporaries_.size(); ++i) {
        placed[i] = durable && files_.moveTemporaryIntoPlace(temporaries_[i], targets_[i]);
        if (!placed[i]) files_.discardTemporary(temporaries_[i]);
    }
    temporaries_.clear();
    targets_.clear();
    return placed;
}

}  // namespace velmora
