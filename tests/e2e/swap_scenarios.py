"""End-to-end scenarios of the Swap and Restore commands and of what they
leave in the game's files and the settings file; and a settings file of
another version, which restores the originals at start-up."""
from gamefiles import (backup_root, compiled_siblings, expect_friendly_guns, expect_game_restored,
                       expect_no_compiled_siblings, game_bytes, ini_value, original_files, settings, snapshot)
from harness import APP_DIR, GAME_DIRS, expect, scenario
from scenarios import IDCANCEL, IDOK, IDS, start_with_cfs2
from session_scenarios import answer, click_expecting_box, expect_box, expect_ready

REFUSAL = ("Please select a mission other than\nthe original multiplayer mission.\n\n"
           "If you wish to restore the original,\nclick on the 'Restore' button.")
MISSION_ONLY_QUESTION = "You have not selected an alliance.\nDo you wish to only swap mission?"
OTHER_VERSION = "Different version of Velmora.\nOriginals being restored.\n"
# Rabaul's Axis unit types: an object and a ship. Its Allied Corsair has no DP.
AXIS_DPS_OF_RABAUL = ["objects_dp/AA Gun.dp", "ships/Destroyer/destroyer.dp"]


def checked_sides(s):
    return [name for name in ("IDC_ALLIED", "IDC_AXIS") if s.control(IDS[name])["checked"]]


def expect_dps_as_backed_up(s, except_for=()):
    """The game's DPs are the backed-up originals, but for those named."""
    for relative in original_files(backup_root(s, 2)):
        if relative != "multiplayer.mis" and relative not in except_for:
            expect(game_bytes(s, 2, relative) == (backup_root(s, 2) / relative).read_bytes(),
                   f"{relative} is not the original")


def main_settings(s, *keys):
    ini = settings(s)
    return [ini_value(ini, "MAIN", key) for key in keys]


@scenario("Swap refuses the original mission; an Axis swap makes the Axis units' DPs friendly; "
          "Restore puts every original back")
def axis_swap_and_restore(s):
    start_with_cfs2(s)
    untouched = snapshot(s, 2)
    s.click(IDS["IDC_AXIS"])
    click_expecting_box(s, IDOK)
    expect_box(s, "Velmora", REFUSAL)
    s.press("OK", caption="Velmora")
    expect(snapshot(s, 2) == untouched, "a refused swap changes no file")
    expect(s.control(IDS["IDC_MISSION"])["text"] == "Original mp.mis file", "the list still shows the original")

    s.drive("pick", IDS["IDC_MISSION"], "Rabaul.mis")
    expect(checked_sides(s) == ["IDC_AXIS"], "Axis is still checked")
    expect(compiled_siblings(s, 2), "the demo game has compiled DPs to remove")
    click_expecting_box(s, IDOK)
    expect_box(s, "FYI", "Mission swapped.  Axis mission\nunits are now friendly.", icon=True)
    s.press("OK", caption="FYI")
    expect(game_bytes(s, 2, "multiplayer.mis") == game_bytes(s, 2, "missions/Rabaul.mis"), "Rabaul is in force")
    for relative in AXIS_DPS_OF_RABAUL:
        expect_friendly_guns(s, 2, relative)
    expect_dps_as_backed_up(s, except_for=AXIS_DPS_OF_RABAUL)
    expect_no_compiled_siblings(s, 2)
    ini = settings(s)
    expect(ini.get("modified_dps_2") == ["AA Gun.dp=guns modified", "destroyer.dp=guns modified"],
           f"[MODIFIED_DPS_2] {ini.get('modified_dps_2')}")
    expect(main_settings(s, "LAST_SAVE_2", "CUR_MISSION_2") == ["2", "Rabaul.mis"], "the swap is recorded")
    expect(checked_sides(s) == ["IDC_AXIS"] and s.control(IDS["IDC_MISSION"])["text"] == "Rabaul.mis",
           "the window shows the swap in force")

    click_expecting_box(s, IDS["IDC_RESTORE"])
    expect_box(s, "Velmora", "Originals restored")
    s.press("OK", caption="Velmora")
    expect_game_restored(s, 2)
    expect(settings(s).get("modified_dps_2") == [], "no DP is recorded as modified")
    expect(main_settings(s, "LAST_SAVE_2", "CUR_MISSION_2") == ["4", "Original mp.mis file"], "the restore is recorded")
    expect(not checked_sides(s) and s.control(IDS["IDC_MISSION"])["text"] == "Original mp.mis file",
           "the window shows the originals")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "Quit ends without asking after a restore")


@scenario("with no side checked Swap asks first: No changes nothing, Yes swaps the mission alone; "
          "a settings file of another version then restores the originals at start-up")
def mission_only_swap_then_another_version(s):
    start_with_cfs2(s)
    expect(not checked_sides(s), "no side is checked at a first start")
    untouched = snapshot(s, 2)
    s.drive("pick", IDS["IDC_MISSION"], "Midway.mis")
    click_expecting_box(s, IDOK)
    expect_box(s, "Velmora", MISSION_ONLY_QUESTION, buttons=("Yes", "No"))
    s.press("No", caption="Velmora")
    expect(snapshot(s, 2) == untouched, "No changes no file")

    click_expecting_box(s, IDOK)
    s.press("Yes", caption="Velmora")
    expect_box(s, "Velmora", "Mission swapped.")
    s.press("OK", caption="Velmora")
    expect(game_bytes(s, 2, "multiplayer.mis") == game_bytes(s, 2, "missions/Midway.mis"), "Midway is in force")
    expect_dps_as_backed_up(s)
    expect_no_compiled_siblings(s, 2)
    expect(settings(s).get("modified_dps_2") == [], "no DP is modified")
    expect(main_settings(s, "LAST_SAVE_2", "CUR_MISSION_2") == ["3", "Midway.mis"], "the swap is recorded")
    # A swap is in force, so Quit asks; the user leaves anyway.
    click_expecting_box(s, IDCANCEL)
    s.press("Yes", caption="Velmora")
    expect(s.wait_exit() == 0, "exit code")

    # What another version left: its own stamp, and a DP changed since.
    ini = s.host_path(APP_DIR + r"\Velmora.ini")
    ini.write_bytes(ini.read_bytes().replace(b"VLMR_VERSION=1.0", b"VLMR_VERSION=0.9"))
    with open(s.host_path(GAME_DIRS[2] + r"\objects_dp\Bunker.dp"), "ab") as dp:
        dp.write(b"[changed]\r\nby=another version\r\n")
    expect_ready(answer(s, s.launch(), "FYI", OTHER_VERSION))
    expect_game_restored(s, 2)
    fresh = settings(s)
    expect(fresh.get("main") == ["VLMR_VERSION=1.0", "LAST_SAVE_2=4", "CUR_MISSION_2=Original mp.mis file"],
           f"a fresh settings file: [MAIN] {fresh.get('main')}")
    expect(fresh.get("modified_dps_1") == [] and fresh.get("modified_dps_2") == [], f"settings {fresh}")
    expect(s.control(IDS["IDC_MISSION"])["text"] == "Original mp.mis file", "the list shows the original")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "Quit ends without asking")
