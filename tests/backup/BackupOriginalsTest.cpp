// The backup of the games' originals, on real folders, through the in-memory dialog.
#include "backup/BackupOriginals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/FileSearch.h"
#include "core/PrivateProfile.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::DpPlan;
using testkit::FileOp;
using testkit::GameInstall;
using testkit::MissionPlan;
using testkit::readText;
using testkit::ShipPlan;
using testkit::writeText;

const std::string kSame = "<the game's>";  // a backup file equal to the game's
const std::string kNone = "<none>";        // no such file or folder in the backup tree
const std::string kVersion = "Different version of Velmora.\nOriginals being restored.\n";
std::string couldNotBackUp(const std::string& count, const std::string& names) {
    return "Could not back up " + count + ":\n" + names +
           "\nFree some space on the drive that holds Velmora, close any\nprogram that holds one of these files, or "
           "move Velmora\nto a folder with a shorter path, then start Velmora again.";
}

class BackupTest;

struct BackupRow {
    const char* name;
    std::function<void(BackupTest&)> prepare;
    std::vector<std::string> boxes;  // "{relative}" stands for the game's file
    int result = 0;
    std::map<std::string, std::string> backup = {};  // relative path -> contents, kSame or kNone
    std::vector<std::string> restored = {};          // game files equal to their backup copies
    std::function<void(BackupTest&)> check = {};
    std::vector<MessageAnswer> answers = {};
    std::optional<std::vector<std::string>> next = {};  // the boxes of the next start, on the real disk
};

class BackupTest : public ::testing::TestWithParam<BackupRow> {
public:
    BackupTest() { app.state.platform.files = &faulty; }
    ~BackupTest() override { app.state.platform.files = &real; }

    // CFS2: three object DPs, a carrier with two DPs, a cargo ship with one.
    static GameInstall cfs2() {
        GameInstall install(kCfs2);
        install.objectDps({"Tower", "Hangar", "Crate"}).ship("Carrier", {"carrier_hull", "carrier_deck"});
        return install.ship("Cargo", {"Cargo"});
    }
    static GameInstall cfs1() { return std::move(GameInstall(kCfs1).objectDps({"Tower", "Hangar"})); }
    // Installs the game and makes it active, so that paths name its folders.
    void use(const GameInstall& install) {
        app.install(install);
        app.activate(install.game());
    }
    int backup(GameVersion game) {
        app.activate(game);
        return backupOriginals(app.state);
    }
    std::string sep() { return std::string(1, app.state.platform.separator); }
    std::string expand(std::string text) {
        if (text == "<kept>")
            text = "Another program had changed 1 DP file:\n" + testkit::nativePath("objects_dp/Hangar.dp") +
                   "\nVelmora kept a copy of it in\n" + app.appDir + sep() + testkit::nativePath("keptcfs2/1") +
                   "\nbefore replacing it.";
        return app.expand(text);
    }
    void expectBoxes(const std::vector<std::string>& expected) {
        std::vector<std::string> texts;
        for (const std::string& text : expected) texts.push_back(expand(text));
        EXPECT_EQ(app.dialog.boxTexts(), texts);
        const std::string failed = "Unable to complete backup of CFS" + std::to_string(app.state.activeGame);
        for (const testkit::RecordedBox& box : app.dialog.boxes()) {
            SCOPED_TRACE(box.text);
            const bool fyi = box.text.ends_with("successfully backed up.") || box.text == kVersion ||
                             box.text.starts_with("Another program");
            const bool running = box.text.find(" is running") != std::string::npos;
            if (running) {
                EXPECT_EQ(box.caption, "Velmora");
                EXPECT_EQ(box.icon, MessageIcon::Warning);
                EXPECT_EQ(box.buttons, MessageButtons::YesNo);
                continue;
            }
            const bool question = box.text.starts_with("Extra units");
            const bool restoring = box.text == "Could not locate backup object DP's";
            EXPECT_EQ(box.caption, fyi ? "FYI"
                                   : question ? "Possible problem"
                                   : restoring ? "Error"
                                   : box.text == "Velmora will now shut down." ? ""
                                                                               : failed);
            const bool error = !fyi && !question && box.caption != "";
            EXPECT_EQ(box.icon, error ? MessageIcon::Error : MessageIcon::None);
            EXPECT_EQ(box.buttons, question ? MessageButtons::YesNo : MessageButtons::Ok);
        }
    }

    testkit::TestApp app;
    FileSystem& real = app.state.files();
    testkit::FaultyFileSystem faulty{real};
};

TEST_P(BackupTest, ShowsItsBoxesAndCopiesOnlyWhatItShould) {
    const BackupRow& row = GetParam();
    row.prepare(*this);
    app.dialog.clearBoxes();
    for (MessageAnswer answer : row.answers) app.dialog.answer(answer);
    EXPECT_EQ(backupOriginals(app.state), row.result);
    expectBoxes(row.boxes);
    for (const auto& [path, text] : row.backup) {
        const std::string copy = testkit::fileExists(app.backedUp(path)) ? readText(app.backedUp(path)) : kNone;
        EXPECT_EQ(copy, text == kSame ? readText(app.inGame(path)) : text) << path;
    }
    // Nothing reaches a ship folder a failed run refused; copies that failed
    // are reported after every folder is made.
    EXPECT_FALSE(row.result == 1 && !row.boxes.back().starts_with("Could not back up") &&
                 testkit::fileExists(app.backedUp("ships/Carrier")));
    for (const std::string& path : row.restored) EXPECT_EQ(readText(app.inGame(path)), readText(app.backedUp(path))) << path;
    if (row.check) row.check(*this);
    if (row.next) {
        app.state.platform.files = &real;
        app.dialog.clearBoxes();
        EXPECT_EQ(backupOriginals(app.state), 0);
        expectBoxes(*row.next);
    }
}

std::string rowName(const ::testing::TestParamInfo<BackupRow>& row) { return row.param.name; }

// A complete backup of the standard CFS2, then `change` to the game.
std::function<void(BackupTest&)> afterABackup(std::function<void(BackupTest&)> change) {
    return [change](BackupTest& t) {
        t.use(BackupTest::cfs2());
        ASSERT_EQ(t.backup(kCfs2), 0);
        change(t);
    };
}

GameInstall withShip(GameInstall install, const std::string& folder, const std::vector<std::string>& dps,
                     std::vector<std::string> sims, bool config = true) {
    ShipPlan ship{folder, {}, std::move(sims), config};
    for (const std::string& dp : dps) ship.dps.push_back(DpPlan{dp, std::nullopt, true, 0});
    return std::move(install.ship(ship));
}

const BackupRow kSummaries[] = {
    {"FirstStartUp", [](auto& t) { t.use(BackupTest::cfs1()); },
     {"CFS1 object DP's and multiplayer.mis successfully backed up."}, 0,
     {{"objects_dp/Tower.dp", kSame}, {"multiplayer.mis", kSame}, {"objects_dp/Tower.cdp", kNone}, {"ships", kNone}},
     {}, {}, {}, std::vector<std::string>{}},
    // Only the DPs a ship.cfg names; a gap in the config ends its list.
    {"ShipDpsTheirConfigsName",
     [](auto& t) {
         t.use(withShip(BackupTest::cfs2(), "Sub", {"sub_hull", "unnamed"}, {"sub_hull"}));
         writeText(t.app.inGame("ships/Cargo/ship.cfg"), "[FLTSIM.0]\r\nSIM=Cargo\r\n[FLTSIM.2]\r\nSIM=missing\r\n");
     },
     {"CFS2 object and ship DP's and multiplayer.mis successfully backed up."}, 0,
     {{"ships/Carrier/carrier_deck.dp", kSame}, {"ships/Sub/sub_hull.dp", kSame}, {"ships/Sub/unnamed.dp", kNone},
      {"ships/Carrier/ship.cfg", kNone}, {"ships/Cargo/Cargo.dp", kSame}}},
    {"NewObjectDp", afterABackup([](auto& t) { writeText(t.app.inGame("objects_dp/Radar.dp"), "new"); }),
     {"CFS2 new object DP successfully backed up."}},
    {"NewShipDp",
     afterABackup([](auto& t) {
         writeText(t.app.inGame("ships/Cargo/ship.cfg"), testkit::shipConfigText({"Cargo", "Cargo_aft"}));
         writeText(t.app.inGame("ships/Cargo/Cargo_aft.dp"), "new ship dp");
     }),
     {"CFS2 new ship DP successfully backed up."}},
    {"NewSessionMission", afterABackup([](auto& t) { std::filesystem::remove(t.app.backedUp("multiplayer.mis")); }),
     {"CFS2 new multiplayer.mis successfully backed up."}},
    {"NewObjectAndShipDps",
     afterABackup([](auto& t) {
         writeText(t.app.inGame("objects_dp/Flak.dp"), "1");
         writeText(t.app.inGame("objects_dp/Fuel.dp"), "2");
         writeText(t.app.inGame("ships/Carrier/ship.cfg"), testkit::shipConfigText({"carrier_hull", "carrier_deck", "isle"}));
         writeText(t.app.inGame("ships/Carrier/isle.dp"), "3");
     }),
     {"CFS2 new object and ship DP's successfully backed up."}},
    // A backed-up multiplayer.mis is neither probed nor copied.
    {"OneOfEachWithTheMissionBackedUp",
     [](auto& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}).ship("Carrier", {"hull"}).sessionMission(
             MissionPlan{{{1, 1, "A"}, {2, 2, "B"}}, {{1}, {2}}}));
         writeText(t.app.backedUp("multiplayer.mis"), "kept");
     },
     {"CFS2 object and ship DP's successfully backed up."}, 0, {{"multiplayer.mis", "kept"}}},
    {"BackedUpFilesAreNeverOverwritten",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         writeText(t.app.backedUp("objects_dp/Tower.dp"), "the first original");
         writeText(t.app.backedUp("ships/Cargo/Cargo.dp"), "first cargo");
     },
     {"CFS2 new object and ship DP's and multiplayer.mis successfully backed up."}, 0,
     {{"objects_dp/Tower.dp", "the first original"}, {"ships/Cargo/Cargo.dp", "first cargo"}}},
    {"TwoConfigEntriesNamingOneDp",
     [](auto& t) { t.use(withShip(GameInstall(kCfs2).objectDps({"Tower"}), "Carrier", {"hull"}, {"hull", "hull"})); },
     {"CFS2 new object and ship DP's and multiplayer.mis successfully backed up."}},
    // A ship folder without config, a file without extension and a folder
    // with one add nothing, wherever they are listed.
    {"ShipFoldersWithoutConfigAreSkipped",
     [](auto& t) {
         t.use(withShip(BackupTest::cfs2(), "Barge", {"barge"}, {}, false));
         writeText(t.app.inGame("ships/Anchors"), "an extensionless file");
         writeText(t.app.inGame("ships/Carrier.old/ship.cfg"), testkit::shipConfigText({"old"}));
         writeText(t.app.inGame("ships/Carrier.old/old.dp"), "old");
     },
     {"CFS2 object and ship DP's and multiplayer.mis successfully backed up."}, 0,
     {{"ships/Barge/barge.dp", kNone}, {"ships/Carrier.old/old.dp", kNone}, {"ships/Carrier/carrier_deck.dp", kSame}}},
    // The game had no multiplayer.mis of its own: that is recorded, and the
    // one a swap puts there later is never taken for the original.
    {"NoSessionMission", [](auto& t) { t.use(BackupTest::cfs1().noSessionMission()); },
     {"CFS1 object DP's successfully backed up."}, 0,
     {{"multiplayer.mis", kNone},
      {"no-multiplayer-mis.txt", "CFS1 had no multiplayer.mis of its own when Velmora first backed it up.\r\n"
                                 "Restore removes the multiplayer.mis a swap puts there.\r\n"}},
     {}, [](auto& t) { writeText(t.app.inGame("multiplayer.mis"), "[unit.0]\r\ntype_id=1\r\n"); }, {},
     std::vector<std::string>{}},
    {"ATypeIdOfXCountsAsAbsent",
     [](auto& t) {
         t.use(BackupTest::cfs1().sessionMissionText("[unit_type.1]\r\ntype_id=x\r\n[unit.1]\r\nname=n\r\n"));
     },
     {"CFS1 object DP's and multiplayer.mis successfully backed up."}},
    // A file held open by another program, and a full disk: named, and the
    // next start backs them up.
    {"FailedCopiesAreReported",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         t.faulty.failWhen(FileOp::ReadFile, [](const std::string& path) { return path.ends_with("Tower.dp"); });
         t.faulty.failWhen(FileOp::WriteTemporary,
                           [](const std::string& target) { return target.ends_with("multiplayer.mis"); });
     },
     {couldNotBackUp("2 files", "{multiplayer.mis}\n{objects_dp/Tower.dp}\n")}, 1,
     {{"objects_dp/Tower.dp", kNone}, {"objects_dp/Crate.dp", kSame}, {"multiplayer.mis", kNone}}, {}, {}, {},
     std::vector<std::string>{"CFS2 new object DP and multiplayer.mis successfully backed up."}},
    // Copies that cannot reach the disk are not backed up, and come at the next start.
    {"CopiesThatCannotReachTheDisk",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         t.faulty.failNth(FileOp::FlushTemporaries, 1);
     },
     {couldNotBackUp("7 files", "{multiplayer.mis}\n{objects_dp/Crate.dp}\n{objects_dp/Hangar.dp}\n{objects_dp/Tower.dp}\n"
                           "{ships/Cargo/Cargo.dp}\nand 2 more\n")},
     1, {{"multiplayer.mis", kNone}}, {},
     [](auto& t) {
         EXPECT_TRUE(findNames(t.real, t.app.state.paths().backupObjectDpFolder(), "*").empty());
         EXPECT_TRUE(findNames(t.real, t.app.state.paths().backupShipFolder("Carrier"), "*").empty());
     },
     {}, std::vector<std::string>{"CFS2 object and ship DP's and multiplayer.mis successfully backed up."}},
};
INSTANTIATE_TEST_SUITE_P(Summaries, BackupTest, ::testing::ValuesIn(kSummaries), rowName);

// A CFS2 whose ship folder `folder` has a ship.cfg naming `sim`, which cannot be opened.
BackupRow naming(const char* name, const std::string& folder, const std::string& sim) {
    return {name, [=](BackupTest& t) { t.use(withShip(GameInstall(kCfs2).objectDps({"Tower"}), folder, {}, {sim})); },
            {"Error is original ship config '" + folder + ".cfg', could not open " + sim + ".dp"}, 1};
}
std::function<void(BackupTest&)> fileInPlaceOf(std::string (GamePaths::*folder)() const) {
    return [=](BackupTest& t) {
        t.use(BackupTest::cfs2());
        writeText((t.app.state.paths().*folder)(), "a file in the folder's place");
    };
}

const BackupRow kErrors[] = {
    {"BackupRootIsAFile", fileInPlaceOf(&GamePaths::backupRoot), {"Could not create BACKUP folder"}, 1},
    {"ObjectDpFolderIsAFile", fileInPlaceOf(&GamePaths::backupObjectDpFolder),
     {"Could not create BACKUP\\OBJECTS_DP folder"}, 1},
    {"ShipsFolderIsAFile", fileInPlaceOf(&GamePaths::backupShipsFolder), {"Could not create BACKUP\\SHIPS folder"}, 1},
    // What was copied before the failure stays.
    {"NoObjectDp",
     [](auto& t) {
         t.use(GameInstall(kCfs1));
         writeText(t.app.inGame("objects_dp/readme.txt"), "no DP here");
     },
     {"Could not locate any original object DP's"}, 1, {{"multiplayer.mis", kSame}}},
    {"NoShipsFolder", [](auto& t) { t.use(GameInstall(kCfs2).objectDps({"Tower"})); },
     {"Could not locate the original SHIPS folder"}, 1, {{"objects_dp/Tower.dp", kSame}}},
    {"NoShipConfig",
     [](auto& t) { t.use(withShip(GameInstall(kCfs2).objectDps({"Tower"}), "Wreck", {"wreck"}, {}, false)); },
     {"Could not locate any original ships"}, 1},
    {"EmptyShipsFolder",
     [](auto& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}));
         std::filesystem::create_directories(t.app.inGame("ships"));
     },
     {"Could not locate any original ships"}, 1},
    naming("ConfigNamesAMissingDp", "Cruiser", "cruiser_hull"),
    naming("ConfigNamesAFileUpTheTree", "Carrier", "..\\..\\objects_dp\\Tower"),
    naming("ConfigNamesAFileUpTheTreeWithSlashes", "Carrier", "../../objects_dp/Tower"),
    naming("ConfigNamesTheParent", "Carrier", ".."),
    naming("ConfigNamesTheFolder", "Carrier", "."),
    naming("ConfigNamesADrive", "Carrier", "C:evil"),
    // The message is built whole whatever its length.
    naming("LongNames", std::string(150, 'F'), std::string(200, 's')),
    {"BackupShipFolderIsAFile",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         writeText(t.app.state.paths().backupShipFolder("Cargo"), "x");
     },
     {"Error creating a backup ship subfolder"}, 1},
};
INSTANTIATE_TEST_SUITE_P(Errors, BackupTest, ::testing::ValuesIn(kErrors), rowName);

// The box of the DPs an earlier swap left rewritten: the first five, then a count.
std::string refused(const std::string& count, const std::string& names) {
    return count + " changed by an earlier swap and not backed up:\n" + names +
           "\nThey are not the game's originals, so Velmora cannot restore them.\nPut the game's original files "
           "back (from the game's CD or a reinstall),\nthen start Velmora again.";
}

// The backup tree was lost while a swap was in force: the rewritten DPs must
// not become the originals every restore puts back, at this start or the next.
const std::string kEight = refused("8 DP files were", "{objects_dp/A.dp}\n{objects_dp/B.dp}\n{objects_dp/C.dp}\n"
                                                      "{objects_dp/D.dp}\n{objects_dp/E.dp}\nand 3 more\n");
const std::string kOne = refused("1 DP file was", "{ships/Carrier/hull.dp}\n");

const BackupRow kRefusals[] = {
    {"EightRewrittenDps",
     [](auto& t) {
         t.use(GameInstall(kCfs2).objectDps({"A", "B", "C", "D", "E", "F", "G", "Plain"}).ship("Carrier", {"hull"}));
         const std::string mark = "; modified by Velmora";
         for (const char* dp : {"A", "B", "C", "D", "E", "F"})
             writeText(t.app.inGame(std::string("objects_dp/") + dp + ".dp"), "[guns.0]\r\n" + mark + "\r\ngun.0=1\r\n");
         writeText(t.app.inGame("objects_dp/G.dp"), testkit::utf16le("[guns.0]\r\n  " + mark + "\r\n"));
         writeText(t.app.inGame("objects_dp/Plain.dp"), "[misc_data]\r\nnote=" + mark + "\r\n");  // not a line of its own
         writeText(t.app.inGame("ships/Carrier/hull.dp"), "\r" + mark + "\r");
     },
     {"CFS2 new object DP and multiplayer.mis successfully backed up.", kEight}, 0,
     {{"objects_dp/A.dp", kNone}, {"objects_dp/G.dp", kNone}, {"ships/Carrier/hull.dp", kNone},
      {"objects_dp/Plain.dp", kSame}},
     {}, {}, {}, std::vector<std::string>{kEight}},
    {"OneRewrittenDp",
     [](auto& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}).ship("Carrier", {"hull"}));
         writeText(t.app.inGame("ships/Carrier/hull.dp"), "; modified by Velmora\r\n");
     },
     {"CFS2 new object DP and multiplayer.mis successfully backed up.", kOne}},
};
INSTANTIATE_TEST_SUITE_P(Refusals, BackupTest, ::testing::ValuesIn(kRefusals), rowName);

// A second unit or unit type in the game's own multiplayer.mis: No shuts
// Velmora down with nothing copied, Yes backs it up.
std::function<void(BackupTest&)> suspect(const char* session) {
    return [=](BackupTest& t) { t.use(BackupTest::cfs1().sessionMissionText(session)); };
}
const std::string kSuspect =
    "Extra units or unit types found in existing CFS1 multiplayer.mis file.\n\nAre you SURE you wish to backup this "
    "file?";

const BackupRow kSuspects[] = {
    {"SecondUnit", suspect("[unit_type.0]\r\ntype_id=1\r\n[unit.1]\r\ntype_id=5\r\n"),
     {kSuspect, "Velmora will now shut down."}, 1, {{"multiplayer.mis", kNone}, {"objects_dp/Tower.dp", kNone}}, {},
     {}, {MessageAnswer::No, MessageAnswer::Yes},
     std::vector<std::string>{kSuspect, "CFS1 object DP's and multiplayer.mis successfully backed up."}},
    {"SecondTypeWithAnEmptyTypeId", suspect("[unit_type.1]\r\ntype_id=\r\n"), {kSuspect, "Velmora will now shut down."},
     1, {{"multiplayer.mis", kNone}}},
    {"SecondUnitOfAnyTypeId", suspect("[unit.1]\r\ntype_id=y\r\n"), {kSuspect, "Velmora will now shut down."}, 1},
};
INSTANTIATE_TEST_SUITE_P(Suspects, BackupTest, ::testing::ValuesIn(kSuspects), rowName);

const std::string kRewritten = "[guns.0]\r\n; modified by Velmora\r\n";
// Both games backed up, then a swapped-in mission and DP in CFS1, and `settings`.
std::function<void(BackupTest&)> swappedIn(std::string settings) {
    return [=](BackupTest& t) {
        t.use(BackupTest::cfs1().mission("Raid.mis", MissionPlan{{{1, 1, "Tower"}}, {{1}}}));
        t.use(BackupTest::cfs2());
        t.backup(kCfs1);
        t.backup(kCfs2);
        t.app.activate(kCfs1);
        writeText(t.app.inGame("multiplayer.mis"), "swapped in");
        writeText(t.app.inGame("objects_dp/Tower.dp"), kRewritten);
        writeText(t.app.state.settingsPath, settings);
    };
}
const std::string kCfs1Running =
    "CFS1 is running: {combatfs.exe}\nVelmora is about to put the game's original files back.\n\nClose CFS1, then "
    "press Yes.\nPress No to put them back while it runs.";
const std::string kThisVersion = "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_2=2\r\nCUR_MISSION_2=Raid.mis\r\n";
const std::string kModified = "[MODIFIED_DPS_2]\r\nTower.dp=guns modified\r\n";
const std::string kEmptyLogs = "[MODIFIED_DPS_1]\r\n[MODIFIED_DPS_2]\r\n";
const std::string kFresh1 = "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_1=4\r\nCUR_MISSION_1=Original mp.mis file\r\n";

std::function<void(BackupTest&)> settingsAre(std::string text) {
    return [=](BackupTest& t) { EXPECT_EQ(t.app.settingsText(), text); };
}
// The settings of this version stay as they are, start after start, as
// Velmora writes them and as a player saves them from Notepad as "Unicode"
// with a line of his own.
std::function<void(BackupTest&)> settingsOfThisVersion(std::string text) {
    return [=](BackupTest& t) {
        t.use(BackupTest::cfs2());
        writeText(t.app.state.settingsPath, text);
    };
}
const std::string kUnicodeSettings = testkit::utf16le(kThisVersion + "STATIC_IP=10.1.2.3\r\n" + kModified);

const BackupRow kVersions[] = {
    {"AnotherVersionRestoresAndStartsAFreshFile",
     swappedIn("[MAIN]\r\nVLMR_VERSION=1.1\r\nCUR_MISSION_1=Raid.mis\r\n[MODIFIED_DPS_1]\r\nTower.dp=x\r\n"),
     {kVersion}, 0, {}, {"objects_dp/Tower.dp", "multiplayer.mis"},
     settingsAre(kFresh1 + kEmptyLogs)},
    // The restore waits for the game: asked again while it runs, it goes on once it has closed.
    {"NoVersionIsAnotherVersion",
     [](auto& t) {
         swappedIn("[MAIN]\r\nLAST_SAVE_1=2\r\nCUR_MISSION_1=Raid.mis\r\n")(t);
         t.app.processes.running = {"init", t.app.state.paths().gameExecutable()};
         t.app.dialog.onMessageBox([&t, asked = 0](const testkit::RecordedBox& box) mutable {
             if (box.text.starts_with("CFS1 is running") && ++asked == 2) t.app.processes.running.clear();
         });
     },
     {kVersion, kCfs1Running, kCfs1Running}, 0, {}, {"objects_dp/Tower.dp", "multiplayer.mis"},
     settingsAre(kFresh1 + kEmptyLogs), {MessageAnswer::Yes, MessageAnswer::Yes}},
    // The other game is restored too, and its next start shows nothing. What
    // an add-on changed there is kept first; asked, the player lets CFS1's
    // restore go on while the game runs.
    {"WithBothGamesBothAreRestored",
     [](auto& t) {
         swappedIn("[MAIN]\r\nVLMR_VERSION=0.9\r\n")(t);
         t.app.processes.running = {"combatfs.exe"};
         t.app.activate(kCfs2);
         writeText(t.app.inGame("objects_dp/Hangar.dp"), "an add-on's");
         writeText(t.app.inGame("multiplayer.mis"), "swapped in too");
         t.app.activate(kCfs1);
     },
     {kVersion,
      "A program named combatfs.exe is running; it may be CFS1.\nVelmora is about to put the game's original files "
      "back.\n\nClose CFS1, then press Yes.\nPress No to put them back while it runs.",
      "<kept>"},
     0, {}, {"objects_dp/Tower.dp", "multiplayer.mis"},
     [](auto& t) {
         t.app.activate(kCfs2);
         for (const char* path : {"objects_dp/Hangar.dp", "multiplayer.mis"})
             EXPECT_EQ(readText(t.app.inGame(path)), readText(t.app.backedUp(path))) << path;
         EXPECT_EQ(readText(t.app.appDir + t.sep() + testkit::nativePath("keptcfs2/1/objects_dp/Hangar.dp")),
                   "an add-on's");
     },
     {}, std::vector<std::string>{}},
    // The restore's own error, then the backup of the DPs it could not find.
    {"AFailedRestoreOrDeleteDoesNotStopTheRun",
     [](auto& t) {
         swappedIn("[MAIN]\r\nVLMR_VERSION=2.0\r\n")(t);
         writeText(t.app.inGame("objects_dp/Tower.dp"), "an add-on's");
         std::filesystem::remove_all(t.app.state.paths().backupObjectDpFolder());
         t.faulty.failWhen(FileOp::RemoveFile,
                           [&t](const std::string& path) { return path == t.app.state.settingsPath; });
     },
     {kVersion, "Could not locate backup object DP's", "CFS1 object DP's successfully backed up."}, 0, {}, {},
     [](auto& t) { EXPECT_EQ(t.app.setting("VLMR_VERSION"), "1.0"); }},
    {"TheSettingsOfThisVersionStay", settingsOfThisVersion(kThisVersion + kModified),
     {"CFS2 object and ship DP's and multiplayer.mis successfully backed up."}, 0, {}, {},
     settingsAre(kThisVersion + kModified), {}, std::vector<std::string>{}},
    {"TheUnicodeSettingsOfThisVersionStay", settingsOfThisVersion(kUnicodeSettings),
     {"CFS2 object and ship DP's and multiplayer.mis successfully backed up."}, 0, {}, {},
     settingsAre(kUnicodeSettings), {}, std::vector<std::string>{}},
    {"ALongStoredValueIsCutTo255Bytes",
     [](auto& t) {
         t.use(BackupTest::cfs1());
         const std::string settings = "[MAIN]\r\nVLMR_VERSION=1.0\r\nCUR_MISSION_1=" + std::string(300, 'm') + "\r\n";
         writeText(t.app.state.settingsPath, settings);
     },
     {"CFS1 object DP's and multiplayer.mis successfully backed up."}, 0, {}, {},
     [](auto& t) { EXPECT_EQ(t.app.setting("CUR_MISSION_1"), std::string(255, 'm')); }},
    {"NoSettingsAndBothGamesGiveTheFreshFile",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         t.use(BackupTest::cfs1());
         t.backup(kCfs1);
         t.app.activate(kCfs2);
     },
     {"CFS2 object and ship DP's and multiplayer.mis successfully backed up."}, 0, {}, {},
     settingsAre(kFresh1 + "LAST_SAVE_2=4\r\nCUR_MISSION_2=Original mp.mis file\r\n" + kEmptyLogs)},
    // A settings file that cannot be read counts as absent, whatever its version.
    {"AnUnreadableSettingsFile",
     [](auto& t) {
         t.use(BackupTest::cfs1());
         writeText(t.app.state.settingsPath, "[MAIN]\r\nVLMR_VERSION=0.1\r\nLAST_SAVE_1=2\r\n");
         t.faulty.failWhen(FileOp::CanOpenForReading,
                           [&t](const std::string& path) { return path == t.app.state.settingsPath; });
     },
     {"CFS1 object DP's and multiplayer.mis successfully backed up."}, 0, {}, {},
     [](auto& t) {
         EXPECT_EQ(t.app.setting("LAST_SAVE_1"), "2");
         EXPECT_NE(t.app.settingsText().find("[MODIFIED_DPS_2]"), std::string::npos);
     }},
};
INSTANTIATE_TEST_SUITE_P(Versions, BackupTest, ::testing::ValuesIn(kVersions), rowName);

}  // namespace
}  // namespace velmora
