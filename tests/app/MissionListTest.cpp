// The mission list: contents, order and selection, through the in-memory dialog.
#include "app/MissionList.h"

#include <gtest/gtest.h>

#include "core/PrivateProfile.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::GameInstall;

class MissionListTest : public ::testing::Test {
protected:
    void SetUp() override { app.activate(kCfs2); }
    void setCurrent(const std::string& mission) {
        writeProfileString(app.state.files(), "MAIN", "CUR_MISSION_2", mission, app.state.settingsPath);
    }
    std::vector<std::string> entries() { return app.dialog.listEntries(IDC_MISSION); }
    testkit::TestApp app;
};

TEST_F(MissionListTest, SortedWithoutRegardToCaseAndTheRecordedMissionSelected) {
    app.install(GameInstall(kCfs2).missionText("Zulu.mis", "").missionText("alpha.mis", "").missionText("Beta.mis", ""));
    app.activate(kCfs2);
    setCurrent("beta.MIS");
    fillMissionList(app.state);
    EXPECT_EQ(entries(), (std::vector<std::string>{"alpha.mis", "Beta.mis", "Original mp.mis file", "Zulu.mis"}));
    EXPECT_EQ(selectedMission(app.state), "Beta.mis");
}

TEST_F(MissionListTest, NoMissionsFolderAndNoSettingsSelectsTheOriginal) {
    fillMissionList(app.state);
    EXPECT_EQ(entries(), std::vector<std::string>{"Original mp.mis file"});
    EXPECT_EQ(selectedMission(app.state), "Original mp.mis file");
}

TEST_F(MissionListTest, ARemovedMissionLeavesNoSelection) {
    app.install(GameInstall(kCfs2).missionText("Raid.mis", ""));
    app.activate(kCfs2);
    setCurrent("Gone.mis");
    fillMissionList(app.state);
    EXPECT_EQ(entries().size(), 2u);
    EXPECT_EQ(app.dialog.listSelection(IDC_MISSION), -1);
    EXPECT_EQ(selectedMission(app.state), "");
}

TEST_F(MissionListTest, OnlyMisNamesAreListedFoldersIncluded) {
    app.install(GameInstall(kCfs2).missionText("a.MIS", "").missionText("notes.txt", "").missionText("b.mis.bak", ""));
    app.state.files().makeDirectory(app.cfs2Dir + app.state.platform.separator + "missions" +
                                    app.state.platform.separator + "extra.mis");
    app.activate(kCfs2);
    fillMissionList(app.state);
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.MIS", "extra.mis", "Original mp.mis file"}));
}

TEST_F(MissionListTest, RebuildingForTheOtherGameShowsItsMissionsAndRecord) {
    app.install(GameInstall(kCfs1).missionText("One.mis", ""));
    app.install(GameInstall(kCfs2).missionText("Two.mis", ""));
    writeProfileString(app.state.files(), "MAIN", "CUR_MISSION_1", "One.mis", app.state.settingsPath);
    setCurrent("Two.mis");
    app.activate(kCfs1);
    fillMissionList(app.state);
    EXPECT_EQ(selectedMission(app.state), "One.mis");
    app.activate(kCfs2);
    fillMissionList(app.state);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Original mp.mis file", "Two.mis"}));
    EXPECT_EQ(selectedMission(app.state), "Two.mis");
}

}  // namespace
}  // namespace velmora
