// The start-up check for VirtualStore copies the game would read instead of
// the files Velmora changes.
#include "app/VirtualStoreCheck.h"

#include <gtest/gtest.h>

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

struct StoreRow {
    const char* name;
    bool virtualized;
    std::vector<std::string> copies;  // under the game's folder in the store
    size_t boxes;
};

class VirtualStoreTest : public ::testing::TestWithParam<StoreRow> {};

TEST_P(VirtualStoreTest, WarnsOnlyWhenTheGameReadsCopiesVelmoraDoesNotWrite) {
    const StoreRow& row = GetParam();
    testkit::TestApp app;
    app.install(testkit::GameInstall(kCfs2));
    app.activate(kCfs2);
    FakeVirtualization virtualization;
    virtualization.virtualized = row.virtualized;
    virtualization.store = app.root / "VirtualStore";
    app.state.platform.virtualization = &virtualization;
    // The store mirrors the game's path without its drive.
    const std::string& dir = app.cfs2Dir;
    const std::string mirror = virtualization.store + (dir.size() > 1 && dir[1] == ':' ? dir.substr(2) : dir);
    for (const std::string& copy : row.copies) testkit::writeText(mirror + testkit::nativePath("/" + copy), "copy");

    checkVirtualStore(app.state);
    ASSERT_EQ(app.dialog.boxes().size(), row.boxes);
    if (row.boxes == 0) return;
    const std::string& text = app.dialog.boxes()[0].text;
    EXPECT_EQ(text.rfind("Windows keeps its own copies of " + std::to_string(row.copies.size()) + " file", 0), 0u);
    EXPECT_NE(text.find(mirror + testkit::nativePath("/")), std::string::npos);
    EXPECT_NE(text.find("start it normally, not as administrator."), std::string::npos);
    EXPECT_EQ(app.dialog.boxes()[0].icon, MessageIcon::Error);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VirtualStoreTest,
    ::testing::Values(StoreRow{"NoCopies", false, {}, 0},
                      StoreRow{"CopiesVelmoraWritesToo", true, {"multiplayer.mis"}, 0},
                      StoreRow{"CopiesTheGameReadsInstead", false, {"multiplayer.mis", "objects_dp/Tower.dp"}, 1}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace velmora
