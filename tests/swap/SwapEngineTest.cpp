// The swap and restore engine on real folders, through the in-memory dialog.
#include "swap/SwapEngine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <functional>

#include "app/MissionList.h"
#include "core/PrivateProfile.h"
#include "res/resource.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::DpPlan;
using testkit::FileOp;
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

std::string withLf(std::string text) {
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;) text.erase(at, 1);
    return text;
}

const std::string kFailedTail = "\nClose the game if it is running, then try again.";
const std::string kBackup = "<backup>";  // multiplayer.mis holds the backed-up copy
// A DP as an earlier swap of Velmora's own left it.
const std::string kSwapped = "[guns.0]\r\n; modified by Velmora\r\n";

// The DPs every row looks at, in the order of EngineRow::dps.
const char* const kDps[] = {"objects_dp/Tower.dp", "objects_dp/Hangar.dp", "objects_dp/Crate.dp",
                            "ships/Carrier/carrier_hull.dp", "ships/Cargo/Cargo.dp"};

class SwapEngineTest;
using Step = std::function<void(SwapEngineTest&)>;

struct EngineRow {
    const char* name;
    std::vector<Step> prepare;
    const char* mission;  // picked before the run; none picked when null
    SwapMode mode;
    // What each of kDps holds afterwards: o original, f friendly, u/U the same
    // saved as UTF-16 with LF line ends, s the kSwapped text it was given, x
    // neither it nor its folder exists, - not looked at.
    std::string dps;
    const char* lastSave;
    const char* modified;  // the lines of [MODIFIED_DPS_n]
    int result = 0;
    std::vector<std::string> boxes = {};  // "{relative}" stands for the game's file
    std::string session = "";             // multiplayer.mis: a mission's file, kBackup or a text; "": `mission`
    const char* current = nullptr;        // CUR_MISSION_n; null: `mission`
    std::vector<std::string> gone = {};
    // Files under the program's folder (none when empty: nothing is kept), and their bytes.
    std::vector<std::pair<std::string, std::string>> kept = {};
};

// A CFS2 install with its backup tree: Raid.mis names Tower (Axis); Hangar is
// Allied by its own DP; the carrier and cargo ship have a DP each.
class SwapEngineTest : public ::testing::TestWithParam<EngineRow> {
public:
    SwapEngineTest() : install(kCfs2) {
        install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}}, {{3, std::nullopt}}})
            .mission("Convoy.mis",
                     MissionPlan{{{4, -1, "Hangar"}, {5, 1, "Cargo ship"}, {6, 2, "carrier_hull"}}, {{4}, {5}, {6}}})
            .objectDp(DpPlan{"Tower", 1, true, 0})
            .objectDp(DpPlan{"Hangar", 1, true, 0})
            .objectDp(DpPlan{"Crate", std::nullopt, false, 0})
            .ship("Carrier", {"carrier_hull"})
            .ship("Cargo", {"Cargo"});
        use(install);
        app.state.platform.files = &faulty;
    }
    ~SwapEngineTest() override { app.state.platform.files = &real; }

    void use(const GameInstall& game) {
        app.install(game);
        game.writeBackup(app.appDir);
        app.activate(game.game());
        app.dialog.enable(IDC_MISSION, true);  // as the game's refresh leaves it
    }
    // The original text of a DP: Tower and Hangar carry side 1 of their own.
    static std::string original(const std::string& name) {
        const bool sided = name == "Tower" || name == "Hangar";
        return testkit::dpText(DpPlan{name, sided ? std::optional<int>(1) : std::nullopt, true, 0});
    }
    // The whole text a friendly DP must have: the original with its
    // [gunstations] and [guns.0] lines replaced, every other byte kept.
    static std::string friendly(const std::string& name) {
        const std::string station = "0,1,2,0.25,1,0.02,0.02,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6\r\n";
        std::string text = replaced(original(name), "gunstation.0=" + station + "gunstation.1=" + station,
                                    "; modified by Velmora\r\n"
                                    "gunstation.0=0,-1,1,0.15,1,0.01,0.01,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6\r\n");
        return replaced(text, "gun.0=20,1,2,3,4,5,6,7\r\ngun.1=20,1,2,3,4,5,6,7\r\n",
                        "; modified by Velmora\r\ngun.0=1,0,0,0,0,0,0,1\r\n");
    }
    std::string modifiedDps() {
        const std::string text = app.settingsText();
        const std::string section = "[MODIFIED_DPS_" + std::to_string(app.state.activeGame) + "]\r\n";
        const size_t at = text.find(section);
        if (at == std::string::npos) return "<absent>";
        const size_t to = text.find('[', at + section.size());
        return text.substr(at + section.size(), to == std::string::npos ? std::string::npos : to - at - section.size());
    }
    int swapTo(const char* mission, SwapMode mode) {
        fillMissionList(app.state);
        if (mission) app.dialog.pick(IDC_MISSION, mission);
        if (!mission) app.dialog.selectListEntry(IDC_MISSION, -1);
        return swapMission(app.state, mode);
    }
    // A path in the game, "backup/..." in the backup tree, or "<settings>".
    std::string where(const std::string& path) const {
        return path == "<settings>"           ? app.state.settingsPath
               : path.starts_with("backup/") ? app.backedUp(path.substr(7))
                                             : app.inGame(path);
    }

    GameInstall install;
    testkit::TestApp app;
    FileSystem& real = app.state.files();
    testkit::FaultyFileSystem faulty{real};
};

TEST_P(SwapEngineTest, LeavesTheGameAndTheSettingsAsItsRowSays) {
    const EngineRow& row = GetParam();
    for (const Step& step : row.prepare) step(*this);
    app.dialog.clearBoxes();
    EXPECT_EQ(swapTo(row.mission, row.mode), row.result);

    std::vector<std::string> boxes;
    for (const std::string& box : row.boxes) boxes.push_back(app.expand(box));
    EXPECT_EQ(app.dialog.boxTexts(), boxes);
    for (const testkit::RecordedBox& box : app.dialog.boxes()) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.icon, MessageIcon::Error);
    }
    for (size_t i = 0; i < row.dps.size(); ++i) {
        const std::string path = app.inGame(kDps[i]);
        const std::string name = std::filesystem::path(kDps[i]).stem().string();
        const char state = row.dps[i];
        if (state == 'x') {
            EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(path).parent_path())) << path;
        } else if (state != '-') {
            EXPECT_EQ(readText(path), state == 'o'   ? original(name)
                                      : state == 'f' ? friendly(name)
                                      : state == 'u' ? testkit::utf16le(withLf(friendly(name)))
                                      : state == 'U' ? testkit::utf16le(withLf(original(name)))
                                                     : kSwapped)
                << path;
        }
        // A run that went through leaves no compiled sibling behind.
        EXPECT_FALSE(row.result == 0 && state != 'x' && testkit::fileExists(replaced(path, ".dp", ".cdp"))) << path;
    }
    for (const std::string& path : row.gone) EXPECT_FALSE(testkit::fileExists(app.inGame(path))) << path;
    const std::string sep(1, app.state.platform.separator);
    EXPECT_EQ(testkit::fileExists(app.appDir + sep + "keptcfs2"), !row.kept.empty());
    for (const auto& [path, bytes] : row.kept) EXPECT_EQ(readText(app.appDir + sep + testkit::nativePath(path)), bytes);

    const bool restore = row.mode == SwapMode::RestoreOriginals;
    const std::string session = !row.session.empty() ? row.session : restore ? kBackup : row.mission;
    const GamePaths paths = app.state.paths();
    const std::string held = session == kBackup           ? readText(paths.backupSessionMission())
                             : session.ends_with(".mis") ? readText(paths.mission(session))
                                                         : session;
    EXPECT_EQ(readText(app.inGame("multiplayer.mis")), held);
    const std::string current = row.current ? row.current : restore ? kOriginalMission : row.mission;
    EXPECT_EQ(app.setting("CUR_MISSION_" + std::to_string(app.state.activeGame)), current);
    EXPECT_EQ(app.setting("LAST_SAVE_" + std::to_string(app.state.activeGame)), row.lastSave);
    EXPECT_EQ(modifiedDps(), row.modified);
    if (row.result == 0) { EXPECT_EQ(selectedMission(app.state), current); }
}

// The steps rows are prepared with; paths as where() takes them.
Step write(std::vector<std::pair<std::string, std::string>> files) {
    return [=](SwapEngineTest& t) {
        for (const auto& [path, text] : files) writeText(t.where(path), text);
    };
}
Step remove(std::vector<std::string> paths) {
    return [=](SwapEngineTest& t) {
        for (const std::string& path : paths) std::filesystem::remove_all(t.where(path));
    };
}
// Every `op` on one of `paths` fails.
Step fail(FileOp op, std::vector<std::string> paths) {
    return [=](SwapEngineTest& t) {
        t.faulty.failWhen(op, [&t, paths](const std::string& target) {
            return std::ranges::any_of(paths, [&](const std::string& path) { return target == t.where(path); });
        });
    };
}
Step withMission(const char* name, MissionPlan plan) {
    return [=](SwapEngineTest& t) { t.use(t.install.mission(name, plan)); };
}
void axisSwap(SwapEngineTest& t) { ASSERT_EQ(t.swapTo("Raid.mis", SwapMode::AxisFriendly), 0); }
// Game DPs as a swap in force leaves them: stale text and compiled siblings.
void spoil(SwapEngineTest& t) {
    for (size_t i = 0; i < 4; ++i) write({{kDps[i], kSwapped}, {replaced(kDps[i], ".dp", ".cdp"), "stale"}})(t);
}
// A mission with a unit nobody names, over a swap in force.
const std::vector<Step> kUnnamedType = {
    withMission("Bad.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}, {77, 1}}}),
    write({{"backup/multiplayer.mis", testkit::missionText(MissionPlan{{}, {{77, 1}}})},
           {"multiplayer.mis", "in force"}, {"<settings>", "[MAIN]\r\nLAST_SAVE_2=1\r\nCUR_MISSION_2=Raid.mis\r\n"}}),
    spoil};
// After an Axis swap, every compiled sibling is back and no game DP can be written.
void unwritable(SwapEngineTest& t) {
    for (const char* dp : kDps) writeText(t.app.inGame(replaced(dp, ".dp", ".cdp")), "compiled");
    t.faulty.failWhen(FileOp::WriteTemporary, [](const std::string& target) {
        return target.find("objects_dp") != std::string::npos || target.find("ships") != std::string::npos;
    });
}
// Tower saved as "Unicode" by an editor, with LF line ends, then backed up.
void unicodeTower(SwapEngineTest& t) {
    const std::string text = testkit::utf16le(withLf(t.original("Tower")));
    write({{"backup/objects_dp/Tower.dp", text}, {kDps[0], text}})(t);
}
// A game that had no multiplayer.mis at its first backup, as the backup records it.
const Step kNoOwnMission = [](SwapEngineTest& t) {
    remove({"backup/multiplayer.mis", "multiplayer.mis"})(t);
    write({{"backup/no-multiplayer-mis.txt", ""}})(t);
};

const auto kAxis = SwapMode::AxisFriendly;
const auto kAllied = SwapMode::AlliedFriendly;
const auto kMissionOnly = SwapMode::MissionOnly;
const auto kRestore = SwapMode::RestoreOriginals;
const char* const kTowerLog = "Tower.dp=guns modified\r\n";
const MissionPlan kOdd = {{{8, 3, "Tower"}, {9, 4, "Hangar"}}, {}};

const EngineRow kModes[] = {
    {"AxisRewritesTheAxisTypes", {spoil}, "Raid.mis", kAxis, "foooo", "2", kTowerLog},
    // Hangar has no side in Convoy and 1 in its DP; "Cargo ship" matches the ship DP Cargo.dp.
    {"TypesWithoutSideTakeTheDpsOwnAndShipsMatchByPrefix", {}, "Convoy.mis", kAllied, "ofoof", "1",
     "Hangar.dp=guns modified\r\nCargo.dp=guns modified\r\n"},
    {"AxisAfterAlliedPutsTheAlliedBack", {[](auto& t) { t.swapTo("Convoy.mis", kAllied); }}, "Convoy.mis", kAxis,
     "ooofo", "2", "carrier_hull.dp=guns modified\r\n"},
    {"MissionOnlyPutsEveryOriginalBack", {axisSwap, spoil}, "Raid.mis", kMissionOnly, "ooooo", "3", ""},
    {"RestorePutsEveryOriginalBack", {axisSwap, spoil}, nullptr, kRestore, "ooooo", "4", ""},
    {"OnlyTheFirstMatchingRecordDecides", {withMission("Two.mis", {{{8, 0, "Tower"}, {9, 1, "TOWER"}}, {}})},
     "Two.mis", kAllied, "ooooo", "1", ""},
    {"OddSidesAreAllied", {withMission("Odd.mis", kOdd)}, "Odd.mis", kAllied, "foooo", "1", kTowerLog},
    {"EvenSidesAreAxis", {withMission("Odd.mis", kOdd)}, "Odd.mis", kAxis, "ofooo", "2", "Hangar.dp=guns modified\r\n"},
    {"ADpWithoutAnyKnownSideStaysAsRestored", {withMission("Crate.mis", {{{8, -1, "Crate"}}, {}})}, "Crate.mis",
     kAllied, "ooooo", "1", ""},
    {"ReadOnlyGameFilesAreMadeWritable",
     {spoil, write({{kDps[2], "an add-on's crate"}}),
      [](auto& t) {
          for (const char* path : {"objects_dp/Tower.dp", "objects_dp/Tower.cdp", "multiplayer.mis", kDps[2]})
              testkit::makeReadOnly(t.app.inGame(path));
      }},
     "Raid.mis", kAxis, "foooo", "2", kTowerLog, 0, {}, "", nullptr, {},
     {{"keptcfs2/1/objects_dp/Crate.dp", "an add-on's crate"}}},
    // The game had no multiplayer.mis of its own: a swap may put one there,
    // and the restore takes it away again.
    {"AGameWithoutItsOwnMissionIsSwapped", {kNoOwnMission}, "Raid.mis", kAxis, "foooo", "2", kTowerLog},
    {"AndRestoredWithoutOne", {kNoOwnMission, axisSwap}, nullptr, kRestore, "ooooo", "4", "", 0, {}, "", nullptr,
     {"multiplayer.mis"}},
    {"AShipTakenOutOfTheGameIsNotMadeAgain", {remove({"ships/Carrier"})}, "Raid.mis", kAxis, "fooxo", "2", kTowerLog},
    // Swapping the mission alone needs no names.
    {"AnUnnamedTypeIsNoMatterToMissionOnly", kUnnamedType, "Bad.mis", kMissionOnly, "ooooo", "3", ""},
    {"CfsOneHasNoShipStep",
     {[](auto& t) {
         t.use(GameInstall(kCfs1).mission("Raid.mis", {{{3, 1, "Tower"}}, {{3}}}).objectDp({"Tower", 1}));
     }},
     "Raid.mis", kAllied, "f", "1", kTowerLog},
    {"AUtf16DpIsRewrittenAsUtf16", {unicodeTower}, "Raid.mis", kAxis, "uoooo", "2", kTowerLog},
    {"AndRestoredByteForByte", {unicodeTower, axisSwap}, nullptr, kRestore, "Uoooo", "4", ""},
    {"TwoShipsRewritingTheSameFileNameLeaveOneKey",
     {[](auto& t) {
         t.use(t.install.mission("Twin.mis", {{{1, 2, "hull"}}, {}}).ship("A", {"hull"}).ship("B", {"HULL"}));
     }},
     "Twin.mis", kAxis, "", "2", "hull.dp=guns modified\r\n"},
    // Someone else's changes to an object and a ship DP are kept before the
    // originals go back; the DP Velmora rewrote and those equal to the backup are not.
    {"ChangedDpsAreKeptWithTheirBytes",
     {axisSwap, spoil, write({{kDps[1], "an add-on's hangar"}, {kDps[4], "an add-on's cargo"}})}, "Raid.mis", kAxis,
     "foooo", "2", kTowerLog, 0, {}, "", nullptr, {},
     {{"keptcfs2/1/objects_dp/Hangar.dp", "an add-on's hangar"},
      {"keptcfs2/1/ships/Cargo/Cargo.dp", "an add-on's cargo"}}},
    // One folder per run: a file changed again after a swap is kept again.
    {"AFileChangedTwiceIsKeptTwice",
     {write({{kDps[2], "first change"}}), axisSwap, write({{kDps[2], "second change"}})}, nullptr,
     kRestore, "ooooo", "4", "", 0, {}, "", nullptr, {},
     {{"keptcfs2/1/objects_dp/Crate.dp", "first change"}, {"keptcfs2/2/objects_dp/Crate.dp", "second change"}}},
    // The DPs hold their bytes already: nothing is written, every sibling goes.
    {"ADpHoldingItsBytesIsNotWritten", {axisSwap, unwritable}, "Raid.mis", kAxis, "foooo", "2", kTowerLog},
};

const std::string kUnsafe =
    "The backup holds no copy of the game's own multiplayer.mis,\nso a swap would lose it for good.\n\n"
    "Start Velmora again to back it up, then swap.";
const std::string kOwnMission = testkit::missionText(testkit::defaultSessionMission());
const std::vector<Step> kNoMissionBackedUp = {remove({"backup/multiplayer.mis"}), spoil};
std::string couldNotRestore(const std::string& count, const std::string& names) {
    return "Could not restore " + count + ":\n" + names + kFailedTail;
}

const EngineRow kFailures[] = {
    // Neither a swap nor a restore may lose the game's own multiplayer.mis.
    {"ASideSwapWithoutTheMissionBackedUp", kNoMissionBackedUp, "Raid.mis", kAxis, "ssss-", "<absent>", "<absent>", 1,
     {kUnsafe}, kOwnMission, "<absent>"},
    {"AMissionOnlySwapWithoutTheMissionBackedUp", kNoMissionBackedUp, "Raid.mis", kMissionOnly, "ssss-", "<absent>",
     "<absent>", 1, {kUnsafe}, kOwnMission, "<absent>"},
    {"ARestoreWithoutTheMissionBackedUp", kNoMissionBackedUp, nullptr, kRestore, "ooooo", "<absent>", "", 1,
     {"The backup of CFS2 holds no multiplayer.mis, so the game's own\ncould not be put back. Take it from "
      "the game's CD or a reinstall."},
     kOwnMission, "<absent>"},
    {"NoBackedUpObjectDp", {remove({"backup/objects_dp"}), spoil}, "Raid.mis", kAxis, "ssss-", "<absent>", "", 1,
     {"Could not locate backup object DP's"}},
    {"NoBackupShipsFolder", {remove({"backup/ships"}), spoil}, "Raid.mis", kAxis, "foos-", "<absent>", kTowerLog, 1,
     {"Could not locate backup ships folder"}},
    {"NoBackupShipSubFolders", {remove({"backup/ships"}), write({{"backup/ships/notes.txt", ""}})}, "Raid.mis", kAxis,
     "foo--", "<absent>", kTowerLog, 1, {"Could not locate any backup ship sub-folders"}},
    // Folders in order: Cargo, then Carrier, whose backup is empty; a stale sibling that stayed is named.
    {"AShipFolderWithoutDpsStopsAtThatFolder",
     {remove({"backup/ships/Carrier/carrier_hull.dp"}), spoil, write({{"ships/Cargo/Cargo.dp", kSwapped}}),
      fail(FileOp::RemoveFile, {"objects_dp/Hangar.cdp"})}, "Raid.mis", kAxis, "fooso", "<absent>", kTowerLog, 1,
     {"Missing backup DP in ships\\Carrier folder", couldNotRestore("1 file", "{objects_dp/Hangar.cdp}\n")}},
    // A mission that cannot be put in place changes nothing else.
    {"AMissionThatCannotBeCopied", {axisSwap, spoil, fail(FileOp::CopyToTemporary, {"multiplayer.mis"})},
     "Convoy.mis", kAllied, "ssss-", "2", kTowerLog, 1, {"Could not copy the mission Convoy.mis to multiplayer.mis."},
     "Raid.mis", "Raid.mis"},
    {"NoMissionSelected", {axisSwap, spoil}, nullptr, kMissionOnly, "ssss-", "2", kTowerLog, 1,
     {"No mission is selected."}, "Raid.mis", "Raid.mis"},
    {"FilesThatCannotBeReplacedAreNamedAfterEveryOtherFileIsDone",
     {spoil, fail(FileOp::ReplaceWithTemporary, {kDps[0], kDps[3]}),
      write({{"<settings>", "[MAIN]\r\nLAST_SAVE_2=3\r\n"}})},
     "Raid.mis", kAxis, "sooso", "3", "", 1,
     {couldNotRestore("2 files", "{objects_dp/Tower.dp}\n{ships/Carrier/carrier_hull.dp}\n")}},
    // A folder where the compiled Hangar should be can never be deleted.
    {"CompiledSiblingsThatStayAreNamedAfterTheDps",
     {spoil, remove({"objects_dp/Hangar.cdp"}), write({{"objects_dp/Hangar.cdp/file", ""}}),
      fail(FileOp::ReplaceWithTemporary, {kDps[0]}), fail(FileOp::RemoveFile, {"ships/Carrier/carrier_hull.cdp"})},
     "Raid.mis", kAxis, "soooo", "<absent>", "", 1,
     {couldNotRestore("3 files", "{objects_dp/Tower.dp}\n{objects_dp/Hangar.cdp}\n{ships/Carrier/carrier_hull.cdp}\n")},
     "", nullptr, {"objects_dp/Tower.cdp", "objects_dp/Crate.cdp"}},
    // More files than the box names: the first five, then a count.
    {"ManyFailuresAreCountedAfterTheFirstFive",
     {axisSwap, spoil,
      [](auto& t) {
          const auto inGame = [&t](const std::string& path) { return path.starts_with(t.app.cfs2Dir); };
          t.faulty.failWhen(FileOp::ReplaceWithTemporary, inGame);
          t.faulty.failWhen(FileOp::RemoveFile, inGame);
      }},
     nullptr, kRestore, "ssss-", "2", "", 1,
     {couldNotRestore("9 files", "{multiplayer.mis}\n{objects_dp/Crate.dp}\n{objects_dp/Hangar.dp}\n"
                                 "{objects_dp/Tower.dp}\n{ships/Carrier/carrier_hull.dp}\nand 4 more\n")},
     "Raid.mis", "Raid.mis"},
    // What a game DP holds must be known before it is replaced: it may be someone else's.
    {"AGameDpThatCannotBeReadStays", {spoil, fail(FileOp::ReadFile, {kDps[0]})}, "Raid.mis", kAxis, "soooo", "<absent>",
     "", 1, {couldNotRestore("1 file", "{objects_dp/Tower.dp}\n")}},
    // A unit type nobody names stops a side swap before it changes anything.
    {"AnUnnamedTypeStopsASideSwap", kUnnamedType, "Bad.mis", kAxis, "ssss-", "1", "<absent>", 1,
     {"Mission error, name of unit.1 unknown"}, "in force", "Raid.mis"},
    {"ARestoreMustWriteWhatTheSwapRewrote", {axisSwap, unwritable}, nullptr, kRestore, "fo---", "2", "", 1,
     {couldNotRestore("1 file", "{objects_dp/Tower.dp}\n")}, kBackup},
};

std::string rowName(const ::testing::TestParamInfo<EngineRow>& row) { return row.param.name; }
INSTANTIATE_TEST_SUITE_P(Modes, SwapEngineTest, ::testing::ValuesIn(kModes), rowName);
INSTANTIATE_TEST_SUITE_P(Failures, SwapEngineTest, ::testing::ValuesIn(kFailures), rowName);

}  // namespace
}  // namespace velmora
