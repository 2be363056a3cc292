// What only the real program shows: each journey is a row, the machine it
// starts on and the steps a user takes, each checked as it goes. The logic is
// the native suite's; tests/README.md says how to add a journey.
#include <gtest/gtest.h>

#include <functional>

#include "core/ProfileFile.h"
#include "program/Program.h"
#include "res/resource.h"
#include "testkit/TempDir.h"

namespace velmora::program {
namespace {

// A step: "" when it held, otherwise what went wrong.
using Step = std::function<std::string(Program&)>;

Step start() { return [](Program& p) { return p.start(); }; }
Step box(std::string caption, std::string text, std::string press = "OK") {
    return [=](Program& p) { return p.answer(caption, text, press); };
}
Step ready() { return [](Program& p) { return p.ready(); }; }
Step click(int id) { return [=](Program& p) { return p.click(id); }; }
Step pick(int id, std::string entry) { return [=](Program& p) { return p.pick(id, entry); }; }
Step key(WPARAM vk) { return [=](Program& p) { return p.key(vk); }; }
Step closeBox() { return [](Program& p) { return p.close(); }; }
Step shows(int id, std::string text) { return [=](Program& p) { return p.text(id, text); }; }
Step minimized() { return [](Program& p) { return p.minimized(); }; }
Step ended(DWORD code = 0) { return [=](Program& p) { return p.ended(code); }; }
// Files under the scenario's folder.
Step same(std::string a, std::string b, bool equal = true) {
    return [=](Program& p) {
        const bool same = testkit::readText(p.path(a)) == testkit::readText(p.path(b));
        return same == equal ? "" : a + (equal ? " differs from " : " is the same as ") + b;
    };
}
Step differs(std::string a, std::string b) { return same(a, b, false); }
Step write(std::string file, std::string text) {
    return [=](Program& p) { return testkit::writeText(p.path(file), text) ? "" : "could not write " + file; };
}
Step erase(std::string file) {
    return [=](Program& p) { return ::DeleteFileA(p.path(file).c_str()) ? "" : "could not delete " + file; };
}
Step absent(std::string file) {
    return [=](Program& p) { return testkit::fileExists(p.path(file)) ? file + " exists" : ""; };
}
Step setting(std::string key, std::string value) {
    return [=](Program& p) {
        const std::string stored = getProfileString(platformFileSystem(), "MAIN", key, "<absent>", 256,
                                                    p.path("Velmora\\Velmora.ini"));
        return stored == value ? "" : key + " is " + stored;
    };
}
// The stand-in program ran as `program`, in `folder` (its standin-ran.txt).
Step ran(std::string program, std::string folder) {
    return [=](Program& p) {
        const std::string record = p.path(folder + "\\standin-ran.txt");
        for (int i = 0; i < 1500 && testkit::readText(record).find('\n') == std::string::npos; ++i) ::Sleep(20);
        const std::string expected = p.path(program) + "\n" + p.path(folder) + "\n";
        const std::string shown = testkit::readText(record);
        return ::lstrcmpiA(shown.c_str(), expected.c_str()) == 0 ? "" : "the stand-in recorded " + shown;
    };
}

const std::string kCfs2BackedUp = "CFS2 object and ship DP's and multiplayer.mis successfully backed up.";
const std::string kQuitWarning =
    "It is suggested that you leave Velmora running\nwhile you play a swapped multiplayer mission.\nThis will "
    "remind you to restore after the session.\n\nAre you SURE you want to exit?";

struct Journey {
    const char* name;
    Setup setup;
    std::vector<Step> steps;
};

const Setup kCfs2{false, true, false};
const Setup kBoth{true, true, false};
const std::string kCfs1BackedUp = "CFS1 object DP's and multiplayer.mis successfully backed up.";

const std::vector<Journey>& journeys() {
    static const std::vector<Journey> all = {
        {"NoGameShowsItsBoxBeforeAnyWindowAndEnds", Setup{},
         {start(), box("Error", "Could not locate CFS1 or CFS2 executable."), ended(), absent("Velmora\\Velmora.ini")}},
        {"EscapeIsQuit", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), ready(), key(VK_ESCAPE), ended(), setting("LAST_CFS_VERS", "2")}},
        {"TheCloseBoxIsQuit", kCfs2, {start(), box("FYI", kCfs2BackedUp), closeBox(), ended(), setting("LAST_CFS_VERS", "2")}},
        {"SwapThenRestore", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), pick(IDC_MISSION, "Raid.mis"), click(IDC_AXIS), click(IDOK),
          box("FYI", "Mission swapped.  Axis mission\nunits are now friendly."),
          same("CFS2\\multiplayer.mis", "CFS2\\missions\\Raid.mis"),
          differs("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"),
          absent("CFS2\\objects_dp\\Tower.cdp"), shows(IDC_MISSION, "Raid.mis"),
          closeBox(), box("Velmora", kQuitWarning, "No"), ready(), setting("LAST_CFS_VERS", "<absent>"),
          click(IDC_RESTORE), box("Velmora", "Originals restored"),
          same("CFS2\\multiplayer.mis", "Velmora\\bkupcfs2\\multiplayer.mis"),
          same("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"),
          click(IDCANCEL), ended(), setting("CUR_MISSION_2", "Original mp.mis file")}},
        {"LaunchStartsTheGameInItsFolderAndMinimises", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), click(IDC_LAUNCH), ran("CFS2\\cfs2.exe", "CFS2"), minimized(),
          click(IDCANCEL), ended()}},
        {"TheHostToolRunsWithTheWindowHiddenAndTakesOverLaunch", Setup{false, true, true},
         {start(), box("FYI", kCfs2BackedUp), shows(IDC_LAUNCH, "Launch CFS2 for IP game"), click(IDC_RUN_SELECT),
          ready(), ran("CFS2\\Tarnwick\\Select.exe", "CFS2\\Tarnwick"), shows(IDC_LAUNCH, "Launch TWK for IP game"),
          click(IDCANCEL), ended()}},
        {"ASecondStartTouchesNothingAndEnds", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), ready(), erase("Velmora\\bkupcfs2\\multiplayer.mis"), start(),
          ended(), absent("Velmora\\bkupcfs2\\multiplayer.mis"), ready(), click(IDCANCEL)}},
        {"AVersionChangeRestoresBothGames", kBoth,
         {start(), box("FYI", kCfs1BackedUp), box("FYI", kCfs2BackedUp), click(IDC_CFS2), pick(IDC_MISSION, "Raid.mis"),
          click(IDC_AXIS), click(IDOK), box("FYI", "Mission swapped.  Axis mission\nunits are now friendly."),
          click(IDC_CFS1), pick(IDC_MISSION, "Channel.mis"), click(IDC_ALLIED), click(IDOK),
          box("FYI", "Mission swapped.  Allied mission\nunits are now friendly."), closeBox(),
          box("Velmora", kQuitWarning, "Yes"), ended(), write("Velmora\\Velmora.ini", "[MAIN]\r\nVLMR_VERSION=0.9\r\n"),
          start(), box("FYI", "Different version of Velmora.\nOriginals being restored.\n"), ready(),
          same("CFS1\\objects_dp\\Tower.dp", "Velmora\\bkupcfs1\\objects_dp\\Tower.dp"),
          same("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"),
          same("CFS2\\multiplayer.mis", "Velmora\\bkupcfs2\\multiplayer.mis"), click(IDCANCEL), ended()}},
    };
    return all;
}

class JourneyTest : public ::testing::TestWithParam<size_t> {};

TEST_P(JourneyTest, HoldsStepByStep) {
    const Journey& journey = journeys()[GetParam()];
    Program program(journey.setup);
    for (size_t i = 0; i < journey.steps.size(); ++i) {
        const std::string why = journey.steps[i](program);
        ASSERT_EQ(why, "") << "step " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Journeys, JourneyTest, ::testing::Range<size_t>(0, journeys().size()),
                         [](const ::testing::TestParamInfo<size_t>& row) { return journeys()[row.param].name; });

}  // namespace
}  // namespace velmora::program
