// The Swap and Restore buttons: every row of their outcome table and the
// sessionClean / restoreRequested life cycle, through the in-memory dialog.
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

class SwapCommandsTest : public ::testing::Test {
protected:
    SwapCommandsTest() : window(app.state) { app.dialog.onCommand([this](int id) { window.onCommand(id); }); }

    void SetUp() override {
        GameInstall install(kCfs2);
        install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}}})
            .mission("Bad.mis", MissionPlan{{}, {{99, 1}}})
            .objectDps({"Tower"})
            .ship("Carrier", {"hull"});
        app.install(install);
        window.OnInitDialog();
        app.dialog.clearBoxes();
    }

    void choose(const std::string& mission, int side) {
        ASSERT_TRUE(app.dialog.pick(IDC_MISSION, mission));
        if (side != 0) {
            ASSERT_TRUE(app.dialog.click(side));
        }
    }
    std::string session() { return readText(app.state.paths().sessionMission()); }
    void breakBackup() { std::filesystem::remove_all(app.state.paths().backupObjectDpFolder()); }
    void expectBoxes(const std::vector<std::string>& texts) { EXPECT_EQ(app.dialog.boxTexts(), texts); }
    const testkit::RecordedBox& box(size_t i) { return app.dialog.boxes().at(i); }

    testkit::TestApp app;
    MainDialog window;
};

TEST_F(SwapCommandsTest, SwappingInTheOriginalIsRefused) {
    const std::string before = session();
    choose("Original mp.mis file", IDC_ALLIED);
    app.dialog.click(IDOK);
    expectBoxes({"Please select a mission other than\nthe original multiplayer mission.\n\nIf you wish to restore the "
                 "original,\nclick on the 'Restore' button."});
    EXPECT_EQ(box(0).caption, "Velmora");
    EXPECT_EQ(box(0).icon, MessageIcon::None);
    EXPECT_EQ(session(), before);
    EXPECT_TRUE(app.state.sessionClean);
    EXPECT_FALSE(app.state.restoreRequested);
}

TEST_F(SwapCommandsTest, AnAlliedSwap) {
    choose("Raid.mis", IDC_ALLIED);
    // The hidden "Restore DP's" keeps its check; the first checked in id order wins.
    EXPECT_TRUE(app.dialog.isChecked(IDC_RESTORE_DPS));
    app.dialog.click(IDOK);
    expectBoxes({"Mission swapped.  Allied mission\nunits are now friendly."});
    EXPECT_EQ(box(0).caption, "FYI");
    EXPECT_EQ(box(0).icon, MessageIcon::Information);
    EXPECT_EQ(session(), readText(app.state.paths().mission("Raid.mis")));
    EXPECT_FALSE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, AnAxisSwap) {
    choose("Raid.mis", IDC_AXIS);
    app.dialog.click(IDOK);
    expectBoxes({"Mission swapped.  Axis mission\nunits are now friendly."});
    EXPECT_FALSE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, FailedSideSwapsShowTwoBoxesAndStillArmTheQuitWarning) {
    breakBackup();
    choose("Raid.mis", IDC_ALLIED);
    app.dialog.click(IDOK);
    expectBoxes({"Could not locate backup object DP's", "Error swapping to friendly Allies DP's."});
    EXPECT_EQ(box(1).caption, "Error");
    EXPECT_EQ(box(1).icon, MessageIcon::Error);
    EXPECT_FALSE(app.state.sessionClean);

    app.state.sessionClean = true;
    app.dialog.clearBoxes();
    choose("Raid.mis", IDC_AXIS);
    app.dialog.click(IDOK);
    expectBoxes({"Could not locate backup object DP's", "Error swapping to friendly Axis DP's."});
    EXPECT_FALSE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, WithoutASideTheUserIsAskedAboutAMissionOnlySwap) {
    choose("Raid.mis", 0);
    ASSERT_EQ(app.dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_RESTORE_DPS);
    const std::string before = session();

    app.dialog.answerNo();
    app.dialog.click(IDOK);
    expectBoxes({"You have not selected an alliance.\nDo you wish to only swap mission?"});
    EXPECT_EQ(box(0).buttons, MessageButtons::YesNo);
    EXPECT_EQ(box(0).caption, "Velmora");
    EXPECT_EQ(session(), before);
    EXPECT_TRUE(app.state.sessionClean);

    app.dialog.clearBoxes();
    app.dialog.answerYes();
    app.dialog.click(IDOK);
    expectBoxes({"You have not selected an alliance.\nDo you wish to only swap mission?", "Mission swapped."});
    EXPECT_EQ(box(1).icon, MessageIcon::None);
    EXPECT_EQ(session(), readText(app.state.paths().mission("Raid.mis")));
    EXPECT_FALSE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, AFailedMissionOnlySwapLeavesTheSessionClean) {
    breakBackup();
    choose("Raid.mis", 0);
    app.dialog.answerYes();
    app.dialog.click(IDOK);
    expectBoxes({"You have not selected an alliance.\nDo you wish to only swap mission?",
                 "Could not locate backup object DP's", "Error swapping mission."});
    EXPECT_TRUE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, RestoreRunsEvenWithTheOriginalSelected) {
    choose("Raid.mis", IDC_AXIS);
    app.dialog.click(IDOK);
    app.dialog.clearBoxes();
    app.dialog.pick(IDC_MISSION, "Original mp.mis file");
    app.dialog.click(IDC_RESTORE);
    expectBoxes({"Originals restored"});
    EXPECT_EQ(box(0).caption, "Velmora");
    EXPECT_EQ(box(0).icon, MessageIcon::None);
    EXPECT_TRUE(app.state.sessionClean);
    EXPECT_FALSE(app.state.restoreRequested);
    EXPECT_EQ(session(), readText(app.state.paths().backupSessionMission()));
    EXPECT_TRUE(app.dialog.isChecked(IDC_RESTORE_DPS));
    EXPECT_FALSE(app.dialog.isChecked(IDC_ALLIED));
    EXPECT_FALSE(app.dialog.isChecked(IDC_AXIS));
}

TEST_F(SwapCommandsTest, AFailedRestoreKeepsTheSessionStateAndClearsTheRequest) {
    choose("Raid.mis", IDC_AXIS);
    app.dialog.click(IDOK);
    app.dialog.clearBoxes();
    breakBackup();
    app.dialog.click(IDC_RESTORE);
    expectBoxes({"Could not locate backup object DP's", "Error restoring originals."});
    EXPECT_FALSE(app.state.sessionClean);
    EXPECT_FALSE(app.state.restoreRequested);

    // The next Swap checks the mission again.
    app.dialog.clearBoxes();
    app.dialog.pick(IDC_MISSION, "Original mp.mis file");
    app.dialog.click(IDOK);
    EXPECT_EQ(app.dialog.boxTexts().size(), 1u);
    EXPECT_EQ(app.dialog.boxTexts()[0].rfind("Please select a mission", 0), 0u);
}

TEST_F(SwapCommandsTest, ARestoreStoppedByAnUnnamedUnitStillReportsRestored) {
    choose("Raid.mis", IDC_AXIS);
    app.dialog.click(IDOK);
    const std::string rewritten = readText(app.state.paths().objectDp("Tower.dp"));
    app.dialog.clearBoxes();
    testkit::writeText(app.state.paths().backupSessionMission(), testkit::missionText(MissionPlan{{}, {{99, 1}}}));
    app.dialog.click(IDC_RESTORE);
    expectBoxes({"Mission error, name of unit.0 unknown", "Originals restored"});
    EXPECT_TRUE(app.state.sessionClean);
    EXPECT_EQ(readText(app.state.paths().objectDp("Tower.dp")), rewritten);
}

TEST_F(SwapCommandsTest, AnUnnamedUnitInASideSwapReportsTheSwap) {
    choose("Bad.mis", IDC_ALLIED);
    app.dialog.click(IDOK);
    expectBoxes({"Mission error, name of unit.0 unknown", "Mission swapped.  Allied mission\nunits are now friendly."});
    EXPECT_FALSE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, NoSideCheckedDoesNothing) {
    choose("Raid.mis", 0);
    app.dialog.checkRadio(IDC_ALLIED, IDC_RESTORE_DPS, 0);
    const std::string before = session();
    app.dialog.click(IDOK);
    EXPECT_TRUE(app.dialog.boxes().empty());
    EXPECT_EQ(session(), before);
    EXPECT_TRUE(app.state.sessionClean);
}

TEST_F(SwapCommandsTest, AfterASwapTheListShowsTheMissionInForce) {
    choose("Raid.mis", IDC_AXIS);
    app.dialog.click(IDOK);
    EXPECT_EQ(selectedMission(app.state), "Raid.mis");
    app.dialog.click(IDC_RESTORE);
    EXPECT_EQ(selectedMission(app.state), "Original mp.mis file");
}

}  // namespace
}  // namespace velmora
