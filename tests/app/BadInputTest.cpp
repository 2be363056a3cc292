// Bad input of every kind in the games' and the program's files: each one
// gives a clear error box or a sound result, never a crash, and no game or
// backup file is lost or left half written.
//
// Each case damages a healthy CFS2 install, then runs what a user would: the
// start-up with its backup, an Axis swap, a restore, a click on each option
// box. Afterwards the backup tree holds only whole originals, a completed
// restore has put every original back, and no temporary file is left.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "app/MainDialog.h"
#include "base/TemporaryNames.h"
#include "res/resource.h"
#include "testkit/TestApp.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::DpPlan;
using testkit::GameInstall;
using testkit::MissionPlan;
using testkit::writeText;

using Tree = std::map<std::string, std::string>;

Tree snapshot(const std::string& root) { return testkit::readTree(root); }

std::string garbage(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

struct Damage {
    const char* name;
    std::function<void(testkit::TestApp&, const std::string& game)> apply;
};

std::string at(const std::string& base, const std::string& relative) {
    return base + testkit::nativePath("/") + testkit::nativePath(relative);
}

void makeFolder(const std::string& path) {
    std::error_code error;
    fs::remove_all(path, error);
    fs::create_directories(path, error);
}

void makeFile(const std::string& path) {
    std::error_code error;
    fs::remove_all(path, error);
    writeText(path, "a file where a folder belongs");
}

MissionPlan manyUnits(int types, int units) {
    MissionPlan plan;
    for (int i = 0; i < types; ++i) plan.types.push_back({i, 1 + i % 2, "Tower"});
    for (int i = 0; i < units; ++i) plan.units.push_back({i % types, i % 3});
    return plan;
}

const std::vector<Damage>& damages() {
    static const std::vector<Damage> list = {
        {"garbage mission", [](auto&, const std::string& g) { writeText(at(g, "missions/Raid.mis"), garbage(5000, 1)); }},
        {"garbage session mission", [](auto&, const std::string& g) { writeText(at(g, "multiplayer.mis"), garbage(3000, 2)); }},
        {"garbage DP", [](auto&, const std::string& g) { writeText(at(g, "objects_dp/Tower.dp"), garbage(8000, 3)); }},
        {"NUL bytes in a DP",
         [](auto&, const std::string& g) {
             writeText(at(g, "objects_dp/Tower.dp"), std::string("[misc_data]\r\nallegiance=\0\x31\r\n[gunstations]\r\ng\0=1\r\n", 40));
         }},
        {"byte-order mark in a mission",
         [](auto&, const std::string& g) {
             writeText(at(g, "missions/Raid.mis"), "\xEF\xBB\xBF" + testkit::missionText(MissionPlan{{{3, 2, "Tower"}}, {{3}}}));
         }},
        {"CR-only line ends",
         [](auto&, const std::string& g) {
             writeText(at(g, "missions/Raid.mis"), "[unit_type.0]\rtype_id=3\rallegiance=2\rname=Tower\r[unit.0]\rtype_id=3\r");
             writeText(at(g, "objects_dp/Hangar.dp"), "[misc_data]\rallegiance=2\r[gunstations]\rgunstation.0=1\r");
         }},
        {"a 1 MB line",
         [](auto&, const std::string& g) {
             writeText(at(g, "missions/Raid.mis"), "[unit_type.0]\r\ntype_id=3\r\nname=" + std::string(1 << 20, 'T') + "\r\n[unit.0]\r\ntype_id=3\r\n");
             writeText(at(g, "objects_dp/Hangar.dp"), "[misc_data]\r\nx=" + std::string(1 << 20, 'x') + "\r\n");
         }},
        {"a 50 MB mission",
         [](auto&, const std::string& g) {
             std::string text = testkit::missionText(MissionPlan{{{3, 2, "Tower"}}, {{3}}});
             const std::string filler = "[filler]\r\n" + std::string(1000, 'f') + "\r\n";
             while (text.size() < 50u << 20) text += filler;
             writeText(at(g, "missions/Raid.mis"), text);
         }},
        {"100,000 units",
         [](auto&, const std::string& g) { writeText(at(g, "missions/Raid.mis"), testkit::missionText(manyUnits(100, 100000))); }},
        {"non-ASCII names",
         [](auto&, const std::string& g) {
             writeText(at(g, "objects_dp/Fl\xE4k.dp"), testkit::dpText(DpPlan{"Fl\xE4k", 2, true, 0}));
             writeText(at(g, "objects_dp/Fl\xE4k.cdp"), "compiled");
             writeText(at(g, "missions/R\xC3\xA4id.mis"), testkit::missionText(MissionPlan{{{7, 2, "FL\xC4K"}}, {{7}}}));
             writeText(at(g, "missions/Raid.mis"), testkit::missionText(MissionPlan{{{7, 2, "fl\xE4k"}, {3, 2, "Tower"}}, {{7}, {3}}}));
         }},
        {"read-only game files",
         [](auto&, const std::string& g) {
             for (const char* f : {"objects_dp/Tower.dp", "objects_dp/Tower.cdp", "multiplayer.mis", "cfs2.cfg", "ships/Carrier/hull.dp"})
                 testkit::makeReadOnly(at(g, f));
         }},
        {"a folder named like a DP", [](auto&, const std::string& g) { makeFolder(at(g, "objects_dp/Tower.dp")); }},
        {"a folder named like the session mission", [](auto&, const std::string& g) { makeFolder(at(g, "multiplayer.mis")); }},
        {"a folder named like the configuration", [](auto&, const std::string& g) { makeFolder(at(g, "cfs2.cfg")); }},
        {"a folder named like ship.cfg", [](auto&, const std::string& g) { makeFolder(at(g, "ships/Carrier/ship.cfg")); }},
        {"a folder named like the settings file", [](auto& app, const std::string&) { makeFolder(at(app.appDir, "Velmora.ini")); }},
        {"a folder named like idlist.txt", [](auto& app, const std::string&) { makeFolder(at(app.appDir, "idlist.txt")); }},
        {"a file in place of objects_dp", [](auto&, const std::string& g) { makeFile(at(g, "objects_dp")); }},
        {"a file in place of ships", [](auto&, const std::string& g) { makeFile(at(g, "ships")); }},
        {"a file in place of missions", [](auto&, const std::string& g) { makeFile(at(g, "missions")); }},
        {"a file in place of a ship folder", [](auto&, const std::string& g) { makeFile(at(g, "ships/Carrier")); }},
        {"a file in place of the backup folder", [](auto& app, const std::string&) { makeFile(at(app.appDir, "bkupcfs2")); }},
        {"a file in place of the backup ship folder", [](auto& app, const std::string&) { makeFile(at(app.appDir, "bkupcfs2/ships/Carrier")); }},
        {"no objects_dp", [](auto&, const std::string& g) { fs::remove_all(at(g, "objects_dp")); }},
        {"no ships", [](auto&, const std::string& g) { fs::remove_all(at(g, "ships")); }},
        {"no missions", [](auto&, const std::string& g) { fs::remove_all(at(g, "missions")); }},
        {"no game folder", [](auto&, const std::string& g) { fs::remove_all(g); }},
        {"garbage settings", [](auto& app, const std::string&) { writeText(at(app.appDir, "Velmora.ini"), garbage(4000, 4)); }},
        {"byte-order mark in the settings",
         [](auto& app, const std::string&) { writeText(at(app.appDir, "Velmora.ini"), "\xEF\xBB\xBF[MAIN]\r\nVLMR_VERSION=1.0\r\n"); }},
        {"garbage configuration", [](auto&, const std::string& g) { writeText(at(g, "cfs2.cfg"), garbage(2000, 5)); }},
        {"garbage ship.cfg", [](auto&, const std::string& g) { writeText(at(g, "ships/Carrier/ship.cfg"), garbage(2000, 6)); }},
        {"garbage idlist.txt",
         [](auto& app, const std::string& g) {
             writeText(at(app.appDir, "idlist.txt"), garbage(2000, 7));
             writeText(at(g, "missions/Raid.mis"), testkit::missionText(MissionPlan{{}, {{42, 2}}}));
         }},
    };
    return list;
}

GameInstall healthyInstall() {
    GameInstall install(kCfs2);
    install.mission("Raid.mis", MissionPlan{{{3, 2, "Tower"}, {4, 1, "Hangar"}}, {{3}, {4}}})
        .objectDps({"Tower", "Hangar"})
        .ship("Carrier", {"hull"})
        .config("[MULTIPLAYER]\r\nCOLLISION_SECS=2\r\n");
    return install;
}

class BadInputTest : public ::testing::TestWithParam<size_t> {
protected:
    // Runs a whole session over the damaged install, then checks what it left.
    void runSession() {
        MainDialog window(app.state);
        app.dialog.onCommand([&](int id) { window.onCommand(id); });
        const std::string backupRoot = at(app.appDir, "bkupcfs2");
        const Tree backupBefore = snapshot(backupRoot);
        const Tree gameBefore = snapshot(app.cfs2Dir);
        window.OnInitDialog();
        // The backup keeps what it held and adds nothing but whole originals
        // (of the game as it was when they were copied).
        for (const auto& [path, contents] : snapshot(backupRoot)) {
            const auto kept = backupBefore.find(path);
            if (kept != backupBefore.end()) {
                EXPECT_TRUE(contents == kept->second) << path;
                continue;
            }
            // The record of a game without a multiplayer.mis of its own.
            if (path == "no-multiplayer-mis.txt") {
                EXPECT_EQ(gameBefore.count(kSessionMission), 0u);
                continue;
            }
            const auto original = gameBefore.find(path);
            ASSERT_NE(original, gameBefore.end()) << path;
            EXPECT_TRUE(contents == original->second) << path;
        }
        if (!app.dialog.endResult()) {
            if (app.dialog.pick(IDC_MISSION, "Raid.mis") && app.dialog.click(IDC_AXIS)) app.dialog.click(IDOK);
            app.dialog.click(IDC_COLLISION);
            app.dialog.click(IDC_FRACT_MIN);
            app.dialog.clearBoxes();
            app.dialog.click(IDC_RESTORE);
            if (app.dialog.boxTexts() == std::vector<std::string>{"Originals restored"}) {
                const Tree game = snapshot(app.cfs2Dir);
                for (const auto& [path, contents] : snapshot(backupRoot)) {
                    if (path.find(kObjectDpFolder) != 0 && path.find(kShipsFolder) != 0 && path != kSessionMission) continue;
                    const auto restored = game.find(path);
                    ASSERT_NE(restored, game.end()) << path;
                    EXPECT_TRUE(restored->second == contents) << path;
                }
            }
            app.dialog.click(IDCANCEL);
        }
        for (const testkit::RecordedBox& box : app.dialog.boxes()) EXPECT_FALSE(box.text.empty());
        for (const auto& [path, contents] : snapshot(app.root.path()))
            EXPECT_FALSE(isTemporaryName(fs::path(path).filename().string())) << path;
    }

    testkit::TestApp app;
};

TEST_P(BadInputTest, BeforeTheFirstStart) {
    const Damage& damage = damages()[GetParam()];
    SCOPED_TRACE(damage.name);
    app.install(healthyInstall());
    damage.apply(app, app.cfs2Dir);
    runSession();
}

TEST_P(BadInputTest, AfterACompleteBackup) {
    const Damage& damage = damages()[GetParam()];
    SCOPED_TRACE(damage.name);
    app.install(healthyInstall());
    {
        MainDialog first(app.state);
        first.OnInitDialog();
        ASSERT_FALSE(app.dialog.endResult().has_value());
    }
    app.dialog = testkit::InMemoryDialog();
    damage.apply(app, app.cfs2Dir);
    runSession();
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInputTest, ::testing::Range<size_t>(0, damages().size()),
                         [](const ::testing::TestParamInfo<size_t>& param) {
                             std::string name = damages()[param.param].name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// Game and program folders whose deepest files' paths come up to the 260-byte
// limit of the short Windows form, and past it: the whole session works,
// whatever the temporary files beside the files are called.
class LongPathTest : public BadInputTest {
protected:
    // A folder under the test's root whose path is `length` bytes long.
    std::string folderOfLength(const std::string& name, size_t length) {
        std::string dir = app.root / name;
        const std::string sep = testkit::nativePath("/");
        while (dir.size() + 1 < length) dir += sep + std::string(std::min<size_t>(length - dir.size() - 1, 60), 'd');
        std::error_code error;
        fs::create_directories(dir, error);
        return dir;
    }
};

TEST_P(LongPathTest, ASwapAndRestoreDeepInTheFolderTree) {
    const size_t longest = GetParam();
    // The deepest paths: ships\Carrier\hull.cdp in the game, and
    // bkupcfs2\ships\Carrier\hull.dp beside the program.
    const std::string dir = folderOfLength("Games", longest - 22);
    const std::string programDir = folderOfLength("Velmora", longest - 31);
    healthyInstall().writeGame(dir);
    app.registerGame(kCfs2, dir);
    app.cfs2Dir = dir;
    app.appDir = programDir;
    app.state.platform.programDirectory = [programDir] { return programDir; };
    runSession();
    // The restore, and every box since the swap, says it worked.
    EXPECT_EQ(app.dialog.boxTexts(), std::vector<std::string>{"Originals restored"});
    EXPECT_TRUE(testkit::fileExists(at(programDir, "bkupcfs2/ships/Carrier/hull.dp")));
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongPathTest, ::testing::Values<size_t>(230, 245, 259, 300));

}  // namespace
}  // namespace velmora
