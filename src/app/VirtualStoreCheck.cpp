#include "app/VirtualStoreCheck.h"

#include "core/GameInstall.h"
#include "core/Text.h"

namespace velmora {
namespace {

// Counts the files under `folder`, keeping the first one found.
void countFiles(FileSystem& files, const std::string& folder, char separator, int depth, long long& count,
                std::string& example) {
    std::vector<DirEntry> entries;
    if (depth > 8 || !files.listFolder(folder, entries)) return;
    for (const DirEntry& entry : entries) {
        const std::string path = folder + separator + entry.name;
        if (entry.isDirectory) {
            countFiles(files, path, separator, depth + 1, count, example);
        } else if (count++ == 0) {
            example = path;
        }
    }
}

}  // namespace

void checkVirtualStore(AppState& state) {
    FileVirtualization* virtualization = state.platform.virtualization;
    if (!virtualization || virtualization->isVirtualized()) return;
    const std::string store = virtualization->storeFolder();
    if (store.empty()) return;
    for (GameVersion game : kGames) {
        if (!(state.installedGames & installedBit(game))) continue;
        const std::string dir = readGameDir(*state.platform.registry, game);
        if (dir.empty()) continue;
        // The store mirrors the path without its drive: C:\Games\CFS2 is
        // <store>\Games\CFS2.
        const std::string copies = store + (dir.size() > 1 && dir[1] == ':' ? dir.substr(2) : dir);
        long long count = 0;
        std::string example;
        countFiles(state.files(), copies, state.platform.separator, 0, count, example);
        if (count == 0) continue;
        const std::string name = gameProfile(game).displayName;
        state.dialog().messageBox(
            "Windows keeps its own copies of " + decimal(count) + (count == 1 ? " file" : " files") + " of " + name +
                " in the VirtualStore, for example:\n" + example + "\n\n" + name +
                " reads those copies, but Velmora is running as administrator (or as a 64-bit program) and "
                "changes the game's own files, so the game will not see its swaps.\n\nClose Velmora and start it "
                "normally, not as administrator.",
            kAppTitle, MessageIcon::Error, MessageButtons::Ok);
    }
}

}  // namespace velmora
