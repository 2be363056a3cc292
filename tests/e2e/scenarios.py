"""Velmora's end-to-end scenarios: the real Velmora.exe under Wine, driven
through its windows as a user would."""
import re

from harness import APP_DIR, ROOT, expect, scenario


def resource_ids():
    """The ids of resource.h, by name."""
    text = (ROOT / "src" / "res" / "resource.h").read_text()
    return {name: int(value, 0) for name, value in re.findall(r"#define\s+(\w+)\s+(0x[0-9a-fA-F]+|\d+)", text)}


def project_version():
    """The version that project() in CMakeLists.txt sets."""
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(Velmora VERSION ([0-9.]+)", text).group(1)


IDS = resource_ids()
VERSION = project_version()
IDOK, IDCANCEL = IDS["IDOK"], IDS["IDCANCEL"]
MAIN_CONTROL_COUNT = 22


def settings_value(s, key):
    """A value of Velmora.ini, None when the file or the key is missing."""
    path = s.host_path(APP_DIR + r"\Velmora.ini")
    if not path.exists():
        return None
    found = re.search(rf"^{re.escape(key)}=(.*?)\r?$", path.read_text(errors="replace"), re.MULTILINE)
    return found.group(1) if found else None


def centre(rect):
    return ((rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2)


def expect_centred(inner, outer, what):
    (x, y), (cx, cy) = centre(inner), centre(outer)
    expect(abs(x - cx) <= 1 and abs(y - cy) <= 1, f"{what}: centre {x},{y} is not {cx},{cy}")


FIRST_BACKUP_OF_CFS2 = ("FYI", "CFS2 object and ship DP's and multiplayer.mis successfully backed up.")


def start_with_cfs2(s):
    """A first start with the demo CFS2 installed: the backup's notice, then
    the main window."""
    s.require_game_installs()
    s.install_game(2)
    s.install_velmora()
    return s.start(FIRST_BACKUP_OF_CFS2)


def quit_and_expect_exit(s):
    s.click(IDCANCEL)
    code = s.wait_exit()
    expect(code == 0, f"exit code {code}")


@scenario("the main window opens centred with its caption and controls; Quit ends the program")
def main_window_opens(s):
    main = start_with_cfs2(s)
    expect(main["caption"] == f"Velmora {VERSION}", f"caption {main['caption']!r}")
    expect(main["visible"] and main["enabled"] and not main["iconic"], "shown, taking input, not minimised")
    screen = main["screen"]
    expect_centred(main["rect"], [0, 0, screen[0], screen[1]], "main window on the screen")

    controls = main["controls"]
    expect(len(controls) == MAIN_CONTROL_COUNT, f"{len(controls)} controls")
    present = {c["id"] for c in controls}
    missing = [name for name, value in IDS.items()
               if (name.startswith("IDC_") and not name.startswith("IDC_ABOUT")) and value not in present]
    expect(not missing, f"controls missing: {missing}")
    quit_button = s.control(IDCANCEL)
    expect(quit_button["text"] == "Quit" and quit_button["enabled"], f"Quit: {quit_button}")
    expect(s.control(IDS["IDC_RESTORE_DPS"])["visible"] is False, "the third side state is never shown")
    quit_and_expect_exit(s)
    expect(s.drive("main", ok=False).get("error"), "no window is left")


def expect_quit_by(s, *driver_command):
    """The command ends the program the way Quit does: recording the game."""
    start_with_cfs2(s)
    s.drive(*driver_command)
    code = s.wait_exit()
    expect(code == 0, f"exit code {code}")
    expect(settings_value(s, "LAST_CFS_VERS") == "2", "Quit recorded the game")


@scenario("the Escape key is Quit")
def escape_quits(s):
    expect_quit_by(s, "key", "escape")


@scenario("the close command of the system menu is Quit")
def close_box_quits(s):
    expect_quit_by(s, "syscommand", "close")


@scenario("the About item opens the About box over the main window; OK and Escape close it")
def about_box(s):
    main = start_with_cfs2(s)
    # Wine cannot read another process's menus: the item's command is posted
    # as the system menu would send it.
    outcome = s.drive("syscommand", "about")["outcome"]
    expect(outcome == "modal", f"the About box did not stay open: {outcome}")
    about = s.window("About Velmora")
    expect(about["owner"] == main["hwnd"], "owned by the main window")
    expect(not s.main_window()["enabled"], "the main window takes no input meanwhile")
    expect_centred(about["rect"], main["rect"], "About box over the main window")
    texts = [c["text"] for c in about["controls"]]
    expect(f"Velmora Version {VERSION}" in texts, f"texts {texts}")
    expect(about["buttons"] == [{"id": IDOK, "text": "OK"}], f"buttons {about['buttons']}")

    s.press("OK", caption="About Velmora")
    expect(s.main_window()["enabled"], "the main window takes input again")

    s.drive("syscommand", "about")
    s.window("About Velmora")
    s.drive("key", "escape", "--caption", "About Velmora")
    s.drive("wait-gone", "--caption", "About Velmora")
    expect(s.main_window()["enabled"], "the main window takes input again after Escape")
    quit_and_expect_exit(s)


@scenario("minimise and restore through the system menu's commands")
def minimise_and_restore(s):
    start_with_cfs2(s)
    s.drive("syscommand", "minimize")
    expect(s.main_window()["iconic"], "minimised")
    s.drive("syscommand", "restore")
    main = s.main_window()
    expect(not main["iconic"] and main["visible"], "restored")
    quit_and_expect_exit(s)
