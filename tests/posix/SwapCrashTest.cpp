// A backup, swap or restore killed at any step never costs the user a file:
// each run is forked into a child that dies at its n-th step, then Velmora
// starts again (a backup) and restores; every game file must then be its
// original byte for byte, and the backup tree the one a whole backup makes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/MissionList.h"
#include "backup/BackupOriginals.h"
#include "res/resource.h"
#include "swap/SwapEngine.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::DpPlan;
using Tree = std::map<std::string, std::string>;  // relative path -> contents

enum class Command { Backup, Swap, Restore };

class CrashTest : public ::testing::TestWithParam<Command> {
protected:
    // A CFS2 whose Raid.mis makes half the object DPs and every ship DP Axis.
    // The restores are killed in a game that had no multiplayer.mis of its own.
    void SetUp() override {
        testkit::GameInstall install(kCfs2);
        if (GetParam() == Command::Restore) install.noSessionMission();
        testkit::MissionPlan raid;
        for (int i = 0; i < 20; ++i) {
            const std::string name = "obj" + std::to_string(i);
            install.objectDp(DpPlan{name, 1 + i % 2, true, 3000});
            raid.types.push_back({i, 1 + i % 2, name});
            raid.units.push_back({i});
        }
        for (int s = 0; s < 3; ++s) {
            const std::string hull = "hull" + std::to_string(s);
            install.ship(testkit::ShipPlan{"Ship" + std::to_string(s), {DpPlan{hull, 2, true, 5000}, {"deck", 2}}, {}});
            raid.types.push_back({100 + s, 2, hull + " class"});
        }
        install.mission("Raid.mis", raid);
        app.install(install);
        install.writeBackup(app.appDir);
        app.activate(kCfs2);
        app.dialog.enable(IDC_MISSION, true);
        // A restore leaves no compiled sibling behind.
        originals = testkit::readTree(app.gameDir(kCfs2));
        std::erase_if(originals, [](const auto& entry) { return entry.first.ends_with(".cdp"); });
        backup = testkit::readTree(app.state.paths().backupRoot());
    }

    // The state each run is killed over: no backup yet, the originals, a swap in force.
    void prepare() {
        if (GetParam() == Command::Backup) {
            fs::remove_all(app.state.paths().backupRoot());
            fs::remove(app.state.settingsPath);
        }
        if (GetParam() == Command::Restore) run(Command::Swap, -1);
    }
    // Runs `command`, killed at its `killAt`-th change of the disk (never, for -1), a write or a copy half
    // done in a temporary file; returns its changes. Nothing waits for the disk: a killed process loses
    // nothing the system has been handed.
    int run(Command command, int killAt) {
        testkit::FaultyFileSystem files(platformFileSystem());
        int steps = 0;
        files.durable = false;
        files.beforeChange = [&](testkit::FileOp op, const std::string& target, std::string_view bytes) {
            if (++steps != killAt) return;
            if (op == testkit::FileOp::WriteTemporary || op == testkit::FileOp::CopyToTemporary)
                platformFileSystem().writeTemporary(target, bytes.substr(0, bytes.size() / 2), false);
            ::kill(::getpid(), SIGKILL);
            for (;;) ::pause();
        };
        app.state.platform.files = &files;
        fillMissionList(app.state);
        app.dialog.pick(IDC_MISSION, "Raid.mis");
        const int result = command == Command::Backup  ? backupOriginals(app.state)
                           : command == Command::Swap ? swapMission(app.state, SwapMode::AxisFriendly)
                                                      : swapMission(app.state, SwapMode::RestoreOriginals);
        app.state.platform.files = &platformFileSystem();
        EXPECT_TRUE(killAt != -1 || result == 0) << ::testing::PrintToString(app.dialog.boxTexts());
        return steps;
    }
    void killed(int killAt) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            run(GetParam(), killAt);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    }

    testkit::TestApp app;
    Tree originals;
    Tree backup;
};

TEST_P(CrashTest, AKilledRunIsUndoneByTheNextStartAndARestore) {
    prepare();
    const int steps = run(GetParam(), -1);
    ASSERT_GT(steps, 50);
    run(Command::Restore, -1);
    for (int step = 1; step <= steps && !HasFailure(); ++step) {
        prepare();
        killed(step);
        // Every fourth run is killed a second time over what the first left.
        if (step % 4 == 1) killed(1 + (step * 7) % steps);
        SCOPED_TRACE("killed at step " + std::to_string(step));
        app.dialog.clearBoxes();
        run(Command::Backup, -1);
        run(Command::Restore, -1);
        // Every file is whole and in its place, and no temporary is left.
        EXPECT_EQ(testkit::readTree(app.gameDir(kCfs2)), originals);
        EXPECT_EQ(testkit::readTree(app.state.paths().backupRoot()), backup);
    }
}

const char* const kCommandNames[] = {"Backup", "Swap", "Restore"};
INSTANTIATE_TEST_SUITE_P(Commands, CrashTest, ::testing::Values(Command::Backup, Command::Swap, Command::Restore),
                         [](const auto& row) { return std::string(kCommandNames[row.index]); });

}  // namespace
}  // namespace velmora
