// The game table, the path builders on both separators and the settings keys.
#include "core/GamePaths.h"

#include <gtest/gtest.h>

#include "core/GameInstall.h"
#include "core/SettingsFile.h"

namespace velmora {
namespace {

TEST(GameTableRows, HoldTheGamesConstants) {
    EXPECT_STREQ(GameTable[kCfs1].registryKey,
                 "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator");
    EXPECT_STREQ(GameTable[kCfs2].registryKey,
                 "Software\\Microsoft\\DirectPlay\\Applications\\Combat Flight Simulator 2");
    EXPECT_STREQ(GameTable[kCfs1].executable, "combatfs.exe");
    EXPECT_STREQ(GameTable[kCfs2].configFile, "cfs2.cfg");
    EXPECT_FALSE(GameTable[kCfs1].hasShips);
    EXPECT_TRUE(GameTable[kCfs2].hasShips);
    EXPECT_STREQ(GameTable[kCfs1].idListSection, "CFS");
    EXPECT_STREQ(GameTable[kCfs2].secondExecutable, "origcfs2.exe");
    EXPECT_STREQ(GameTable[kCfs1].launchCaption, "Launch CFS1 for IP game");
    EXPECT_STREQ(gameProfile(kNoGame).displayName, "");
    EXPECT_STREQ(gameProfile(7).executable, "");
}

TEST(GamePathsBuild, WithBackslashes) {
    const GamePaths paths(kCfs2, "C:\\Games\\CFS2", "C:\\Velmora", '\\');
    EXPECT_EQ(paths.mission("Raid.mis"), "C:\\Games\\CFS2\\missions\\Raid.mis");
    EXPECT_EQ(paths.sessionMission(), "C:\\Games\\CFS2\\multiplayer.mis");
    EXPECT_EQ(paths.backupSessionMission(), "C:\\Velmora\\bkupcfs2\\multiplayer.mis");
    EXPECT_EQ(paths.objectDp("Tower.dp"), "C:\\Games\\CFS2\\objects_dp\\Tower.dp");
    EXPECT_EQ(paths.backupObjectDp("Tower.dp"), "C:\\Velmora\\bkupcfs2\\objects_dp\\Tower.dp");
    EXPECT_EQ(paths.shipConfig("Carrier"), "C:\\Games\\CFS2\\ships\\Carrier\\ship.cfg");
    EXPECT_EQ(paths.shipDp("Carrier", "hull.dp"), "C:\\Games\\CFS2\\ships\\Carrier\\hull.dp");
    EXPECT_EQ(paths.backupShipDp("Carrier", "hull.dp"), "C:\\Velmora\\bkupcfs2\\ships\\Carrier\\hull.dp");
    EXPECT_EQ(paths.idList(), "C:\\Velmora\\idlist.txt");
    EXPECT_EQ(paths.gameConfig(), "C:\\Games\\CFS2\\cfs2.cfg");
    EXPECT_EQ(paths.settingsFile(), "C:\\Velmora\\Velmora.ini");
    EXPECT_EQ(paths.relativeBackupObjectDpFolder(), "bkupcfs2\\objects_dp");
    EXPECT_EQ(paths.relativeBackupShipsFolder(), "bkupcfs2\\ships");
}

TEST(GamePathsBuild, WithSlashes) {
    const GamePaths paths(kCfs1, "/games/cfs1", "/opt/velmora", '/');
    EXPECT_EQ(paths.missionsFolder(), "/games/cfs1/missions");
    EXPECT_EQ(paths.backupObjectDpFolder(), "/opt/velmora/bkupcfs1/objects_dp");
    EXPECT_EQ(paths.gameConfig(), "/games/cfs1/combatfs.cfg");
    EXPECT_EQ(paths.gameExecutable(), "/games/cfs1/combatfs.exe");
    EXPECT_EQ(paths.relativeBackupObjectDpFolder(), "bkupcfs1/objects_dp");
}

TEST(GamePathsBuild, DpNamesAndCdpSiblings) {
    EXPECT_EQ(cdpSibling("C:\\g\\objects_dp\\Tower.dp"), "C:\\g\\objects_dp\\Tower.cdp");
    EXPECT_EQ(cdpSibling("Tower.DP"), "Tower.cdp");
    EXPECT_EQ(dpBaseName("Tower.DP"), "Tower");
    EXPECT_EQ(dpBaseName("Tower"), "Tower");
    EXPECT_EQ(dpFileName("hull"), "hull.dp");
}

TEST(SettingsKeys, AreBuiltPerGameAndKeptApart) {
    const std::string forCfs2 = lastSaveKey(kCfs2);
    const std::string forCfs1 = lastSaveKey(kCfs1);
    EXPECT_EQ(forCfs2, "LAST_SAVE_2");
    EXPECT_EQ(forCfs1, "LAST_SAVE_1");
    EXPECT_EQ(curMissionKey(kCfs1), "CUR_MISSION_1");
    EXPECT_EQ(curMissionKey(kCfs2), "CUR_MISSION_2");
    EXPECT_EQ(modifiedDpsKey(kCfs1), kModifiedDps1);
    EXPECT_EQ(modifiedDpsKey(kCfs2), kModifiedDps2);
}

TEST(GameLookup, CountsAGameOnlyWithADirectory) {
    TableGameRegistry registry;
    EXPECT_EQ(detectInstalledGames(registry), 0u);
    registry.set(GameTable[kCfs2].registryKey, "C:\\Games\\CFS2");
    EXPECT_EQ(detectInstalledGames(registry), 2u);
    registry.set(GameTable[kCfs1].registryKey, "C:\\Games\\CFS1\\");
    EXPECT_EQ(detectInstalledGames(registry), 3u);
    EXPECT_EQ(readGameDir(registry, kCfs1), "C:\\Games\\CFS1");
    registry.set(GameTable[kCfs1].registryKey, "");
    EXPECT_EQ(detectInstalledGames(registry), 2u);
    // A directory that cannot be read is empty, never the other game's.
    EXPECT_EQ(readGameDir(registry, kCfs1), "");
    EXPECT_EQ(readGameDir(registry, kNoGame), "");
    registry.set(GameTable[kCfs1].registryKey, "C:\\");
    EXPECT_EQ(readGameDir(registry, kCfs1), "C:\\");
}

}  // namespace
}  // namespace velmora
