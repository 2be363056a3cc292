#include "swap/RunningGame.h"

#include <vector>

#include "base/CodePage1252.h"
#include "core/Text.h"

namespace velmora {
namespace {

std::string_view fileNameOf(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// "CFS2 is running: C:\Games\CFS2\cfs2.exe\n", or its doubt for a name alone.
std::string runningLine(const AppState& state, const RunningGame& game) {
    const std::string name = gameProfile(state.activeGame).displayName;
    if (game.nameOnly) return "A program named " + game.program + " is running; it may be " + name + ".\n";
    return name + " is running: " + game.program + "\n";
}

}  // namespace

std::optional<RunningGame> findRunningGame(AppState& state) {
    const GamePaths paths = state.paths();
    std::vector<std::string> images = {paths.gameExecutable()};
    if (state.files().exists(paths.hostToolProgram())) images.push_back(paths.secondExecutable());
    for (const std::string& program : state.platform.processes->runningPrograms()) {
        const bool nameOnly = program.find_first_of("\\/") == std::string::npos;
        for (const std::string& image : images)
            if (equalsIgnoreCase(program, nameOnly ? fileNameOf(image) : std::string_view(image)))
                return RunningGame{program, nameOnly};
    }
    return std::nullopt;
}

bool refuseWhileGameRuns(AppState& state, std::string_view button) {
    const std::optional<RunningGame> game = findRunningGame(state);
    if (!game) return false;
    const std::string name = gameProfile(state.activeGame).displayName;
    state.dialog().messageBox(runningLine(state, *game) + "Velmora changes no game file while the game runs.\n\n"
                                  "Close " + name + ", then press " + std::string(button) + " again.",
                              kAppTitle, MessageIcon::Warning, MessageButtons::Ok);
    return true;
}

void waitForGameToClose(AppState& state) {
    const std::string name = gameProfile(state.activeGame).displayName;
    for (std::optional<RunningGame> game; (game = findRunningGame(state));) {
        const MessageAnswer answer = state.dialog().messageBox(
            runningLine(state, *game) + "Velmora is about to put the game's original files back.\n\nClose " + name +
                ", then press Yes.\nPress No to put them back while it runs.",
            kAppTitle, MessageIcon::Warning, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) return;
    }
}

}  // namespace velmora
