// The swap and restore engine on real folders, through the in-memory dialog.
#include "swap/SwapEngine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/MissionList.h"
#include "core/FileSearch.h"
#include "core/GameDataFiles.h"
#include "core/ProfileFile.h"
#include "res/resource.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::DpPlan;
using testkit::fileExists;
using testkit::GameInstall;
using testkit::MissionPlan;
using testkit::readText;
using testkit::writeText;

// `text` with `from` replaced by `to`, which must be there once.
std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A CFS2 install with its backup tree: Raid.mis names Tower (Axis); Hangar is
// Allied by its own DP; the carrier and cargo ship have a DP each.
class SwapEngineTest : public ::testing::Test {
protected:
    SwapEngineTest() : install(kCfs2) {
        install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}}, {{3, std::nullopt}}})
            .mission("Convoy.mis",
                     MissionPlan{{{4, -1, "Hangar"}, {5, 1, "Cargo ship"}, {6, 2, "carrier_hull"}}, {{4}, {5}, {6}}})
            .objectDp(DpPlan{"Tower", 1, true, 0})
            .objectDp(DpPlan{"Hangar", 1, true, 0})
            .objectDp(DpPlan{"Crate", std::nullopt, false, 0})
            .ship("Carrier", {"carrier_hull"})
            .ship("Cargo", {"Cargo"});
    }

    void SetUp() override {
        app.install(install);
        install.writeBackup(app.appDir);
        app.activate(kCfs2);
        app.dialog.enable(IDC_MISSION, true);  // as the game's refresh leaves it
    }

    std::string objectDp(const std::string& file) { return app.state.paths().objectDp(file); }
    std::string shipDp(const std::string& ship, const std::string& file) {
        return app.state.paths().shipDp(ship, file);
    }
    // The original text of a DP: Tower and Hangar carry side 1 of their own.
    std::string original(const std::string& name) {
        const bool sided = name == "Tower" || name == "Hangar";
        return testkit::dpText(DpPlan{name, sided ? std::optional<int>(1) : std::nullopt, true, 0});
    }
    // The whole text a friendly DP must have: the original with its
    // [gunstations] and [guns.0] lines replaced, every other byte kept.
    std::string friendly(const std::string& name) {
        const std::string station = "0,1,2,0.25,1,0.02,0.02,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6\r\n";
        std::string text = replaced(original(name), "gunstation.0=" + station + "gunstation.1=" + station,
                                    "; modified by Velmora\r\n"
                                    "gunstation.0=0,-1,1,0.15,1,0.01,0.01,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6\r\n");
        return replaced(text, "gun.0=20,1,2,3,4,5,6,7\r\ngun.1=20,1,2,3,4,5,6,7\r\n",
                        "; modified by Velmora\r\ngun.0=1,0,0,0,0,0,0,1\r\n");
    }
    std::string setting(const std::string& key) {
        return getProfileString(app.state.files(), "MAIN", key, "<absent>", 256, app.state.settingsPath);
    }
    std::string modifiedDps() {
        const std::string text = app.settingsText();
        const size_t at = text.find("[MODIFIED_DPS_2]\r\n");
        if (at == std::string::npos) return "<absent>";
        const size_t from = at + 18;
        const size_t to = text.find('[', from);
        return text.substr(from, to == std::string::npos ? std::string::npos : to - from);
    }
    int swapTo(const std::string& mission, SwapMode mode) {
        fillMissionList(app.state);
        app.dialog.pick(IDC_MISSION, mission);
        return swapMission(app.state, mode);
    }
    // Game DPs as a swap in force leaves them: stale text and compiled siblings.
    void spoilGameDps() {
        for (const char* name : {"Tower", "Hangar", "Crate"}) {
            writeText(objectDp(std::string(name) + ".dp"), "swapped");
            writeText(objectDp(std::string(name) + ".cdp"), "stale");
        }
        writeText(shipDp("Carrier", "carrier_hull.dp"), "swapped");
        writeText(shipDp("Carrier", "carrier_hull.cdp"), "stale");
    }

    GameInstall install;
    testkit::TestApp app;
};

TEST_F(SwapEngineTest, AWholeAxisSwapRewritesTheAxisTypesAndRecordsEverything) {
    spoilGameDps();
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);

    EXPECT_EQ(readText(app.state.paths().sessionMission()), readText(app.state.paths().mission("Raid.mis")));
    EXPECT_EQ(setting("CUR_MISSION_2"), "Raid.mis");
    EXPECT_EQ(setting("LAST_SAVE_2"), "2");
    EXPECT_EQ(modifiedDps(), "Tower.dp=guns modified\r\n");

    EXPECT_EQ(readText(objectDp("Tower.dp")), friendly("Tower"));

    EXPECT_EQ(readText(objectDp("Hangar.dp")), original("Hangar"));
    EXPECT_EQ(readText(objectDp("Crate.dp")), original("Crate"));
    EXPECT_EQ(readText(shipDp("Carrier", "carrier_hull.dp")), original("carrier_hull"));
    for (const char* sibling : {"Tower.cdp", "Hangar.cdp", "Crate.cdp"}) EXPECT_FALSE(fileExists(objectDp(sibling)));
    EXPECT_FALSE(fileExists(shipDp("Carrier", "carrier_hull.cdp")));
    EXPECT_FALSE(fileExists(shipDp("Cargo", "Cargo.cdp")));
    EXPECT_EQ(app.dialog.boxes().size(), 0u);
    EXPECT_EQ(selectedMission(app.state), "Raid.mis");
}

TEST_F(SwapEngineTest, TheSameMissionAlliedRewritesNothing) {
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AlliedFriendly), 0);
    EXPECT_EQ(readText(objectDp("Tower.dp")), original("Tower"));
    EXPECT_EQ(modifiedDps(), "");
    EXPECT_EQ(setting("LAST_SAVE_2"), "1");
}

TEST_F(SwapEngineTest, TypesWithoutSideTakeTheDpsOwnAndShipsMatchByPrefix) {
    // Convoy: Hangar has no side in the mission and 1 in its DP; "Cargo ship"
    // is Allied and matches the ship DP Cargo.dp; carrier_hull is Axis.
    ASSERT_EQ(swapTo("Convoy.mis", SwapMode::AlliedFriendly), 0);
    EXPECT_EQ(readText(objectDp("Hangar.dp")), friendly("Hangar"));
    EXPECT_EQ(readText(shipDp("Cargo", "Cargo.dp")), friendly("Cargo"));
    EXPECT_EQ(readText(shipDp("Carrier", "carrier_hull.dp")), original("carrier_hull"));
    EXPECT_EQ(modifiedDps(), "Hangar.dp=guns modified\r\nCargo.dp=guns modified\r\n");

    ASSERT_EQ(swapTo("Convoy.mis", SwapMode::AxisFriendly), 0);
    EXPECT_EQ(readText(objectDp("Hangar.dp")), original("Hangar"));
    EXPECT_EQ(readText(shipDp("Carrier", "carrier_hull.dp")), friendly("carrier_hull"));
    EXPECT_EQ(modifiedDps(), "carrier_hull.dp=guns modified\r\n");
}

TEST_F(SwapEngineTest, MissionOnlyAndRestoreRewriteNothingButPutEverythingBack) {
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    spoilGameDps();
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::MissionOnly), 0);
    EXPECT_EQ(readText(objectDp("Tower.dp")), original("Tower"));
    EXPECT_FALSE(fileExists(objectDp("Tower.cdp")));
    EXPECT_EQ(modifiedDps(), "");
    EXPECT_EQ(setting("LAST_SAVE_2"), "3");

    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    spoilGameDps();
    ASSERT_EQ(swapMission(app.state, SwapMode::RestoreOriginals), 0);
    EXPECT_EQ(readText(app.state.paths().sessionMission()), testkit::missionText(testkit::defaultSessionMission()));
    EXPECT_EQ(readText(objectDp("Tower.dp")), original("Tower"));
    EXPECT_EQ(readText(shipDp("Carrier", "carrier_hull.dp")), original("carrier_hull"));
    EXPECT_FALSE(fileExists(objectDp("Hangar.cdp")));
    EXPECT_EQ(modifiedDps(), "");
    EXPECT_EQ(setting("CUR_MISSION_2"), "Original mp.mis file");
    EXPECT_EQ(setting("LAST_SAVE_2"), "4");
    EXPECT_EQ(selectedMission(app.state), "Original mp.mis file");
}

TEST_F(SwapEngineTest, AUtf16DpIsRewrittenAsUtf16AndRestoredByteForByte) {
    // Saved as "Unicode" by an editor, with LF line ends.
    std::string text = original("Tower");
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
    const std::string unicode = testkit::utf16le(text);
    writeText(app.state.paths().backupObjectDp("Tower.dp"), unicode);
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    EXPECT_EQ(modifiedDps(), "Tower.dp=guns modified\r\n");
    const std::string rewritten = readText(objectDp("Tower.dp"));
    const std::string expected = "[guns.0]\n" + kGunLines[0] + "\n" + kGunLines[1] + "\n";
    EXPECT_NE(rewritten.find(testkit::utf16le(expected).substr(2)), std::string::npos);
    EXPECT_EQ(rewritten.compare(0, 2, "\xFF\xFE"), 0);
    EXPECT_EQ(ProfileFile(rewritten).getInt("misc_data", "allegiance", 0), 1);

    ASSERT_EQ(swapMission(app.state, SwapMode::RestoreOriginals), 0);
    EXPECT_EQ(readText(objectDp("Tower.dp")), unicode);
}

TEST_F(SwapEngineTest, CfsOneHasNoShipStep) {
    GameInstall cfs1(kCfs1);
    cfs1.mission("Raid.mis", MissionPlan{{{3, 1, "Tower"}}, {{3}}}).objectDps({"Tower"});
    app.install(cfs1);
    cfs1.writeBackup(app.appDir);
    app.activate(kCfs1);
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AlliedFriendly), 0);
    EXPECT_EQ(setting("LAST_SAVE_1"), "1");
    EXPECT_EQ(setting("CUR_MISSION_1"), "Raid.mis");
    EXPECT_NE(app.settingsText().find("[MODIFIED_DPS_1]\r\nTower.dp=guns modified\r\n"), std::string::npos);
}

TEST_F(SwapEngineTest, OnlyTheFirstMatchingRecordDecides) {
    install.mission("Two.mis", MissionPlan{{{8, 0, "Tower"}, {9, 1, "TOWER"}}, {}});
    app.install(install);
    ASSERT_EQ(swapTo("Two.mis", SwapMode::AlliedFriendly), 0);
    EXPECT_EQ(readText(objectDp("Tower.dp")), original("Tower"));
}

TEST_F(SwapEngineTest, SideNumbersCountByTheirLowestBit) {
    install.mission("Odd.mis", MissionPlan{{{8, 3, "Tower"}, {9, 4, "Hangar"}}, {}});
    app.install(install);
    ASSERT_EQ(swapTo("Odd.mis", SwapMode::AlliedFriendly), 0);
    EXPECT_EQ(modifiedDps(), "Tower.dp=guns modified\r\n");
    ASSERT_EQ(swapTo("Odd.mis", SwapMode::AxisFriendly), 0);
    EXPECT_EQ(modifiedDps(), "Hangar.dp=guns modified\r\n");
}

TEST_F(SwapEngineTest, ADpWithoutAnyKnownSideStaysAsRestored) {
    install.mission("Crate.mis", MissionPlan{{{8, -1, "Crate"}}, {}});
    app.install(install);
    ASSERT_EQ(swapTo("Crate.mis", SwapMode::AlliedFriendly), 0);
    EXPECT_EQ(readText(objectDp("Crate.dp")), original("Crate"));
    EXPECT_EQ(modifiedDps(), "");
}

TEST_F(SwapEngineTest, TwoShipsRewritingTheSameFileNameLeaveOneKey) {
    GameInstall twins(kCfs2);
    twins.mission("Twin.mis", MissionPlan{{{1, 2, "hull"}}, {}}).objectDps({"Tower"}).ship("A", {"hull"}).ship("B", {"HULL"});
    app.install(twins);
    twins.writeBackup(app.appDir);
    ASSERT_EQ(swapTo("Twin.mis", SwapMode::AxisFriendly), 0);
    EXPECT_EQ(modifiedDps(), "hull.dp=guns modified\r\n");
}

// A unit type nobody names: a side swap stops before it changes anything;
// the modes that rewrite no DP put every original back without asking.
TEST_F(SwapEngineTest, AnUnnamedUnitTypeStopsOnlyTheSideSwaps) {
    install.mission("Bad.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}, {77, 1}}});
    app.install(install);
    writeText(app.state.paths().backupSessionMission(), testkit::missionText(MissionPlan{{}, {{77, 1}}}));
    for (SwapMode mode : {SwapMode::AxisFriendly, SwapMode::MissionOnly, SwapMode::RestoreOriginals}) {
        SCOPED_TRACE(static_cast<int>(mode));
        writeProfileString(app.state.files(), "MAIN", "LAST_SAVE_2", "1", app.state.settingsPath);
        writeProfileString(app.state.files(), "MAIN", "CUR_MISSION_2", "Raid.mis", app.state.settingsPath);
        writeText(app.state.paths().sessionMission(), "in force");
        spoilGameDps();
        app.dialog.clearBoxes();
        const bool side = mode == SwapMode::AxisFriendly;
        EXPECT_EQ(swapTo("Bad.mis", mode), side ? 1 : 0);
        EXPECT_EQ(app.dialog.boxTexts(), side ? std::vector<std::string>{"Mission error, name of unit.1 unknown"}
                                              : std::vector<std::string>{});
        EXPECT_EQ(readText(objectDp("Tower.dp")), side ? "swapped" : readText(app.state.paths().backupObjectDp("Tower.dp")));
        EXPECT_EQ(std::filesystem::exists(objectDp("Tower.cdp")), side);
        EXPECT_EQ(readText(app.state.paths().sessionMission()) == "in force", side);
        EXPECT_EQ(setting("CUR_MISSION_2"), side ? "Raid.mis" : mode == SwapMode::MissionOnly ? "Bad.mis" : "Original mp.mis file");
        EXPECT_EQ(setting("LAST_SAVE_2"), side ? "1" : std::to_string(static_cast<int>(mode)));
    }
}

TEST_F(SwapEngineTest, ARosterOutOfMemoryChangesNothing) {
    testkit::RosterLimit limit(0);
    spoilGameDps();
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(setting("CUR_MISSION_2"), "<absent>");
    EXPECT_EQ(readText(objectDp("Tower.dp")), "swapped");
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Out of memory"});
}

TEST_F(SwapEngineTest, AShipTakenOutOfTheGameIsNotMadeAgain) {
    std::filesystem::remove_all(app.state.paths().shipFolder("Carrier"));
    for (SwapMode mode : {SwapMode::AxisFriendly, SwapMode::RestoreOriginals}) {
        EXPECT_EQ(swapTo("Raid.mis", mode), 0);
        EXPECT_TRUE(app.dialog.boxTexts().empty());
        EXPECT_FALSE(std::filesystem::exists(app.state.paths().shipFolder("Carrier")));
        EXPECT_TRUE(fileExists(shipDp("Cargo", "Cargo.dp")));
    }
}

TEST_F(SwapEngineTest, NoBackedUpObjectDpFails) {
    testkit::TempDir elsewhere;
    app.state.appDir = elsewhere.path();  // a program folder without a backup tree
    spoilGameDps();
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(readText(app.state.paths().sessionMission()), readText(app.state.paths().mission("Raid.mis")));
    EXPECT_EQ(setting("CUR_MISSION_2"), "Raid.mis");
    EXPECT_EQ(modifiedDps(), "");
    EXPECT_EQ(readText(objectDp("Tower.dp")), "swapped");
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not locate backup object DP's"});
    EXPECT_EQ(app.dialog.boxes()[0].caption, "Error");
}

class ShipFailureTest : public SwapEngineTest {
protected:
    std::string backupShips() { return app.state.paths().backupShipsFolder(); }
    void removeBackupShips() {
        std::filesystem::remove_all(backupShips());
    }
};

TEST_F(ShipFailureTest, NoBackupShipsFolder) {
    removeBackupShips();
    spoilGameDps();
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not locate backup ships folder"});
    // The object step ran to its end: restored, rewritten, logged.
    EXPECT_EQ(modifiedDps(), "Tower.dp=guns modified\r\n");
    EXPECT_EQ(readText(objectDp("Hangar.dp")), original("Hangar"));
    EXPECT_EQ(setting("LAST_SAVE_2"), "<absent>");
}

TEST_F(ShipFailureTest, NoShipSubFolders) {
    removeBackupShips();
    app.state.files().makeDirectory(backupShips());
    writeText(backupShips() + app.state.platform.separator + "notes.txt", "not a ship");
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not locate any backup ship sub-folders"});
    EXPECT_EQ(readText(objectDp("Tower.dp")), friendly("Tower"));
}

TEST_F(ShipFailureTest, AShipFolderWithoutDpsStopsAtThatFolder) {
    // Folders are visited in order: Cargo, then Carrier; Carrier's backup is empty.
    std::filesystem::remove(app.state.paths().backupShipDp("Carrier", "carrier_hull.dp"));
    spoilGameDps();
    writeText(shipDp("Cargo", "Cargo.dp"), "swapped");
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Missing backup DP in ships\\Carrier folder"});
    EXPECT_EQ(readText(shipDp("Cargo", "Cargo.dp")), original("Cargo"));
    EXPECT_EQ(readText(shipDp("Carrier", "carrier_hull.dp")), "swapped");
    EXPECT_EQ(setting("LAST_SAVE_2"), "<absent>");
}

// A swap whose mission cannot be put in place changes nothing else.
TEST_F(SwapEngineTest, AMissionThatCannotBeCopiedStopsTheSwap) {
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    spoilGameDps();
    const std::string settingsBefore = app.settingsText();
    const std::string sessionBefore = readText(app.state.paths().sessionMission());

    fillMissionList(app.state);
    app.dialog.pick(IDC_MISSION, "Convoy.mis");
    std::filesystem::remove(app.state.paths().mission("Convoy.mis"));
    EXPECT_EQ(swapMission(app.state, SwapMode::AlliedFriendly), 1);
    EXPECT_EQ(app.dialog.boxTexts(),
              std::vector<std::string>{"Could not copy the mission Convoy.mis to multiplayer.mis."});

    app.dialog.selectListEntry(IDC_MISSION, -1);
    EXPECT_EQ(swapMission(app.state, SwapMode::MissionOnly), 1);
    EXPECT_EQ(app.dialog.boxTexts().back(), "No mission is selected.");

    EXPECT_EQ(app.settingsText(), settingsBefore);
    EXPECT_EQ(readText(app.state.paths().sessionMission()), sessionBefore);
    EXPECT_EQ(readText(objectDp("Tower.dp")), "swapped");
}

TEST_F(SwapEngineTest, ARestoreGoesOnWithoutABackedUpSessionMission) {
    std::filesystem::remove(app.state.paths().backupSessionMission());
    const std::string session = readText(app.state.paths().sessionMission());
    spoilGameDps();
    EXPECT_EQ(swapMission(app.state, SwapMode::RestoreOriginals), 0);
    EXPECT_EQ(readText(app.state.paths().sessionMission()), session);
    EXPECT_EQ(readText(objectDp("Tower.dp")), original("Tower"));
    EXPECT_TRUE(app.dialog.boxes().empty());
}

TEST_F(SwapEngineTest, ReadOnlyGameFilesAreMadeWritableAndRestored) {
    spoilGameDps();
    testkit::makeReadOnly(objectDp("Tower.dp"));
    testkit::makeReadOnly(objectDp("Tower.cdp"));
    testkit::makeReadOnly(app.state.paths().sessionMission());
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    EXPECT_EQ(readText(objectDp("Tower.dp")), friendly("Tower"));
    EXPECT_FALSE(fileExists(objectDp("Tower.cdp")));
    EXPECT_EQ(readText(app.state.paths().sessionMission()), readText(app.state.paths().mission("Raid.mis")));
    EXPECT_TRUE(app.dialog.boxes().empty());
}

TEST_F(SwapEngineTest, FilesThatCannotBeReplacedAreNamedAfterEveryOtherFileIsDone) {
    spoilGameDps();
    testkit::FaultyFileSystem faulty(app.state.files());
    const std::string tower = objectDp("Tower.dp");
    const std::string hull = shipDp("Carrier", "carrier_hull.dp");
    faulty.failWhen(testkit::FileOp::ReplaceWithTemporary,
                    [&](const std::string& target) { return target == tower || target == hull; });
    app.state.platform.files = &faulty;
    writeProfileString(app.state.files(), "MAIN", "LAST_SAVE_2", "3", app.state.settingsPath);

    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(readText(tower), "swapped");
    EXPECT_EQ(readText(objectDp("Hangar.dp")), original("Hangar"));
    EXPECT_EQ(readText(shipDp("Cargo", "Cargo.dp")), original("Cargo"));
    ASSERT_EQ(app.dialog.boxes().size(), 1u);
    EXPECT_EQ(app.dialog.boxes()[0].text, "Could not restore 2 files:\n" + tower + "\n" + hull +
                                               "\n\nClose the game if it is running, then try again.");
    EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::Error);
    EXPECT_EQ(modifiedDps(), "");
    EXPECT_EQ(setting("LAST_SAVE_2"), "3");
}

TEST_F(SwapEngineTest, CompiledSiblingsThatStayAreNamedAfterTheDps) {
    spoilGameDps();
    // A folder where the compiled Hangar should be can never be deleted.
    std::filesystem::remove(objectDp("Hangar.cdp"));
    std::filesystem::create_directory(objectDp("Hangar.cdp"));
    testkit::FaultyFileSystem faulty(app.state.files());
    const std::string tower = objectDp("Tower.dp");
    const std::string hullSibling = shipDp("Carrier", "carrier_hull.cdp");
    faulty.failWhen(testkit::FileOp::ReplaceWithTemporary, [&](const std::string& target) { return target == tower; });
    faulty.failWhen(testkit::FileOp::RemoveFile, [&](const std::string& path) { return path == hullSibling; });
    app.state.platform.files = &faulty;

    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 1);
    EXPECT_EQ(app.dialog.boxTexts(),
              std::vector<std::string>{"Could not restore 3 files:\n" + tower + "\n" + objectDp("Hangar.cdp") + "\n" +
                                       hullSibling + "\n\nClose the game if it is running, then try again."});
    EXPECT_FALSE(fileExists(objectDp("Tower.cdp")));
    EXPECT_FALSE(fileExists(objectDp("Crate.cdp")));
    EXPECT_EQ(readText(objectDp("Hangar.dp")), original("Hangar"));
}

TEST_F(SwapEngineTest, ADpHoldingItsBytesAlreadyIsNotWrittenButLosesItsSibling) {
    ASSERT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    for (const char* name : {"Tower", "Hangar", "Crate"}) writeText(objectDp(std::string(name) + ".cdp"), "compiled");
    writeText(shipDp("Carrier", "carrier_hull.cdp"), "compiled");
    // No DP can be written now: the same swap again finds every one as it
    // should be, the rewritten Tower included.
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(testkit::FileOp::WriteTemporary, [](const std::string& target) {
        return target.find("objects_dp") != std::string::npos || target.find("ships") != std::string::npos;
    });
    app.state.platform.files = &faulty;
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::AxisFriendly), 0);
    EXPECT_TRUE(app.dialog.boxes().empty());
    EXPECT_EQ(modifiedDps(), "Tower.dp=guns modified\r\n");
    for (const char* sibling : {"Tower.cdp", "Hangar.cdp", "Crate.cdp"}) EXPECT_FALSE(fileExists(objectDp(sibling)));
    EXPECT_FALSE(fileExists(shipDp("Carrier", "carrier_hull.cdp")));

    // The restore must write Tower back, and says it could not.
    EXPECT_EQ(swapMission(app.state, SwapMode::RestoreOriginals), 1);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not restore 1 file:\n" + objectDp("Tower.dp") +
                                                              "\n\nClose the game if it is running, then try again."});
    EXPECT_EQ(readText(objectDp("Hangar.dp")), original("Hangar"));
}

TEST_F(SwapEngineTest, ManyFailuresAreCountedAfterTheFirstFew) {
    GameInstall many(kCfs2);
    many.mission("Raid.mis", MissionPlan{{}, {}}).ship("Carrier", {"carrier_hull"});
    for (int i = 0; i < 8; ++i) many.objectDp(DpPlan{"D" + std::to_string(i), 1, false, 0});
    app.install(many);
    many.writeBackup(app.appDir);
    // Each DP must be written: one that holds its original already is left alone.
    for (const std::string& dp : findNames(app.state.files(), app.state.paths().objectDpFolder(), "*.dp"))
        writeText(objectDp(dp), "swapped");
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(testkit::FileOp::ReplaceWithTemporary,
                    [](const std::string& target) { return target.find("objects_dp") != std::string::npos; });
    app.state.platform.files = &faulty;
    EXPECT_EQ(swapTo("Raid.mis", SwapMode::MissionOnly), 1);
    const std::string text = app.dialog.boxTexts().at(0);
    EXPECT_EQ(text.rfind("Could not restore 11 files:\n", 0), 0u) << text;
    EXPECT_NE(text.find("\nand 6 more\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace velmora
