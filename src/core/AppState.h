// AppState: the process-wide state every operation works on, and the
// platform services it reaches the world through.
#pragma once

#include <string>

#include "core/GamePaths.h"
#include "core/GameTable.h"
#include "core/SettingsFile.h"
#include "platform/DialogPort.h"
#include "platform/PlatformServices.h"

namespace velmora {

struct AppState {
    GameVersion activeGame = kNoGame;
    unsigned installedGames = 0;  // bit 0 CFS1, bit 1 CFS2
    std::string gameDir;          // the active game's install directory
    std::string appDir;           // the program's directory, also the current directory
    std::string settingsPath;
    DialogPort* mainWindow = nullptr;  // owns every message box; holds the mission list
    bool restoreRequested = false;     // a restore is under way
    // Bit per game (installedBit) whose files a swap of this run changed and
    // no restore has put back since.
    unsigned swappedGames = 0;

    PlatformServices platform;

    FileSystem& files() const { return *platform.files; }
    DialogPort& dialog() const { return *mainWindow; }
    GamePaths paths() const { return GamePaths(activeGame, gameDir, appDir, platform.separator); }
    SettingsFile settings() const { return SettingsFile(*platform.files, settingsPath); }
    // No swapped mission of this run is in force, for either game.
    bool sessionClean() const { return swappedGames == 0; }
    // Whether the active game's folder is known. When it is not, says so in
    // an error box: nothing may be read or written at paths built from "".
    bool requireGameFolder();
};

}  // namespace velmora
