// What only the real program shows: each journey is a row, the machine it
// starts on and the steps a user takes, each checked as it goes. The logic is
// the native suite's; tests/README.md says how to add a journey.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/PrivateProfile.h"
#include "platform/Processes.h"
#include "program/Program.h"
#include "res/resource.h"
#include "testkit/TempDir.h"

namespace velmora::program {
namespace {

// A step: "" when it held, otherwise what went wrong.
using Step = std::function<std::string(Program&)>;

Step start() { return [](Program& p) { return p.start(); }; }
// "{}" in `text` stands for the journey's folder and a backslash.
Step box(std::string caption, std::string text, std::string press = "OK") {
    return [=](Program& p) {
        std::string shown = text;
        for (size_t at; (at = shown.find("{}")) != std::string::npos;) shown.replace(at, 2, p.path(""));
        return p.answer(caption, shown, press);
    };
}
Step ready() { return [](Program& p) { return p.ready(); }; }
Step click(int id) { return [=](Program& p) { return p.click(id); }; }
// A step on the main window, once it takes input.
Step onMain(std::function<std::string(HWND)> act) {
    return [=](Program& p) { const std::string why = p.ready(); return why.empty() ? act(p.windows().first) : why; };
}
// Selects an entry of a drop-down list.
Step pick(int id, std::string entry) {
    return onMain([=](HWND main) -> std::string {
        const std::wstring wide(entry.begin(), entry.end());
        const HWND list = ::GetDlgItem(main, id);
        const LRESULT at = ::SendMessageW(list, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(wide.c_str()));
        return at == CB_ERR ? "no entry " + entry : (::SendMessageW(list, CB_SETCURSEL, WPARAM(at), 0), "");
    });
}
// Pressed on the focused control: the dialog's loop reads keys from its queue.
Step key(WPARAM vk) {
    return onMain([=](HWND target) {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(target, nullptr), &thread) && thread.hwndFocus)
            target = thread.hwndFocus;
        ::PostMessageW(target, WM_KEYDOWN, vk, 1);
        return ::PostMessageW(target, WM_KEYUP, vk, 0xC0000001), std::string();
    });
}
// The close box: the system menu's Close.
Step closeBox() {
    return onMain([](HWND main) { return ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0), std::string(); });
}
Step shows(int id, std::string text) {
    return onMain([=](HWND main) {
        const std::string shown = textOf(::GetDlgItem(main, id));
        return shown == text ? "" : "control " + std::to_string(id) + " shows \"" + shown + "\"";
    });
}
Step minimized() {
    return [](Program& p) {
        return waitFor([&] { return ::IsIconic(p.windows().first); }) ? "" : "the window is not minimised";
    };
}
Step hold(std::string file) { return [=](Program& p) { return p.hold(file); }; }
Step release() { return [](Program& p) { return p.release(); }; }
Step ended() { return [](Program& p) { return p.ended(); }; }
// Files under the journey's folder.
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
        waitFor([&] { return testkit::readText(record).find('\n') != std::string::npos; });
        const std::string expected = p.path(program) + "\n" + p.path(folder) + "\n";
        const std::string shown = testkit::readText(record);
        return ::lstrcmpiA(shown.c_str(), expected.c_str()) == 0 ? "" : "the stand-in recorded " + shown;
    };
}
// The stand-in that plays the game, started from `program`, has ended.
Step gameClosed(std::string program) {
    return [=](Program& p) {
        const auto closed = [&] {
            const std::vector<std::string> running = platformProcesses().runningPrograms();
            return std::none_of(running.begin(), running.end(), [&](const std::string& image) {
                return ::lstrcmpiA(image.c_str(), p.path(program).c_str()) == 0;
            });
        };
        return waitFor(closed) ? "" : program + " still runs";
    };
}

const std::string kCfs2BackedUp = "CFS2 object and ship DP's and multiplayer.mis successfully backed up.";
const std::string kQuitWarning =
    "It is suggested that you leave Velmora running\nwhile you play a swapped multiplayer mission.\nThis will "
    "remind you to restore after the session.\n\nAre you SURE you want to exit?";

struct Journey { const char* name; Setup setup; std::vector<Step> steps; };
const Setup kCfs2{false, true, false};
const Setup kBoth{true, true, false};
const std::string kCfs1BackedUp = "CFS1 object DP's and multiplayer.mis successfully backed up.";

const std::vector<Journey>& journeys() {
    static const std::vector<Journey> all = {
        {"NoGameShowsItsBoxBeforeAnyWindowAndEnds", Setup{},
         {start(), box("Error", "Could not locate CFS1 or CFS2 executable."), ended(), absent("Velmora\\Velmora.ini")}},
        {"EscapeIsQuit", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), ready(), key(VK_ESCAPE), ended(), setting("LAST_CFS_VERS", "2")}},
        {"SwapThenRestore", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), pick(IDC_MISSION, "Raid.mis"), click(IDC_AXIS), click(IDOK),
          box("FYI", "Mission swapped.  Axis mission\nunits are now friendly."),
          same("CFS2\\multiplayer.mis", "CFS2\\missions\\Raid.mis"),
          differs("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"),
          absent("CFS2\\objects_dp\\Tower.cdp"), closeBox(), box("Velmora", kQuitWarning, "No"), ready(),
          setting("LAST_CFS_VERS", "<absent>"),
          click(IDC_RESTORE), box("Velmora", "Originals restored"),
          same("CFS2\\multiplayer.mis", "Velmora\\bkupcfs2\\multiplayer.mis"),
          same("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"),
          closeBox(), ended(), setting("CUR_MISSION_2", "Original mp.mis file"), setting("LAST_CFS_VERS", "2")}},
        {"TheHostToolRunsWithTheWindowHiddenAndTakesOverLaunch", Setup{false, true, true},
         {start(), box("FYI", kCfs2BackedUp), click(IDC_RUN_SELECT), ready(),
          ran("CFS2\\Tarnwick\\Select.exe", "CFS2\\Tarnwick"), shows(IDC_LAUNCH, "Launch TWK for IP game"),
          click(IDCANCEL), ended()}},
        {"ASecondStartTouchesNothingAndEnds", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), ready(), erase("Velmora\\bkupcfs2\\multiplayer.mis"), start(),
          ended(), absent("Velmora\\bkupcfs2\\multiplayer.mis"), ready(), click(IDCANCEL)}},
        // Another program holds two files open at the first start: both are
        // named, the settings stay, and the next start completes the backup.
        {"FilesHeldOpenAtTheFirstStartAreNamed", kCfs2,
         {hold("CFS2\\multiplayer.mis"), hold("CFS2\\objects_dp\\Tower.dp"), start(),
          box("Unable to complete backup of CFS2",
              "Could not back up 2 files:\n{}CFS2\\multiplayer.mis\n{}CFS2\\objects_dp\\Tower.dp\n\nFree some space on "
              "the drive that holds Velmora, close any\nprogram that holds one of these files, or move Velmora\nto a "
              "folder with a shorter path, then start Velmora again."),
          ended(), absent("Velmora\\bkupcfs2\\objects_dp\\Tower.dp"), setting("VLMR_VERSION", "1.0"), release(),
          start(), box("FYI", "CFS2 new object DP and multiplayer.mis successfully backed up."),
          same("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"), click(IDCANCEL), ended()}},
        // Launch starts the game in its folder and minimises the window; the
        // game keeps running, and Swap changes nothing until it has closed.
        {"LaunchStartsTheGameInItsFolderAndSwapWaitsForItToClose", kCfs2,
         {write("CFS2\\standin-wait.txt", ""), start(), box("FYI", kCfs2BackedUp), click(IDC_LAUNCH),
          ran("CFS2\\cfs2.exe", "CFS2"), minimized(), pick(IDC_MISSION, "Raid.mis"), click(IDC_AXIS), click(IDOK),
          box("Velmora", "CFS2 is running: {}CFS2\\cfs2.exe\nVelmora changes no game file while the game runs.\n\n"
                         "Close CFS2, then press Swap again."),
          same("CFS2\\objects_dp\\Tower.dp", "Velmora\\bkupcfs2\\objects_dp\\Tower.dp"),
          differs("CFS2\\multiplayer.mis", "CFS2\\missions\\Raid.mis"), erase("CFS2\\standin-wait.txt"),
          gameClosed("CFS2\\cfs2.exe"), click(IDOK),
          box("FYI", "Mission swapped.  Axis mission\nunits are now friendly."),
          same("CFS2\\multiplayer.mis", "CFS2\\missions\\Raid.mis")}},
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
    // Velmora.exe finds the games in the real HKEY_LOCAL_MACHINE, where each
    // journey registers its own and deletes them after: a test prefix's only.
    ASSERT_TRUE(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version")) << "runs under Wine only";
    const Journey& journey = journeys()[GetParam()];
    Program program(journey.setup);
    for (size_t i = 0; i < journey.steps.size(); ++i) ASSERT_EQ(journey.steps[i](program), "") << "step " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Journeys, JourneyTest, ::testing::Range<size_t>(0, journeys().size()),
                         [](const ::testing::TestParamInfo<size_t>& row) { return journeys()[row.param].name; });

}  // namespace
}  // namespace velmora::program
