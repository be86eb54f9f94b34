#!/usr/bin/python3
"""Writes a story in the story editor from nothing, saves and builds it there, and plays what it built:
    edit_story.py EDITOR PLAYER KIT OUTPUT_DIR

A session of its own (Xvfb, D-Bus, the accessibility bus and registry, openbox); every input is an X key
press or click. The accessibility tree tells where a control is and what it holds, so that each key waits
for the control meant to take it and each step waits until the editor shows what was typed. KIT must build
the saved source into the same bytes and find in it the same problems, word for word and in order, as the
editor listed; then the player plays the scenario from step 1 to its ending. Exits 77 when a tool it needs
is missing, so that the test is reported skipped.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

# The session's pieces are the Orca test's; no byte code of it is left in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_with_orca import BUS_LAUNCHER, REGISTRY, Failure, Session, log  # noqa: E402

SKIP = 77
WAIT_LIMIT = float(os.environ.get("E2E_WAIT_LIMIT", "60"))
# A loaded machine may need longer for the first window of a debug build.
START_LIMIT = float(os.environ.get("E2E_START_LIMIT", "120"))
EDITOR, PLAYER = "przygoda-edytor", "przygoda"
EDITOR_TITLE = r"\*?(Nowa historia|las\.txt) – przygoda-edytor"
SAVE_TITLE = "Zapisz historię"

# The story as its author types it. The missing picture and the text of a choice whose button step 1 never
# enables are the two warnings that the editor and the toolkit must both report.
FIRST = dict(name="Skraj lasu", typ="3", picture="las.bmp",
             opis="Stoisz na skraju ciemnego lasu. Ścieżka ginie w gąszczu.",
             choices=("Wejdź w gąszcz", "Zawróć do domu"))
SECOND = dict(name="Gąszcz", typ="2", opis="Las cię pochłonął. Tak kończy się wędrówka.")
WARNINGS = (rf'las\.Kro:1 \({FIRST["name"]}\): ostrzeżenie: .*Obrazki/{FIRST["picture"]}.*',
            rf'las\.Kro:1 \({FIRST["name"]}\): ostrzeżenie: wybór 2 ma tekst, .*')


def skip_reason():
    for tool in ("Xvfb", "openbox", "xdotool", "xprop", "setxkbmap", "import", "dbus-daemon", "dbus-send"):
        if shutil.which(tool) is None:
            return f"{tool} is not installed"
    for path in (BUS_LAUNCHER, REGISTRY):
        if not os.access(path, os.X_OK):
            return f"{path} is not installed (at-spi2-core)"
    try:
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi  # noqa: F401
    except (ImportError, ValueError) as error:
        return f"python3-gi with gir1.2-atspi-2.0 is not installed ({error})"
    return None


class EditStory:
    def __init__(self, editor, player, kit, out):
        self.editor, self.player, self.kit = (os.path.realpath(p) for p in (editor, player, kit))
        self.out = os.path.realpath(out)
        os.makedirs(self.out, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix="przygoda-edit-")
        self.session = Session(self.work)
        self.session.env["XDG_STATE_HOME"] = os.path.join(self.work, "home", ".local/state")
        self.story = os.path.join(self.work, "story")
        os.makedirs(self.story)
        self.programs = {}
        self.ending = set()  # the programs told to end
        self.place = None

    # --- the session

    def start_session(self):
        s = self.session
        log("Xvfb, D-Bus, the accessibility bus, openbox")
        # Room for the editor's first size, 1180 x 760, with its frame.
        display = s.read_line_from("xvfb", ["Xvfb", "-displayfd", "{fd}", "-screen", "0", "1280x1024x24",
                                            "-nolisten", "tcp", "-noreset"], "display number")
        s.env["DISPLAY"] = f":{display}"
        s.env["DBUS_SESSION_BUS_ADDRESS"] = s.read_line_from(
            "dbus", ["dbus-daemon", "--session", "--nofork", "--print-address={fd}"], "bus address")
        os.environ.update(DISPLAY=s.env["DISPLAY"], DBUS_SESSION_BUS_ADDRESS=s.env["DBUS_SESSION_BUS_ADDRESS"])
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        s.start("at-spi-bus-launcher", [BUS_LAUNCHER, "--launch-immediately", "--a11y=1"])
        self.wait("the accessibility bus", lambda: b"true" in self.run(
            "dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
            "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus").stdout, START_LIMIT)
        s.start("at-spi2-registryd", [REGISTRY])
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, GLib

        self.A, self.tree_changed = Atspi, GLib.Error
        Atspi.init()
        self.wait("the accessibility registry", lambda: Atspi.get_desktop(0).get_child_count() >= 0, START_LIMIT)
        # Polish letters are keys of the layout, as an author types them. Otherwise xdotool maps a spare key
        # to each letter and back at once, and the toolkit, reading the map late, may drop the letter.
        if self.run("setxkbmap", "-layout", "pl").returncode != 0:
            raise Failure("setxkbmap -layout pl failed")
        s.start("openbox", ["openbox", "--sm-disable", "--config-file", "/etc/xdg/openbox/rc.xml"])
        self.wait("openbox to manage the screen",
                  lambda: b"window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, START_LIMIT)

    def run(self, *argv, **kwargs):
        return subprocess.run(argv, env=self.session.env, capture_output=True, timeout=60, **kwargs)

    def start(self, name, path):
        log(f"{name}: {path} in {self.story}")
        env = dict(self.session.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy")
        self.programs[name] = self.session.start(name, [path], cwd=self.story, env=env)

    def alive(self):
        for name, process in self.session.processes:
            status = process.poll()
            # The accessibility bus may have started a registry itself; a second one leaves quietly.
            if status is not None and name not in self.ending and not (name == "at-spi2-registryd" and status == 0):
                raise Failure(f"{name} ended early with status {status}; see {name}.log")

    def ended(self, name):
        """Waits for the program to end by itself, with success."""
        self.ending.add(name)
        process = self.programs[name]
        self.wait(f"{name} to end", lambda: process.poll() is not None)
        if process.returncode != 0:
            raise Failure(f"{name} exited with {process.returncode}")

    def wait(self, what, condition, limit=WAIT_LIMIT):
        """Polls condition until it gives something true, which it returns; fails after limit seconds."""
        deadline = time.monotonic() + limit
        while True:
            try:
                result = condition()
            except getattr(self, "tree_changed", ()):  # an object went away while it was read: read again
                result = None
            if result:
                return result
            self.alive()
            if time.monotonic() > deadline:
                raise Failure(f"not within {limit:.0f}s: {what}")
            time.sleep(0.1)

    # --- the accessibility tree, read afresh each time

    def has(self, obj, state):
        return obj.get_state_set().contains(getattr(self.A.StateType, state))

    def window(self, app, title):
        desktop = self.A.get_desktop(0)
        for program in map(desktop.get_child_at_index, range(desktop.get_child_count())):
            if program is not None and program.get_name() == app:
                program.set_cache_mask(self.A.Cache.NONE)
                for window in map(program.get_child_at_index, range(program.get_child_count())):
                    if window and re.fullmatch(title, window.get_name()) and self.has(window, "SHOWING"):
                        return window
        return None

    def find(self, app, title, role, name=".*", state=None):
        """The showing objects of the role whose name matches, in the window whose title matches."""
        found = []

        def walk(obj):
            for child in map(obj.get_child_at_index, range(obj.get_child_count())):
                if child is None or not self.has(child, "SHOWING"):
                    continue
                if (child.get_role_name() == role and re.fullmatch(name, child.get_name(), re.S)
                        and (state is None or self.has(child, state))):
                    found.append(child)
                walk(child)

        window = self.window(app, title)
        if window is not None:
            walk(window)
        return found

    def names(self, app, title, role, name=".*", state=None):
        return [o.get_name() for o in self.find(app, title, role, name, state)]

    def holds(self, app, title, role, name, text, state=None):
        return any(self.A.Text.get_text(o, 0, self.A.Text.get_character_count(o)) == text
                   for o in self.find(app, title, role, name, state))

    def centre(self, obj):
        box = obj.get_extents(self.A.CoordType.SCREEN)
        return box.x + box.width // 2, box.y + box.height // 2

    # --- input

    def x(self, *argv, check=True):
        result = self.run("xdotool", *argv, text=True)
        if check and result.returncode != 0:
            raise Failure(f"xdotool {' '.join(argv)}: {result.stderr.strip()}")
        return result.stdout.strip()

    def active(self, title):
        if re.fullmatch(title, self.x("getactivewindow", "getwindowname", check=False)):
            return True
        ids = self.x("search", "--onlyvisible", "--name", f"^{title}$", check=False).split()
        if ids:
            self.x("windowactivate", ids[0], check=False)
        return False

    def press(self, title, *keys):
        """Key presses for the window whose title matches, made the active one first."""
        self.wait(f"window '{title}' to be active", lambda: self.active(title))
        for key in keys:
            self.x("key", "--clearmodifiers", key)

    def type_text(self, title, text):
        self.press(title, "ctrl+a")
        self.x("type", "--delay", "30", text)

    def click(self, app, title, role, name):
        obj = self.wait(f"{role} '{name}' in '{title}'", lambda: self.find(app, title, role, name))[0]
        # The window manager places a window once it is shown, and the player centres its own again.
        self.place = None
        self.wait(f"{role} '{name}' to stay put", lambda: self.settled(obj))
        self.x("mousemove", *map(str, self.centre(obj)), "click", "1")

    def settled(self, obj):
        now = self.centre(obj)
        if now == self.place:
            return True
        self.place = now
        time.sleep(0.2)
        return False

    def fill(self, key, role, name, text, box=None):
        """The field by its label's Alt key, then the text typed over what it held; waits until the field,
        or the text box in it, holds it."""
        box = box or (role, name)
        self.press(EDITOR_TITLE, key)
        self.wait(f"the focus in {name} after {key}", lambda: self.find(EDITOR, EDITOR_TITLE, role, name, "FOCUSED"))
        self.type_text(EDITOR_TITLE, text)
        self.wait(f"{name} to hold '{text}'",
                  lambda: self.holds(EDITOR, EDITOR_TITLE, *box, text))

    def choose_type(self, typ):
        # The box's accessible name is the type it shows; a digit chooses the type that starts with it.
        self.press(EDITOR_TITLE, "alt+t")
        self.wait("the focus in Typ", lambda: self.find(EDITOR, EDITOR_TITLE, "combo box", r"\d .*", "FOCUSED"))
        self.x("type", typ)
        self.wait(f"type {typ} chosen", lambda: self.find(EDITOR, EDITOR_TITLE, "combo box", f"{typ} .*", "FOCUSED"))

    # --- the story

    def write_story(self):
        self.start("editor", self.editor)
        steps = self.wait("the editor's list of steps",
                          lambda: self.names(EDITOR, EDITOR_TITLE, "list item", r"\d+: .*"), START_LIMIT)
        if len(steps) != 1 or not re.fullmatch(r"1: Początek( \(.*\))?", steps[0]):
            raise Failure(f"a new story is not one step Początek: {steps}")
        log("step 1")
        self.fill("alt+n", "text", "Nazwa", FIRST["name"])
        self.choose_type(FIRST["typ"])
        self.fill("alt+o", "combo box", "Obraz", FIRST["picture"], box=("text", ""))
        self.fill("alt+i", "text", "Opis", FIRST["opis"])
        for k, choice in enumerate(FIRST["choices"], start=1):
            self.fill(f"alt+{k}", "text", f"Wybór {k}", choice)
        log("step 2, made by the Nowy krok button of Cel 1")
        self.click(EDITOR, EDITOR_TITLE, "push button", "Nowy krok jako cel 1")
        self.wait("the new step 2 in the form", lambda: self.holds(EDITOR, EDITOR_TITLE, "text", "Nazwa", "")
                  and self.find(EDITOR, EDITOR_TITLE, "list item", r"2: .*", "SELECTED"))
        self.fill("alt+n", "text", "Nazwa", SECOND["name"])
        self.choose_type(SECOND["typ"])
        self.fill("alt+i", "text", "Opis", SECOND["opis"])
        self.wait("step 2 by its name in the list",
                  lambda: self.find(EDITOR, EDITOR_TITLE, "list item", rf"2: {SECOND['name']}( \(.*\))?"))

        log("Ctrl+S and the file dialog")
        path = os.path.join(self.story, "las.txt")
        self.press(EDITOR_TITLE, "ctrl+s")
        self.wait("the save dialog's file name", lambda: self.find(EDITOR, SAVE_TITLE, "text", ".*", "FOCUSED"),
                  START_LIMIT)
        self.type_text(SAVE_TITLE, path)
        self.wait("the path typed into the dialog", lambda: self.holds(EDITOR, SAVE_TITLE, "text", ".*", path,
                                                                       "FOCUSED"))
        self.press(SAVE_TITLE, "Return")
        self.wait("the story saved as las.txt",
                  lambda: self.window(EDITOR, "las.txt – przygoda-edytor") and os.path.exists(path))
        # The findings name the scenario after the file once the saved story has been checked.
        findings = self.wait("the problems of the saved story", self.saved_problems)
        summary = self.find(EDITOR, EDITOR_TITLE, "list", "Problemy")[0].get_description()
        log(f"the editor lists {len(findings)} problems: {summary}")

        log("Ctrl+B")
        self.press(EDITOR_TITLE, "ctrl+b")
        self.wait("las.Kro and las.lis built",
                  lambda: self.find(EDITOR, EDITOR_TITLE, "status bar", "Zbudowano las.Kro: 0 błędów, 2 ostrzeżenia")
                  and all(os.path.exists(os.path.join(self.story, f"las.{e}")) for e in ("Kro", "lis")))
        self.press(EDITOR_TITLE, "ctrl+q")
        self.ended("editor")
        return path, findings, summary

    def saved_problems(self):
        found = [o.get_name() for o in self.find(EDITOR, EDITOR_TITLE, "list item")
                 if o.get_parent().get_name() == "Problemy"]
        return found if found and all(f.startswith("las.Kro:") for f in found) else None

    def check_with_kit(self, path, findings, summary):
        with open(path, encoding="utf-8") as f:
            source = f.read()
        typed = (FIRST["name"], FIRST["picture"], FIRST["opis"], *FIRST["choices"], SECOND["name"], SECOND["opis"])
        lost = [text for text in typed if text not in source]
        if lost:
            raise Failure(f"the saved source lacks {lost}:\n{source}")
        other = os.path.join(self.work, "kit")
        os.makedirs(other)
        built = self.run(self.kit, "build", path, "-o", other, text=True)
        if built.returncode != 0:
            raise Failure(f"przygoda-kit build failed: {built.stderr}")
        for name in ("las.Kro", "las.lis"):
            if self.run("cmp", os.path.join(self.story, name), os.path.join(other, name)).returncode != 0:
                raise Failure(f"the editor's {name} differs from przygoda-kit build's")
        checked = self.run(self.kit, "check", "las.txt", cwd=self.story, text=True)
        # The toolkit names a file given without a folder "./las.Kro", the editor "las.Kro".
        lines = [re.sub(r"^\./", "", line) for line in checked.stdout.splitlines()]
        if checked.returncode != 0 or lines != findings:
            raise Failure(f"przygoda-kit check (status {checked.returncode}) found:\n  " + "\n  ".join(lines) +
                          "\nthe editor listed:\n  " + "\n  ".join(findings))
        if len(findings) != len(WARNINGS) or not all(any(re.fullmatch(w, f) for f in findings) for w in WARNINGS):
            raise Failure(f"the findings are not the story's two warnings: {findings}")
        if summary != "0 błędów, 2 ostrzeżenia":
            raise Failure(f"the editor sums its problems up as '{summary}'")
        log("przygoda-kit builds the same bytes and finds the same problems")

    # --- the play

    def play(self):
        self.start("player", self.player)
        self.click(PLAYER, "Menu", "push button", "Wybór scenariusza")
        self.wait("the player's file dialog", lambda: self.find(PLAYER, "Open", "text", ".*", "FOCUSED"), START_LIMIT)
        self.type_text("Open", "las.Kro")
        self.wait("las.Kro typed into the dialog", lambda: self.holds(PLAYER, "Open", "text", ".*", "las.Kro",
                                                                      "FOCUSED"))
        self.press("Open", "Return")
        self.wait("the scenario chosen", lambda: self.find(PLAYER, "Menu", "label", ".*/las\\.Kro"))
        log("Start")
        self.press("Menu", "alt+s")
        self.dismiss(f'Nie masz obrazu "{FIRST["picture"]}"')
        self.wait("step 1 in the game window", lambda: self.holds(PLAYER, "Gra", "text", "Opis", FIRST["opis"]))
        one, two = (re.escape(f"Wybór {k}: {text}") for k, text in enumerate(FIRST["choices"], start=1))
        if not self.find(PLAYER, "Gra", "push button", one, "SENSITIVE"):
            raise Failure(f"'{one}' is not enabled on step 1")
        if self.find(PLAYER, "Gra", "push button", two, "SENSITIVE"):
            raise Failure(f"'{two}' is enabled on step 1, whose type enables button 1 alone")
        log("choice 1")
        self.click(PLAYER, "Gra", "push button", one)
        self.dismiss("To juz koniec gry")
        self.wait("the ending in the game window", lambda: self.holds(PLAYER, "Gra", "text", "Opis", SECOND["opis"]))
        self.press("Gra", "alt+w")
        self.wait("the menu again", lambda: self.window(PLAYER, "Menu"))
        self.press("Menu", "alt+k")
        self.ended("player")

    def dismiss(self, message):
        """The player's message box that says `message` shows, and Enter closes it."""
        said = re.escape(message)
        self.wait(f"the box '{message}'", lambda: self.find(PLAYER, "przygoda", "label", said))
        self.press("przygoda", "Return")
        self.wait(f"the box '{message}' to close", lambda: not self.find(PLAYER, "przygoda", "label", said))

    def report_failure(self, error):
        log(f"FAIL: {error}")
        try:
            windows = self.x("search", "--onlyvisible", "--name", ".", "getwindowname", "%@", check=False)
            print(f"--- visible windows:\n{windows}")
            shot = os.path.join(self.out, "failure.png")
            if self.run("import", "-window", "root", shot).returncode == 0:
                print(f"screenshot: {shot}")
        except Exception as e:  # the session may be what failed
            print(f"--- no screenshot: {e}")
        kept = os.path.join(self.out, "failed-session")
        shutil.rmtree(kept, ignore_errors=True)
        shutil.copytree(self.work, kept, ignore=shutil.ignore_patterns("home", "run"), dirs_exist_ok=True)
        for name in self.programs:
            with open(os.path.join(self.work, f"{name}.log"), errors="replace") as f:
                print(f"--- {name} output:\n{f.read()[-3000:]}", end="")
        print(f"--- the session's logs and files: {kept}")


def main():
    if len(sys.argv) != 5:
        print(f"usage: {sys.argv[0]} EDITOR PLAYER KIT OUTPUT_DIR", file=sys.stderr)
        return 2
    reason = skip_reason()
    if reason:
        print(f"SKIP: {reason}")
        return SKIP
    test = EditStory(*sys.argv[1:])
    try:
        test.start_session()
        test.check_with_kit(*test.write_story())
        test.play()
        log("passed")
        return 0
    except Failure as error:
        test.report_failure(error)
        return 1
    finally:
        test.session.stop()
        shutil.rmtree(test.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
