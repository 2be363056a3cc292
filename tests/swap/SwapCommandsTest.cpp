// The Swap and Restore buttons: every row of their outcome table, whether
// Quit's warning is armed after each, and the restoreRequested life cycle,
// through the in-memory dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainDialog.h"
#include "app/MissionList.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::GameInstall;
using testkit::MissionPlan;
using testkit::readText;

constexpr const char* kAsk = "You have not selected an alliance.\nDo you wish to only swap mission?";
constexpr const char* kNoBackup = "Could not locate backup object DP's";

class SwapCommandsTest : public ::testing::Test {
protected:
    SwapCommandsTest() : window(app.state) { app.dialog.onCommand([this](int id) { window.onCommand(id); }); }

    void SetUp() override {
        GameInstall install(kCfs2);
        install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}}})
            .mission("Bad.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}, {99, 1}}})
            .objectDps({"Tower"})
            .ship("Carrier", {"hull"});
        app.install(install);
        window.OnInitDialog();
        app.dialog.clearBoxes();
    }

    // Picks a mission and a side (0: none) and clicks Swap.
    void swap(const std::string& mission, int side) {
        ASSERT_TRUE(app.dialog.pick(IDC_MISSION, mission));
        if (side != 0) {
            ASSERT_TRUE(app.dialog.click(side));
        }
        app.dialog.click(IDOK);
    }
    std::string file(const std::string& path) { return readText(path); }
    std::string tower() { return file(app.state.paths().objectDp("Tower.dp")); }
    std::string session() { return file(app.state.paths().sessionMission()); }
    void breakBackup() { std::filesystem::remove_all(app.state.paths().backupObjectDpFolder()); }

    testkit::TestApp app;
    MainDialog window;
};

struct OutcomeRow {
    const char* name;
    const char* mission;
    int side;                  // 0: none checked; the mission-only question is answered Yes
    bool brokenBackup;
    std::vector<std::string> boxes;
    bool missionSwapped;       // multiplayer.mis holds the chosen mission afterwards
    bool warningArmed;
};

class SwapOutcomeTest : public SwapCommandsTest, public ::testing::WithParamInterface<OutcomeRow> {};

TEST_P(SwapOutcomeTest, ShowsItsBoxesAndArmsTheQuitWarningWhenFilesChanged) {
    const OutcomeRow& row = GetParam();
    if (row.brokenBackup) breakBackup();
    const std::string before = session();
    app.dialog.answerYes();
    swap(row.mission, row.side);
    EXPECT_EQ(app.dialog.boxTexts(), row.boxes);
    EXPECT_EQ(session(), row.missionSwapped ? file(app.state.paths().mission(row.mission)) : before);
    EXPECT_EQ(app.state.sessionClean(), !row.warningArmed);
    EXPECT_FALSE(app.state.restoreRequested);
}

const char* const kOriginalRefused =
    "Please select a mission other than\nthe original multiplayer mission.\n\nIf you wish to restore the "
    "original,\nclick on the 'Restore' button.";

INSTANTIATE_TEST_SUITE_P(
    Rows, SwapOutcomeTest,
    ::testing::Values(
        OutcomeRow{"TheOriginalIsRefused", "Original mp.mis file", IDC_ALLIED, false, {kOriginalRefused}, false, false},
        OutcomeRow{"Allied", "Raid.mis", IDC_ALLIED, false,
                   {"Mission swapped.  Allied mission\nunits are now friendly."}, true, true},
        OutcomeRow{"Axis", "Raid.mis", IDC_AXIS, false, {"Mission swapped.  Axis mission\nunits are now friendly."},
                   true, true},
        OutcomeRow{"AlliedFailing", "Raid.mis", IDC_ALLIED, true,
                   {kNoBackup, "Error swapping to friendly Allies DP's."}, true, true},
        OutcomeRow{"AxisFailing", "Raid.mis", IDC_AXIS, true, {kNoBackup, "Error swapping to friendly Axis DP's."},
                   true, true},
        // A unit type nobody names stops a side swap before it changes anything.
        OutcomeRow{"AlliedWithAnUnnamedType", "Bad.mis", IDC_ALLIED, false,
                   {"Mission error, name of unit.1 unknown", "Error swapping to friendly Allies DP's."}, false, false},
        OutcomeRow{"MissionOnly", "Raid.mis", 0, false, {kAsk, "Mission swapped."}, true, true},
        // multiplayer.mis was replaced before the DPs failed: still swapped.
        OutcomeRow{"MissionOnlyFailing", "Raid.mis", 0, true, {kAsk, kNoBackup, "Error swapping mission."}, true, true},
        // Mission only needs no names.
        OutcomeRow{"MissionOnlyWithAnUnnamedType", "Bad.mis", 0, false, {kAsk, "Mission swapped."}, true, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SwapCommandsTest, AnUnnamedTypeLeavesTheSwapInForceAndItsRecord) {
    swap("Raid.mis", IDC_AXIS);
    const std::string rewritten = tower(), settings = app.settingsText(), mission = session();
    ASSERT_NE(rewritten, file(app.state.paths().backupObjectDp("Tower.dp")));
    swap("Bad.mis", IDC_ALLIED);
    EXPECT_EQ(tower(), rewritten);
    EXPECT_EQ(session(), mission);
    EXPECT_EQ(app.settingsText(), settings);
}

TEST_F(SwapCommandsTest, NoMissionOnlySwapWhenTheAnswerIsNo) {
    const std::string before = session();
    app.dialog.answerNo();
    swap("Raid.mis", 0);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{kAsk});
    EXPECT_EQ(app.dialog.boxes().at(0).buttons, MessageButtons::YesNo);
    EXPECT_EQ(session(), before);
    EXPECT_TRUE(app.state.sessionClean());
}

TEST_F(SwapCommandsTest, RestorePutsEveryOriginalBackWhateverTheBackedUpMissionNames) {
    swap("Raid.mis", IDC_AXIS);
    app.dialog.clearBoxes();
    // The backed-up session mission has a type nobody names: a restore needs no names.
    testkit::writeText(app.state.paths().backupSessionMission(), testkit::missionText(MissionPlan{{}, {{99, 1}}}));
    app.dialog.pick(IDC_MISSION, "Original mp.mis file");
    app.dialog.click(IDC_RESTORE);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Originals restored"});
    EXPECT_TRUE(app.state.sessionClean());
    EXPECT_FALSE(app.state.restoreRequested);
    EXPECT_EQ(tower(), file(app.state.paths().backupObjectDp("Tower.dp")));
    EXPECT_EQ(session(), file(app.state.paths().backupSessionMission()));
    EXPECT_EQ(selectedMission(app.state), "Original mp.mis file");
    EXPECT_EQ(app.dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_RESTORE_DPS);
}

TEST_F(SwapCommandsTest, AFailedRestoreKeepsTheWarningAndClearsTheRequest) {
    swap("Raid.mis", IDC_AXIS);
    app.dialog.clearBoxes();
    breakBackup();
    app.dialog.click(IDC_RESTORE);
    EXPECT_EQ(app.dialog.boxTexts(), (std::vector<std::string>{kNoBackup, "Error restoring originals."}));
    EXPECT_FALSE(app.state.sessionClean());
    EXPECT_FALSE(app.state.restoreRequested);
    // The next Swap checks the mission again.
    app.dialog.clearBoxes();
    swap("Original mp.mis file", IDC_ALLIED);
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{kOriginalRefused});
}

TEST_F(SwapCommandsTest, NoSideCheckedDoesNothing) {
    ASSERT_TRUE(app.dialog.pick(IDC_MISSION, "Raid.mis"));
    app.dialog.checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, 0);
    const std::string before = session();
    app.dialog.click(IDOK);
    EXPECT_TRUE(app.dialog.boxes().empty());
    EXPECT_EQ(session(), before);
}

TEST_F(SwapCommandsTest, WithoutTheGameFolderNothingIsWritten) {
    const std::string path = app.state.paths().sessionMission(), before = file(path);
    app.state.gameDir.clear();
    for (int side : {IDC_ALLIED, 0}) {
        app.dialog.clearBoxes();
        swap("Raid.mis", side);
        EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not locate the CFS2 folder.\nCheck that CFS2 "
                                                                  "is installed, then start Velmora again."});
    }
    app.dialog.clearBoxes();
    app.dialog.click(IDC_RESTORE);
    EXPECT_EQ(app.dialog.boxTexts().size(), 1u);
    EXPECT_FALSE(app.state.restoreRequested);
    EXPECT_EQ(file(path), before);
    EXPECT_TRUE(app.state.sessionClean());
}

}  // namespace
}  // namespace velmora
