// Which program an IP game starts, and starting it.
#include "tools/Launchers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::GameInstall;
using testkit::writeText;

class LaunchersTest : public ::testing::Test {
protected:
    void use(GameVersion game) {
        GameInstall install(game);
        install.executable();
        app.install(install);
        app.activate(game);
    }

    testkit::TestApp app;
};

// What the game's folder holds decides the launcher controls.
TEST(LauncherControlsTest, FollowTheHostToolAndTheSecondExecutable) {
    const struct {
        GameVersion game;
        bool tool, toolIsFolder, secondExecutable;
        const char* caption;
        const char* active;
    } rows[] = {
        {kCfs2, false, false, true, "Launch CFS2 for IP game", "CFS2"},  // the second executable alone is not looked for
        {kCfs2, true, false, false, "Launch CFS2 for IP game", "CFS2"},
        {kCfs2, true, false, true, "Launch TWK for IP game", "Tarnwick"},
        {kCfs1, true, true, true, "Launch TWK for IP game", "Tarnwick"},  // a folder counts too
        {kCfs1, false, false, false, "Launch CFS1 for IP game", "CFS1"},
    };
    for (const auto& row : rows) {
        testkit::TestApp app;
        GameInstall install(row.game);
        app.install(install.executable());
        app.activate(row.game);
        const std::string dir = app.state.gameDir + app.state.platform.separator;
        if (row.toolIsFolder) std::filesystem::create_directories(dir + testkit::nativePath("Tarnwick/Select.exe"));
        else if (row.tool) writeText(dir + testkit::nativePath("Tarnwick/Select.exe"), "");
        if (row.secondExecutable) writeText(dir + (row.game == kCfs1 ? "origcombatfs.exe" : "origcfs2.exe"), "");
        app.dialog.enable(IDC_RUN_SELECT, !row.tool);  // as the other game may have left it
        updateLauncherControls(app.state);
        EXPECT_EQ(app.dialog.isEnabled(IDC_RUN_SELECT), row.tool) << row.caption;
        EXPECT_EQ(app.dialog.text(IDC_LAUNCH, 260), row.caption);
        EXPECT_EQ(app.dialog.text(IDC_ACTIVE_PROGRAM, 260), row.active);
        EXPECT_TRUE(app.dialog.isEnabled(IDC_LAUNCH));
    }
}

// Even when the host tool takes over; a start that fails shows the system's text or else its code.
TEST_F(LaunchersTest, LaunchStartsTheGamesOwnExecutableOrSaysWhyNot) {
    use(kCfs1);
    writeText(app.inGame("Tarnwick/Select.exe"), "");
    writeText(app.inGame("origcombatfs.exe"), "");
    updateLauncherControls(app.state);
    const std::string before = app.state.files().currentDirectory();
    launchGame(app.state);
    ASSERT_EQ(app.processes.calls.size(), 1u);
    EXPECT_EQ(app.processes.calls[0].program, app.inGame("combatfs.exe"));
    EXPECT_EQ(app.processes.calls[0].workingDirectory, app.state.gameDir);
    EXPECT_FALSE(app.processes.calls[0].waited);
    EXPECT_EQ(app.dialog.windowState(), WindowShow::Minimize);
    EXPECT_TRUE(app.dialog.boxes().empty());
    EXPECT_EQ(app.state.files().currentDirectory(), before);
    for (const auto& [result, text] :
         {std::pair{StartResult{false, 2, "The system cannot find the file specified.\r\n"},
                    std::string("The system cannot find the file specified.\r\n")},
          {StartResult{false, 1392, ""}, "Could not start " + app.inGame("combatfs.exe") + " (error 1392)"}}) {
        app.dialog.clearBoxes();
        app.dialog.showWindow(WindowShow::Show);
        app.processes.startResult = [result = result](const std::string&) { return result; };
        launchGame(app.state);
        ASSERT_EQ(app.dialog.boxes().size(), 1u);
        EXPECT_EQ(app.dialog.boxes()[0].text, text);
        EXPECT_EQ(app.dialog.boxes()[0].caption, "Velmora");
        EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::None);
        EXPECT_EQ(app.dialog.windowState(), WindowShow::Show);
        EXPECT_EQ(app.state.files().currentDirectory(), before);
    }
}

TEST_F(LaunchersTest, RunningTheHostToolHidesTheWindowAndRefreshesAfterIt) {
    use(kCfs2);
    writeText(app.inGame("Tarnwick/Select.exe"), "");
    updateLauncherControls(app.state);
    ASSERT_EQ(app.dialog.text(IDC_LAUNCH, 260), "Launch CFS2 for IP game");
    const std::string before = app.state.files().currentDirectory();

    std::string directoryWhileRunning;
    std::optional<WindowShow> windowWhileRunning;
    app.processes.whileRunning = [&] {
        directoryWhileRunning = app.state.files().currentDirectory();
        windowWhileRunning = app.dialog.windowState();
        writeText(app.inGame("origcfs2.exe"), "the game, renamed by the host tool");
    };
    int refreshes = 0;
    runHostSelect(app.state, [&] {
        ++refreshes;
        updateLauncherControls(app.state);
    });
    ASSERT_EQ(app.processes.calls.size(), 1u);
    EXPECT_EQ(app.processes.calls[0].program, app.inGame("Tarnwick/Select.exe"));
    EXPECT_TRUE(app.processes.calls[0].waited);
    EXPECT_EQ(std::filesystem::canonical(directoryWhileRunning), std::filesystem::canonical(app.inGame("Tarnwick")));
    EXPECT_EQ(windowWhileRunning, WindowShow::Hide);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(app.dialog.windowState(), WindowShow::Show);
    EXPECT_EQ(app.dialog.text(IDC_LAUNCH, 260), "Launch TWK for IP game");
    EXPECT_EQ(app.state.files().currentDirectory(), before);
}

TEST_F(LaunchersTest, AHostToolThatCannotStartIsReportedOverTheShownWindow) {
    use(kCfs2);
    app.processes.startResult = [](const std::string&) { return StartResult{false, 5, "Access is denied.\r\n"}; };
    app.dialog.onMessageBox([&](const testkit::RecordedBox&) { EXPECT_EQ(app.dialog.windowState(), WindowShow::Show); });
    runHostSelect(app.state, [] {});
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Access is denied.\r\n"});
}

TEST_F(LaunchersTest, WithoutTheGameFolderNothingStarts) {
    use(kCfs2);
    app.state.gameDir.clear();
    launchGame(app.state);
    runHostSelect(app.state, [] {});
    EXPECT_TRUE(app.processes.calls.empty());
    EXPECT_EQ(app.dialog.boxTexts(),
              std::vector<std::string>(2, "Could not locate the CFS2 folder.\nCheck that CFS2 is installed, then start Velmora again."));
}

}  // namespace
}  // namespace velmora
