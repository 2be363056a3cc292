// A backup killed at any moment never leaves a wrong file in the backup tree:
// the run is forked into a child process and killed, again and again, at
// every kind of step; each time a complete run follows, and every file of
// the tree must then be byte-identical to the game's original.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "backup/BackupOriginals.h"
#include "core/TemporaryNames.h"
#include "testkit/TestApp.h"
#include "posix/KillingFileSystem.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::DpPlan;
using testkit::GameInstall;

class BackupCrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameInstall install(kCfs2);
        for (int i = 0; i < 40; ++i) install.objectDp(DpPlan{"obj" + std::to_string(i), 1, true, 20000});
        for (int s = 0; s < 4; ++s) {
            testkit::ShipPlan ship;
            ship.folder = "Ship" + std::to_string(s);
            ship.dps = {DpPlan{"hull" + std::to_string(s), 2, true, 30000}, DpPlan{"deck", 2, true, 8000}};
            install.ship(ship);
        }
        app.install(install);
        app.activate(kCfs2);
    }

    void runKilled(int killAt, std::chrono::microseconds delay) {
        velmora::runKilled(killAt, delay, app.state.files(), [this](FileSystem& killing) {
            app.state.platform.files = &killing;
            backupOriginals(app.state);
        });
    }

    // Every file of the backup tree is its original, and nothing else is there.
    void expectTreeMatchesTheGame() {
        const GamePaths paths = app.state.paths();
        const fs::path root = paths.backupRoot();
        int files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            ++files;
            const std::string relative = fs::relative(entry.path(), root).string();
            EXPECT_FALSE(isTemporaryName(entry.path().filename().string())) << relative;
            const std::string original = app.gameDir(kCfs2) + "/" + relative;
            EXPECT_EQ(testkit::readText(entry.path().string()), testkit::readText(original)) << relative;
        }
        EXPECT_EQ(files, 1 + 40 + 8);
    }

    testkit::TestApp app;
};

TEST_F(BackupCrashTest, AKilledBackupLeavesOnlyWholeOriginals) {
    int totalSteps = 0;
    {
        KillingFileSystem counting(app.state.files(), -1);
        app.state.platform.files = &counting;
        ASSERT_EQ(backupOriginals(app.state), 0);
        totalSteps = counting.steps();
        app.state.platform.files = &platformFileSystem();
    }
    ASSERT_GT(totalSteps, 60);

    const auto startAfresh = [&] {
        fs::remove_all(app.state.paths().backupRoot());
        fs::remove(app.state.settingsPath);
    };
    const auto completeAndCheck = [&](const std::string& what) {
        SCOPED_TRACE(what);
        app.dialog.clearBoxes();
        KillingFileSystem unkilled(platformFileSystem(), -1);
        app.state.platform.files = &unkilled;
        const int result = backupOriginals(app.state);
        app.state.platform.files = &platformFileSystem();
        ASSERT_EQ(result, 0) << ::testing::PrintToString(app.dialog.boxTexts());
        expectTreeMatchesTheGame();
    };

    int kills = 0;
    std::mt19937 random(20261206);
    // Every other step of a first run; each odd one is followed by a second
    // kill over the half-made tree.
    for (int step = 1; step <= totalSteps; step += 2) {
        startAfresh();
        runKilled(step, {});
        ++kills;
        if (step % 4 == 1) {
            runKilled(1 + static_cast<int>(random() % static_cast<unsigned>(totalSteps)), {});
            ++kills;
        }
        completeAndCheck("killed at step " + std::to_string(step));
    }
    // Moments chosen by the clock.
    for (int i = 0; i < 20; ++i) {
        startAfresh();
        const auto delay = std::chrono::microseconds(random() % 30000);
        runKilled(0, delay);
        ++kills;
        completeAndCheck("killed after " + std::to_string(delay.count()) + " us");
    }
    EXPECT_GE(kills, 50);
    std::printf("[ BACKUP KILLS ] %d kills over %d steps, every tree whole\n", kills, totalSteps);
}

}  // namespace
}  // namespace velmora
