"""End-to-end scenarios of start-up: which game is chosen, what the backup
keeps, and the question about a session mission that is not the game's own.
(A settings file of another version: swap_scenarios.py.)"""
from gamefiles import expect_backup_of, game_bytes, ini_value, settings
from harness import APP_DIR, GAME_DIRS, expect, scenario
from scenarios import IDCANCEL, IDS
from session_scenarios import (FIRST_BACKUP_OF_CFS1, FIRST_BACKUP_OF_CFS2, answer, click_expecting_box, expect_box,
                               expect_launch_then_quit, expect_ready)

CFS1_MISSIONS = ["Airfield Raid.mis", "Channel Sweep.mis", "Convoy.mis", "Original mp.mis file"]
SUSPECT_QUESTION = ("Extra units or unit types found in existing CFS2 multiplayer.mis file.\n\n"
                    "Are you SURE you wish to backup this file?")


@scenario("with CFS1 alone it is backed up and active; Launch shows the system's text for a missing game, "
          "then starts the game in its folder and minimises the window")
def cfs1_alone_and_launch(s):
    s.require_game_installs()
    s.install_game(1)
    s.install_velmora()
    game_program = GAME_DIRS[1] + r"\combatfs.exe"
    s.host_path(game_program).unlink()
    expect_ready(answer(s, s.launch(), *FIRST_BACKUP_OF_CFS1))
    expect_backup_of(s, 1)

    cfs1, cfs2, missions = (s.control(IDS[name]) for name in ("IDC_CFS1", "IDC_CFS2", "IDC_MISSION"))
    expect(cfs1["enabled"] and cfs1["checked"] and not cfs2["enabled"], f"game radios {cfs1} {cfs2}")
    expect(missions["entries"] == CFS1_MISSIONS and missions["text"] == "Original mp.mis file",
           f"missions {missions['entries']}, {missions['text']!r}")
    launch, active, select = (s.control(IDS[name]) for name in ("IDC_LAUNCH", "IDC_ACTIVE_PROGRAM", "IDC_RUN_SELECT"))
    expect(launch["enabled"] and launch["text"] == "Launch CFS1 for IP game", f"launch button {launch}")
    expect(active["text"] == "CFS1" and not select["enabled"], f"active program {active}, select {select}")

    # The box shows the system's own words for a file that is not there.
    click_expecting_box(s, IDS["IDC_LAUNCH"])
    not_found = s.drive("error-text", 2)["text"]
    expect_box(s, "Velmora", not_found)
    s.press("OK", caption="Velmora")
    main = s.main_window()
    expect(main["visible"] and not main["iconic"], "the window keeps its state after a failed launch")

    s.install_standin(game_program)
    expect_launch_then_quit(s, GAME_DIRS[1], game_program)


@scenario("with both games and a settings file that names CFS1: both are backed up, CFS1 is active, "
          "and STATIC_IP heads the address list")
def both_games_with_settings(s):
    s.require_game_installs()
    s.install_game(1)
    s.install_velmora()
    s.install_game(2)
    # Seven characters, the shortest STATIC_IP that is listed.
    s.write_file(APP_DIR + r"\Velmora.ini", "[MAIN]\r\nVLMR_VERSION=1.0\r\nLAST_CFS_VERS=1\r\nSTATIC_IP=1.2.3.4\r\n")
    settled = answer(s, s.launch(), *FIRST_BACKUP_OF_CFS1)
    expect_ready(answer(s, settled, *FIRST_BACKUP_OF_CFS2))
    expect_backup_of(s, 1)
    expect_backup_of(s, 2)

    cfs1, cfs2, missions = (s.control(IDS[name]) for name in ("IDC_CFS1", "IDC_CFS2", "IDC_MISSION"))
    expect(cfs1["checked"] and cfs2["enabled"] and not cfs2["checked"], f"game radios {cfs1} {cfs2}")
    expect(missions["enabled"] and missions["entries"] == CFS1_MISSIONS, f"missions {missions['entries']}")
    expect(s.control(IDS["IDC_ACTIVE_PROGRAM"])["text"] == "CFS1", "CFS1 is the active program")
    addresses = s.control(IDS["IDC_IP_ADDRESS"])
    expect(addresses["entries"][:1] == ["1.2.3.4"] and addresses["selection"] == 0
           and addresses["text"] == "1.2.3.4", f"address list {addresses}")

    # The file of this version is kept and completed for both games.
    ini = settings(s)
    kept = {key: ini_value(ini, "MAIN", key) for key in ("VLMR_VERSION", "STATIC_IP", "LAST_SAVE_1", "LAST_SAVE_2",
                                                         "CUR_MISSION_1", "CUR_MISSION_2")}
    expect(kept == {"VLMR_VERSION": "1.0", "STATIC_IP": "1.2.3.4", "LAST_SAVE_1": "4", "LAST_SAVE_2": "4",
                    "CUR_MISSION_1": "Original mp.mis file", "CUR_MISSION_2": "Original mp.mis file"},
           f"settings {kept}")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")
    expect(ini_value(settings(s), "MAIN", "LAST_CFS_VERS") == "1", "LAST_CFS_VERS")


@scenario("a multiplayer.mis with extra units: No to the question shuts the program down and deletes the "
          "settings file; at the next start Yes backs the file up")
def suspect_session_mission(s):
    s.require_game_installs()
    s.install_game(2)
    s.install_velmora()
    suspect = game_bytes(s, 2, "missions/Rabaul.mis")
    s.write_file(GAME_DIRS[2] + r"\multiplayer.mis", suspect)
    backup_mission = s.host_path(APP_DIR + r"\bkupcfs2\multiplayer.mis")

    settled = answer(s, s.launch(), "Possible problem", SUSPECT_QUESTION, "No", ("Yes", "No"))
    settled = answer(s, settled, "", "Velmora will now shut down.")
    expect(settled == {"state": "ended", "code": 0}, f"the program ended: {settled}")
    expect(not s.host_path(APP_DIR + r"\Velmora.ini").exists(), "the settings file is deleted")
    expect(not backup_mission.exists(), "the suspect file is not backed up")

    settled = answer(s, s.launch(), "Possible problem", SUSPECT_QUESTION, "Yes", ("Yes", "No"))
    expect_ready(answer(s, settled, *FIRST_BACKUP_OF_CFS2))
    expect(backup_mission.read_bytes() == suspect, "the file the user vouched for is backed up")
    expect_backup_of(s, 2)
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")
