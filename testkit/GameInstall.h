// Game installs for tests, benchmarks and the demo: CFS1- and CFS2-shaped
// folders (missions, multiplayer.mis, objects_dp with compiled siblings,
// ships with ship.cfg, the configuration file) and the backup tree Velmora
// would make of them, written from a compact description.
//
//     GameInstall install(kCfs2);
//     install.mission("Raid.mis", {{{3, 2, "Tower"}}, {{3}}})
//            .objectDps({"Tower", "Hangar"})
//            .ship("Carrier", {"carrier_hull"});
//     install.writeGame(gameDir);
//     install.writeBackup(appDir);
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/GameTable.h"

namespace velmora::testkit {

struct UnitTypePlan {
    int typeId = 0;
    std::optional<int> allegiance;
    std::string name;
};

struct UnitPlan {
    UnitPlan(int type, std::optional<int> side = std::nullopt) : typeId(type), allegiance(side) {}
    int typeId;
    std::optional<int> allegiance;
};

struct MissionPlan {
    std::vector<UnitTypePlan> types;
    std::vector<UnitPlan> units;
};

// A DP file: its own side in [misc_data], its guns, and filler lines up to
// `size` bytes.
struct DpPlan {
    std::string name;  // base name, without ".dp"
    std::optional<int> allegiance;
    bool compiledSibling = true;  // a .cdp beside it
    size_t size = 0;
};

struct ShipPlan {
    std::string folder;
    std::vector<DpPlan> dps;
    // The "SIM" values of [FLTSIM.0], [FLTSIM.1], ...; the DPs' names when empty.
    std::vector<std::string> sims;
    bool hasShipConfig = true;
};

// The texts the installs are made of.
std::string missionText(const MissionPlan& plan);

class GameInstall {
public:
    explicit GameInstall(GameVersion game);

    GameInstall& mission(const std::string& fileName, const MissionPlan& plan) {
        return missionText(fileName, testkit::missionText(plan));
    }
    GameInstall& missionText(const std::string& fileName, const std::string& text) { missions_[fileName] = text; return *this; }
    // The game's own multiplayer.mis; by default one unit type and one unit.
    GameInstall& sessionMission(const MissionPlan& plan) { return sessionMissionText(testkit::missionText(plan)); }
    GameInstall& sessionMissionText(const std::string& text) { session_ = text; return *this; }
    GameInstall& noSessionMission() { session_.reset(); return *this; }
    GameInstall& objectDp(const DpPlan& dp) { objectDps_.push_back(dp); return *this; }
    GameInstall& objectDps(const std::vector<std::string>& names);
    GameInstall& ship(const ShipPlan& ship) { ships_.push_back(ship); return *this; }
    GameInstall& ship(const std::string& folder, const std::vector<std::string>& dpNames);
    GameInstall& config(const std::string& text) { config_ = text; return *this; }
    // An empty stand-in for the game's executable.
    GameInstall& executable() { executable_ = true; return *this; }

    // Writes the game's files into `gameDir` (made when missing).
    bool writeGame(const std::string& gameDir) const;
    // Writes, under `appDir`, the backup tree a complete first backup of
    // these files makes.
    bool writeBackup(const std::string& appDir) const;

    GameVersion game() const { return game_; }

private:
    GameVersion game_;
    std::map<std::string, std::string> missions_;  // file name -> text
    std::optional<std::string> session_;
    std::vector<DpPlan> objectDps_;
    std::vector<ShipPlan> ships_;
    std::optional<std::string> config_;
    bool executable_ = false;
};

std::string dpText(const DpPlan& dp);
std::string shipConfigText(const std::vector<std::string>& sims);
// idlist.txt: names of unit type ids, per section ("CFS" and "CFS2").
std::string idListText(const std::map<std::string, std::map<int, std::string>>& sections);

// The game's own session mission: one unit type and one unit.
MissionPlan defaultSessionMission();

// Where the games' installers register them, under HKEY_LOCAL_MACHINE.
std::string registryKey(GameVersion game);

}  // namespace velmora::testkit
