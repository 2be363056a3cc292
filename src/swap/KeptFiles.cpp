#include "swap/KeptFiles.h"

#include <cstdlib>

#include "core/AtomicFile.h"
#include "core/GameDataFiles.h"
#include "core/Text.h"

namespace velmora {

bool KeptFiles::replace(const std::string& target, std::string_view contents, std::string_view original) {
    // Most DPs a swap puts back hold their bytes already: reading costs far
    // less than writing, and the same read tells whether someone changed it.
    std::string current;
    if (files_.readFile(target, current)) {
        if (current == contents) return true;
        if (current != original && !isRewrittenDp(current) && !keep(target, current)) return false;
    } else if (files_.exists(target)) {
        return false;  // what it holds cannot be known, so it cannot be kept
    }
    return replaceFileContents(files_, target, contents, Durability::Buffered);
}

bool KeptFiles::keep(const std::string& target, std::string_view bytes) {
    // A second attempt at the same file (made writable meanwhile) keeps nothing new.
    if (keptPaths_.contains(target)) return true;
    if (folder_.empty() && !makeRunFolder()) return false;
    const std::string relative = target.substr(gameDir_.size() + 1);
    std::string path = folder_;
    for (size_t from = 0, at; (at = relative.find(paths_.separator(), from)) != std::string::npos; from = at + 1) {
        path = paths_.join(path, std::string_view(relative).substr(from, at - from));
        if (files_.makeDirectory(path) == MakeDirResult::Failed) return false;
    }
    path = paths_.join(folder_, relative);
    // The kept copy may be the only one left of the file: on the disk
    // before the game's is replaced, and never over anything.
    const std::string temporary = files_.writeTemporary(path, bytes, true);
    if (temporary.empty()) return false;
    if (!files_.moveTemporaryIntoPlace(temporary, path)) {
        files_.discardTemporary(temporary);
        return false;
    }
    keptPaths_.insert(target);
    names_.push_back(relative);
    return true;
}

bool KeptFiles::makeRunFolder() {
    const std::string root = paths_.keptRoot();
    if (files_.makeDirectory(root) == MakeDirResult::Failed) return false;
    // The next number after the highest there; a folder made meanwhile by
    // another Velmora is passed over.
    long next = 1;
    std::vector<DirEntry> entries;
    files_.listFolder(root, entries);
    for (const DirEntry& entry : entries) {
        char* end = nullptr;
        const long number = std::strtol(entry.name.c_str(), &end, 10);
        if (!entry.name.empty() && *end == '\0' && number >= next) next = number + 1;
    }
    for (int attempt = 0; attempt < 100; ++attempt, ++next) {
        const std::string folder = paths_.join(root, decimal(next));
        const MakeDirResult made = files_.makeDirectory(folder);
        if (made == MakeDirResult::Created) {
            folder_ = folder;
            return true;
        }
        if (made == MakeDirResult::Failed) return false;
    }
    return false;
}

std::string KeptFiles::note() const {
    if (names_.empty()) return "";
    const bool one = names_.size() == 1;
    return "Another program had changed " + decimal(static_cast<long long>(names_.size())) +
           (one ? " DP file:\n" : " DP files:\n") + firstNamesThenMore(names_) + "Velmora kept " +
           (one ? "a copy of it" : "copies of them") + " in\n" + folder_ + "\nbefore replacing " +
           (one ? "it." : "them.");
}

}  // namespace velmora
