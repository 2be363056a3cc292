"""The end-to-end harness: runs the real Velmora.exe under Wine in a throwaway
prefix per scenario and operates it through vdrive.exe.

A scenario is a function that takes a Session:

    @scenario("Quit ends the program")
    def quit_ends(s):
        s.install_game(2)
        s.install_velmora()
        s.start()
        s.click(IDCANCEL)
        expect(s.wait_exit() == 0, "exit code")

Every Session has its own copy of one initialised Wine prefix (copying is
much faster than `wineboot`), its own wineserver, and the X display the whole
run shares (run it under xvfb-run).
"""
import json
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path, PureWindowsPath

ROOT = Path(__file__).resolve().parents[2]
GAME_KEYS = {
    1: r"HKLM\Software\Microsoft\DirectPlay\Applications\Combat Flight Simulator",
    2: r"HKLM\Software\Microsoft\DirectPlay\Applications\Combat Flight Simulator 2",
}
GAME_DIRS = {1: r"C:\Games\CFS1", 2: r"C:\Games\CFS2"}
APP_DIR = r"C:\Games\Velmora"

# How long the program may take to do what a step asks before the step
# fails: a safety net against a hung program, never a measure.
STEP_TIMEOUT = 30

SCENARIOS = []


def scenario(title, wine=True):
    """Registers a scenario; one with wine=False gets a session without a prefix."""
    def register(function):
        function.needs_wine = wine
        SCENARIOS.append((function.__name__, title, function))
        return function
    return register


class ScenarioFailure(Exception):
    pass


class ScenarioSkipped(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise ScenarioFailure(what)


class Harness:
    """What every scenario of a run shares: the build, the work folder and
    the initialised prefix the sessions copy."""

    def __init__(self, build_dir, work_dir, install_tool=None, keep=False):
        self.build_dir = Path(build_dir).resolve()
        self.work_dir = Path(work_dir).resolve()
        self.velmora = self.build_dir / "Velmora.exe"
        self.vdrive = self.build_dir / "tests" / "e2e" / "driver" / "vdrive.exe"
        # Plays the game and the host tool: records where it ran, and can make
        # a file as the host tool makes the game's second executable.
        self.standin = self.build_dir / "tests" / "velmora_standin.exe"
        self.install_tool = install_tool or self.default_install_tool()
        self.keep = keep
        self.base_prefix = self.work_dir / "base-prefix"
        for needed in (self.velmora, self.vdrive, self.standin):
            if not needed.is_file():
                raise SystemExit(f"missing {needed}: build the Windows tree first")

    @staticmethod
    def default_install_tool():
        """The game-install builder's command of the native build, when built."""
        tool = ROOT / "build" / "native" / "demo" / "velmora-demo-install"
        return tool if tool.is_file() else None

    def prepare(self):
        if self.work_dir.exists():
            shutil.rmtree(self.work_dir)
        self.work_dir.mkdir(parents=True)
        subprocess.run([str(ROOT / "scripts" / "wine-prefix"), str(self.base_prefix)], check=True)


class Session:
    """One scenario's Wine prefix, with at most one running Velmora.exe."""

    def __init__(self, harness, name, wine=True):
        self.harness = harness
        self.folder = harness.work_dir / name
        self.prefix = self.folder / "prefix"
        self.folder.mkdir(parents=True)
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.has_wine = wine
        if wine:
            subprocess.run(["cp", "-a", str(harness.base_prefix), str(self.prefix)], check=True)
            # One server for the whole session: otherwise it stops a few
            # seconds after each program and the next one pays for its start.
            subprocess.run(["wineserver", "-p"], env=self.env, check=True,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.process = None
        self.pid = None
        self.velmora_path = None

    # -- the prefix's files and registry ----------------------------------

    def host_path(self, windows_path):
        """Where a path on the prefix's drive C: lies on this machine."""
        path = PureWindowsPath(windows_path)
        expect(path.drive.upper() == "C:", f"{windows_path} is not on drive C:")
        return self.prefix.joinpath("drive_c", *path.parts[1:])

    def wine(self, *arguments, check=True):
        """Runs a Windows program to its end; returns (exit code, output)."""
        # Output goes through a file, never a pipe: the Wine services that the
        # program starts inherit its handles and would keep a pipe open.
        with tempfile.TemporaryFile(mode="w+") as output:
            code = subprocess.run(["wine", *arguments], env=self.env, stdin=subprocess.DEVNULL,
                                  stdout=output, stderr=subprocess.DEVNULL).returncode
            output.seek(0)
            text = output.read()
        if check and code != 0:
            raise ScenarioFailure(f"wine {' '.join(arguments)}: exit code {code}")
        return code, text

    def write_file(self, windows_path, content):
        """Writes a file of the prefix (text is written as it is, CRLF and all)."""
        path = self.host_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(content.encode() if isinstance(content, str) else content)
        return path

    def install_standin(self, windows_path):
        """Puts the stand-in program at a path of the prefix, as the game or the host tool."""
        path = self.host_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(self.harness.standin, path)
        return path

    def standin_ran(self, folder, timeout=STEP_TIMEOUT):
        """Waits until the stand-in has recorded a run in `folder` (its
        standin-ran.txt); returns (its own path, its current folder)."""
        path = self.host_path(folder + "\\standin-ran.txt")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            lines = path.read_text(errors="replace").splitlines() if path.exists() else []
            if len(lines) >= 2:
                return lines[0], lines[1]
            time.sleep(0.1)
        raise ScenarioFailure(f"the stand-in did not run in {folder}")

    def register_game(self, version, directory=None):
        """Registers a game the way its 32-bit installer does."""
        self.wine("reg", "add", GAME_KEYS[version], "/v", "CurrentDirectory",
                  "/d", directory or GAME_DIRS[version], "/f", "/reg:32")

    def install_game(self, version, directory=None):
        """Writes the demo install of CFS1 or CFS2 into `directory` and
        registers it. The installs come from the game-install builder's
        command (`velmora-demo-install FOLDER cfs1|cfs2`), which also writes
        the idlist.txt that install_velmora() puts beside the program.
        Without the command only the folder is made and registered."""
        directory = directory or GAME_DIRS[version]
        host = self.host_path(directory)
        tool = self.harness.install_tool
        if tool:
            made = self.folder / "installs"
            subprocess.run([str(tool), str(made), f"cfs{version}"], check=True, stdout=subprocess.DEVNULL)
            shutil.copytree(made / f"CFS{version}", host, dirs_exist_ok=True)
        else:
            host.mkdir(parents=True, exist_ok=True)
        self.register_game(version, directory)
        return bool(tool)

    def require_game_installs(self):
        if not self.harness.install_tool:
            raise ScenarioSkipped("needs the game-install builder's command")

    def install_velmora(self, folder=APP_DIR):
        host = self.host_path(folder)
        host.mkdir(parents=True, exist_ok=True)
        shutil.copy2(self.harness.velmora, host / "Velmora.exe")
        id_list = self.folder / "installs" / "idlist.txt"
        if id_list.exists():
            shutil.copy2(id_list, host / "idlist.txt")
        self.velmora_path = str(PureWindowsPath(folder) / "Velmora.exe")
        return self.velmora_path

    # -- the running program ----------------------------------------------

    def launch(self):
        """Starts Velmora.exe; returns where it settles (see settle())."""
        expect(self.velmora_path, "install_velmora() first")
        cwd = self.host_path(str(PureWindowsPath(self.velmora_path).parent))
        self.process = subprocess.Popen(["wine", self.velmora_path], env=self.env, cwd=cwd,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        return self.settle()

    def settle(self):
        """Waits until the program waits for the user, and says where:
        {"state": "ready", "main": ...} in its main window,
        {"state": "modal", "window": ...} in a box or the About box,
        {"state": "ended", "code": N} when it has ended."""
        deadline = time.monotonic() + STEP_TIMEOUT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return {"state": "ended", "code": self.process.returncode}
            # Short rounds, so that a program that ends without a window is
            # seen to end.
            settled = self.drive("settle", ok=False, timeout=2)
            if "state" in settled:
                if settled["state"] == "ready":
                    self.pid = settled["main"]["pid"]
                return settled
        raise ScenarioFailure("the program neither showed a window nor ended")

    def start(self, *boxes):
        """Starts Velmora.exe, presses OK on each start-up box given as
        (caption, text), in order, and returns the main window."""
        settled = self.launch()
        for caption, text in boxes:
            expect(settled["state"] == "modal", f"expected the box {caption!r}, got {settled['state']}")
            box = settled["window"]
            expect((box["caption"], box.get("message")) == (caption, text),
                   f"box {box['caption']!r}: {box.get('message')!r}, expected {caption!r}: {text!r}")
            self.press("OK", caption=caption)
            settled = self.settle()
        expect(settled["state"] == "ready", f"expected the main window, got {settled}")
        return settled["main"]

    def drive(self, *arguments, ok=True, timeout=STEP_TIMEOUT):
        """Runs vdrive.exe; returns its JSON line (a list for several).
        With ok=True a failure of the step fails the scenario."""
        code, output = self.wine(str(self.harness.vdrive), *map(str, arguments),
                                 "--timeout", str(timeout), check=False)
        lines = [json.loads(line) for line in output.splitlines() if line.strip()]
        if ok and code != 0:
            detail = lines[0].get("error") if lines else f"exit code {code}"
            raise ScenarioFailure(f"vdrive {' '.join(map(str, arguments))}: {detail}")
        return lines[0] if len(lines) == 1 else lines

    def main_window(self):
        return self.drive("main")

    def control(self, control_id):
        return self.drive("read", control_id)

    def click(self, control_id):
        return self.drive("click", control_id)["outcome"]

    def window(self, caption=None, wait=True):
        arguments = ["window"] + (["--caption", caption] if caption else []) + (["--wait"] if wait else [])
        return self.drive(*arguments)

    def press(self, button, caption=None):
        return self.drive("press", button, *(["--caption", caption] if caption else []))

    def wait_exit(self, timeout=STEP_TIMEOUT):
        """Waits for the program to end; returns its exit code."""
        expect(self.process, "the program was not started")
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise ScenarioFailure("the program did not end")

    def screenshot(self, name):
        target = self.folder / f"{name}.png"
        subprocess.run(["import", "-window", "root", str(target)], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return target if target.exists() else None

    def close(self, failed):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if self.has_wine:
            subprocess.run(["wineserver", "-k"], env=self.env, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not failed and not self.harness.keep:
            shutil.rmtree(self.folder, ignore_errors=True)


def run_scenarios(harness, names=None, report=print):
    """Runs the registered scenarios (or those named); returns how many failed."""
    failures = 0
    for name, title, function in SCENARIOS:
        if names and name not in names:
            continue
        session = Session(harness, name, wine=function.needs_wine)
        started = time.monotonic()
        status, detail = "PASS", ""
        try:
            function(session)
        except ScenarioSkipped as skipped:
            status, detail = "SKIP", str(skipped)
        except ScenarioFailure as failure:
            status, detail = "FAIL", str(failure)
        except Exception as error:  # a broken scenario is a failed one
            status, detail = "FAIL", f"{type(error).__name__}: {error}"
        if status == "FAIL":
            failures += 1
            shot = session.screenshot("failure") if session.has_wine else None
            detail += f" (screen: {shot})" if shot else ""
        session.close(failed=status == "FAIL")
        report(f"{status} {name} ({time.monotonic() - started:.1f} s): {title}"
               + (f"\n     {detail}" if detail else ""))
    return failures
