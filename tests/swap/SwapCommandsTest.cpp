// The Swap and Restore buttons: every row of their outcome table, whether
// Quit's warning is armed after each, and the restoreRequested life cycle,
// through the in-memory dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/MainDialog.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::MissionPlan;
using testkit::readText;
using testkit::writeText;

const std::string kAsk = "You have not selected an alliance.\nDo you wish to only swap mission?";
const std::string kNoBackup = "Could not locate backup object DP's";
const std::string kNoGame =
    "Could not locate the CFS2 folder.\nCheck that CFS2 is installed, then start Velmora again.";
const std::string kOriginalRefused =
    "Please select a mission other than\nthe original multiplayer mission.\n\nIf you wish to restore the "
    "original,\nclick on the 'Restore' button.";

class SwapCommandsTest;

// What the game's files hold afterwards.
enum class After { Unchanged, Mission, Originals, NotLookedAt };

struct CommandRow {
    const char* name;
    std::function<void(SwapCommandsTest&)> prepare;  // may be empty
    const char* mission;                              // picked before Swap; Restore is clicked when null
    int side;                                         // the radio clicked: 0 none, -1 every radio unchecked
    std::vector<std::string> boxes;
    const char* caption;  // of the last box
    MessageIcon icon;
    After after;
    bool warningArmed;
    MessageAnswer answer = MessageAnswer::Yes;  // to the mission-only question
};

class SwapCommandsTest : public ::testing::TestWithParam<CommandRow> {
public:
    SwapCommandsTest() : window(app.state) { app.dialog.onCommand([this](int id) { window.onCommand(id); }); }

    void SetUp() override {
        testkit::GameInstall install(kCfs2);
        install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}}})
            .mission("Bad.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}, {99, 1}}})
            .objectDps({"Tower"})
            .ship("Carrier", {"hull"});
        app.install(install);
        window.OnInitDialog();
    }
    void swap(const std::string& mission, int side) {
        ASSERT_TRUE(app.dialog.pick(IDC_MISSION, mission));
        if (side > 0) {
            ASSERT_TRUE(app.dialog.click(side));
        }
        if (side < 0) app.dialog.checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, 0);
        app.dialog.click(IDOK);
    }

    testkit::TestApp app;
    MainDialog window;
    const GamePaths paths{kCfs2, app.cfs2Dir, app.appDir, app.state.platform.separator};
};

TEST_P(SwapCommandsTest, ShowsItsBoxesAndArmsTheQuitWarningWhenFilesChanged) {
    const CommandRow& row = GetParam();
    if (row.prepare) row.prepare(*this);
    app.dialog.clearBoxes();
    const std::string tower = readText(paths.objectDp("Tower.dp")), session = readText(paths.sessionMission());
    const std::string settings = app.settingsText();
    app.dialog.answer(row.answer);
    if (row.mission) swap(row.mission, row.side);
    if (!row.mission) app.dialog.click(IDC_RESTORE);

    std::vector<std::string> boxes = row.boxes;
    for (std::string& box : boxes)  // "{}" stands for the game's folder, "<app>" for the program's
        for (const auto& [mark, dir] : {std::pair<std::string, std::string>{"{}", app.cfs2Dir}, {"<app>", app.appDir}})
            if (const size_t at = box.find(mark); at != std::string::npos) box.replace(at, mark.size(), dir);
    EXPECT_EQ(app.dialog.boxTexts(), boxes);
    for (const testkit::RecordedBox& box : app.dialog.boxes())
        EXPECT_EQ(box.buttons, box.text == kAsk ? MessageButtons::YesNo : MessageButtons::Ok) << box.text;
    if (!app.dialog.boxes().empty()) {
        EXPECT_EQ(app.dialog.boxes().back().caption, row.caption);
        EXPECT_EQ(app.dialog.boxes().back().icon, row.icon);
    }
    if (row.after == After::Unchanged) {
        EXPECT_EQ(readText(paths.objectDp("Tower.dp")), tower);
        EXPECT_EQ(readText(paths.sessionMission()), session);
        EXPECT_EQ(app.settingsText(), settings);
    }
    if (row.after == After::Mission) {
        EXPECT_EQ(readText(paths.sessionMission()), readText(paths.mission(row.mission)));
    }
    if (row.after == After::Originals) {
        EXPECT_EQ(readText(paths.objectDp("Tower.dp")), readText(paths.backupObjectDp("Tower.dp")));
        EXPECT_EQ(readText(paths.sessionMission()), readText(paths.backupSessionMission()));
    }
    EXPECT_EQ(app.state.sessionClean(), !row.warningArmed);
    EXPECT_FALSE(app.state.restoreRequested);
}

void axisSwap(SwapCommandsTest& t) {
    t.swap("Raid.mis", IDC_AXIS);
    ASSERT_NE(readText(t.paths.objectDp("Tower.dp")), readText(t.paths.backupObjectDp("Tower.dp")));
}
void breakBackup(SwapCommandsTest& t) { std::filesystem::remove_all(t.paths.backupObjectDpFolder()); }

// The game runs: from its folder, as the host tool's second executable, or by a name whose path is unknown.
void gameRuns(SwapCommandsTest& t, const std::string& program) {
    t.app.processes.running = {"/usr/bin/init", program};
    writeText(t.app.cfs2Dir + testkit::nativePath("/Tarnwick/Select.exe"), "");
}
std::string runningBox(const std::string& running, const std::string& button) {
    return running + "\nVelmora changes no game file while the game runs.\n\nClose CFS2, then press " + button +
           " again.";
}
const std::string kCfs2Runs = "CFS2 is running: {}" + testkit::nativePath("/cfs2.exe");

const auto kNone = MessageIcon::None;
const auto kError = MessageIcon::Error;

const CommandRow kRows[] = {
    {"TheOriginalIsRefused", {}, kOriginalMission, IDC_ALLIED, {kOriginalRefused}, kAppTitle, kNone, After::Unchanged,
     false},
    {"Allied", {}, "Raid.mis", IDC_ALLIED, {"Mission swapped.  Allied mission\nunits are now friendly."}, "FYI",
     MessageIcon::Information, After::Mission, true},
    {"Axis", {}, "Raid.mis", IDC_AXIS, {"Mission swapped.  Axis mission\nunits are now friendly."}, "FYI",
     MessageIcon::Information, After::Mission, true},
    {"AlliedFailing", breakBackup, "Raid.mis", IDC_ALLIED, {kNoBackup, "Error swapping to friendly Allies DP's."},
     "Error", kError, After::Mission, true},
    {"AxisFailing", breakBackup, "Raid.mis", IDC_AXIS, {kNoBackup, "Error swapping to friendly Axis DP's."}, "Error",
     kError, After::Mission, true},
    // A unit type nobody names stops a side swap before it changes anything.
    {"AlliedWithAnUnnamedType", {}, "Bad.mis", IDC_ALLIED,
     {"Mission error, name of unit.1 unknown", "Error swapping to friendly Allies DP's."}, "Error", kError,
     After::Unchanged, false},
    {"AnUnnamedTypeLeavesTheSwapInForce", axisSwap, "Bad.mis", IDC_ALLIED,
     {"Mission error, name of unit.1 unknown", "Error swapping to friendly Allies DP's."}, "Error", kError,
     After::Unchanged, true},
    {"MissionOnly", {}, "Raid.mis", 0, {kAsk, "Mission swapped."}, kAppTitle, kNone, After::Mission, true},
    // multiplayer.mis was replaced before the DPs failed: still swapped.
    {"MissionOnlyFailing", breakBackup, "Raid.mis", 0, {kAsk, kNoBackup, "Error swapping mission."}, "Error", kError,
     After::Mission, true},
    // Mission only needs no names.
    {"MissionOnlyWithAnUnnamedType", {}, "Bad.mis", 0, {kAsk, "Mission swapped."}, kAppTitle, kNone, After::Mission,
     true},
    {"MissionOnlyAnsweredNo", {}, "Raid.mis", 0, {kAsk}, kAppTitle, kNone, After::Unchanged, false,
     MessageAnswer::No},
    {"NoSideChecked", {}, "Raid.mis", -1, {}, "", kNone, After::Unchanged, false},
    // The backed-up session mission has a type nobody names: a restore needs no names.
    {"Restore",
     [](auto& t) {
         axisSwap(t);
         testkit::writeText(t.paths.backupSessionMission(), testkit::missionText(MissionPlan{{}, {{99, 1}}}));
     },
     nullptr, 0, {"Originals restored"}, kAppTitle, kNone, After::Originals, false},
    {"AFailedRestoreKeepsTheWarning",
     [](auto& t) {
         axisSwap(t);
         breakBackup(t);
     },
     nullptr, 0, {kNoBackup, "Error restoring originals."}, "Error", kError, After::NotLookedAt, true},
    {"SwapWhileTheGameRuns", [](auto& t) { gameRuns(t, t.paths.gameExecutable()); }, "Raid.mis", IDC_AXIS,
     {runningBox(kCfs2Runs, "Swap")}, kAppTitle, MessageIcon::Warning, After::Unchanged, false},
    {"RestoreWhileTheHostToolsGameRuns",
     [](auto& t) {
         axisSwap(t);
         gameRuns(t, t.paths.secondExecutable());
     },
     nullptr, 0, {runningBox("CFS2 is running: {}" + testkit::nativePath("/origcfs2.exe"), "Restore")}, kAppTitle,
     MessageIcon::Warning, After::NotLookedAt, true},
    {"AProgramOfTheGamesNameWhosePathIsUnknown", [](auto& t) { gameRuns(t, "CFS2.EXE"); }, "Raid.mis", 0,
     {runningBox("A program named CFS2.EXE is running; it may be CFS2.", "Swap")}, kAppTitle, MessageIcon::Warning,
     After::Unchanged, false},
    // Another install's game, and the second executable without the host tool.
    {"TheGameRunningFromAnotherFolder",
     [](auto& t) { t.app.processes.running = {t.app.cfs1Dir + testkit::nativePath("/cfs2.exe"), "origcfs2.exe"}; },
     "Raid.mis", IDC_ALLIED, {"Mission swapped.  Allied mission\nunits are now friendly."}, "FYI",
     MessageIcon::Information, After::Mission, true},
    {"AnAddOnsDpIsKeptAndNamed",
     [](auto& t) {
         for (const char* name : {"Tower.dp", "Extra.dp"}) {
             writeText(t.paths.backupObjectDp(name), "original");
             writeText(t.paths.objectDp(name), std::string("an add-on's ") + name);
         }
     },
     nullptr, 0,
     {"Originals restored\n\nAnother program had changed 2 DP files:\n" + testkit::nativePath("objects_dp/Extra.dp\n") +
      testkit::nativePath("objects_dp/Tower.dp\n") + "Velmora kept copies of them in\n<app>" +
      testkit::nativePath("/keptcfs2/1") + "\nbefore replacing them."},
     kAppTitle, kNone, After::Originals, false},
    {"SwapWithoutTheGameFolder", [](auto& t) { t.app.state.gameDir.clear(); }, "Raid.mis", IDC_ALLIED, {kNoGame},
     "Error", kError, After::Unchanged, false},
    {"RestoreWithoutTheGameFolder", [](auto& t) { t.app.state.gameDir.clear(); }, nullptr, 0, {kNoGame}, "Error",
     kError, After::Unchanged, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, SwapCommandsTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
