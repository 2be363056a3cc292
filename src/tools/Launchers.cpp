#include "tools/Launchers.h"

#include "res/resource.h"

namespace velmora {

void updateLauncherControls(AppState& state) {
    DialogPort& dialog = state.dialog();
    const GamePaths paths = state.paths();
    const GameProfile& game = gameProfile(state.activeGame);
    const std::string gameName = game.displayName;
    // Indexed by the game; entry 0 is the host tool's.
    const char* const launchCaptions[] = {kHostToolCaption, GameTable[kCfs1].launchCaption,
                                          GameTable[kCfs2].launchCaption};
    const std::string gameCaption = launchCaptions[state.activeGame == kCfs1 || state.activeGame == kCfs2 ? state.activeGame : 0];

    if (!state.files().exists(paths.hostToolProgram())) {
        dialog.enable(IDC_RUN_SELECT, false);
        dialog.setText(IDC_LAUNCH, gameCaption);
        dialog.setText(IDC_ACTIVE_PROGRAM, gameName);
    } else {
        dialog.enable(IDC_RUN_SELECT, true);
        if (!state.files().exists(paths.secondExecutable())) {
            dialog.setText(IDC_LAUNCH, gameCaption);
            dialog.setText(IDC_ACTIVE_PROGRAM, gameName);
        } else {
            dialog.setText(IDC_LAUNCH, kHostToolCaption);
            dialog.setText(IDC_ACTIVE_PROGRAM, kHostToolName);
        }
    }
    dialog.enable(IDC_LAUNCH, true);
}

namespace {

void showStartFailure(AppState& state, const std::string& program, const StartResult& result) {
    const std::string text = !result.errorText.empty()
                                 ? result.errorText
                                 : "Could not start " + program + " (error " + std::to_string(result.errorCode) + ")";
    state.dialog().messageBox(text, kAppTitle, MessageIcon::None, MessageButtons::Ok);
}

}  // namespace

void runHostSelect(AppState& state, const std::function<void()>& refreshGameControls) {
    if (!state.requireGameFolder()) return;
    FileSystem& files = state.files();
    const GamePaths paths = state.paths();
    state.dialog().showWindow(WindowShow::Hide);
    const std::string saved = files.currentDirectory();
    const std::string program = paths.hostToolProgram();
    const std::string folder = paths.join(state.gameDir, kHostToolFolder);
    files.setCurrentDirectory(folder);
    const StartResult result = state.platform.processes->runAndWait(program);
    files.setCurrentDirectory(saved);
    // The host tool may have added or removed the game's second executable.
    refreshGameControls();
    state.dialog().showWindow(WindowShow::Show);
    if (!result.started) showStartFailure(state, program, result);
}

void launchGame(AppState& state) {
    if (!state.requireGameFolder()) return;
    FileSystem& files = state.files();
    const std::string saved = files.currentDirectory();
    files.setCurrentDirectory(state.gameDir);
    const std::string program = state.paths().gameExecutable();
    const StartResult result = state.platform.processes->start(program, state.gameDir);
    if (result.started) {
        state.dialog().showWindow(WindowShow::Minimize);
    } else {
        showStartFailure(state, program, result);
    }
    files.setCurrentDirectory(saved);
}

}  // namespace velmora
