// A backup, swap or restore killed at any step never costs the user a file:
// each run is forked into a child that dies at its n-th step, then Velmora
// starts again (a backup) and restores; every game file must then be its
// original byte for byte, and the backup tree the one a whole backup makes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/MissionList.h"
#include "backup/BackupOriginals.h"
#include "res/resource.h"
#include "swap/SwapEngine.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::DpPlan;
using Tree = std::map<std::string, std::string>;  // relative path -> contents

// Passes everything to the real file system and kills its own process at the
// n-th step that changes the disk (never, for -1); a copy dies half-way, with
// half of it in a temporary file. Nothing waits for the disk: a killed process
// loses nothing the system has been handed.
class KillingFileSystem final : public FileSystem {
public:
    KillingFileSystem(FileSystem& real, int killAt) : real_(real), killAt_(killAt) {}

    bool listFolder(const std::string& f, std::vector<DirEntry>& e) override { return real_.listFolder(f, e); }
    bool exists(const std::string& p) override { return real_.exists(p); }
    bool isDirectory(const std::string& p) override { return real_.isDirectory(p); }
    bool canOpenForReading(const std::string& p) override { return real_.canOpenForReading(p); }
    bool readFile(const std::string& p, std::string& c) override { return real_.readFile(p, c); }
    std::string writeTemporary(const std::string& t, std::string_view c, bool) override {
        step([&] { real_.writeTemporary(t, c.substr(0, c.size() / 2), false); });
        return real_.writeTemporary(t, c, false);
    }
    std::string copyToTemporary(const std::string& s, const std::string& t, bool) override {
        step([&] {
            std::string half;
            if (real_.readFile(s, half)) real_.writeTemporary(t, half.substr(0, half.size() / 2), false);
        });
        return real_.copyToTemporary(s, t, false);
    }
    bool replaceWithTemporary(const std::string& tmp, const std::string& t) override {
        return step(), real_.replaceWithTemporary(tmp, t);
    }
    bool moveTemporaryIntoPlace(const std::string& tmp, const std::string& t) override {
        return step(), real_.moveTemporaryIntoPlace(tmp, t);
    }
    bool flushTemporaries(const std::vector<std::string>&) override { return step(), true; }
    void discardTemporary(const std::string& tmp) override { real_.discardTemporary(tmp); }
    bool isReadOnly(const std::string& p) override { return real_.isReadOnly(p); }
    bool makeWritable(const std::string& p) override { return real_.makeWritable(p); }
    MakeDirResult makeDirectory(const std::string& p) override { return step(), real_.makeDirectory(p); }
    bool removeFile(const std::string& p) override { return step(), real_.removeFile(p); }
    std::string currentDirectory() override { return real_.currentDirectory(); }
    bool setCurrentDirectory(const std::string& p) override { return real_.setCurrentDirectory(p); }

    int steps = 0;

private:
    // Counts a step; at the chosen one does `first` and dies.
    void step(const std::function<void()>& first = {}) {
        if (++steps != killAt_) return;
        if (first) first();
        ::kill(::getpid(), SIGKILL);
        for (;;) ::pause();
    }

    FileSystem& real_;
    int killAt_;
};

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
    // Runs `command` on a KillingFileSystem that dies at `killAt`; returns its steps.
    int run(Command command, int killAt) {
        KillingFileSystem files(platformFileSystem(), killAt);
        app.state.platform.files = &files;
        fillMissionList(app.state);
        app.dialog.pick(IDC_MISSION, "Raid.mis");
        const int result = command == Command::Backup  ? backupOriginals(app.state)
                           : command == Command::Swap ? swapMission(app.state, SwapMode::AxisFriendly)
                                                      : swapMission(app.state, SwapMode::RestoreOriginals);
        app.state.platform.files = &platformFileSystem();
        EXPECT_TRUE(killAt != -1 || result == 0) << ::testing::PrintToString(app.dialog.boxTexts());
        return files.steps;
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
