#include "core/GameInstall.h"

namespace velmora {

unsigned detectInstalledGames(GameRegistry& registry) {
    unsigned installed = 0;
    for (GameVersion game : kGames)
        if (!readGameDir(registry, game).empty()) installed |= installedBit(game);
    return installed;
}

std::string readGameDir(GameRegistry& registry, GameVersion game) {
    if (game != kCfs1 && game != kCfs2) return {};
    std::string dir = registry.currentDirectory(gameProfile(game).registryKey).value_or("");
    // Every path is built as "<dir>\<name>": a separator at the end of the
    // registry's value would double. "C:\" keeps its own.
    while (dir.size() > 1 && (dir.back() == '\\' || dir.back() == '/') && dir[dir.size() - 2] != ':')
        dir.pop_back();
    return dir;
}

}  // namespace velmora
