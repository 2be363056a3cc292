// The main window's start-up and its own handlers, through the in-memory dialog.
#include "app/MainDialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/MissionList.h"
#include "core/PrivateProfile.h"
#include "res/resource.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::GameInstall;
using testkit::MissionPlan;
using testkit::readText;
using testkit::writeText;

GameInstall cfs1Game() {
    GameInstall install(kCfs1);
    install.mission("Alpha.mis", MissionPlan{{{1, 1, "Tower"}}, {{1}}}).objectDps({"Tower"});
    return install;
}

GameInstall cfs2Game() {
    GameInstall install(kCfs2);
    install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}}, {{3}}})
        .mission("Convoy.mis", MissionPlan{{{4, 1, "Hangar"}}, {{4}}})
        .objectDps({"Tower", "Hangar"})
        .ship("Carrier", {"hull"});
    return install;
}

class MainDialogTest : public ::testing::Test {
protected:
    MainDialogTest() : window(app.state) {
        app.dialog.onCommand([this](int id) { window.onCommand(id); });
    }
    void start() {
        window.OnInitDialog();
        app.dialog.clearBoxes();  // the backup's summaries
    }
    void writeSetting(const std::string& key, const std::string& value) {
        writeProfileString(app.state.files(), "MAIN", key, value, app.appDir + app.state.platform.separator + "Velmora.ini");
    }
    bool ended() const { return app.dialog.endResult().has_value(); }

    testkit::TestApp app;
    MainDialog window;
};

// Which game the start-up chooses, and what it shows on the way.
TEST(StartUpTest, ChoosesTheGame) {
    const std::string cfs1Summary = "CFS1 object DP and multiplayer.mis successfully backed up.";
    const std::string cfs2Summary = "CFS2 object and ship DP's and multiplayer.mis successfully backed up.";
    // Quit then saves the game checked, "0" for none.
    const struct {
        bool cfs1, cfs2;
        const char* lastGame;  // LAST_CFS_VERS of an existing settings file; nullptr: first start
        int checked;
        std::vector<std::string> boxes;
        std::vector<std::string> missions;
        const char* saved;
    } rows[] = {
        // The only game is chosen whatever the settings say.
        {false, true, "1", IDC_CFS2, {cfs2Summary}, {"Convoy.mis", "Original mp.mis file", "Raid.mis"}, "2"},
        {true, true, "7", 0, {cfs1Summary, cfs2Summary}, {}, "0"},
        {true, true, "1", IDC_CFS1, {cfs1Summary, cfs2Summary}, {"Alpha.mis", "Original mp.mis file"}, "1"},
        {true, true, nullptr, 0, {cfs1Summary, cfs2Summary}, {}, "0"},
        {true, true, "2", IDC_CFS2, {cfs1Summary, cfs2Summary}, {"Convoy.mis", "Original mp.mis file", "Raid.mis"}, "2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.checked);
        testkit::TestApp app;
        MainDialog window(app.state);
        if (row.cfs1) app.install(cfs1Game());
        if (row.cfs2) app.install(cfs2Game());
        if (row.lastGame)
            writeText(app.appDir + testkit::nativePath("/Velmora.ini"),
                      std::string("[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_CFS_VERS=") + row.lastGame + "\r\n");
        window.OnInitDialog();
        EXPECT_FALSE(app.dialog.endResult().has_value());
        EXPECT_EQ(app.dialog.boxTexts(), row.boxes);
        EXPECT_EQ(app.dialog.checkedRadio(IDC_CFS1, IDC_CFS2), row.checked);
        EXPECT_EQ(app.dialog.isEnabled(IDC_CFS1), row.cfs1);
        EXPECT_EQ(app.state.activeGame, row.checked == IDC_CFS1 ? kCfs1 : kCfs2);
        EXPECT_EQ(app.dialog.listEntries(IDC_MISSION), row.missions);
        for (int id : {IDC_MISSION, IDC_ALLIED, IDC_AXIS, IDOK, IDC_RESTORE, IDC_LAUNCH, IDC_COLLISION, IDC_FRACT_MIN})
            EXPECT_EQ(app.dialog.isEnabled(id), row.checked != 0) << id;
        // Neither radio checked: the first holds the group's tab stop.
        EXPECT_EQ(app.dialog.hasTabStop(IDC_CFS1), row.checked == 0);
        if (row.checked) {
            EXPECT_EQ(selectedMission(app.state), "Original mp.mis file");
            EXPECT_EQ(app.dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_RESTORE_DPS);
        }
        window.onCommand(IDCANCEL);
        EXPECT_EQ(app.dialog.endResult(), IDCANCEL);
        EXPECT_EQ(app.setting("LAST_CFS_VERS"), row.saved);
    }
}

TEST_F(MainDialogTest, StartUpFindsItsFolderSetsUpTheWindowAndAChosenGameComesToLife) {
    app.install(cfs1Game());
    app.install(cfs2Game());
    app.hosts.list = {packAddress(24, 1, 2, 3)};
    const std::string leftover = app.appDir + app.state.platform.separator + "Velmora.ini.vlmr-" +
                                 std::to_string(testkit::finishedProcessId()) + "-3.tmp";
    writeText(leftover, "[MAIN]\r\nVLMR_");
    // As the program starts: nothing but the platform and the window is set.
    app.state.appDir.clear();
    app.state.settingsPath.clear();
    start();
    EXPECT_FALSE(testkit::fileExists(leftover));
    EXPECT_EQ(app.state.appDir, app.appDir);
    EXPECT_EQ(app.state.settingsPath, app.appDir + app.state.platform.separator + "Velmora.ini");
    EXPECT_EQ(std::filesystem::canonical(app.state.files().currentDirectory()),
              std::filesystem::canonical(app.appDir));
    EXPECT_EQ(app.dialog.systemMenu(), (std::vector<std::pair<int, std::string>>{{0, "-"}, {IDM_ABOUTBOX, "&About Velmora..."}}));
    EXPECT_EQ(app.dialog.iconSets(), 1);
    EXPECT_TRUE(window.onSystemCommand(IDM_ABOUTBOX | 0x3));
    EXPECT_EQ(app.dialog.aboutBoxes(), 1);
    EXPECT_FALSE(window.onSystemCommand(0xF060));  // SC_CLOSE: the platform's own
    EXPECT_EQ(app.state.gameDir, app.cfs2Dir);
    EXPECT_EQ(app.dialog.text(IDC_LAUNCH, 260), "");
    EXPECT_EQ(app.dialog.listEntries(IDC_IP_ADDRESS), std::vector<std::string>{"24.1.2.3"});
    EXPECT_TRUE(app.dialog.click(IDC_CFS1));
    EXPECT_EQ(app.state.activeGame, kCfs1);
    EXPECT_EQ(app.state.gameDir, app.cfs1Dir);
    EXPECT_TRUE(app.dialog.isEnabled(IDOK));
    EXPECT_TRUE(app.dialog.isEnabled(IDC_COLLISION));
    EXPECT_EQ(app.dialog.text(IDC_LAUNCH, 260), "Launch CFS1 for IP game");
}

// A start-up that cannot go on shows its box and ends. The settings stay as
// they were, with the swaps in force they record, for the next start.
TEST(StartUpTest, AFailureEndsAndKeepsTheSettings) {
    GameInstall noDps(kCfs1);
    GameInstall noShips(kCfs2);
    noShips.objectDps({"Tower"});
    const std::string settings =
        "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_CFS_VERS=1\r\nSTATIC_IP=10.1.2.3\r\nLAST_SAVE_1=2\r\n"
        "CUR_MISSION_1=Alpha.mis\r\nLAST_SAVE_2=4\r\nCUR_MISSION_2=Original mp.mis file\r\n"
        "[MODIFIED_DPS_1]\r\nTower.dp=guns modified\r\n[MODIFIED_DPS_2]\r\n";
    const std::string suspect = "Extra units or unit types found in existing CFS1 multiplayer.mis file.\n\nAre you "
                                "SURE you wish to backup this file?";
    const struct {
        std::vector<GameInstall> games;
        std::vector<std::string> boxes;
        bool cfs2BackedUp;
    } rows[] = {
        {{}, {"Could not locate CFS1 or CFS2 executable."}, false},
        // The first game's failure ends before the second is backed up.
        {{noDps, cfs2Game()}, {"Could not locate any original object DP's"}, false},
        {{cfs1Game(), noShips},
         {"CFS1 object DP and multiplayer.mis successfully backed up.", "Could not locate the original SHIPS folder"},
         true},
        // The question about a suspect multiplayer.mis answered No.
        {{cfs1Game().sessionMissionText("[unit.1]\r\ntype_id=5\r\n"), cfs2Game()},
         {suspect, "Velmora will now shut down."}, false},
    };
    for (const auto& row : rows) {
        testkit::TestApp app;
        MainDialog window(app.state);
        for (const GameInstall& game : row.games) app.install(game);
        const std::string settingsPath = app.appDir + testkit::nativePath("/Velmora.ini");
        if (!row.games.empty()) writeText(settingsPath, settings);
        window.OnInitDialog();
        EXPECT_EQ(app.dialog.endResult(), 0);
        EXPECT_EQ(app.dialog.boxTexts(), row.boxes);
        EXPECT_EQ(testkit::fileExists(settingsPath), !row.games.empty());
        EXPECT_EQ(readText(settingsPath), row.games.empty() ? "" : settings);
        EXPECT_EQ(testkit::fileExists(app.appDir + testkit::nativePath("/bkupcfs2")), row.cfs2BackedUp);
        EXPECT_TRUE(app.dialog.listEntries(IDC_IP_ADDRESS).empty());
    }
}

TEST_F(MainDialogTest, TheSideButtonsFollowTheLastSwapOfEachGame) {
    app.install(cfs1Game());
    app.install(cfs2Game());
    writeText(app.appDir + testkit::nativePath("/Velmora.ini"),
              "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_CFS_VERS=1\r\nLAST_SAVE_1=2\r\nCUR_MISSION_2=Raid.mis\r\n");
    start();
    EXPECT_EQ(app.dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_AXIS);
    EXPECT_FALSE(app.dialog.isChecked(IDC_ALLIED));

    for (const char* value : {"3", "4", "9"}) {
        writeSetting("LAST_SAVE_2", value);
        app.dialog.click(IDC_CFS2);
        EXPECT_EQ(app.dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_RESTORE_DPS) << value;
        EXPECT_EQ(selectedMission(app.state), "Raid.mis");
    }
    writeSetting("LAST_SAVE_2", "1");
    app.dialog.click(IDC_CFS2);
    EXPECT_EQ(app.dialog.checkedRadio(IDC_ALLIED, IDC_RESTORE_DPS), IDC_ALLIED);
}

TEST_F(MainDialogTest, ACloseRequestDuringACommandWaitsForItsEnd) {
    app.install(cfs2Game());
    start();
    app.dialog.pick(IDC_MISSION, "Raid.mis");
    app.dialog.click(IDC_AXIS);
    bool endedDuringTheBox = false;
    app.dialog.onMessageBox([&](const testkit::RecordedBox& box) {
        if (box.text.rfind("Mission swapped.", 0) != 0) return;
        window.onCommand(IDCANCEL);  // the close box, Alt+F4 or End task
        endedDuringTheBox = ended();
    });
    app.dialog.answer(MessageAnswer::No);  // the outcome box's OK, then No to the warning
    app.dialog.answer(MessageAnswer::No);
    app.dialog.click(IDOK);
    EXPECT_FALSE(endedDuringTheBox);
    ASSERT_EQ(app.dialog.boxes().size(), 2u);
    EXPECT_EQ(app.dialog.boxes()[1].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(ended());
}

TEST_F(MainDialogTest, QuitWarnsWhileEitherGameIsSwapped) {
    app.install(cfs1Game());
    app.install(cfs2Game());
    start();
    auto run = [&](int game, const char* mission, int button) {
        app.dialog.click(game);
        app.dialog.pick(IDC_MISSION, mission);
        if (button == IDOK) app.dialog.click(IDC_ALLIED);
        app.dialog.click(button);
        app.dialog.clearBoxes();
    };
    auto quit = [&](MessageAnswer answer) {
        app.dialog.clearBoxes();
        app.dialog.answer(answer);
        window.onCommand(IDCANCEL);  // Escape and the close box send the same command
        return app.dialog.boxTexts();
    };
    const std::vector<std::string> warning = {
        "It is suggested that you leave Velmora running\nwhile you play a swapped multiplayer mission.\nThis will "
        "remind you to restore after the session.\n\nAre you SURE you want to exit?"};
    run(IDC_CFS1, "Alpha.mis", IDOK);
    run(IDC_CFS2, "Raid.mis", IDC_RESTORE);
    const std::string settings = app.settingsText();
    EXPECT_EQ(quit(MessageAnswer::No), warning);  // CFS1 is still swapped
    EXPECT_EQ(app.dialog.boxes()[0].caption, "Velmora");
    EXPECT_EQ(app.dialog.boxes()[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(ended());
    EXPECT_EQ(app.settingsText(), settings);
    EXPECT_EQ(quit(MessageAnswer::Yes), warning);
    EXPECT_EQ(app.dialog.endResult(), IDCANCEL);
    EXPECT_EQ(app.setting("LAST_CFS_VERS"), "2");
    run(IDC_CFS1, "Alpha.mis", IDC_RESTORE);
    EXPECT_EQ(quit(MessageAnswer::No), std::vector<std::string>{});
    EXPECT_EQ(app.setting("LAST_CFS_VERS"), "1");
}

}  // namespace
}  // namespace velmora
