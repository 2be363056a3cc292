// A swap or restore killed at any moment never costs the user a game file:
// after each kill a restore puts every original back byte for byte, and the
// backup tree is never touched.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "app/MissionList.h"
#include "core/TemporaryNames.h"
#include "posix/KillingFileSystem.h"
#include "res/resource.h"
#include "swap/SwapEngine.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::DpPlan;
using testkit::GameInstall;
using testkit::MissionPlan;

using Tree = std::map<std::string, std::string>;  // relative path -> contents

// The paths whose contents differ between two trees, or that only one has.
std::vector<std::string> differences(const Tree& a, const Tree& b) {
    std::vector<std::string> paths;
    for (const auto& [path, contents] : a) {
        const auto other = b.find(path);
        if (other == b.end() || other->second != contents) paths.push_back(path);
    }
    for (const auto& [path, contents] : b)
        if (!a.count(path)) paths.push_back(path);
    return paths;
}

// The files under `root`, compiled DP siblings left out unless asked for.
Tree snapshot(const std::string& root, bool withCompiled) {
    Tree tree = testkit::readTree(root);
    if (!withCompiled) std::erase_if(tree, [](const auto& entry) { return fs::path(entry.first).extension() == ".cdp"; });
    return tree;
}

class SwapCrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameInstall install(kCfs2);
        MissionPlan raid;
        for (int i = 0; i < 20; ++i) {
            const std::string name = "obj" + std::to_string(i);
            install.objectDp(DpPlan{name, 1 + i % 2, true, 3000});
            raid.types.push_back({i, 1 + i % 2, name});
            raid.units.push_back({i});
        }
        for (int s = 0; s < 3; ++s) {
            testkit::ShipPlan ship;
            ship.folder = "Ship" + std::to_string(s);
            ship.dps = {DpPlan{"hull" + std::to_string(s), 2, true, 5000}};
            install.ship(ship);
            raid.types.push_back({100 + s, 2, "hull" + std::to_string(s) + " class"});
        }
        install.mission("Raid.mis", raid);
        app.install(install);
        install.writeBackup(app.appDir);
        app.activate(kCfs2);
        app.dialog.enable(IDC_MISSION, true);
        originals = snapshot(app.gameDir(kCfs2), false);
        backup = snapshot(app.state.paths().backupRoot(), true);
    }

    void killed(SwapMode mode, int killAt, std::chrono::microseconds delay = {}) {
        runKilled(killAt, delay, app.state.files(), [this, mode](FileSystem& killing) {
            app.state.platform.files = &killing;
            if (mode != SwapMode::RestoreOriginals) {
                fillMissionList(app.state);
                app.dialog.pick(IDC_MISSION, "Raid.mis");
            }
            swapMission(app.state, mode);
        });
    }

    int countSteps(SwapMode mode) {
        KillingFileSystem counting(app.state.files(), -1);
        app.state.platform.files = &counting;
        fillMissionList(app.state);
        app.dialog.pick(IDC_MISSION, "Raid.mis");
        swapMission(app.state, mode);
        app.state.platform.files = &platformFileSystem();
        return counting.steps();
    }

    void restoreAndCheck(const std::string& what) {
        SCOPED_TRACE(what);
        app.dialog.clearBoxes();
        KillingFileSystem unkilled(platformFileSystem(), -1);
        app.state.platform.files = &unkilled;
        const int result = swapMission(app.state, SwapMode::RestoreOriginals);
        app.state.platform.files = &platformFileSystem();
        ASSERT_EQ(result, 0) << ::testing::PrintToString(app.dialog.boxTexts());
        const Tree game = snapshot(app.gameDir(kCfs2), true);
        for (const auto& [path, contents] : game) {
            EXPECT_FALSE(isTemporaryName(fs::path(path).filename().string())) << path;
            EXPECT_NE(fs::path(path).extension(), ".cdp") << path;
        }
        EXPECT_EQ(differences(snapshot(app.gameDir(kCfs2), false), originals), std::vector<std::string>{});
        EXPECT_EQ(differences(snapshot(app.state.paths().backupRoot(), true), backup), std::vector<std::string>{});
    }

    testkit::TestApp app;
    Tree originals;
    Tree backup;
};

TEST_F(SwapCrashTest, KilledSwapsAndRestoresAreUndoneByARestore) {
    const int swapSteps = countSteps(SwapMode::AxisFriendly);
    // Counted over a swapped-in game, as the restores below are killed: over
    // the originals a restore writes nothing but the settings.
    const int restoreSteps = countSteps(SwapMode::RestoreOriginals);
    restoreAndCheck("before");
    ASSERT_GT(swapSteps, 50);
    ASSERT_GT(restoreSteps, 50);

    std::mt19937 random(6122026);
    int swapKills = 0;
    int restoreKills = 0;
    for (int i = 0; i < 110; ++i) {
        // Spread over every step of the run, then a few chosen by the clock.
        const bool byClock = i >= 100;
        const int swapAt = byClock ? 0 : 1 + (i * swapSteps) / 100;
        killed(SwapMode::AxisFriendly, swapAt, std::chrono::microseconds(random() % 15000));
        ++swapKills;
        restoreAndCheck("swap killed at step " + std::to_string(swapAt));

        // A restore killed over a swapped-in game, then a whole restore.
        countSteps(SwapMode::AxisFriendly);
        const int restoreAt = byClock ? 0 : 1 + (i * restoreSteps) / 100;
        killed(SwapMode::RestoreOriginals, restoreAt, std::chrono::microseconds(random() % 15000));
        ++restoreKills;
        restoreAndCheck("restore killed at step " + std::to_string(restoreAt));
        if (HasFailure()) break;
    }
    std::printf("[ SWAP KILLS ] %d swaps and %d restores killed (%d and %d steps each), every game file restored\n",
                swapKills, restoreKills, swapSteps, restoreSteps);
}

}  // namespace
}  // namespace velmora
