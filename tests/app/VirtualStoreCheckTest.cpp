// The start-up check for VirtualStore copies the game would read instead of
// the files Velmora changes.
#include <gtest/gtest.h>

#include "app/MainDialog.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

class FakeVirtualization final : public FileVirtualization {
public:
    bool isVirtualized() override { return virtualized; }
    std::string storeFolder() override { return store; }
    bool virtualized = false;
    std::string store;
};

std::string storeBox(const std::string& files, const std::string& game, const std::string& example) {
    return "Windows keeps its own copies of " + files + " of " + game + " in the VirtualStore, for example:\n" +
           example + "\n\n" + game +
           " reads those copies, but Velmora is running as administrator (or as a 64-bit program) and changes the "
           "game's own files, so the game will not see its swaps.\n\nClose Velmora and start it normally, not as "
           "administrator.";
}

struct StoreRow {
    const char* name;
    bool virtualized;
    std::vector<std::string> cfs1Copies;  // under the game's folder in the store
    std::vector<std::string> cfs2Copies;
};

class VirtualStoreTest : public ::testing::TestWithParam<StoreRow> {};

TEST_P(VirtualStoreTest, StartUpWarnsOnlyWhenAGameReadsCopiesVelmoraDoesNotWrite) {
    const StoreRow& row = GetParam();
    testkit::TestApp app;
    app.install(testkit::GameInstall(kCfs1).objectDps({"Tower", "Hangar"}));
    app.install(testkit::GameInstall(kCfs2).objectDps({"Tower", "Hangar"}).ship("Carrier", {"hull"}));
    FakeVirtualization virtualization;
    virtualization.virtualized = row.virtualized;
    virtualization.store = app.root / "VirtualStore";
    app.state.platform.virtualization = &virtualization;
    // The store holds the game's path from its first separator on, the drive left out.
    auto mirror = [&](const std::string& dir) { return virtualization.store + dir.substr(dir.find(testkit::nativePath("/"))); };
    for (const std::string& copy : row.cfs1Copies) testkit::writeText(mirror(app.cfs1Dir) + testkit::nativePath("/" + copy), "copy");
    for (const std::string& copy : row.cfs2Copies) testkit::writeText(mirror(app.cfs2Dir) + testkit::nativePath("/" + copy), "copy");

    MainDialog(app.state).OnInitDialog();
    std::vector<std::string> expected = {"CFS1 object DP's and multiplayer.mis successfully backed up.",
                                         "CFS2 object and ship DP's and multiplayer.mis successfully backed up."};
    const std::vector<std::string> shown = app.dialog.boxTexts();
    if (!row.virtualized && !row.cfs1Copies.empty())
        expected.push_back(storeBox("1 file", "CFS1", mirror(app.cfs1Dir) + testkit::nativePath("/" + row.cfs1Copies[0])));
    if (!row.virtualized && !row.cfs2Copies.empty()) {
        // Either copy may be listed first.
        std::string example = mirror(app.cfs2Dir) + testkit::nativePath("/" + row.cfs2Copies[0]);
        if (shown.size() > expected.size() && shown[expected.size()].find(example) == std::string::npos)
            example = mirror(app.cfs2Dir) + testkit::nativePath("/" + row.cfs2Copies[1]);
        expected.push_back(storeBox("2 files", "CFS2", example));
    }
    EXPECT_EQ(shown, expected);
    for (size_t i = 2; i < app.dialog.boxes().size(); ++i) {
        EXPECT_EQ(app.dialog.boxes()[i].caption, "Velmora");
        EXPECT_EQ(app.dialog.boxes()[i].icon, MessageIcon::Error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VirtualStoreTest,
    ::testing::Values(StoreRow{"NoCopies", false, {}, {}},
                      StoreRow{"CopiesVelmoraWritesToo", true, {"multiplayer.mis"}, {"multiplayer.mis", "cfs2.cfg"}},
                      StoreRow{"CopiesOfTheGameNotChosen", false, {"objects_dp/Tower.dp"}, {}},
                      StoreRow{"CopiesOfBothGames", false, {"multiplayer.mis"}, {"multiplayer.mis", "objects_dp/Tower.dp"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
