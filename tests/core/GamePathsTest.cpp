// The rules of the game lookup and of the compiled DP's name; the paths
// themselves are checked by every test that works on a game install.
#include "core/GameInstall.h"

#include <gtest/gtest.h>

#include "core/GamePaths.h"
#include "testkit/GameInstall.h"

namespace velmora {
namespace {

TEST(GameLookup, AGameCountsOnlyWithADirectoryWhichLosesItsTrailingSeparator) {
    struct Row {
        const char* cfs1;  // nullptr: no key
        const char* cfs2;
        unsigned installed;
        const char* cfs1Dir;
    };
    for (const Row& row : {Row{nullptr, nullptr, 0, ""}, Row{nullptr, "C:\\Games\\CFS2", 2, ""},
                           Row{"C:\\Games\\CFS1\\\\", "D:\\CFS2", 3, "C:\\Games\\CFS1"},
                           Row{"C:\\Games/", nullptr, 1, "C:\\Games"}, Row{"", "D:\\CFS2", 2, ""},
                           Row{"C:\\", nullptr, 1, "C:\\"}}) {
        TableGameRegistry registry;
        if (row.cfs1) registry.set(testkit::registryKey(kCfs1), row.cfs1);
        if (row.cfs2) registry.set(testkit::registryKey(kCfs2), row.cfs2);
        SCOPED_TRACE(row.cfs1 ? row.cfs1 : "no CFS1");
        EXPECT_EQ(detectInstalledGames(registry), row.installed);
        // A directory that cannot be read is empty, never the other game's.
        EXPECT_EQ(readGameDir(registry, kCfs1), row.cfs1Dir);
        EXPECT_EQ(readGameDir(registry, kNoGame), "");
    }
}

// "Tower.DP" too: a stale compiled sibling would be what the game loads.
TEST(GamePathsBuild, TheCompiledSiblingReplacesTheLastTwoCharacters) {
    EXPECT_EQ(cdpSibling("C:\\g\\objects_dp\\Tower.DP"), "C:\\g\\objects_dp\\Tower.cdp");
}

}  // namespace
}  // namespace velmora
