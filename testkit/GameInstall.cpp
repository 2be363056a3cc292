#include "testkit/GameInstall.h"

#include <algorithm>

#include "testkit/TempDir.h"

namespace velmora::testkit {
namespace {

const char* const kCrLf = "\r\n";

std::string join(const std::string& a, const std::string& b) { return a + nativePath("/") + b; }

// The games' own names, spelt out here rather than taken from the program's
// table, so that every test checks the table against the games as they are.
const char* configFile(GameVersion game) { return game == kCfs1 ? "combatfs.cfg" : "cfs2.cfg"; }
const char* executableFile(GameVersion game) { return game == kCfs1 ? "combatfs.exe" : "cfs2.exe"; }
const char* backupRootOf(GameVersion game) { return game == kCfs1 ? "bkupcfs1" : "bkupcfs2"; }

std::vector<std::string> simsOf(const ShipPlan& ship) {
    if (!ship.sims.empty()) return ship.sims;
    std::vector<std::string> sims;
    for (const DpPlan& dp : ship.dps) sims.push_back(dp.name);
    return sims;
}

}  // namespace

std::string registryKey(GameVersion game) {
    return std::string("Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator") +
           (game == kCfs1 ? "" : " 2");
}

MissionPlan defaultSessionMission() { return MissionPlan{{{1, 1, "Default Field"}}, {{1, std::nullopt}}}; }

std::string missionText(const MissionPlan& plan) {
    std::string text = "[mission_header]\r\nmission_type=2\r\ntitle=Test mission\r\n\r\n";
    for (size_t i = 0; i < plan.types.size(); ++i) {
        const UnitTypePlan& type = plan.types[i];
        text += "[unit_type." + std::to_string(i) + "]" + kCrLf;
        text += "type_id=" + std::to_string(type.typeId) + kCrLf;
        if (type.allegiance) text += "allegiance=" + std::to_string(*type.allegiance) + kCrLf;
        text += "name=" + type.name + kCrLf + kCrLf;
    }
    for (size_t i = 0; i < plan.units.size(); ++i) {
        const UnitPlan& unit = plan.units[i];
        text += "[unit." + std::to_string(i) + "]" + kCrLf;
        text += "type_id=" + std::to_string(unit.typeId) + kCrLf;
        if (unit.allegiance) text += "allegiance=" + std::to_string(*unit.allegiance) + kCrLf;
        text += "position=" + std::to_string(1000 + i) + ",2000,300" + kCrLf + kCrLf;
    }
    return text;
}

std::string dpText(const DpPlan& dp) {
    std::string text = "[misc_data]\r\nname=" + dp.name + kCrLf;
    if (dp.allegiance) text += "allegiance=" + std::to_string(*dp.allegiance) + kCrLf;
    text += "category=5\r\n\r\n";
    text += "[gunstations]\r\ngunstation.0=0,1,2,0.25,1,0.02,0.02,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6\r\n"
            "gunstation.1=0,1,2,0.25,1,0.02,0.02,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6\r\n\r\n";
    text += "[guns.0]\r\ngun.0=20,1,2,3,4,5,6,7\r\ngun.1=20,1,2,3,4,5,6,7\r\n\r\n";
    text += "[damage_boxes]\r\n";
    for (int i = 0; i < 2 || text.size() < dp.size; ++i)
        text += "box." + std::to_string(i) + "=0.5,1.25,-2.0,3.5,4,5,6,7 ; " + dp.name + kCrLf;
    return text;
}

std::string shipConfigText(const std::vector<std::string>& sims) {
    std::string text = "[General]\r\natc_type=SHIP\r\n\r\n";
    for (size_t i = 0; i < sims.size(); ++i)
        text += "[FLTSIM." + std::to_string(i) + "]\r\ntitle=Ship " + std::to_string(i) + "\r\nSIM=" + sims[i] +
                "\r\n\r\n";
    return text;
}

std::string idListText(const std::map<std::string, std::map<int, std::string>>& sections) {
    std::string text;
    for (const auto& [section, names] : sections) {
        text += "[" + section + "]\r\n";
        for (const auto& [id, name] : names) text += std::to_string(id) + "=" + name + kCrLf;
    }
    return text;
}

GameInstall::GameInstall(GameVersion game) : game_(game), session_(velmora::testkit::missionText(defaultSessionMission())) {}

GameInstall& GameInstall::objectDps(const std::vector<std::string>& names) {
    for (const std::string& name : names) objectDp(DpPlan{name, std::nullopt, true, 0});
    return *this;
}

GameInstall& GameInstall::ship(const std::string& folder, const std::vector<std::string>& dpNames) {
    ShipPlan plan;
    plan.folder = folder;
    for (const std::string& name : dpNames) plan.dps.push_back(DpPlan{name, std::nullopt, true, 0});
    return ship(plan);
}

bool GameInstall::writeGame(const std::string& gameDir) const {
    bool ok = true;
    const std::string missions = join(gameDir, "missions");
    for (const auto& [name, text] : missions_) ok &= writeText(join(missions, name), text);
    if (session_) ok &= writeText(join(gameDir, "multiplayer.mis"), *session_);
    auto writeDp = [&ok](const std::string& folder, const DpPlan& dp) {
        ok &= writeText(join(folder, dp.name + ".dp"), dpText(dp));
        if (dp.compiledSibling) ok &= writeText(join(folder, dp.name + ".cdp"), "compiled " + dp.name);
    };
    for (const DpPlan& dp : objectDps_) writeDp(join(gameDir, "objects_dp"), dp);
    for (const ShipPlan& ship : ships_) {
        const std::string folder = join(join(gameDir, "ships"), ship.folder);
        if (ship.hasShipConfig) ok &= writeText(join(folder, "ship.cfg"), shipConfigText(simsOf(ship)));
        for (const DpPlan& dp : ship.dps) writeDp(folder, dp);
    }
    if (config_) ok &= writeText(join(gameDir, configFile(game_)), *config_);
    if (executable_) ok &= writeText(join(gameDir, executableFile(game_)), "");
    return ok;
}

bool GameInstall::writeBackup(const std::string& appDir) const {
    bool ok = true;
    const std::string root = join(appDir, backupRootOf(game_));
    // Without a session mission of its own, the record that it had none.
    ok &= session_ ? writeText(join(root, "multiplayer.mis"), *session_)
                   : writeText(join(root, "no-multiplayer-mis.txt"), "no multiplayer.mis");
    for (const DpPlan& dp : objectDps_) ok &= writeText(join(join(root, "objects_dp"), dp.name + ".dp"), dpText(dp));
    if (game_ == kCfs2) {
        for (const ShipPlan& ship : ships_) {
            if (!ship.hasShipConfig) continue;
            const std::string folder = join(join(root, "ships"), ship.folder);
            const std::vector<std::string> sims = simsOf(ship);
            for (const DpPlan& dp : ship.dps)
                if (std::find(sims.begin(), sims.end(), dp.name) != sims.end())
                    ok &= writeText(join(folder, dp.name + ".dp"), dpText(dp));
        }
    }
    return ok;
}

}  // namespace velmora::testkit
