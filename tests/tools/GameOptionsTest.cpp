// The two configuration check boxes and the game's configuration file.
#include "tools/GameOptions.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::readText;
using testkit::writeText;

class GameOptionsTest : public ::testing::Test {
protected:
    void SetUp() override { use(kCfs2); }
    void use(GameVersion game) {
        app.registerGame(game, app.gameDir(game));
        app.activate(game);
        app.state.files().makeDirectory(app.root / "Games");
        app.state.files().makeDirectory(app.gameDir(game));
    }
    std::string config() { return app.state.paths().gameConfig(); }
    bool collision() { return app.dialog.isChecked(IDC_COLLISION); }
    bool fraction() { return app.dialog.isChecked(IDC_FRACT_MIN); }

    testkit::TestApp app;
};

TEST_F(GameOptionsTest, TwoSecondsOrNothingLeavesTheFileAlone) {
    for (const char* text : {"[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n", "[MAIN]\r\nX=1\r\n"}) {
        writeText(config(), text);
        app.dialog.setChecked(IDC_COLLISION, true);
        loadGameOptions(app.state);
        EXPECT_FALSE(collision());
        EXPECT_FALSE(fraction());
        EXPECT_EQ(readText(config()), text);
    }
}

TEST_F(GameOptionsTest, AnyOtherCollisionTimeIsShownCheckedAndBecomesZeroQuietly) {
    for (const char* value : {"0", "5"}) {
        writeText(config(), std::string("[MULTIPLAYER]\r\nCOLLISION_SECS=") + value + "\r\nPORT=1\r\n");
        loadGameOptions(app.state);
        EXPECT_TRUE(collision());
        EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\nPORT=1\r\n");
    }
    // A refresh never unprotects the file nor complains; a value of 0 is not
    // even written again.
    for (const auto& [value, readOnly] : {std::pair{"0", false}, {"0", true}, {"5", true}}) {
        const std::string text = std::string("[MULTIPLAYER]\r\nCOLLISION_SECS=") + value + "\r\n";
        writeText(config(), text);
        if (readOnly) testkit::makeReadOnly(config());
        FileSystem* real = app.state.platform.files;
        testkit::FaultyFileSystem faulty(*real);
        app.state.platform.files = &faulty;
        loadGameOptions(app.state);
        app.state.platform.files = real;
        EXPECT_TRUE(collision());
        EXPECT_EQ(real->isReadOnly(config()), readOnly);
        EXPECT_EQ(readText(config()), text);
        EXPECT_TRUE(app.dialog.boxes().empty());
        EXPECT_EQ(faulty.calls(testkit::FileOp::MakeWritable) + faulty.calls(testkit::FileOp::WriteTemporary), 0);
        real->makeWritable(config());
    }
}

TEST_F(GameOptionsTest, FractionalMinutesAreShownButNeverWrittenByARefresh) {
    writeText(config(), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=5\r\n");
    loadGameOptions(app.state);
    EXPECT_FALSE(fraction());
    EXPECT_EQ(readText(config()), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=5\r\n");
    writeText(config(), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=0\r\n");
    loadGameOptions(app.state);
    EXPECT_TRUE(fraction());
}

TEST_F(GameOptionsTest, ClicksWriteTheBoxesState) {
    writeText(config(), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=5\r\n");
    loadGameOptions(app.state);
    app.dialog.onCommand([this](int id) {
        if (id == IDC_FRACT_MIN) toggleFractionalMinutes(app.state);
        if (id == IDC_COLLISION) toggleCollision(app.state);
    });
    app.dialog.click(IDC_FRACT_MIN);
    EXPECT_EQ(readText(config()), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=0\r\n");
    app.dialog.click(IDC_FRACT_MIN);
    EXPECT_EQ(readText(config()), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=1\r\n");
    app.dialog.click(IDC_COLLISION);
    app.dialog.click(IDC_COLLISION);
    EXPECT_EQ(readText(config()), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=1\r\n[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
}

TEST_F(GameOptionsTest, WithoutAFileBothBoxesAreUncheckedAndAClickCreatesIt) {
    loadGameOptions(app.state);
    EXPECT_FALSE(collision());
    EXPECT_FALSE(fraction());
    EXPECT_FALSE(testkit::fileExists(config()));
    app.dialog.setChecked(IDC_FRACT_MIN, true);
    toggleFractionalMinutes(app.state);
    EXPECT_EQ(readText(config()), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=0\r\n");
}

TEST_F(GameOptionsTest, EachGameHasItsOwnFile) {
    use(kCfs1);
    writeText(config(), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
    use(kCfs2);
    app.dialog.setChecked(IDC_COLLISION, true);
    toggleCollision(app.state);
    EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\n");
    use(kCfs1);
    EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
}

TEST_F(GameOptionsTest, AReadOnlyFileIsMadeWritableForAClick) {
    writeText(config(), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
    testkit::makeReadOnly(config());
    app.dialog.setChecked(IDC_COLLISION, true);
    toggleCollision(app.state);
    EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\n");
    EXPECT_TRUE(app.dialog.boxes().empty());
}

TEST_F(GameOptionsTest, AWriteThatFailsPutsTheBoxBackAndSaysSo) {
    writeText(config(), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(testkit::FileOp::ReplaceWithTemporary, [](const std::string&) { return true; });
    app.state.platform.files = &faulty;
    app.dialog.setChecked(IDC_COLLISION, true);
    toggleCollision(app.state);
    EXPECT_FALSE(collision());
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not change COLLISION_SECS in " + config() + "."});
    EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
}

}  // namespace
}  // namespace velmora
