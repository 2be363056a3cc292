// The backup of the games' originals, on real folders, through the in-memory dialog.
#include "backup/BackupOriginals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

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
public:
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

// The backup tree was lost while a swap was in force: the rewritten DPs must
// not become the originals every restore puts back.
TEST_F(BackupTest, DpsVelmoraRewroteAreNeverBackedUp) {
    GameInstall install(kCfs2);
    install.objectDps({"A", "B", "C", "D", "E", "F", "G", "Plain"}).ship("Carrier", {"hull"});
    use(install);
    const std::string mark = "; modified by Velmora";
    std::string wide = "\xFF\xFE";
    for (char c : "[guns.0]\r\n  " + mark + "\r\n") wide += std::string{c, '\0'};
    for (const char* dp : {"A", "B", "C", "D", "E", "F"})
        writeText(gameFile(std::string("objects_dp/") + dp + ".dp"), "[guns.0]\r\n" + mark + "\r\ngun.0=1\r\n");
    writeText(gameFile("objects_dp/G.dp"), wide);  // saved as Unicode by an editor
    writeText(gameFile("objects_dp/Plain.dp"), "[misc_data]\r\nnote=" + mark + "\r\n");  // not a line of its own
    writeText(gameFile("ships/Carrier/hull.dp"), "\r" + mark + "\r");
    for (int run = 0; run < 2; ++run) {
        app.dialog.clearBoxes();
        EXPECT_EQ(backup(kCfs2), 0);
        // The summary counts the copies made; the next start asks again.
        std::vector<std::string> boxes = app.dialog.boxTexts();
        ASSERT_EQ(boxes.size(), run == 0 ? 2u : 1u);
        EXPECT_EQ(boxes[0], run == 0 ? "CFS2 new object DP and multiplayer.mis successfully backed up." : boxes.back());
        EXPECT_EQ(app.dialog.boxes().back().caption, "Unable to complete backup of CFS2");
        EXPECT_EQ(app.dialog.boxes().back().icon, MessageIcon::Error);
        boxes = {"", boxes.back()};
        EXPECT_EQ(boxes[1].rfind("8 DP files were changed by an earlier swap and not backed up:\n" +
                                     gameFile("objects_dp/A.dp") + "\n",
                                 0),
                  0u)
            << boxes[1];
        EXPECT_NE(boxes[1].find("and 3 more\n\n"), std::string::npos);
        EXPECT_NE(boxes[1].find("from the game's CD or a reinstall"), std::string::npos);
        for (const char* dp : {"A", "G"}) EXPECT_FALSE(fileExists(backupFile(std::string("objects_dp/") + dp + ".dp")));
        EXPECT_FALSE(fileExists(backupFile("ships/Carrier/hull.dp")));
        EXPECT_TRUE(fileExists(backupFile("objects_dp/Plain.dp")));
    }
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

// The rows of the summary: what a run copied, in the box's words. `prepare`
// makes the game (and perhaps backs it up once); `check` looks at the tree
// afterwards.
struct SummaryRow {
    const char* name;
    std::function<void(BackupTest&)> prepare;
    const char* summary;
    std::function<void(BackupTest&)> check = [](BackupTest&) {};
};

// A complete backup of the standard CFS2, then `change` to the game.
std::function<void(BackupTest&)> afterABackup(std::function<void(BackupTest&)> change) {
    return [change](BackupTest& t) {
        t.use(BackupTest::cfs2Install());
        ASSERT_EQ(t.backup(kCfs2), 0);
        t.app.dialog.clearBoxes();
        change(t);
    };
}

const std::vector<SummaryRow> kSummaries = {
    {"NewObjectDp", afterABackup([](BackupTest& t) { writeText(t.gameFile("objects_dp/Radar.dp"), "new"); }),
     "CFS2 new object DP successfully backed up."},
    {"NewShipDp",
     afterABackup([](BackupTest& t) {
         writeText(t.gameFile("ships/Cargo/ship.cfg"), testkit::shipConfigText({"Cargo", "Cargo_aft"}));
         writeText(t.gameFile("ships/Cargo/Cargo_aft.dp"), "new ship dp");
     }),
     "CFS2 new ship DP successfully backed up."},
    {"NewSessionMission", afterABackup([](BackupTest& t) { std::filesystem::remove(t.backupFile("multiplayer.mis")); }),
     "CFS2 new multiplayer.mis successfully backed up."},
    {"NewObjectAndShipDps",
     afterABackup([](BackupTest& t) {
         writeText(t.gameFile("objects_dp/Flak.dp"), "1");
         writeText(t.gameFile("objects_dp/Fuel.dp"), "2");
         writeText(t.gameFile("ships/Carrier/ship.cfg"), testkit::shipConfigText({"carrier_hull", "carrier_deck", "isle"}));
         writeText(t.gameFile("ships/Carrier/isle.dp"), "3");
     }),
     "CFS2 new object and ship DP's successfully backed up."},
    {"OneOfEachWithTheMissionBackedUp",
     [](BackupTest& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}).ship("Carrier", {"hull"}));
         writeText(t.backupFile("multiplayer.mis"), "kept");
     },
     "CFS2 object and ship DP's successfully backed up.",
     [](BackupTest& t) { EXPECT_EQ(readText(t.backupFile("multiplayer.mis")), "kept"); }},
    {"BackedUpFilesAreNeverOverwritten",
     [](BackupTest& t) {
         t.use(BackupTest::cfs2Install());
         writeText(t.backupFile("objects_dp/Tower.dp"), "the first original");
         writeText(t.backupFile("ships/Cargo/Cargo.dp"), "first cargo");
     },
     "CFS2 new object and ship DP's and multiplayer.mis successfully backed up.",
     [](BackupTest& t) {
         EXPECT_EQ(readText(t.backupFile("objects_dp/Tower.dp")), "the first original");
         EXPECT_EQ(readText(t.backupFile("ships/Cargo/Cargo.dp")), "first cargo");
     }},
    {"TwoConfigEntriesNamingOneDp",
     [](BackupTest& t) {
         ShipPlan ship;
         ship.folder = "Carrier";
         ship.dps = {DpPlan{"hull", std::nullopt, true, 0}};
         ship.sims = {"hull", "hull"};
         t.use(GameInstall(kCfs2).objectDps({"Tower"}).ship(ship));
     },
     "CFS2 new object and ship DP's and multiplayer.mis successfully backed up."},
    {"NoSessionMission", [](BackupTest& t) { t.use(BackupTest::cfs1Install().noSessionMission()); },
     "CFS1 object DP's successfully backed up."},
};

class BackupSummaryTest : public BackupTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(BackupSummaryTest, SaysWhatWasCopied) {
    const SummaryRow& row = kSummaries[GetParam()];
    row.prepare(*this);
    EXPECT_EQ(backup(app.state.activeGame), 0);
    EXPECT_EQ(only(app.dialog.boxTexts()), row.summary);
    row.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Rows, BackupSummaryTest, ::testing::Range<size_t>(0, kSummaries.size()),
                         [](const ::testing::TestParamInfo<size_t>& row) { return kSummaries[row.param].name; });

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
// The rows of the failure table: each damages a game, then the backup shows
// its error box with the run's caption and returns 1. `damage` returns the
// box's text; `kept` is a copy made before the failure, which stays.
struct FailureRow {
    const char* name;
    std::function<std::string(BackupTest&)> damage;
    const char* kept = nullptr;
};

std::string fileInPlaceOf(BackupTest& t, std::string (GamePaths::*folder)() const, const char* text) {
    t.use(BackupTest::cfs2Install());
    writeText((t.paths().*folder)(), "a file in the folder's place");
    return text;
}

// A CFS2 whose Carrier's ship.cfg names `sim` in a ship folder `folder`.
std::string shipNaming(BackupTest& t, const std::string& folder, const std::string& sim) {
    GameInstall install(kCfs2);
    ShipPlan ship;
    ship.folder = folder;
    ship.sims = {sim};
    install.objectDps({"Tower"}).ship(ship);
    t.use(install);
    return "Error is original ship config '" + folder + ".cfg', could not open " + sim + ".dp";
}

const std::vector<FailureRow> kFailures = {
    {"BackupRootIsAFile", [](BackupTest& t) { return fileInPlaceOf(t, &GamePaths::backupRoot, "Could not create BACKUP folder"); }},
    {"ObjectDpFolderIsAFile",
     [](BackupTest& t) { return fileInPlaceOf(t, &GamePaths::backupObjectDpFolder, "Could not create BACKUP\\OBJECTS_DP folder"); }},
    {"ShipsFolderIsAFile",
     [](BackupTest& t) { return fileInPlaceOf(t, &GamePaths::backupShipsFolder, "Could not create BACKUP\\SHIPS folder"); }},
    {"NoObjectDp",
     [](BackupTest& t) {
         t.use(GameInstall(kCfs1));
         writeText(t.gameFile("objects_dp/readme.txt"), "no DP here");
         return std::string("Could not locate any original object DP's");
     },
     "multiplayer.mis"},
    {"NoShipsFolder",
     [](BackupTest& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}));
         return std::string("Could not locate the original SHIPS folder");
     },
     "objects_dp/Tower.dp"},
    {"NoShipConfig",
     [](BackupTest& t) {
         ShipPlan bare;
         bare.folder = "Wreck";
         bare.hasShipConfig = false;
         bare.dps = {DpPlan{"wreck", std::nullopt, true, 0}};
         t.use(GameInstall(kCfs2).objectDps({"Tower"}).ship(bare));
         return std::string("Could not locate any original ships");
     }},
    {"EmptyShipsFolder",
     [](BackupTest& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}));
         std::filesystem::create_directories(t.gameFile("ships"));
         return std::string("Could not locate any original ships");
     }},
    {"ConfigNamesAMissingDp", [](BackupTest& t) { return shipNaming(t, "Cruiser", "cruiser_hull"); }},
    {"ConfigNamesAFileUpTheTree", [](BackupTest& t) { return shipNaming(t, "Carrier", "..\\..\\objects_dp\\Tower"); }},
    {"ConfigNamesAFileUpTheTreeWithSlashes", [](BackupTest& t) { return shipNaming(t, "Carrier", "../../objects_dp/Tower"); }},
    {"ConfigNamesTheParent", [](BackupTest& t) { return shipNaming(t, "Carrier", ".."); }},
    {"ConfigNamesTheFolder", [](BackupTest& t) { return shipNaming(t, "Carrier", "."); }},
    {"ConfigNamesADrive", [](BackupTest& t) { return shipNaming(t, "Carrier", "C:evil"); }},
    // The message is built whole whatever its length.
    {"LongNames", [](BackupTest& t) { return shipNaming(t, std::string(150, 'F'), std::string(200, 's')); }},
    {"BackupShipFolderIsAFile",
     [](BackupTest& t) {
         t.use(BackupTest::cfs2Install());
         std::filesystem::create_directories(t.paths().backupShipsFolder());
         writeText(t.paths().backupShipFolder("Cargo"), "x");
         return std::string("Error creating a backup ship subfolder");
     }},
};

class BackupFailureTest : public BackupTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(BackupFailureTest, ShowsItsBoxAndKeepsWhatWasCopiedBefore) {
    const FailureRow& row = kFailures[GetParam()];
    const std::string text = row.damage(*this);
    EXPECT_EQ(backup(app.state.activeGame), 1);
    ASSERT_EQ(app.dialog.boxes().size(), 1u) << "no summary";
    const testkit::RecordedBox& box = app.dialog.boxes().back();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Unable to complete backup of CFS" + std::to_string(app.state.activeGame));
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    if (row.kept) {
        EXPECT_EQ(readText(backupFile(row.kept)), readText(gameFile(row.kept)));
    }
    // Nothing reaches a ship folder the run refused.
    EXPECT_FALSE(fileExists(backupFile("ships/Carrier")));
}

INSTANTIATE_TEST_SUITE_P(Rows, BackupFailureTest, ::testing::Range<size_t>(0, kFailures.size()),
                         [](const ::testing::TestParamInfo<size_t>& row) { return kFailures[row.param].name; });

TEST_F(BackupTest, FailedCopiesAreOnlyCounted) {
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

TEST_F(BackupTest, CopiesThatCannotReachTheDiskAreNotBackedUpAndComeNextTime) {
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

TEST_F(VersionChangeTest, WithBothGamesBothAreRestored) {
    writeText(app.state.settingsPath, "[MAIN]\r\nVLMR_VERSION=0.9\r\n");
    app.activate(kCfs2);
    writeText(gameFile("objects_dp/Hangar.dp"), "rewritten too");
    writeText(gameFile("multiplayer.mis"), "swapped in too");
    EXPECT_EQ(backup(kCfs1), 0);
    EXPECT_EQ(backup(kCfs2), 0);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Different version of Velmora.\nOriginals being restored.\n"});
    EXPECT_EQ(readText(gameFile("objects_dp/Hangar.dp")), readText(backupFile("objects_dp/Hangar.dp")));
    EXPECT_EQ(readText(gameFile("multiplayer.mis")), readText(backupFile("multiplayer.mis")));
    app.activate(kCfs1);
    EXPECT_EQ(readText(gameFile("objects_dp/Tower.dp")), readText(backupFile("objects_dp/Tower.dp")));
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
