// A whole Velmora for handler and engine tests: the program's folder and game
// folders in a fresh temporary folder, the in-memory dialog, a registry table
// and stand-ins for processes and the address lookup, all wired into an
// AppState.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "testkit/GameInstall.h"
#include "testkit/InMemoryDialog.h"
#include "testkit/TempDir.h"

namespace velmora::testkit {

class FakeProcesses final : public Processes {
public:
    struct Call {
        std::string program;
        std::string workingDirectory;  // of the process; for a run, the current directory
        bool waited;
    };
    StartResult runAndWait(const std::string& program) override;
    StartResult start(const std::string& program, const std::string& workingDirectory) override {
        calls.push_back({program, workingDirectory, false});
        return outcome(program);
    }
    StartResult outcome(const std::string& program);
    std::vector<std::string> runningPrograms() override { return running; }

    std::vector<Call> calls;
    // What a waited-for program does while it runs.
    std::function<void()> whileRunning;
    // What a start reports; by default it succeeds when the program exists.
    std::function<StartResult(const std::string&)> startResult;
    FileSystem* files = nullptr;
    // What runningPrograms() reports.
    std::vector<std::string> running;
};

class FakeHostAddresses final : public HostAddresses {
public:
    std::vector<std::uint32_t> addresses() override { return list; }
    std::vector<std::uint32_t> list;
};

class TestApp {
public:
    TestApp();
    // Start-up makes the program's folder current; the test's own is put back.
    ~TestApp();

    // Writes `install` into the game's folder and registers it.
    void install(const GameInstall& install);
    // Registers a game at `dir` without writing anything.
    void registerGame(GameVersion game, const std::string& dir) { registry.set(registryKey(game), dir); }
    // Makes `game` active as the engine and the backup expect it.
    void activate(GameVersion game);
    // The game's folder under the temporary root.
    std::string gameDir(GameVersion game) const { return game == kCfs1 ? cfs1Dir : cfs2Dir; }
    std::string settingsText() const { return readText(state.settingsPath); }
    // Paths of `relative` ('/'-separated) in the active game's folder and in its backup tree.
    std::string inGame(std::string_view relative) const;
    std::string backedUp(std::string_view relative) const;
    // `text` with each "{relative}" replaced by inGame(relative).
    std::string expand(std::string text) const;
    // A [MAIN] value of the settings file as it is on the disk, or "<absent>".
    std::string setting(const std::string& key) const;

    std::string savedDirectory;
    TempDir root;
    std::string appDir;
    std::string cfs1Dir;
    std::string cfs2Dir;
    InMemoryDialog dialog;
    TableGameRegistry registry;
    FakeProcesses processes;
    FakeHostAddresses hosts;
    AppState state;
};

}  // namespace velmora::testkit
