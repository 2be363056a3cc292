// Every path Velmora builds: in the active game's directory and in the backup
// tree under the program's own directory.
//
// Parts are joined with one separator, the platform's unless a test asks for
// the other. The directories come without a trailing separator.
#pragma once

#include <string>
#include <string_view>

#include "core/GameTable.h"

namespace velmora {

class GamePaths {
public:
    GamePaths(GameVersion game, std::string gameDir, std::string appDir, char separator);

    std::string join(std::string_view a, std::string_view b) const;

    // In the game directory.
    std::string missionsFolder() const;
    std::string mission(std::string_view name) const;
    std::string sessionMission() const;
    std::string objectDpFolder() const;
    std::string objectDp(std::string_view fileName) const;
    std::string shipsFolder() const;
    std::string shipFolder(std::string_view ship) const;
    std::string shipConfig(std::string_view ship) const;
    std::string shipDp(std::string_view ship, std::string_view fileName) const;
    std::string gameConfig() const;
    std::string gameExecutable() const;
    // The host tool's program. Where it exists, the host tool may have given
    // the game's own executable its second name: the game then runs as
    // secondExecutable().
    std::string hostToolProgram() const;
    std::string secondExecutable() const;

    // In the backup tree under the program's directory.
    std::string backupRoot() const;
    std::string backupSessionMission() const;
    std::string backupNoSessionMissionRecord() const;
    std::string backupObjectDpFolder() const;
    std::string backupObjectDp(std::string_view fileName) const;
    std::string backupShipsFolder() const;
    std::string backupShipFolder(std::string_view ship) const;
    std::string backupShipDp(std::string_view ship, std::string_view fileName) const;
    // Beside the backup tree: the game files a swap or restore kept before
    // it replaced them, one numbered folder per run.
    std::string keptRoot() const;

    // Beside the program.
    std::string idList() const;
    std::string settingsFile() const;

    GameVersion game() const { return game_; }
    char separator() const { return separator_; }

private:
    GameVersion game_;
    std::string gameDir_;
    std::string appDir_;
    char separator_;
};

// The path of a DP file's compiled sibling: its final "dp" becomes "cdp".
std::string cdpSibling(std::string_view dpPath);
// "Tower" -> "Tower.dp".
std::string dpFileName(std::string_view baseName);

}  // namespace velmora
