// Game DPs that something other than Velmora changed: an add-on, a patch, the
// player. Before a swap or restore replaces one, its bytes are kept in a
// folder of Velmora's own beside the backup tree, so that nothing another
// program put into the game is lost. The backup stays the reference.
//
// A game DP counts as changed when it differs from its backup copy and does
// not carry the rewrite's own comment line (Velmora's own rewrite). Each run
// that keeps anything gets a new numbered folder, the game's relative path
// kept under it, so no kept file is ever overwritten.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/GamePaths.h"
#include "platform/Files.h"

namespace velmora {

class KeptFiles {
public:
    KeptFiles(FileSystem& files, GamePaths paths, std::string gameDir)
        : files_(files), paths_(std::move(paths)), gameDir_(std::move(gameDir)) {}

    // Replaces the game's DP `target` with `contents`, where `original` is
    // its backup copy. A DP that already holds `contents` is not written; one
    // that someone else changed is kept first. False, leaving `target` as it
    // is, when it cannot be written, or cannot be read or kept although it is
    // there.
    bool replace(const std::string& target, std::string_view contents, std::string_view original);

    // What the outcome box says of the files kept; "" when none was.
    std::string note() const;

private:
    bool keep(const std::string& target, std::string_view bytes);
    bool makeRunFolder();

    FileSystem& files_;
    GamePaths paths_;
    std::string gameDir_;
    std::string folder_;                        // this run's, once something is kept
    std::vector<std::string> names_;            // relative to the game directory
    std::unordered_set<std::string> keptPaths_;  // kept already in this run
};

}  // namespace velmora
