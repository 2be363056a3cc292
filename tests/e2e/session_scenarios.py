"""End-to-end scenarios of a session: start-up with and without games, the
game radios, a swap, the Quit warning and a restore, with the files they
leave behind."""
from harness import APP_DIR, GAME_DIRS, expect, scenario
from scenarios import FIRST_BACKUP_OF_CFS2, IDCANCEL, IDOK, IDS, settings_value, start_with_cfs2

FIRST_BACKUP_OF_CFS1 = ("FYI", "CFS1 object DP's and multiplayer.mis successfully backed up.")
CFS2_MISSIONS = ["Guadalcanal.mis", "Midway.mis", "Original mp.mis file", "Rabaul.mis"]
QUIT_WARNING = ("It is suggested that you leave Velmora running\nwhile you play a swapped multiplayer mission.\n"
                "This will remind you to restore after the session.\n\nAre you SURE you want to exit?")


def game_file(s, version, relative):
    return s.host_path(GAME_DIRS[version] + "\\" + relative).read_bytes()


def expect_box(s, caption, message, icon=False, buttons=("OK",)):
    """The box now open: its caption, text, whether it shows an icon (which
    one cannot be told from another process under Wine), and its buttons."""
    box = s.window(caption)
    expect(box.get("message") == message, f"box {caption!r} says {box.get('message')!r}")
    expect(box["icon"] == icon, f"box {caption!r} shows an icon: {box['icon']}")
    shown = [b["text"].replace("&", "") for b in box["buttons"]]
    expect(shown == list(buttons), f"box {caption!r} has the buttons {shown}")
    return box


def answer(s, settled, caption, message, button="OK", buttons=("OK",)):
    """The program waits in the box given; answers it and waits for what follows."""
    expect(settled["state"] == "modal", f"expected the box {caption!r}, got {settled}")
    expect_box(s, caption, message, buttons=buttons)
    s.press(button, caption=caption)
    return s.settle()


def expect_ready(settled):
    expect(settled["state"] == "ready", f"expected the main window, got {settled}")


def click_expecting_box(s, control_id):
    outcome = s.click(control_id)
    expect(outcome == "modal", f"a click on {control_id} opened no box ({outcome})")


def expect_launch_then_quit(s, game_dir, program):
    """Launch starts `program` in `game_dir` without waiting and minimises the
    window; Quit then ends the program."""
    expect(s.click(IDS["IDC_LAUNCH"]) == "done", "Launch does not wait for the game")
    started, folder = s.standin_ran(game_dir)
    expect(started.lower() == program.lower(), f"Launch started {started}")
    expect(folder.lower() == game_dir.lower(), f"the game ran in {folder}")
    expect(s.main_window()["iconic"], "the window is minimised while the game runs")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")


@scenario("with no game installed the program says so and ends, leaving no settings file")
def no_game_installed(s):
    s.install_velmora()
    settled = s.launch()
    expect(settled["state"] == "modal", f"expected the error box, got {settled['state']}")
    expect_box(s, "Error", "Could not locate CFS1 or CFS2 executable.", icon=True)
    s.press("OK", caption="Error")
    expect(s.settle() == {"state": "ended", "code": 0}, "the program ended")
    expect(not s.host_path(APP_DIR + r"\Velmora.ini").exists(), "no settings file")


@scenario("with CFS2 alone, CFS2 is active with its missions; Quit records it for the next start")
def quit_remembers_the_game(s):
    start_with_cfs2(s)
    cfs1, cfs2, missions = (s.control(IDS[name]) for name in ("IDC_CFS1", "IDC_CFS2", "IDC_MISSION"))
    expect(not cfs1["enabled"] and cfs2["enabled"] and cfs2["checked"], f"game radios {cfs1} {cfs2}")
    expect(missions["enabled"] and missions["entries"] == CFS2_MISSIONS, f"missions {missions['entries']}")
    expect(missions["text"] == "Original mp.mis file", f"selected {missions['text']!r}")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")
    expect(settings_value(s, "LAST_CFS_VERS") == "2", "LAST_CFS_VERS recorded")

    # The second start finds the backup complete: no notice.
    main = s.start()
    expect(main["visible"], "shown")
    expect(s.control(IDS["IDC_CFS2"])["checked"], "CFS2 active again")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")


@scenario("with both games the first start chooses none; a game radio's click makes its game active")
def game_radio_selects_the_game(s):
    s.require_game_installs()
    s.install_game(1)
    s.install_game(2)
    s.install_velmora()
    s.start(FIRST_BACKUP_OF_CFS1, FIRST_BACKUP_OF_CFS2)
    cfs1 = s.control(IDS["IDC_CFS1"])
    expect(cfs1["enabled"] and not cfs1["checked"] and not s.control(IDS["IDC_CFS2"])["checked"], "no game chosen")
    expect(not s.control(IDS["IDC_MISSION"])["enabled"], "no mission list yet")

    s.click(IDS["IDC_CFS1"])
    expect(s.control(IDS["IDC_CFS1"])["checked"], "CFS1 checked")
    missions = s.control(IDS["IDC_MISSION"])
    expect(missions["enabled"] and "Channel Sweep.mis" in missions["entries"], f"CFS1 missions {missions}")
    expect(s.control(IDOK)["enabled"], "Swap is live")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")
    expect(settings_value(s, "LAST_CFS_VERS") == "1", "LAST_CFS_VERS")


def swap_midway_for_the_allies(s):
    start_with_cfs2(s)
    s.drive("pick", IDS["IDC_MISSION"], "midway.MIS")
    s.click(IDS["IDC_ALLIED"])
    expect(s.control(IDS["IDC_ALLIED"])["checked"], "Allied checked")
    click_expecting_box(s, IDOK)
    expect_box(s, "FYI", "Mission swapped.  Allied mission\nunits are now friendly.", icon=True)
    s.press("OK", caption="FYI")
    expect(game_file(s, 2, "multiplayer.mis") == game_file(s, 2, r"missions\Midway.mis"), "Midway is in force")
    expect(s.control(IDS["IDC_MISSION"])["text"] == "Midway.mis", "the list shows the mission in force")


@scenario("after a swap Quit asks first: No keeps the window; Restore puts the original back; Quit then ends")
def swap_restore_and_quit(s):
    swap_midway_for_the_allies(s)
    original = s.host_path(APP_DIR + r"\bkupcfs2\multiplayer.mis").read_bytes()

    click_expecting_box(s, IDCANCEL)
    expect_box(s, "Velmora", QUIT_WARNING, buttons=("Yes", "No"))
    s.press("No", caption="Velmora")
    expect(s.settle()["state"] == "ready", "the window stays")
    expect(settings_value(s, "LAST_CFS_VERS") is None, "nothing written")

    click_expecting_box(s, IDS["IDC_RESTORE"])
    expect_box(s, "Velmora", "Originals restored")
    s.press("OK", caption="Velmora")
    expect(game_file(s, 2, "multiplayer.mis") == original, "the original is back")
    expect(not s.control(IDS["IDC_ALLIED"])["checked"], "no side is checked after a restore")

    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "Quit ends without asking")
    expect(settings_value(s, "LAST_CFS_VERS") == "2", "LAST_CFS_VERS")


@scenario("after a swap, answering Yes to Quit's question ends the program with the swap in force")
def swap_and_quit_anyway(s):
    swap_midway_for_the_allies(s)
    click_expecting_box(s, IDCANCEL)
    s.press("Yes", caption="Velmora")
    expect(s.wait_exit() == 0, "exit code")
    expect(game_file(s, 2, "multiplayer.mis") == game_file(s, 2, r"missions\Midway.mis"), "Midway stays")
    expect(settings_value(s, "CUR_MISSION_2") == "Midway.mis", "the mission in force is recorded")
