// The two configuration check boxes and the game's configuration file.
#include "tools/GameOptions.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "testkit/FaultyFileSystem.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

using testkit::FileOp;
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

// A refresh shows the boxes; any collision time but 2 is shown checked and
// made 0, quietly, never unprotecting the file nor writing a 0 again.
TEST_F(GameOptionsTest, ARefreshShowsTheFileAndOnlyMakesACollisionTimeZero) {
    const char* c0 = "[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\nPORT=1\r\n";
    const char* c5 = "[MULTIPLAYER]\r\nCOLLISION_SECS=5\r\nPORT=1\r\n";
    const struct {
        const char* before;  // null: no file
        bool readOnly, collision, fraction;
        const char* after = nullptr;  // null: as before
    } rows[] = {
        {"[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n", false, false, false}, {"[MAIN]\r\nX=1\r\n", false, false, false},
        {c0, false, true, false}, {c5, false, true, false, c0}, {c0, true, true, false}, {c5, true, true, false},
        {"[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=5\r\n", false, false, false},
        {"[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=0\r\n", false, false, true}, {nullptr, false, false, false},
    };
    FileSystem* real = app.state.platform.files;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before ? row.before : "(no file)");
        if (row.before) writeText(config(), row.before);
        if (row.readOnly) testkit::makeReadOnly(config());
        testkit::FaultyFileSystem faulty(*real);
        app.state.platform.files = &faulty;
        app.dialog.setChecked(IDC_COLLISION, !row.collision);
        app.dialog.setChecked(IDC_FRACT_MIN, !row.fraction);
        loadGameOptions(app.state);
        app.state.platform.files = real;
        EXPECT_EQ(collision(), row.collision);
        EXPECT_EQ(fraction(), row.fraction);
        EXPECT_EQ(readText(config()), row.after ? row.after : row.before ? row.before : "");
        EXPECT_EQ(testkit::fileExists(config()), row.before != nullptr);
        EXPECT_EQ(real->isReadOnly(config()), row.readOnly);
        EXPECT_EQ(faulty.calls(FileOp::MakeWritable) + faulty.calls(FileOp::WriteTemporary), row.after ? 1 : 0);
        EXPECT_TRUE(app.dialog.boxes().empty());
        real->makeWritable(config());
        real->removeFile(config());
    }
}

// A click writes the active game's file, made writable if need be.
TEST_F(GameOptionsTest, ClicksWriteTheBoxesStateIntoTheActiveGamesFile) {
    use(kCfs1);
    writeText(config(), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
    use(kCfs2);
    loadGameOptions(app.state);
    EXPECT_FALSE(testkit::fileExists(config()));
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
    testkit::makeReadOnly(config());
    app.dialog.click(IDC_COLLISION);
    EXPECT_EQ(readText(config()), "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=1\r\n[MULTIPLAYER]\r\nCOLLISION_SECS=0\r\n");
    EXPECT_TRUE(app.dialog.boxes().empty());
    use(kCfs1);
    EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
}

TEST_F(GameOptionsTest, AWriteThatFailsPutsTheBoxBackAndSaysSo) {
    writeText(config(), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
    testkit::FaultyFileSystem faulty(app.state.files());
    faulty.failWhen(FileOp::ReplaceWithTemporary, [](const std::string&) { return true; });
    app.state.platform.files = &faulty;
    app.dialog.setChecked(IDC_COLLISION, true);
    toggleCollision(app.state);
    EXPECT_FALSE(collision());
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Could not change COLLISION_SECS in " + config() + "."});
    EXPECT_EQ(readText(config()), "[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
}

}  // namespace
}  // namespace velmora
