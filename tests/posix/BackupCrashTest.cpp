// A backup killed at any moment never leaves a wrong file in the backup tree:
// the run is forked into a child process and killed, again and again, at
// every kind of step; each time a complete run follows, and every file of
// the tree must then be byte-identical to the game's original.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "backup/BackupOriginals.h"
#include "core/TemporaryNames.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::DpSpec;
using testkit::GameInstall;

// Passes everything to the real file system and kills its own process at the
// n-th step that changes the disk. A copy is killed half-way through: a
// temporary file holding half of the source is left behind.
class KillingFileSystem final : public FileSystem {
public:
    KillingFileSystem(FileSystem& real, int killAt) : real_(real), killAt_(killAt) {}

    bool listFolder(const std::string& f, std::vector<DirEntry>& e) override { return real_.listFolder(f, e); }
    bool exists(const std::string& p) override { return real_.exists(p); }
    bool isDirectory(const std::string& p) override { return real_.isDirectory(p); }
    bool canOpenForReading(const std::string& p) override { return real_.canOpenForReading(p); }
    bool readFile(const std::string& p, std::string& c) override { return real_.readFile(p, c); }
    std::string writeTemporary(const std::string& t, std::string_view c, bool d) override {
        if (step()) die(real_.writeTemporary(t, c.substr(0, c.size() / 2), false));
        return real_.writeTemporary(t, c, d);
    }
    std::string copyToTemporary(const std::string& s, const std::string& t, bool d) override {
        if (step()) {
            std::string half;
            real_.readFile(s, half);
            half.resize(half.size() / 2);
            die(real_.writeTemporary(t, half, false));
        }
        return real_.copyToTemporary(s, t, d);
    }
    bool replaceWithTemporary(const std::string& tmp, const std::string& t) override {
        if (step()) die();
        return real_.replaceWithTemporary(tmp, t);
    }
    bool moveTemporaryIntoPlace(const std::string& tmp, const std::string& t) override {
        if (step()) die();
        return real_.moveTemporaryIntoPlace(tmp, t);
    }
    bool flushTemporaries(const std::vector<std::string>& tmps) override {
        if (step()) die();
        return real_.flushTemporaries(tmps);
    }
    void discardTemporary(const std::string& tmp) override { real_.discardTemporary(tmp); }
    bool isReadOnly(const std::string& p) override { return real_.isReadOnly(p); }
    bool makeWritable(const std::string& p) override { return real_.makeWritable(p); }
    MakeDirResult makeDirectory(const std::string& p) override {
        if (step()) die();
        return real_.makeDirectory(p);
    }
    bool removeFile(const std::string& p) override {
        if (step()) die();
        return real_.removeFile(p);
    }
    std::string currentDirectory() override { return real_.currentDirectory(); }
    bool setCurrentDirectory(const std::string& p) override { return real_.setCurrentDirectory(p); }

    int steps() const { return steps_; }

private:
    bool step() { return ++steps_ == killAt_; }
    [[noreturn]] static void die(const std::string& = {}) {
        ::kill(::getpid(), SIGKILL);
        for (;;) ::pause();
    }

    FileSystem& real_;
    int killAt_;
    int steps_ = 0;
};

class BackupCrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameInstall install(kCfs2);
        for (int i = 0; i < 40; ++i) install.objectDp(DpSpec{"obj" + std::to_string(i), 1, true, 20000});
        for (int s = 0; s < 4; ++s) {
            testkit::ShipSpec ship;
            ship.folder = "Ship" + std::to_string(s);
            ship.dps = {DpSpec{"hull" + std::to_string(s), 2, true, 30000}, DpSpec{"deck", 2, true, 8000}};
            install.ship(ship);
        }
        app.install(install);
        app.activate(kCfs2);
    }

    // Runs the backup in a child process that dies at step `killAt` (0: at a
    // moment chosen by the clock, `delay` after its start).
    void runKilled(int killAt, std::chrono::microseconds delay) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            KillingFileSystem killing(app.state.files(), killAt);
            app.state.platform.files = &killing;
            backupOriginals(app.state);
            ::_exit(0);
        }
        if (killAt == 0) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
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
        ASSERT_EQ(backupOriginals(app.state), 0) << ::testing::PrintToString(app.dialog.boxTexts());
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
