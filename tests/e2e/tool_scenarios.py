"""End-to-end scenarios of the session tools: the host tool's Select.exe and
the launcher, and the two option boxes over the game's configuration file.
(Launch of a missing game: startup_scenarios.py.)"""
from gamefiles import game_bytes, ini_sections, ini_value
from harness import GAME_DIRS, expect, scenario
from scenarios import IDCANCEL, IDS
from session_scenarios import FIRST_BACKUP_OF_CFS2, expect_launch_then_quit

HOST_TOOL_DIR = GAME_DIRS[2] + r"\Tarnwick"
GAME_PROGRAM = GAME_DIRS[2] + r"\cfs2.exe"
# The name the host tool gives the game's own executable when it takes over IP games.
SECOND_EXECUTABLE = GAME_DIRS[2] + r"\origcfs2.exe"


def launcher(s):
    """The launcher's controls: Run TWK Select usable, the Launch caption, the active program."""
    select, launch, active = (s.control(IDS[name]) for name in ("IDC_RUN_SELECT", "IDC_LAUNCH", "IDC_ACTIVE_PROGRAM"))
    expect(launch["enabled"], "Launch is usable")
    return select["enabled"], launch["text"], active["text"]


@scenario("Run TWK Select runs the host tool in its folder and shows the window again; the launcher then "
          "names the host tool, and Launch still starts the game's own executable")
def host_tool_and_launch(s):
    s.require_game_installs()
    s.install_game(2)
    s.install_velmora()
    s.install_standin(HOST_TOOL_DIR + r"\Select.exe")
    s.write_file(HOST_TOOL_DIR + r"\standin-create.txt", SECOND_EXECUTABLE)
    s.install_standin(GAME_PROGRAM)
    s.start(FIRST_BACKUP_OF_CFS2)
    expect(launcher(s) == (True, "Launch CFS2 for IP game", "CFS2"), f"launcher before {launcher(s)}")

    # The command returns once Select.exe has ended and the window is back.
    expect(s.click(IDS["IDC_RUN_SELECT"]) == "done", "Run TWK Select ran to its end")
    program, folder = s.standin_ran(HOST_TOOL_DIR)
    expect(program.lower() == (HOST_TOOL_DIR + r"\Select.exe").lower(), f"started {program}")
    expect(folder.lower() == HOST_TOOL_DIR.lower(), f"Select.exe ran in {folder}")
    expect(s.host_path(SECOND_EXECUTABLE).exists(), "the host tool made the second executable")
    main = s.main_window()
    expect(main["visible"] and not main["iconic"], "the window is shown again")
    expect(launcher(s) == (True, "Launch TWK for IP game", "Tarnwick"), f"launcher after {launcher(s)}")

    expect_launch_then_quit(s, GAME_DIRS[2], GAME_PROGRAM)


def options(s):
    """COLLISION_SECS and DISPLAY_FRACTIONAL_MINUTES of cfs2.cfg."""
    config = ini_sections(game_bytes(s, 2, "cfs2.cfg"))
    return ini_value(config, "MULTIPLAYER", "COLLISION_SECS"), ini_value(config, "MAIN", "DISPLAY_FRACTIONAL_MINUTES")


def boxes(s):
    return s.control(IDS["IDC_COLLISION"])["checked"], s.control(IDS["IDC_FRACT_MIN"])["checked"]


@scenario("the option boxes: a collision time other than 2 shows checked and is set to 0; a click writes "
          "0 when it checks a box, 2 or 1 when it unchecks it")
def option_boxes(s):
    s.require_game_installs()
    s.install_game(2)
    s.install_velmora()
    s.write_file(GAME_DIRS[2] + r"\cfs2.cfg",
                 "[MAIN]\r\nDISPLAY_FRACTIONAL_MINUTES=1\r\n\r\n[MULTIPLAYER]\r\nCOLLISION_SECS=5\r\n")
    s.start(FIRST_BACKUP_OF_CFS2)
    expect(boxes(s) == (True, False) and options(s) == ("0", "1"), f"loaded {boxes(s)}, file {options(s)}")

    steps = [("IDC_COLLISION", (False, False), ("2", "1")),
             ("IDC_COLLISION", (True, False), ("0", "1")),
             ("IDC_FRACT_MIN", (True, True), ("0", "0")),
             ("IDC_FRACT_MIN", (True, False), ("0", "1"))]
    for box, shown, written in steps:
        expect(s.click(IDS[box]) == "done", f"a click on {box}")
        expect(boxes(s) == shown and options(s) == written,
               f"after a click on {box}: boxes {boxes(s)}, file {options(s)}; expected {shown}, {written}")
    s.click(IDCANCEL)
    expect(s.wait_exit() == 0, "exit code")
