#include "testkit/TestApp.h"

#include "core/GameInstall.h"
#include "core/PrivateProfile.h"
#include "platform/PathStyle.h"

namespace velmora::testkit {

StartResult FakeProcesses::runAndWait(const std::string& program) {
    calls.push_back({program, files ? files->currentDirectory() : std::string(), true});
    const StartResult result = outcome(program);
    if (result.started && whileRunning) whileRunning();
    return result;
}

StartResult FakeProcesses::outcome(const std::string& program) {
    if (startResult) return startResult(program);
    StartResult result;
    result.started = files && files->canOpenForReading(program);
    if (!result.started) {
        result.errorCode = 2;
        result.errorText = "The system cannot find the file specified.\r\n";
    }
    return result;
}

TestApp::TestApp() : savedDirectory(platformFileSystem().currentDirectory()) {
    appDir = root / "Velmora";
    cfs1Dir = root / "Games/CFS1";
    cfs2Dir = root / "Games/CFS2";
    FileSystem& files = platformFileSystem();
    files.makeDirectory(appDir);
    processes.files = &files;

    state.platform.files = &files;
    state.platform.registry = &registry;
    state.platform.processes = &processes;
    state.platform.hosts = &hosts;
    state.platform.separator = platformPathSeparator();
    const std::string dir = appDir;
    state.platform.programDirectory = [dir] { return dir; };
    state.mainWindow = &dialog;
    state.appDir = appDir;
    state.settingsPath = state.paths().settingsFile();
}

TestApp::~TestApp() { platformFileSystem().setCurrentDirectory(savedDirectory); }

void TestApp::install(const GameInstall& install) {
    install.writeGame(gameDir(install.game()));
    registerGame(install.game(), gameDir(install.game()));
}

void TestApp::activate(GameVersion game) {
    state.activeGame = game;
    state.gameDir = readGameDir(registry, game);
    state.installedGames = detectInstalledGames(registry);
}

std::string TestApp::inGame(std::string_view relative) const {
    return gameDir(state.activeGame) + state.platform.separator + nativePath(relative);
}

std::string TestApp::backedUp(std::string_view relative) const {
    return state.paths().backupRoot() + state.platform.separator + nativePath(relative);
}

std::string TestApp::expand(std::string text) const {
    for (size_t at; (at = text.find('{')) != std::string::npos;) {
        const size_t end = text.find('}', at);
        text.replace(at, end + 1 - at, inGame(std::string_view(text).substr(at + 1, end - at - 1)));
    }
    return text;
}

std::string TestApp::setting(const std::string& key) const {
    return getProfileString(platformFileSystem(), "MAIN", key, "<absent>", 256, state.settingsPath);
}

}  // namespace velmora::testkit
