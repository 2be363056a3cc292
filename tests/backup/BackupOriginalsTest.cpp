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
using Step = std::function<void(BackupTest&)>;
// Files written before the run: a path in the game, "backup/..." in the backup tree or "<settings>", and its text.
using Files = std::vector<std::pair<std::string, std::string>>;
const std::optional<std::vector<std::string>> kQuiet = std::vector<std::string>{};

struct BackupRow {
    const char* name;
    Step prepare;
    std::vector<std::string> boxes;  // "{relative}" stands for the game's file
    int result = 0;
    std::map<std::string, std::string> backup = {};     // relative path -> contents, kSame or kNone
    std::optional<std::vector<std::string>> next = {};  // the boxes of the next start, on the real disk
    Step check = {};
    std::vector<MessageAnswer> answers = {};
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
    void write(const Files& files) {
        for (const auto& [path, text] : files)
            writeText(path == "<settings>"           ? app.state.settingsPath
                      : path == "backup"            ? app.state.paths().backupRoot()
                      : path.starts_with("backup/") ? app.backedUp(path.substr(7))
                                                    : app.inGame(path),
                      text);
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
            const bool question = running || box.text.starts_with("Extra units");
            const bool restoring = box.text == "Could not locate backup object DP's";
            EXPECT_EQ(box.caption, running    ? "Velmora"
                                   : fyi      ? "FYI"
                                   : question ? "Possible problem"
                                   : restoring ? "Error"
                                   : box.text == "Velmora will now shut down." ? ""
                                                                               : failed);
            const bool error = !fyi && !question && box.caption != "";
            EXPECT_EQ(box.icon, running ? MessageIcon::Warning : error ? MessageIcon::Error : MessageIcon::None);
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
    if (row.check) row.check(*this);
    if (row.next) {
        app.state.platform.files = &real;
        app.dialog.clearBoxes();
        EXPECT_EQ(backupOriginals(app.state), 0);
        expectBoxes(*row.next);
    }
}

std::string rowName(const ::testing::TestParamInfo<BackupRow>& row) { return row.param.name; }

// `install`, active, with `files` written.
Step with(GameInstall install, Files files = {}) {
    return [=](BackupTest& t) {
        t.use(install);
        t.write(files);
    };
}
// A complete backup of the standard CFS2, then `files` written, then `more`.
Step afterABackup(Files files, Step more = {}) {
    return [=](BackupTest& t) {
        t.use(BackupTest::cfs2());
        ASSERT_EQ(t.backup(kCfs2), 0);
        t.write(files);
        if (more) more(t);
    };
}

GameInstall withShip(GameInstall install, const std::string& folder, const std::vector<std::string>& dps,
                     std::vector<std::string> sims, bool config = true) {
    ShipPlan ship{folder, {}, std::move(sims), config};
    for (const std::string& dp : dps) ship.dps.push_back(DpPlan{dp, std::nullopt, true, 0});
    return std::move(install.ship(ship));
}

const std::string kAllCfs2 = "CFS2 object and ship DP's and multiplayer.mis successfully backed up.";
const std::string kAllNewCfs2 = "CFS2 new object and ship DP's and multiplayer.mis successfully backed up.";
const std::string kAllCfs1 = "CFS1 object DP's and multiplayer.mis successfully backed up.";

const BackupRow kSummaries[] = {
    {"FirstStartUp", with(BackupTest::cfs1()), {kAllCfs1}, 0,
     {{"objects_dp/Tower.dp", kSame}, {"multiplayer.mis", kSame}, {"objects_dp/Tower.cdp", kNone}, {"ships", kNone}},
     kQuiet},
    // Only the DPs a ship.cfg names; a gap in the config ends its list.
    {"ShipDpsTheirConfigsName",
     with(withShip(BackupTest::cfs2(), "Sub", {"sub_hull", "unnamed"}, {"sub_hull"}),
          {{"ships/Cargo/ship.cfg", "[FLTSIM.0]\r\nSIM=Cargo\r\n[FLTSIM.2]\r\nSIM=missing\r\n"}}),
     {kAllCfs2}, 0,
     {{"ships/Carrier/carrier_deck.dp", kSame}, {"ships/Sub/sub_hull.dp", kSame}, {"ships/Sub/unnamed.dp", kNone},
      {"ships/Carrier/ship.cfg", kNone}, {"ships/Cargo/Cargo.dp", kSame}}},
    {"NewShipDp",
     afterABackup({{"ships/Cargo/ship.cfg", testkit::shipConfigText({"Cargo", "Cargo_aft"})},
                   {"ships/Cargo/Cargo_aft.dp", "new ship dp"}}),
     {"CFS2 new ship DP successfully backed up."}},
    {"NewSessionMission", afterABackup({}, [](auto& t) { std::filesystem::remove(t.app.backedUp("multiplayer.mis")); }),
     {"CFS2 new multiplayer.mis successfully backed up."}},
    // A backed-up multiplayer.mis is neither probed nor copied.
    {"OneOfEachWithTheMissionBackedUp",
     with(GameInstall(kCfs2).objectDps({"Tower"}).ship("Carrier", {"hull"}).sessionMission(
              MissionPlan{{{1, 1, "A"}, {2, 2, "B"}}, {{1}, {2}}}),
          {{"backup/multiplayer.mis", "kept"}}),
     {"CFS2 object and ship DP's successfully backed up."}, 0, {{"multiplayer.mis", "kept"}}},
    {"BackedUpFilesAreNeverOverwritten",
     with(BackupTest::cfs2(),
          {{"backup/objects_dp/Tower.dp", "the first original"}, {"backup/ships/Cargo/Cargo.dp", "first cargo"}}),
     {kAllNewCfs2}, 0, {{"objects_dp/Tower.dp", "the first original"}, {"ships/Cargo/Cargo.dp", "first cargo"}}},
    {"TwoConfigEntriesNamingOneDp",
     with(withShip(GameInstall(kCfs2).objectDps({"Tower"}), "Carrier", {"hull"}, {"hull", "hull"})), {kAllNewCfs2}},
    // A ship folder without config, a file without extension and a folder
    // with one add nothing, wherever they are listed.
    {"ShipFoldersWithoutConfigAreSkipped",
     with(withShip(BackupTest::cfs2(), "Barge", {"barge"}, {}, false),
          {{"ships/Anchors", "an extensionless file"},
           {"ships/Carrier.old/ship.cfg", testkit::shipConfigText({"old"})},
           {"ships/Carrier.old/old.dp", "old"}}),
     {kAllCfs2}, 0,
     {{"ships/Barge/barge.dp", kNone}, {"ships/Carrier.old/old.dp", kNone}, {"ships/Carrier/carrier_deck.dp", kSame}}},
    // The game had no multiplayer.mis of its own: that is recorded, and the
    // one a swap puts there later is never taken for the original.
    {"NoSessionMission", with(BackupTest::cfs1().noSessionMission()), {"CFS1 object DP's successfully backed up."}, 0,
     {{"multiplayer.mis", kNone},
      {"no-multiplayer-mis.txt", "CFS1 had no multiplayer.mis of its own when Velmora first backed it up.\r\n"
                                 "Restore removes the multiplayer.mis a swap puts there.\r\n"}},
     kQuiet, [](auto& t) { t.write({{"multiplayer.mis", "[unit.0]\r\ntype_id=1\r\n"}}); }},
    {"ATypeIdOfXCountsAsAbsent",
     with(BackupTest::cfs1().sessionMissionText("[unit_type.1]\r\ntype_id=x\r\n[unit.1]\r\nname=n\r\n")), {kAllCfs1}},
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
     {{"objects_dp/Tower.dp", kNone}, {"objects_dp/Crate.dp", kSame}, {"multiplayer.mis", kNone}},
     std::vector<std::string>{"CFS2 new object DP and multiplayer.mis successfully backed up."}},
    // Copies that cannot reach the disk are not backed up, and come at the next start.
    {"CopiesThatCannotReachTheDisk",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         t.faulty.failNth(FileOp::FlushTemporaries, 1);
     },
     {couldNotBackUp("7 files", "{multiplayer.mis}\n{objects_dp/Crate.dp}\n{objects_dp/Hangar.dp}\n"
                                "{objects_dp/Tower.dp}\n{ships/Cargo/Cargo.dp}\nand 2 more\n")},
     1, {{"multiplayer.mis", kNone}}, std::vector<std::string>{kAllCfs2},
     [](auto& t) {
         EXPECT_TRUE(findNames(t.real, t.app.state.paths().backupObjectDpFolder(), "*").empty());
         EXPECT_TRUE(findNames(t.real, t.app.state.paths().backupShipFolder("Carrier"), "*").empty());
     }},
};
INSTANTIATE_TEST_SUITE_P(Summaries, BackupTest, ::testing::ValuesIn(kSummaries), rowName);

// A CFS2 whose ship folder `folder`, between two good ones, has a ship.cfg
// naming `sim`, which cannot be opened: what was copied before stays, and
// nothing reaches the refused folder or any after it.
BackupRow naming(const char* name, const std::string& folder, const std::string& sim) {
    const GameInstall install = GameInstall(kCfs2).objectDps({"Tower"}).ship("Barge", {"barge"});
    return {name, with(withShip(install, folder, {}, {sim}).ship("Zulu", {"zulu"})),
            {"Error is original ship config '" + folder + ".cfg', could not open " + sim + ".dp"}, 1,
            {{"ships/Barge/barge.dp", kSame}, {"ships/" + folder, kNone}, {"ships/Zulu", kNone}}};
}
const std::string kNoShips = "Could not locate any original ships";

const BackupRow kErrors[] = {
    // A file where a backup folder should be.
    {"BackupRootIsAFile", with(BackupTest::cfs2(), {{"backup", "x"}}), {"Could not create BACKUP folder"}, 1},
    {"ObjectDpFolderIsAFile", with(BackupTest::cfs2(), {{"backup/objects_dp", "x"}}),
     {"Could not create BACKUP\\OBJECTS_DP folder"}, 1},
    {"ShipsFolderIsAFile", with(BackupTest::cfs2(), {{"backup/ships", "x"}}), {"Could not create BACKUP\\SHIPS folder"},
     1},
    // What was copied before the failure stays.
    {"NoObjectDp", with(GameInstall(kCfs1), {{"objects_dp/readme.txt", "no DP here"}}),
     {"Could not locate any original object DP's"}, 1, {{"multiplayer.mis", kSame}}},
    {"NoShipsFolder", with(GameInstall(kCfs2).objectDps({"Tower"})), {"Could not locate the original SHIPS folder"}, 1,
     {{"objects_dp/Tower.dp", kSame}}},
    {"NoShipConfig", with(withShip(GameInstall(kCfs2).objectDps({"Tower"}), "Wreck", {"wreck"}, {}, false)), {kNoShips},
     1},
    {"EmptyShipsFolder",
     [](auto& t) {
         t.use(GameInstall(kCfs2).objectDps({"Tower"}));
         std::filesystem::create_directories(t.app.inGame("ships"));
     },
     {kNoShips}, 1},
    naming("ConfigNamesAMissingDp", "Cruiser", "cruiser_hull"),
    naming("ConfigNamesAFileUpTheTree", "Carrier", "..\\..\\objects_dp\\Tower"),
    naming("ConfigNamesAFileUpTheTreeWithSlashes", "Carrier", "../../objects_dp/Tower"),
    naming("ConfigNamesTheParent", "Carrier", ".."),
    naming("ConfigNamesTheFolder", "Carrier", "."),
    naming("ConfigNamesADrive", "Carrier", "C:evil"),
    // The message is built whole whatever its length.
    naming("LongNames", std::string(150, 'F'), std::string(200, 's')),
    {"BackupShipFolderIsAFile", with(BackupTest::cfs2(), {{"backup/ships/Cargo", "x"}}),
     {"Error creating a backup ship subfolder"}, 1, {{"ships/Carrier", kNone}}},
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
const std::string kMark = "; modified by Velmora";
const std::string kMarked = "[guns.0]\r\n" + kMark + "\r\ngun.0=1\r\n";

const BackupRow kRefusals[] = {
    // Crate's mark is not a line of its own.
    {"EightRewrittenDps",
     with(GameInstall(kCfs2).objectDps({"A", "B", "C", "Crate", "D", "E", "F", "G"}).ship("Carrier", {"hull"}),
          {{"objects_dp/A.dp", kMarked}, {"objects_dp/B.dp", kMarked}, {"objects_dp/C.dp", kMarked},
           {"objects_dp/Crate.dp", "[misc_data]\r\nnote=" + kMark + "\r\n"}, {"objects_dp/D.dp", kMarked},
           {"objects_dp/E.dp", kMarked}, {"objects_dp/F.dp", kMarked},
           {"objects_dp/G.dp", testkit::utf16le("[guns.0]\r\n  " + kMark + "\r\n")},
           {"ships/Carrier/hull.dp", "\r" + kMark + "\r"}}),
     {"CFS2 new object DP and multiplayer.mis successfully backed up.", kEight}, 0,
     {{"objects_dp/A.dp", kNone}, {"objects_dp/G.dp", kNone}, {"ships/Carrier/hull.dp", kNone},
      {"objects_dp/Crate.dp", kSame}},
     std::vector<std::string>{kEight}},
    {"OneRewrittenDp",
     with(GameInstall(kCfs2).objectDps({"Tower"}).ship("Carrier", {"hull"}),
          {{"ships/Carrier/hull.dp", kMark + "\r\n"}}),
     {"CFS2 new object DP and multiplayer.mis successfully backed up.",
      refused("1 DP file was", "{ships/Carrier/hull.dp}\n")}},
};
INSTANTIATE_TEST_SUITE_P(Refusals, BackupTest, ::testing::ValuesIn(kRefusals), rowName);

// A second unit or unit type in the game's own multiplayer.mis: No shuts
// Velmora down with nothing copied, Yes backs it up.
Step suspect(const char* session) { return with(BackupTest::cfs1().sessionMissionText(session)); }
const std::string kSuspect =
    "Extra units or unit types found in existing CFS1 multiplayer.mis file.\n\nAre you SURE you wish to backup this "
    "file?";
const std::vector<std::string> kShutDown = {kSuspect, "Velmora will now shut down."};

const BackupRow kSuspects[] = {
    {"SecondUnit", suspect("[unit_type.0]\r\ntype_id=1\r\n[unit.1]\r\ntype_id=5\r\n"), kShutDown, 1,
     {{"multiplayer.mis", kNone}, {"objects_dp/Tower.dp", kNone}}, std::vector<std::string>{kSuspect, kAllCfs1}, {},
     {MessageAnswer::No, MessageAnswer::Yes}},
    {"SecondTypeWithAnEmptyTypeId", suspect("[unit_type.1]\r\ntype_id=\r\n"), kShutDown, 1,
     {{"multiplayer.mis", kNone}}},
    {"SecondUnitOfAnyTypeId", suspect("[unit.1]\r\ntype_id=y\r\n"), kShutDown, 1},
};
INSTANTIATE_TEST_SUITE_P(Suspects, BackupTest, ::testing::ValuesIn(kSuspects), rowName);

// Both games backed up, then a swapped-in mission and DP in CFS1, and `settings`.
Step swappedIn(std::string settings, Step more = {}) {
    return [=](BackupTest& t) {
        t.use(BackupTest::cfs1().mission("Raid.mis", MissionPlan{{{1, 1, "Tower"}}, {{1}}}));
        t.use(BackupTest::cfs2());
        t.backup(kCfs1);
        t.backup(kCfs2);
        t.app.activate(kCfs1);
        t.write({{"multiplayer.mis", "swapped in"}, {"objects_dp/Tower.dp", kMarked}, {"<settings>", settings}});
        if (more) more(t);
    };
}
const std::string kThisVersion = "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_2=2\r\nCUR_MISSION_2=Raid.mis\r\n";
const std::string kModified = "[MODIFIED_DPS_2]\r\nTower.dp=guns modified\r\n";
const std::string kEmptyLogs = "[MODIFIED_DPS_1]\r\n[MODIFIED_DPS_2]\r\n";
const std::string kFresh1 = "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_SAVE_1=4\r\nCUR_MISSION_1=Original mp.mis file\r\n";
const std::string kRunning = "\nVelmora is about to put the game's original files back.\n\nClose CFS1, then press Yes."
                             "\nPress No to put them back while it runs.";

// The games' DPs and multiplayer.mis are their originals again, the active game last.
void expectRestored(BackupTest& t, std::vector<GameVersion> games) {
    for (GameVersion game : games) {
        t.app.activate(game);
        for (const char* path : {"objects_dp/Tower.dp", "objects_dp/Hangar.dp", "multiplayer.mis"})
            EXPECT_EQ(readText(t.app.inGame(path)), readText(t.app.backedUp(path))) << path;
    }
}
Step settingsAre(std::string text) {
    return [=](BackupTest& t) { EXPECT_EQ(t.app.settingsText(), text); };
}
Step restoredAndFresh = [](BackupTest& t) {
    expectRestored(t, {kCfs1});
    EXPECT_EQ(t.app.settingsText(), kFresh1 + kEmptyLogs);
};
// The settings of this version stay as they are, start after start, as
// Velmora writes them and as a player saves them from Notepad as "Unicode"
// with a line of his own.
BackupRow settingsStay(const char* name, const std::string& text) {
    return {name, with(BackupTest::cfs2(), {{"<settings>", text}}), {kAllCfs2}, 0, {}, kQuiet, settingsAre(text)};
}

const BackupRow kVersions[] = {
    {"AnotherVersionRestoresAndStartsAFreshFile",
     swappedIn("[MAIN]\r\nVLMR_VERSION=1.1\r\nCUR_MISSION_1=Raid.mis\r\n[MODIFIED_DPS_1]\r\nTower.dp=x\r\n"),
     {kVersion}, 0, {}, {}, restoredAndFresh},
    // The other game, never backed up, has nothing to be restored from: it is left alone.
    {"TheOtherGameWithoutABackupIsLeftAlone",
     swappedIn("[MAIN]\r\nVLMR_VERSION=0.9\r\n",
               [](auto& t) { std::filesystem::remove_all(t.app.appDir + testkit::nativePath("/bkupcfs2")); }),
     {kVersion}, 0, {}, {}, restoredAndFresh},
    // The restore waits for the game: asked again while it runs, it goes on once it has closed.
    {"NoVersionIsAnotherVersion",
     swappedIn("[MAIN]\r\nLAST_SAVE_1=2\r\nCUR_MISSION_1=Raid.mis\r\n",
               [](auto& t) {
                   t.app.processes.running = {"init", t.app.state.paths().gameExecutable()};
                   t.app.dialog.onMessageBox([&t, asked = 0](const testkit::RecordedBox& box) mutable {
                       if (box.text.starts_with("CFS1 is running") && ++asked == 2) t.app.processes.running.clear();
                   });
               }),
     {kVersion, "CFS1 is running: {combatfs.exe}" + kRunning, "CFS1 is running: {combatfs.exe}" + kRunning}, 0, {},
     {}, restoredAndFresh, {MessageAnswer::Yes, MessageAnswer::Yes}},
    // The other game is restored too, and its next start shows nothing. What
    // an add-on changed there is kept first; asked, the player lets CFS1's
    // restore go on while the game runs.
    {"WithBothGamesBothAreRestored",
     swappedIn("[MAIN]\r\nVLMR_VERSION=0.9\r\n",
               [](auto& t) {
                   t.app.processes.running = {"combatfs.exe"};
                   t.app.activate(kCfs2);
                   t.write({{"objects_dp/Hangar.dp", "an add-on's"}, {"multiplayer.mis", "swapped in too"}});
                   t.app.activate(kCfs1);
               }),
     {kVersion, "A program named combatfs.exe is running; it may be CFS1." + kRunning, "<kept>"}, 0, {}, kQuiet,
     [](auto& t) {
         expectRestored(t, {kCfs1, kCfs2});
         EXPECT_EQ(readText(t.app.appDir + t.sep() + testkit::nativePath("keptcfs2/1/objects_dp/Hangar.dp")),
                   "an add-on's");
     }},
    // The restore's own error, then the backup of the DPs it could not find.
    {"AFailedRestoreOrDeleteDoesNotStopTheRun",
     swappedIn("[MAIN]\r\nVLMR_VERSION=2.0\r\n",
               [](auto& t) {
                   t.write({{"objects_dp/Tower.dp", "an add-on's"}});
                   std::filesystem::remove_all(t.app.state.paths().backupObjectDpFolder());
                   t.faulty.failWhen(FileOp::RemoveFile,
                                     [&t](const std::string& path) { return path == t.app.state.settingsPath; });
               }),
     {kVersion, "Could not locate backup object DP's", "CFS1 object DP's successfully backed up."}, 0, {}, {},
     [](auto& t) { EXPECT_EQ(t.app.setting("VLMR_VERSION"), "1.0"); }},
    settingsStay("TheSettingsOfThisVersionStay", kThisVersion + kModified),
    settingsStay("TheUnicodeSettingsOfThisVersionStay",
                 testkit::utf16le(kThisVersion + "STATIC_IP=10.1.2.3\r\n" + kModified)),
    {"ALongStoredValueIsCutTo255Bytes",
     with(BackupTest::cfs1(),
          {{"<settings>", "[MAIN]\r\nVLMR_VERSION=1.0\r\nCUR_MISSION_1=" + std::string(300, 'm') + "\r\n"}}),
     {kAllCfs1}, 0, {}, {}, [](auto& t) { EXPECT_EQ(t.app.setting("CUR_MISSION_1"), std::string(255, 'm')); }},
    {"NoSettingsAndBothGamesGiveTheFreshFile",
     [](auto& t) {
         t.use(BackupTest::cfs2());
         t.use(BackupTest::cfs1());
         t.backup(kCfs1);
         t.app.activate(kCfs2);
     },
     {kAllCfs2}, 0, {}, {},
     settingsAre(kFresh1 + "LAST_SAVE_2=4\r\nCUR_MISSION_2=Original mp.mis file\r\n" + kEmptyLogs)},
    // A settings file that cannot be read counts as absent, whatever its version.
    {"AnUnreadableSettingsFile",
     [](auto& t) {
         with(BackupTest::cfs1(), {{"<settings>", "[MAIN]\r\nVLMR_VERSION=0.1\r\nLAST_SAVE_1=2\r\n"}})(t);
         t.faulty.failWhen(FileOp::CanOpenForReading,
                           [&t](const std::string& path) { return path == t.app.state.settingsPath; });
     },
     {kAllCfs1}, 0, {}, {},
     [](auto& t) {
         EXPECT_EQ(t.app.setting("LAST_SAVE_1"), "2");
         EXPECT_NE(t.app.settingsText().find("[MODIFIED_DPS_2]"), std::string::npos);
     }},
};
INSTANTIATE_TEST_SUITE_P(Versions, BackupTest, ::testing::ValuesIn(kVersions), rowName);

}  // namespace
}  // namespace velmora
