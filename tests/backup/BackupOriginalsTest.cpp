// The backup of the games' originals, on real folders, through the in-memory dialog.
#include "backup/BackupOriginals.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/FileSearch.h"
#include "core/ProfileFile.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::DpPlan;
using testkit::fileExists;
using testkit::GameInstall;
using testkit::MissionPlan;
using testkit::readText;
using testkit::ShipPlan;
using testkit::writeText;

class BackupTest : public ::testing::Test {
protected:
    // CFS2: three object DPs, a carrier with two DPs, a cargo ship with one.
    static GameInstall cfs2Install() {
        GameInstall install(kCfs2);
        install.objectDps({"Tower", "Hangar", "Crate"}).ship("Carrier", {"carrier_hull", "carrier_deck"}).ship(
            "Cargo", {"Cargo"});
        return install;
    }
    static GameInstall cfs1Install() {
        GameInstall install(kCfs1);
        install.objectDps({"Tower", "Hangar"});
        return install;
    }
    // Installs the game and makes it active, so that paths name its folders.
    void use(const GameInstall& install) {
        app.install(install);
        app.activate(install.game());
    }
    int backup(GameVersion game) {
        app.activate(game);
        return backupOriginals(app.state);
    }
    std::string only(const std::vector<std::string>& texts) {
        EXPECT_EQ(texts.size(), 1u) << ::testing::PrintToString(texts);
        return texts.empty() ? std::string() : texts.back();
    }
    std::string lastBox() { return app.dialog.boxes().empty() ? std::string() : app.dialog.boxes().back().text; }
    std::string setting(const std::string& key) {
        return getProfileString(app.state.files(), "MAIN", key, "<absent>", 256, app.state.settingsPath);
    }
    GamePaths paths() { return app.state.paths(); }
    std::string gameFile(const std::string& relative) { return app.gameDir(app.state.activeGame) + sep() + testkit::nativePath(relative); }
    std::string backupFile(const std::string& relative) { return paths().backupRoot() + sep() + testkit::nativePath(relative); }
    std::string sep() { return std::string(1, app.state.platform.separator); }

    testkit::TestApp app;
};

TEST_F(BackupTest, FirstStartUpBacksUpEverythingAndTheSecondShowsNothing) {
    use(cfs1Install());
    EXPECT_EQ(backup(kCfs1), 0);
    ASSERT_EQ(app.dialog.boxes().size(), 1u);
    EXPECT_EQ(app.dialog.boxes()[0].text, "CFS1 object DP's and multiplayer.mis successfully backed up.");
    EXPECT_EQ(app.dialog.boxes()[0].caption, "FYI");
    EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::None);
    EXPECT_EQ(readText(backupFile("objects_dp/Tower.dp")), readText(gameFile("objects_dp/Tower.dp")));
    EXPECT_EQ(readText(backupFile("multiplayer.mis")), readText(gameFile("multiplayer.mis")));
    EXPECT_FALSE(fileExists(backupFile("objects_dp/Tower.cdp")));
    EXPECT_FALSE(fileExists(backupFile("ships")));

    app.dialog.clearBoxes();
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_TRUE(app.dialog.boxes().empty());
}

TEST_F(BackupTest, CfsTwoBacksUpTheShipDpsTheirConfigsName) {
    GameInstall install = cfs2Install();
    ShipPlan extra;
    extra.folder = "Sub";
    extra.dps = {DpPlan{"sub_hull", std::nullopt, true, 0}, DpPlan{"unnamed", std::nullopt, true, 0}};
    extra.sims = {"sub_hull"};
    install.ship(extra);
    use(install);
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 object and ship DP's and multiplayer.mis successfully backed up.");
    EXPECT_EQ(readText(backupFile("ships/Carrier/carrier_deck.dp")), readText(gameFile("ships/Carrier/carrier_deck.dp")));
    EXPECT_TRUE(fileExists(backupFile("ships/Sub/sub_hull.dp")));
    EXPECT_FALSE(fileExists(backupFile("ships/Sub/unnamed.dp")));
    EXPECT_FALSE(fileExists(backupFile("ships/Carrier/ship.cfg")));
}

TEST_F(BackupTest, SummaryWordsFollowWhatWasNew) {
    use(cfs2Install());
    ASSERT_EQ(backup(kCfs2), 0);

    writeText(gameFile("objects_dp/Radar.dp"), "new object");
    app.dialog.clearBoxes();
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new object DP successfully backed up.");

    writeText(gameFile("ships/Cargo/ship.cfg"), testkit::shipConfigText({"Cargo", "Cargo_aft"}));
    writeText(gameFile("ships/Cargo/Cargo_aft.dp"), "new ship dp");
    app.dialog.clearBoxes();
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new ship DP successfully backed up.");

    std::filesystem::remove(backupFile("multiplayer.mis"));
    app.dialog.clearBoxes();
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new multiplayer.mis successfully backed up.");

    writeText(gameFile("objects_dp/Flak.dp"), "1");
    writeText(gameFile("objects_dp/Fuel.dp"), "2");
    writeText(gameFile("ships/Carrier/ship.cfg"), testkit::shipConfigText({"carrier_hull", "carrier_deck", "isle"}));
    writeText(gameFile("ships/Carrier/isle.dp"), "3");
    app.dialog.clearBoxes();
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new object and ship DP's successfully backed up.");
}

TEST_F(BackupTest, OneObjectAndOneShipDpWithTheMissionAlreadyBackedUp) {
    GameInstall install(kCfs2);
    install.objectDps({"Tower"}).ship("Carrier", {"hull"});
    use(install);
    writeText(backupFile("multiplayer.mis"), "kept");
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 object and ship DP's successfully backed up.");
    EXPECT_EQ(readText(backupFile("multiplayer.mis")), "kept");
}

TEST_F(BackupTest, ABackupFileIsNeverOverwritten) {
    use(cfs2Install());
    writeText(backupFile("objects_dp/Tower.dp"), "the first original");
    writeText(backupFile("ships/Cargo/Cargo.dp"), "first cargo");
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(readText(backupFile("objects_dp/Tower.dp")), "the first original");
    EXPECT_EQ(readText(backupFile("ships/Cargo/Cargo.dp")), "first cargo");
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new object and ship DP's and multiplayer.mis successfully backed up.");
}

TEST_F(BackupTest, TwoConfigEntriesNamingOneDpCountAsNew) {
    GameInstall install(kCfs2);
    ShipPlan ship;
    ship.folder = "Carrier";
    ship.dps = {DpPlan{"hull", std::nullopt, true, 0}};
    ship.sims = {"hull", "hull"};
    install.objectDps({"Tower"}).ship(ship);
    use(install);
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new object and ship DP's and multiplayer.mis successfully backed up.");
}

TEST_F(BackupTest, AGapInTheConfigEndsTheShipsList) {
    GameInstall install(kCfs2);
    install.objectDps({"Tower"}).ship("Carrier", {"hull"});
    use(install);
    writeText(gameFile("ships/Carrier/ship.cfg"), "[FLTSIM.0]\r\nSIM=hull\r\n[FLTSIM.2]\r\nSIM=missing\r\n");
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_TRUE(fileExists(backupFile("ships/Carrier/hull.dp")));
}

TEST_F(BackupTest, AShipFolderWithoutConfigIsSkippedWithoutASubfolder) {
    GameInstall install = cfs2Install();
    ShipPlan bare;
    bare.folder = "Wreck";
    bare.dps = {DpPlan{"wreck", std::nullopt, true, 0}};
    bare.hasShipConfig = false;
    install.ship(bare);
    use(install);
    writeText(gameFile("ships/README"), "an extensionless file");
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_FALSE(fileExists(backupFile("ships/Wreck")));
    EXPECT_FALSE(fileExists(backupFile("ships/README")));
}

TEST_F(BackupTest, AGameWithoutSessionMissionStillBacksUpItsDpsAndTriesAgainLater) {
    GameInstall install = cfs1Install();
    install.noSessionMission();
    use(install);
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS1 object DP's successfully backed up.");
    writeText(gameFile("multiplayer.mis"), testkit::missionText(testkit::defaultSessionMission()));
    app.dialog.clearBoxes();
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS1 new multiplayer.mis successfully backed up.");
}

TEST_F(BackupTest, ABackedUpSessionMissionIsNeitherProbedNorCopied) {
    GameInstall install = cfs1Install();
    install.sessionMission(MissionPlan{{{1, 1, "A"}, {2, 2, "B"}}, {{1}, {2}}});
    use(install);
    writeText(backupFile("multiplayer.mis"), "the original");
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(readText(backupFile("multiplayer.mis")), "the original");
    EXPECT_EQ(app.dialog.unansweredQuestions(), 0);
}

class SuspectMissionTest : public BackupTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SuspectMissionTest, ASecondUnitOrTypeAsksBeforeBackingUp) {
    GameInstall install = cfs1Install();
    install.sessionMissionText(GetParam());
    use(install);

    app.dialog.answerNo();
    EXPECT_EQ(backup(kCfs1), 1);
    ASSERT_EQ(app.dialog.boxes().size(), 2u);
    EXPECT_EQ(app.dialog.boxes()[0].text,
              "Extra units or unit types found in existing CFS1 multiplayer.mis file.\n\nAre you SURE you wish to "
              "backup this file?");
    EXPECT_EQ(app.dialog.boxes()[0].caption, "Possible problem");
    EXPECT_EQ(app.dialog.boxes()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::None);
    EXPECT_EQ(app.dialog.boxes()[1].text, "Velmora will now shut down.");
    EXPECT_EQ(app.dialog.boxes()[1].caption, "");
    EXPECT_FALSE(fileExists(backupFile("multiplayer.mis")));
    EXPECT_FALSE(fileExists(backupFile("objects_dp/Tower.dp")));

    app.dialog.clearBoxes();
    app.dialog.answerYes();
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(readText(backupFile("multiplayer.mis")), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Probes, SuspectMissionTest,
                         ::testing::Values("[unit_type.0]\r\ntype_id=1\r\n[unit.1]\r\ntype_id=5\r\n",
                                           "[unit_type.1]\r\ntype_id=\r\n",
                                           "[unit.1]\r\ntype_id=y\r\n"));

TEST_F(BackupTest, ATypeIdOfXCountsAsAbsent) {
    GameInstall install = cfs1Install();
    install.sessionMissionText("[unit_type.1]\r\ntype_id=x\r\n[unit.1]\r\nname=no type id\r\n");
    use(install);
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(app.dialog.unansweredQuestions(), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS1 object DP's and multiplayer.mis successfully backed up.");
}

// The rows of the failure table: each shows its error box with the run's
// caption and returns 1.
class BackupFailureTest : public BackupTest {
protected:
    void expectFailure(GameVersion game, const std::string& text) {
        EXPECT_EQ(backup(game), 1);
        ASSERT_FALSE(app.dialog.boxes().empty());
        const testkit::RecordedBox& box = app.dialog.boxes().back();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, game == kCfs1 ? "Unable to complete backup of CFS1" : "Unable to complete backup of CFS2");
        EXPECT_EQ(box.icon, MessageIcon::Error);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
    }
};

TEST_F(BackupFailureTest, BackupFoldersThatCannotBeMade) {
    use(cfs2Install());
    writeText(paths().backupRoot(), "a file in the folder's place");
    app.activate(kCfs2);
    expectFailure(kCfs2, "Could not create BACKUP folder");
    std::filesystem::remove(paths().backupRoot());

    writeText(paths().backupObjectDpFolder(), "x");
    expectFailure(kCfs2, "Could not create BACKUP\\OBJECTS_DP folder");
    std::filesystem::remove(paths().backupObjectDpFolder());

    writeText(paths().backupShipsFolder(), "x");
    expectFailure(kCfs2, "Could not create BACKUP\\SHIPS folder");
}

TEST_F(BackupFailureTest, NoObjectDpKeepsTheCopiedSessionMission) {
    GameInstall install(kCfs1);
    use(install);
    writeText(gameFile("objects_dp/readme.txt"), "no DP here");
    expectFailure(kCfs1, "Could not locate any original object DP's");
    EXPECT_TRUE(fileExists(backupFile("multiplayer.mis")));
}

TEST_F(BackupFailureTest, NoShipsFolderAfterTheObjectDps) {
    GameInstall install(kCfs2);
    install.objectDps({"Tower"});
    use(install);
    expectFailure(kCfs2, "Could not locate the original SHIPS folder");
    EXPECT_EQ(app.dialog.boxes().size(), 1u);  // no summary
    EXPECT_TRUE(fileExists(backupFile("objects_dp/Tower.dp")));
}

TEST_F(BackupFailureTest, NoShipNamesAnyDp) {
    GameInstall install(kCfs2);
    ShipPlan bare;
    bare.folder = "Wreck";
    bare.hasShipConfig = false;
    bare.dps = {DpPlan{"wreck", std::nullopt, true, 0}};
    install.objectDps({"Tower"}).ship(bare);
    use(install);
    expectFailure(kCfs2, "Could not locate any original ships");

    std::filesystem::remove_all(gameFile("ships/Wreck"));
    std::filesystem::create_directories(gameFile("ships"));
    expectFailure(kCfs2, "Could not locate any original ships");
}

TEST_F(BackupFailureTest, AConfigNamingAMissingDp) {
    GameInstall install(kCfs2);
    ShipPlan cruiser;
    cruiser.folder = "Cruiser";
    cruiser.sims = {"cruiser_hull"};
    install.objectDps({"Tower"}).ship(cruiser);
    use(install);
    expectFailure(kCfs2, "Error is original ship config 'Cruiser.cfg', could not open cruiser_hull.dp");
}

TEST_F(BackupFailureTest, AConfigNamingAFileOutsideItsFolderIsRefused) {
    for (const char* sim : {"..\\..\\objects_dp\\Tower", "../../objects_dp/Tower", "..", ".", "C:evil"}) {
        GameInstall install(kCfs2);
        ShipPlan ship;
        ship.folder = "Carrier";
        ship.sims = {sim};
        install.objectDps({"Tower"}).ship(ship);
        use(install);
        expectFailure(kCfs2, std::string("Error is original ship config 'Carrier.cfg', could not open ") + sim + ".dp");
        EXPECT_FALSE(fileExists(backupFile("ships/Carrier")));
        std::filesystem::remove_all(app.gameDir(kCfs2));
    }
}

TEST_F(BackupFailureTest, TheShipMessageIsBuiltWholeWhateverItsLength) {
    const std::string folder(150, 'F');
    const std::string sim(200, 's');
    GameInstall install(kCfs2);
    ShipPlan ship;
    ship.folder = folder;
    ship.sims = {sim};
    install.objectDps({"Tower"}).ship(ship);
    use(install);
    expectFailure(kCfs2, "Error is original ship config '" + folder + ".cfg', could not open " + sim + ".dp");
}

TEST_F(BackupFailureTest, ABackupShipSubfolderThatCannotBeMade) {
    use(cfs2Install());
    std::filesystem::create_directories(paths().backupShipsFolder());
    writeText(paths().backupShipFolder("Cargo"), "x");
    expectFailure(kCfs2, "Error creating a backup ship subfolder");
}

TEST_F(BackupFailureTest, FailedCopiesAreOnlyCounted) {
    use(cfs2Install());
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(testkit::FileOp::CopyToTemporary, [](const std::string& target) {
        return target.find("Tower.dp") != std::string::npos || target.find("multiplayer.mis") != std::string::npos;
    });
    app.state.platform.files = &faulty;
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 new object and ship DP's successfully backed up.");
    EXPECT_FALSE(fileExists(backupFile("objects_dp/Tower.dp")));
}

TEST_F(BackupFailureTest, CopiesThatCannotReachTheDiskAreNotBackedUpAndComeNextTime) {
    use(cfs2Install());
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failNth(testkit::FileOp::FlushTemporaries, 1);
    app.state.platform.files = &faulty;
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_TRUE(app.dialog.boxes().empty());
    EXPECT_FALSE(fileExists(backupFile("multiplayer.mis")));
    EXPECT_TRUE(findNames(app.state.files(), paths().backupObjectDpFolder(), "*").empty());
    EXPECT_TRUE(findNames(app.state.files(), paths().backupShipFolder("Carrier"), "*").empty());

    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS2 object and ship DP's and multiplayer.mis successfully backed up.");
    EXPECT_EQ(readText(backupFile("objects_dp/Tower.dp")), readText(gameFile("objects_dp/Tower.dp")));
}

TEST_F(BackupTest, TheSettingsOfThisVersionStayAsTheyAreStartAfterStart) {
    use(cfs2Install());
    const std::string settings = "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_2=2\r\nCUR_MISSION_2=Raid.mis\r\n";
    const std::string modified = "[MODIFIED_DPS_2]\r\nTower.dp=guns modified\r\n";
    // As Velmora writes it, and as a player saves it from Notepad as
    // "Unicode" with a line of his own.
    for (const std::string& file :
         {settings + modified, testkit::utf16le(settings + "STATIC_IP=10.1.2.3\r\n" + modified)}) {
        writeText(app.state.settingsPath, file);
        for (int start = 0; start < 2; ++start) {
            app.dialog.clearBoxes();
            EXPECT_EQ(backup(kCfs2), 0);
            EXPECT_EQ(app.settingsText(), file);
            EXPECT_LE(app.dialog.boxTexts().size(), 1u);  // the summary at the first start only
        }
        EXPECT_EQ(setting("CUR_MISSION_2"), "Raid.mis");
    }
    EXPECT_EQ(setting("STATIC_IP"), "10.1.2.3");
}

TEST_F(BackupTest, ALongStoredValueIsCutTo255Bytes) {
    use(cfs1Install());
    writeText(app.state.settingsPath, "[MAIN]\r\nVLMR_VERSION=1.0\r\nCUR_MISSION_1=" + std::string(300, 'm') + "\r\n");
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(setting("CUR_MISSION_1"), std::string(255, 'm'));
}

TEST_F(BackupTest, NoSettingsAndBothGamesGiveTheFreshFile) {
    use(cfs1Install());
    use(cfs2Install());
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(app.settingsText(),
              "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_1=4\r\nCUR_MISSION_1=Original mp.mis file\r\nLAST_SAVE_2=4\r\n"
              "CUR_MISSION_2=Original mp.mis file\r\n[MODIFIED_DPS_1]\r\n[MODIFIED_DPS_2]\r\n");
}

class VersionChangeTest : public BackupTest {
protected:
    void SetUp() override {
        GameInstall cfs1 = cfs1Install();
        cfs1.mission("Raid.mis", MissionPlan{{{1, 1, "Tower"}}, {{1}}});
        use(cfs1);
        use(cfs2Install());
        // A complete backup of both, then a swapped-in mission and DP.
        backup(kCfs1);
        backup(kCfs2);
        app.dialog.clearBoxes();
        app.activate(kCfs1);
        writeText(gameFile("multiplayer.mis"), "swapped in");
        writeText(gameFile("objects_dp/Tower.dp"), "rewritten");
    }
};

TEST_F(VersionChangeTest, AnotherVersionRestoresAndStartsAFreshFile) {
    for (const char* stored : {"[MAIN]\r\nVLMR_VERSION=1.1\r\n", "[MAIN]\r\nLAST_SAVE_1=2\r\n"}) {
        writeText(app.state.settingsPath, std::string(stored) + "CUR_MISSION_1=Raid.mis\r\n[MODIFIED_DPS_1]\r\nTower.dp=guns modified\r\n");
        app.dialog.clearBoxes();
        EXPECT_EQ(backup(kCfs1), 0);
        ASSERT_FALSE(app.dialog.boxes().empty());
        EXPECT_EQ(app.dialog.boxes()[0].text, "Different version of Velmora.\nOriginals being restored.\n");
        EXPECT_EQ(app.dialog.boxes()[0].caption, "FYI");
        EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::None);
        EXPECT_EQ(readText(gameFile("objects_dp/Tower.dp")), readText(backupFile("objects_dp/Tower.dp")));
        EXPECT_EQ(readText(gameFile("multiplayer.mis")), readText(backupFile("multiplayer.mis")));
        EXPECT_EQ(app.settingsText(),
                  "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_1=4\r\nCUR_MISSION_1=Original mp.mis file\r\n"
                  "[MODIFIED_DPS_1]\r\n[MODIFIED_DPS_2]\r\n");
    }
}

TEST_F(VersionChangeTest, WithBothGamesOnlyTheFirstIsRestored) {
    writeText(app.state.settingsPath, "[MAIN]\r\nVLMR_VERSION=0.9\r\n");
    app.activate(kCfs2);
    writeText(gameFile("objects_dp/Hangar.dp"), "rewritten too");
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Different version of Velmora.\nOriginals being restored.\n"});
    EXPECT_EQ(readText(app.cfs2Dir + sep() + testkit::nativePath("objects_dp/Hangar.dp")), "rewritten too");
}

TEST_F(VersionChangeTest, AFailedRestoreOrDeleteDoesNotStopTheRun) {
    writeText(app.state.settingsPath, "[MAIN]\r\nVLMR_VERSION=2.0\r\n");
    std::filesystem::remove_all(paths().backupObjectDpFolder());
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(testkit::FileOp::RemoveFile, [&](const std::string& path) { return path == app.state.settingsPath; });
    app.state.platform.files = &faulty;
    EXPECT_EQ(backup(kCfs1), 0);
    // The restore's own error, then the backup of the DPs it could not find.
    EXPECT_EQ(app.dialog.boxTexts()[1], "Could not locate backup object DP's");
    EXPECT_EQ(app.dialog.boxTexts().back(), "CFS1 object DP's successfully backed up.");
    EXPECT_EQ(setting("VLMR_VERSION"), "1.0");
}

TEST_F(BackupTest, ASettingsFileThatCannotBeReadCountsAsAbsent) {
    use(cfs1Install());
    writeText(app.state.settingsPath, "[MAIN]\r\nVLMR_VERSION=0.1\r\nLAST_SAVE_1=2\r\n");
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(testkit::FileOp::CanOpenForReading, [&](const std::string& path) { return path == app.state.settingsPath; });
    app.state.platform.files = &faulty;
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), "CFS1 object DP's and multiplayer.mis successfully backed up.");
    EXPECT_EQ(setting("LAST_SAVE_1"), "2");
    EXPECT_NE(app.settingsText().find("[MODIFIED_DPS_2]"), std::string::npos);
}

}  // namespace
}  // namespace velmora
