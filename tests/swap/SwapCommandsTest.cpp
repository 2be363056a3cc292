// The Swap and Restore buttons: every row of their outcome table, and whether
// Quit's warning is armed after each, through the in-memory dialog.
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
const std::string kAllied = "Mission swapped.  Allied mission\nunits are now friendly.";
const std::string kAlliedError = "Error swapping to friendly Allies DP's.";

class SwapCommandsTest;

// What the game's files hold afterwards.
enum class After { Unchanged, Mission, Originals, NotLookedAt };
using Box = std::pair<std::string, MessageIcon>;  // the caption and icon of the last box
const Box kFyi{"FYI", MessageIcon::Information}, kPlain{kAppTitle, MessageIcon::None};
const Box kError{"Error", MessageIcon::Error}, kWarning{kAppTitle, MessageIcon::Warning};

struct CommandRow {
    const char* name;
    std::function<void(SwapCommandsTest&)> prepare;  // may be empty
    const char* mission;                              // picked before Swap; Restore is clicked when null
    int side;                                         // the radio clicked: 0 none, -1 every radio unchecked
    std::vector<std::string> boxes;                   // "{relative}": the game's file; "<app>": the program's folder
    Box last;
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
        if (side > 0) { ASSERT_TRUE(app.dialog.click(side)); }
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

    std::vector<std::string> boxes;
    for (std::string box : row.boxes) {
        if (const size_t at = box.find("<app>"); at != std::string::npos) box.replace(at, 5, app.appDir);
        boxes.push_back(app.expand(box));
    }
    EXPECT_EQ(app.dialog.boxTexts(), boxes);
    for (const testkit::RecordedBox& box : app.dialog.boxes())
        EXPECT_EQ(box.buttons, box.text == kAsk ? MessageButtons::YesNo : MessageButtons::Ok) << box.text;
    if (!app.dialog.boxes().empty()) {
        EXPECT_EQ(Box(app.dialog.boxes().back().caption, app.dialog.boxes().back().icon), row.last);
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
std::function<void(SwapCommandsTest&)> gameRuns(std::string program, bool swapped = false) {
    return [=](SwapCommandsTest& t) {
        if (swapped) axisSwap(t);
        t.app.processes.running = {"/usr/bin/init", t.app.expand(program)};
        writeText(t.app.inGame("Tarnwick/Select.exe"), "");
    };
}
std::string runningBox(const std::string& running, const std::string& button) {
    return running + "\nVelmora changes no game file while the game runs.\n\nClose CFS2, then press " + button +
           " again.";
}

const CommandRow kRows[] = {
    {"TheOriginalIsRefused", {}, kOriginalMission, IDC_ALLIED,
     {"Please select a mission other than\nthe original multiplayer mission.\n\nIf you wish to restore the "
      "original,\nclick on the 'Restore' button."},
     kPlain, After::Unchanged, false},
    {"Allied", {}, "Raid.mis", IDC_ALLIED, {kAllied}, kFyi, After::Mission, true},
    {"Axis", {}, "Raid.mis", IDC_AXIS, {"Mission swapped.  Axis mission\nunits are now friendly."}, kFyi,
     After::Mission, true},
    {"AlliedFailing", breakBackup, "Raid.mis", IDC_ALLIED, {kNoBackup, kAlliedError}, kError, After::Mission, true},
    {"AxisFailing", breakBackup, "Raid.mis", IDC_AXIS, {kNoBackup, "Error swapping to friendly Axis DP's."}, kError,
     After::Mission, true},
    // A unit type nobody names stops a side swap before it changes anything.
    {"AlliedWithAnUnnamedType", {}, "Bad.mis", IDC_ALLIED, {"Mission error, name of unit.1 unknown", kAlliedError},
     kError, After::Unchanged, false},
    {"MissionOnly", {}, "Raid.mis", 0, {kAsk, "Mission swapped."}, kPlain, After::Mission, true},
    // multiplayer.mis was replaced before the DPs failed: still swapped.
    {"MissionOnlyFailing", breakBackup, "Raid.mis", 0, {kAsk, kNoBackup, "Error swapping mission."}, kError,
     After::Mission, true},
    {"MissionOnlyAnsweredNo", {}, "Raid.mis", 0, {kAsk}, kPlain, After::Unchanged, false, MessageAnswer::No},
    {"NoSideChecked", {}, "Raid.mis", -1, {}, kPlain, After::Unchanged, false},
    // The backed-up session mission has a type nobody names: a restore needs no names.
    {"Restore",
     [](auto& t) {
         axisSwap(t);
         writeText(t.paths.backupSessionMission(), testkit::missionText(MissionPlan{{}, {{99, 1}}}));
     },
     nullptr, 0, {"Originals restored"}, kPlain, After::Originals, false},
    {"AFailedRestoreKeepsTheWarning", [](auto& t) { axisSwap(t), breakBackup(t); }, nullptr, 0,
     {kNoBackup, "Error restoring originals."}, kError, After::NotLookedAt, true},
    {"SwapWhileTheGameRuns", gameRuns("{cfs2.exe}"), "Raid.mis", IDC_AXIS,
     {runningBox("CFS2 is running: {cfs2.exe}", "Swap")}, kWarning, After::Unchanged, false},
    {"RestoreWhileTheHostToolsGameRuns", gameRuns("{origcfs2.exe}", true), nullptr, 0,
     {runningBox("CFS2 is running: {origcfs2.exe}", "Restore")}, kWarning, After::NotLookedAt, true},
    {"AProgramOfTheGamesNameWhosePathIsUnknown", gameRuns("CFS2.EXE"), "Raid.mis", 0,
     {runningBox("A program named CFS2.EXE is running; it may be CFS2.", "Swap")}, kWarning, After::Unchanged, false},
    // Another install's game, and the second executable without the host tool.
    {"TheGameRunningFromAnotherFolder",
     [](auto& t) { t.app.processes.running = {t.app.cfs1Dir + testkit::nativePath("/cfs2.exe"), "origcfs2.exe"}; },
     "Raid.mis", IDC_ALLIED, {kAllied}, kFyi, After::Mission, true},
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
     kPlain, After::Originals, false},
    {"SwapWithoutTheGameFolder", [](auto& t) { t.app.state.gameDir.clear(); }, "Raid.mis", IDC_ALLIED,
     {"Could not locate the CFS2 folder.\nCheck that CFS2 is installed, then start Velmora again."}, kError,
     After::Unchanged, false},
};

INSTANTIATE_TEST_SUITE_P(Rows, SwapCommandsTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
