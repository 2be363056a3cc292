// What only the real program shows: each journey is a row, the machine it
// starts on and the steps a user takes, each checked as it goes. The logic is
// the native suite's; tests/README.md says how to add a journey.
#include <gtest/gtest.h>

#include <functional>

#include "core/PrivateProfile.h"
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
Step minimized() {
    return [](Program& p) {
        return waitFor([&] { return ::IsIconic(p.windows().first); }) ? "" : "the window is not minimised";
    };
}
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
const std::string kCfs2BackedUp = "CFS2 object and ship DP's and multiplayer.mis successfully backed up.";
const std::string kQuitWarning =
    "It is suggested that you leave Velmora running\nwhile you play a swapped multiplayer mission.\nThis will "
    "remind you to restore after the session.\n\nAre you SURE you want to exit?";

struct Journey { const char* name; Setup setup; std::vector<Step> steps; };
const Setup kCfs2{false, true};
const Setup kBoth{true, true};
const std::string kCfs1BackedUp = "CFS1 object DP's and multiplayer.mis successfully backed up.";

const std::vector<Journey>& journeys() {
    static const std::vector<Journey> all = {
        {"NoGameShowsItsBoxBeforeAnyWindowAndEnds", Setup{},
         {start(), box("Error", "Could not locate CFS1 or CFS2 executable."), ended(), absent("Velmora\\Velmora.ini")}},
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
          key(VK_ESCAPE), ended(), setting("CUR_MISSION_2", "Original mp.mis file"), setting("LAST_CFS_VERS", "2")}},
        {"ASecondStartTouchesNothingAndEnds", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), ready(), erase("Velmora\\bkupcfs2\\multiplayer.mis"), start(),
          ended(), absent("Velmora\\bkupcfs2\\multiplayer.mis"), ready(), click(IDCANCEL)}},
        // Launch starts the game in its folder and minimises the window.
        {"LaunchStartsTheGameInItsFolder", kCfs2,
         {start(), box("FYI", kCfs2BackedUp), click(IDC_LAUNCH), ran("CFS2\\cfs2.exe", "CFS2"), minimized()}},
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
