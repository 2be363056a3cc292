"""What the scenarios check in the files a session leaves behind: the games'
files against the backup tree, the gun sections of a DP, the settings file."""
from pathlib import Path

from harness import APP_DIR, GAME_DIRS, expect

# The gun sections a swap writes into a DP whose units are made friendly.
FRIENDLY_GUNSTATIONS = ["; modified by Velmora",
                        "gunstation.0=0,-1,1,0.15,1,0.01,0.01,1,2,0,1d1*0,0,0,0,0,0,0,0,0,0,0,1.6"]
FRIENDLY_GUNS = ["; modified by Velmora", "gun.0=1,0,0,0,0,0,0,1"]


def ini_sections(data):
    """The sections of an INI-style text, by lower-case name, each the list of
    its non-blank lines as written (comments included), in order."""
    sections, current = {}, None
    for line in data.decode(errors="replace").splitlines():
        stripped = line.strip()
        if stripped.startswith("[") and "]" in stripped:
            current = sections.setdefault(stripped[1:stripped.rindex("]")].strip().lower(), [])
        elif stripped and current is not None:
            current.append(stripped)
    return sections


def ini_value(sections, section, key):
    """The value of a key (any case) in a section of ini_sections(); None when absent."""
    for line in sections.get(section.lower(), []):
        name, equals, value = line.partition("=")
        if equals and name.strip().lower() == key.lower():
            return value.strip()
    return None


def settings(s):
    """The sections of Velmora.ini; empty when the file is missing."""
    path = s.host_path(APP_DIR + r"\Velmora.ini")
    return ini_sections(path.read_bytes()) if path.exists() else {}


def game_root(s, version):
    return s.host_path(GAME_DIRS[version])


def backup_root(s, version):
    return s.host_path(APP_DIR + rf"\bkupcfs{version}")


def original_files(root):
    """The files of a game (or of its backup tree) that the backup keeps:
    multiplayer.mis, the object DPs and, for CFS2, the ships' DPs (every ship
    DP of the demo installs is named by its ship.cfg), as relative paths."""
    found = ["multiplayer.mis"] if (root / "multiplayer.mis").exists() else []
    for pattern in ("objects_dp/*", "ships/*/*"):
        found += [str(p.relative_to(root)) for p in sorted(root.glob(pattern)) if p.suffix.lower() == ".dp"]
    return found


def expect_backup_of(s, version):
    """The backup tree holds the game's originals, byte for byte, and nothing else."""
    game, backup = game_root(s, version), backup_root(s, version)
    expected = original_files(game)
    expect(len(expected) > 3, f"the demo CFS{version} has too few files: {expected}")
    kept = original_files(backup)
    expect(kept == expected, f"bkupcfs{version} holds {kept}, expected {expected}")
    for relative in expected:
        expect((backup / relative).read_bytes() == (game / relative).read_bytes(),
               f"bkupcfs{version}\\{relative} differs from the game's")
    stray = [str(p.relative_to(backup)) for p in backup.rglob("*") if p.is_file()
             and str(p.relative_to(backup)) not in expected]
    expect(not stray, f"bkupcfs{version} holds more: {stray}")
    if version == 1:
        expect(not (backup / "ships").exists(), "no ships folder in the CFS1 backup")


def expect_game_restored(s, version):
    """Every backed-up file is back in the game as it was, and no DP has its
    compiled sibling left, which the game would load instead of the DP."""
    game, backup = game_root(s, version), backup_root(s, version)
    for relative in original_files(backup):
        expect((game / relative).read_bytes() == (backup / relative).read_bytes(),
               f"CFS{version}\\{relative} differs from its backup")
    expect_no_compiled_siblings(s, version)


def compiled_siblings(s, version):
    """The game's compiled DPs (.cdp), as relative paths."""
    game = game_root(s, version)
    return sorted(str(p.relative_to(game)) for p in game.rglob("*") if p.suffix.lower() == ".cdp")


def expect_no_compiled_siblings(s, version):
    left = compiled_siblings(s, version)
    expect(not left, f"compiled DPs left in the game: {left}")


def snapshot(s, version):
    """Every file of the game and the settings file, to tell that nothing changed."""
    game = game_root(s, version)
    files = {str(p.relative_to(game)): p.read_bytes() for p in sorted(game.rglob("*")) if p.is_file()}
    ini = s.host_path(APP_DIR + r"\Velmora.ini")
    files["Velmora.ini"] = ini.read_bytes() if ini.exists() else None
    return files


def expect_friendly_guns(s, version, relative):
    """The game's DP has the friendly gun sections; every other section is the original's."""
    rewritten = ini_sections((game_root(s, version) / relative).read_bytes())
    original = ini_sections((backup_root(s, version) / relative).read_bytes())
    expect(rewritten.get("gunstations") == FRIENDLY_GUNSTATIONS,
           f"{relative} [gunstations]: {rewritten.get('gunstations')}")
    expect(rewritten.get("guns.0") == FRIENDLY_GUNS, f"{relative} [guns.0]: {rewritten.get('guns.0')}")
    others = {name: lines for name, lines in rewritten.items() if name not in ("gunstations", "guns.0")}
    expect(others == {name: lines for name, lines in original.items() if name not in ("gunstations", "guns.0")},
           f"{relative}: its other sections changed")


def game_bytes(s, version, relative):
    return (game_root(s, version) / Path(relative)).read_bytes()
