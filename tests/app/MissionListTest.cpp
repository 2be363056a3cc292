// The mission list: contents, order and selection, through the in-memory dialog.
#include "app/MissionList.h"

#include <gtest/gtest.h>

#include "core/PrivateProfile.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using List = std::vector<std::string>;

// Each row fills the list for CFS1 first, then rebuilds it for CFS2: only
// CFS2's missions and its own record count.
TEST(MissionListTest, SortedMisNamesOfTheActiveGameWithItsRecordedMissionSelected) {
    const struct {
        const char* name;
        List missions;        // in CFS2's missions folder, none when empty; "x/" is a folder
        const char* current;  // CUR_MISSION_2, none when null
        List entries;
        const char* selected;
    } rows[] = {
        {"SortedWithoutRegardToCase", {"Zulu.mis", "alpha.mis", "Beta.mis"}, "beta.MIS",
         {"alpha.mis", "Beta.mis", "Original mp.mis file", "Zulu.mis"}, "Beta.mis"},
        {"NoMissionsFolderNorRecordSelectsTheOriginal", {}, nullptr, {"Original mp.mis file"}, "Original mp.mis file"},
        {"ARemovedMissionLeavesNoSelection", {"Raid.mis"}, "Gone.mis", {"Original mp.mis file", "Raid.mis"}, ""},
        {"OnlyMisNamesFoldersIncluded", {"a.MIS", "notes.txt", "extra.mis/", "b.mis.bak"}, "Two.mis",
         {"a.MIS", "extra.mis", "Original mp.mis file"}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testkit::TestApp app;
        app.install(testkit::GameInstall(kCfs1).missionText("One.mis", "").missionText("Two.mis", ""));
        testkit::GameInstall cfs2(kCfs2);
        for (const std::string& mission : row.missions)
            if (mission.back() != '/') cfs2.missionText(mission, "");
        if (!row.missions.empty()) app.install(cfs2);
        for (const std::string& mission : row.missions)
            if (mission.back() == '/') app.state.files().makeDirectory(app.cfs2Dir + testkit::nativePath("/missions/" + mission));
        writeProfileString(app.state.files(), "MAIN", "CUR_MISSION_1", "Two.mis", app.state.settingsPath);
        if (row.current) writeProfileString(app.state.files(), "MAIN", "CUR_MISSION_2", row.current, app.state.settingsPath);
        app.activate(kCfs1);
        fillMissionList(app.state);
        EXPECT_EQ(selectedMission(app.state), "Two.mis");
        app.activate(kCfs2);
        fillMissionList(app.state);
        EXPECT_EQ(app.dialog.listEntries(IDC_MISSION), row.entries);
        EXPECT_EQ(selectedMission(app.state), row.selected);
        EXPECT_EQ(app.dialog.listSelection(IDC_MISSION) == -1, *row.selected == '\0');
    }
}

}  // namespace
}  // namespace velmora
