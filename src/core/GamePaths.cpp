#include "core/GamePaths.h"

#include <utility>

namespace velmora {

GamePaths::GamePaths(GameVersion game, std::string gameDir, std::string appDir, char separator)
    : game_(game), gameDir_(std::move(gameDir)), appDir_(std::move(appDir)), separator_(separator) {}

std::string GamePaths::join(std::string_view a, std::string_view b) const {
    std::string path;
    path.reserve(a.size() + 1 + b.size());
    path.append(a);
    path.push_back(separator_);
    path.append(b);
    return path;
}

std::string GamePaths::missionsFolder() const { return join(gameDir_, kMissionsFolder); }
std::string GamePaths::mission(std::string_view name) const { return join(missionsFolder(), name); }
std::string GamePaths::sessionMission() const { return join(gameDir_, kSessionMission); }
std::string GamePaths::objectDpFolder() const { return join(gameDir_, kObjectDpFolder); }
std::string GamePaths::objectDp(std::string_view fileName) const { return join(objectDpFolder(), fileName); }
std::string GamePaths::shipsFolder() const { return join(gameDir_, kShipsFolder); }
std::string GamePaths::shipFolder(std::string_view ship) const { return join(shipsFolder(), ship); }
std::string GamePaths::shipConfig(std::string_view ship) const { return join(shipFolder(ship), kShipConfig); }
std::string GamePaths::shipDp(std::string_view ship, std::string_view fileName) const {
    return join(shipFolder(ship), fileName);
}
std::string GamePaths::gameConfig() const { return join(gameDir_, gameProfile(game_).configFile); }
std::string GamePaths::gameExecutable() const { return join(gameDir_, gameProfile(game_).executable); }
std::string GamePaths::hostToolProgram() const { return join(join(gameDir_, kHostToolFolder), kHostToolProgram); }
std::string GamePaths::secondExecutable() const { return join(gameDir_, gameProfile(game_).secondExecutable); }

std::string GamePaths::backupRoot() const { return join(appDir_, gameProfile(game_).backupRoot); }
std::string GamePaths::backupSessionMission() const { return join(backupRoot(), kSessionMission); }
std::string GamePaths::backupNoSessionMissionRecord() const { return join(backupRoot(), kNoSessionMissionRecord); }
std::string GamePaths::backupObjectDpFolder() const { return join(backupRoot(), kObjectDpFolder); }
std::string GamePaths::backupObjectDp(std::string_view fileName) const {
    return join(backupObjectDpFolder(), fileName);
}
std::string GamePaths::backupShipsFolder() const { return join(backupRoot(), kShipsFolder); }
std::string GamePaths::backupShipFolder(std::string_view ship) const { return join(backupShipsFolder(), ship); }
std::string GamePaths::backupShipDp(std::string_view ship, std::string_view fileName) const {
    return join(backupShipFolder(ship), fileName);
}
std::string GamePaths::keptRoot() const { return join(appDir_, gameProfile(game_).keptRoot); }

std::string GamePaths::idList() const { return join(appDir_, kIdList); }
std::string GamePaths::settingsFile() const { return join(appDir_, kSettingsFileName); }

std::string cdpSibling(std::string_view dpPath) {
    // Only the last two characters are replaced, whatever their case, as the
    // game names the compiled file after the text one.
    std::string path(dpPath.substr(0, dpPath.size() >= 2 ? dpPath.size() - 2 : 0));
    path += "cdp";
    return path;
}

std::string dpFileName(std::string_view baseName) {
    std::string name(baseName);
    name += ".dp";
    return name;
}

}  // namespace velmora
