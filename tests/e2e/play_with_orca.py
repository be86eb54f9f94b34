#!/usr/bin/python3
"""Plays a scenario from the keyboard alone with the Orca screen reader listening:
    play_with_orca.py PLAYER SCENARIO_WRITER OUTPUT_DIR

Starts a session of its own (D-Bus, the accessibility bus and registry, Xvfb, openbox, Orca with a debug
file), writes the scenario with SCENARIO_WRITER, drives the real player with X key presses only, and checks
what Orca says (its "SPEECH OUTPUT:" lines) and what the accessibility tree holds. Exits 77 when a tool it
needs is missing, so that the test is reported skipped, not passed.
"""

import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
WAIT_LIMIT = float(os.environ.get("E2E_WAIT_LIMIT", "30"))
START_LIMIT = float(os.environ.get("E2E_START_LIMIT", "90"))
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
REGISTRY = "/usr/libexec/at-spi2-registryd"

# Orca writes its debug file through a buffer, so a line may sit unwritten for as long as Orca is quiet;
# run it with that one file line-buffered, so that what it said is on disk when it has said it.
ORCA_SHIM = """
import builtins, runpy, sys
debug_file = sys.argv[sys.argv.index("--debug-file") + 1]
plain_open = builtins.open
def line_buffered(file, mode="r", buffering=-1, *args, **kwargs):
    if file == debug_file and "w" in mode:
        buffering = 1
    return plain_open(file, mode, buffering, *args, **kwargs)
builtins.open = line_buffered
sys.argv[0] = "/usr/bin/orca"
runpy.run_path("/usr/bin/orca", run_name="__main__")
"""


class Failure(Exception):
    pass


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def skip_reason():
    for tool in ("Xvfb", "openbox", "xdotool", "xprop", "dbus-daemon", "dbus-send", "pgrep", "orca"):
        if shutil.which(tool) is None:
            return f"{tool} is not installed"
    for path in (BUS_LAUNCHER, REGISTRY):
        if not os.access(path, os.X_OK):
            return f"{path} is not installed (at-spi2-core)"
    # Orca allows one instance per user: it refuses to start beside another, and --replace would kill the
    # user's own screen reader.
    running = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"], capture_output=True, text=True)
    if running.stdout.strip():
        return f"Orca already runs for this user (pid {running.stdout.split()[0]}); a second one cannot start"
    try:
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi  # noqa: F401
    except (ImportError, ValueError) as error:
        return f"python3-gi with gir1.2-atspi-2.0 is not installed ({error})"
    return None


def wait_for(what, condition, limit=WAIT_LIMIT, alive=None):
    """Polls condition until it returns something true, which it returns; fails after limit seconds."""
    deadline = time.monotonic() + limit
    while True:
        result = condition()
        if result:
            return result
        if alive is not None:
            alive()
        if time.monotonic() > deadline:
            raise Failure(f"not within {limit:.0f}s: {what}")
        time.sleep(0.1)


def normal(text):
    return " ".join(text.split())


def visible(text):
    """A caption as drawn: "&x" shows x, "&&" shows "&"."""
    return re.sub(r"&(.)|&$", lambda m: m.group(1) or "", text)


class Session:
    """The processes of one desktop session, ended in reverse order."""

    def __init__(self, work):
        self.work = work
        self.processes = []
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "run")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = {
            key: value
            for key, value in os.environ.items()
            if key not in ("AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY")
        }
        self.env.update(
            HOME=home,
            XDG_RUNTIME_DIR=runtime,
            XDG_CONFIG_HOME=os.path.join(home, ".config"),
            XDG_DATA_HOME=os.path.join(home, ".local/share"),
            XDG_CACHE_HOME=os.path.join(home, ".cache"),
            LC_ALL="C.UTF-8",
        )

    def start(self, name, argv, **kwargs):
        output = open(os.path.join(self.work, f"{name}.log"), "w")
        process = subprocess.Popen(argv, env=kwargs.pop("env", self.env), stdout=output,
                                   stderr=subprocess.STDOUT, start_new_session=True, **kwargs)
        self.processes.append((name, process))
        return process

    def read_line_from(self, name, argv, what):
        """Starts a process that prints one line on a pipe it is given (display number, bus address)."""
        reader, writer = os.pipe()
        argv = [arg.replace("{fd}", str(writer)) for arg in argv]
        process = self.start(name, argv, pass_fds=(writer,))
        os.close(writer)
        line = b""
        deadline = time.monotonic() + START_LIMIT
        while not line.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if process.poll() is not None or remaining <= 0:
                raise Failure(f"{name} gave no {what}; see {name}.log")
            ready, _, _ = select.select([reader], [], [], remaining)
            if ready:
                chunk = os.read(reader, 256)
                if not chunk:
                    raise Failure(f"{name} gave no {what}; see {name}.log")
                line += chunk
        os.close(reader)
        return line.decode().strip()

    def check_alive(self):
        for name, process in self.processes:
            # The accessibility bus may have started a registry itself; a second one leaves quietly.
            status = process.poll()
            quiet_registry = name == "at-spi2-registryd" and status == 0
            if status is not None and name != "player" and not quiet_registry:
                raise Failure(f"{name} ended early with status {process.returncode}; see {name}.log")

    def stop(self):
        for name, process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()


class OrcaLog:
    """The utterances in Orca's debug file, in order."""

    PATTERN = re.compile(r"SPEECH OUTPUT: '(.*)'(?:\{.*\})?\s*$")

    def __init__(self, path):
        self.path = path

    def utterances(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                return [normal(m.group(1)) for m in map(self.PATTERN.search, f) if m]
        except FileNotFoundError:
            return []

    def mark(self):
        return len(self.utterances())

    def find(self, after, predicate):
        for i, said in enumerate(self.utterances()[after:], start=after):
            if predicate(said):
                return i + 1
        return None

    def tail(self, count=40):
        return self.utterances()[-count:]


class Tree:
    """The player's objects as the accessibility registry reports them."""

    def __init__(self):
        import gi

        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi

        self.Atspi = Atspi
        Atspi.init()

    def app(self):
        desktop = self.Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            child = desktop.get_child_at_index(i)
            if child is not None and child.get_name() == "przygoda":
                child.set_cache_mask(self.Atspi.Cache.NONE)
                return child
        return None

    def registry_up(self):
        try:
            self.Atspi.get_desktop(0).get_child_count()
            return True
        except Exception:  # the registry is not there yet
            return False

    def window(self, title):
        app = self.app()
        if app is None:
            return None
        for i in range(app.get_child_count()):
            child = app.get_child_at_index(i)
            if child is not None and child.get_name() == title and self.showing(child):
                return child
        return None

    def showing(self, obj):
        return obj.get_state_set().contains(self.Atspi.StateType.SHOWING)

    def objects(self, root):
        """Every descendant as a dict: role, name, states, label_for (names of the targets)."""
        result = []
        for i in range(root.get_child_count()):
            child = root.get_child_at_index(i)
            if child is None:
                continue
            states = child.get_state_set()
            label_for = []
            for relation in child.get_relation_set():
                if relation.get_relation_type() == self.Atspi.RelationType.LABEL_FOR:
                    label_for += [relation.get_target(k).get_name() for k in range(relation.get_n_targets())]
            text = None
            if child.get_role_name() == "text":
                text = self.Atspi.Text.get_text(child, 0, self.Atspi.Text.get_character_count(child))
            result.append(dict(role=child.get_role_name(), name=child.get_name(),
                               enabled=states.contains(self.Atspi.StateType.ENABLED),
                               sensitive=states.contains(self.Atspi.StateType.SENSITIVE),
                               showing=states.contains(self.Atspi.StateType.SHOWING),
                               label_for=label_for, text=text))
            result += self.objects(child)
        return result

    @staticmethod
    def describe(objects):
        return "\n".join(f"    {o['role']} '{o['name']}'" + ("" if o["enabled"] else " (disabled)") +
                         (f" label for {o['label_for']}" if o["label_for"] else "") for o in objects)


class Play:
    def __init__(self, player, writer, out):
        self.player_path = os.path.realpath(player)
        self.writer = os.path.realpath(writer)
        self.out = os.path.realpath(out)
        os.makedirs(self.out, exist_ok=True)
        self.work = tempfile.mkdtemp(prefix="przygoda-orca-")
        self.session = Session(self.work)
        self.orca_log = OrcaLog(os.path.join(self.out, "orca-debug.log"))
        if os.path.exists(self.orca_log.path):
            os.remove(self.orca_log.path)  # the last run's, which must not pass for this one's
        self.player = None
        self.shown = []  # (what, spoken) for every thing a sighted player sees
        self.slowest = 0.0

    # --- the session

    def start_session(self):
        s = self.session
        log("Xvfb")
        display = s.read_line_from("xvfb", ["Xvfb", "-displayfd", "{fd}", "-screen", "0", "1024x768x24",
                                            "-nolisten", "tcp", "-noreset"], "display number")
        s.env["DISPLAY"] = f":{display}"
        log("D-Bus session bus")
        s.env["DBUS_SESSION_BUS_ADDRESS"] = s.read_line_from(
            "dbus", ["dbus-daemon", "--session", "--nofork", "--print-address={fd}"], "bus address")
        os.environ.update(DISPLAY=s.env["DISPLAY"], DBUS_SESSION_BUS_ADDRESS=s.env["DBUS_SESSION_BUS_ADDRESS"])
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        log("accessibility bus and registry")
        s.start("at-spi-bus-launcher", [BUS_LAUNCHER, "--launch-immediately", "--a11y=1"])
        # Asked without activating it: a call to the bus itself would make D-Bus start a second launcher.
        wait_for("the accessibility bus", lambda: b"true" in subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
             "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"], env=s.env, capture_output=True,
            timeout=10).stdout, START_LIMIT, s.check_alive)
        s.start("at-spi2-registryd", [REGISTRY])
        self.tree = Tree()
        wait_for("the accessibility registry", self.tree.registry_up, START_LIMIT, s.check_alive)
        log("openbox")
        s.start("openbox", ["openbox", "--sm-disable", "--config-file", "/etc/xdg/openbox/rc.xml"])
        wait_for("openbox to manage the screen", lambda: b"window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=s.env, capture_output=True,
            timeout=10).stdout, START_LIMIT, s.check_alive)
        log("orca")
        # The laptop layout: with the desktop one the keypad is Orca's own review keys, and its digits never
        # reach the program (the toolkit does not pass the Num Lock state on to the screen reader).
        orca_dir = os.path.join(s.env["XDG_DATA_HOME"], "orca")
        os.makedirs(orca_dir, exist_ok=True)
        with open(os.path.join(orca_dir, "orca-customizations.py"), "w") as f:
            f.write("import orca.settings\n"
                    "orca.settings.keyboardLayout = orca.settings.GENERAL_KEYBOARD_LAYOUT_LAPTOP\n")
        s.start("orca", [sys.executable, "-c", ORCA_SHIM, "--debug-file", self.orca_log.path])
        wait_for("Orca to start speaking", lambda: self.orca_log.find(0, lambda t: "Screen reader on" in t),
                 START_LIMIT, s.check_alive)

    def start_player(self, folder):
        log(f"player: {self.player_path} in {folder}")
        env = dict(self.session.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy")
        self.player = self.session.start("player", [self.player_path], cwd=folder, env=env)

    def alive(self):
        self.session.check_alive()
        if self.player is not None and self.player.poll() is not None:
            raise Failure(f"the player ended with status {self.player.returncode}")

    # --- input

    def x(self, *argv):
        return subprocess.run(["xdotool", *argv], env=self.session.env, capture_output=True, text=True,
                              timeout=10)

    def active_title(self):
        result = self.x("getactivewindow", "getwindowname")
        return result.stdout.strip() if result.returncode == 0 else None

    def press(self, window, *keys):
        """Key presses for the window titled `window`, made the active one first."""

        def active():
            if self.active_title() == window:
                return True
            ids = self.x("search", "--onlyvisible", "--name", f"^{re.escape(window)}$").stdout.split()
            if ids:
                self.x("windowactivate", ids[0])
            return False

        wait_for(f"window '{window}' to be active", active, alive=self.alive)
        for key in keys:
            if self.x("key", "--clearmodifiers", key).returncode != 0:
                raise Failure(f"xdotool key {key}")

    def type_text(self, text):
        if self.x("type", "--delay", "30", text).returncode != 0:
            raise Failure(f"xdotool type {text}")

    # --- what Orca says

    def heard(self, what, after, predicate, shown=True):
        """Waits for an utterance after mark `after` that satisfies predicate; counts one thing shown."""
        started = time.monotonic()
        line = wait_for(f"Orca to say {what}", lambda: self.orca_log.find(after, predicate), alive=self.alive)
        self.slowest = max(self.slowest, time.monotonic() - started)
        if shown:
            self.shown.append((what, True))
        return line

    def heard_text(self, what, after, text, shown=True):
        expected = normal(text)
        return self.heard(f"{what}: '{expected}'", after, lambda said: expected in said, shown)

    def heard_step(self, steps, record, enabled, after):
        """The step's whole description, then every enabled choice with its number and text, and no other."""
        step = steps[record]
        description = normal(step["opis"])
        line = self.heard(f"step {record} described: '{description}'", after,
                          lambda said: said.startswith("notification") and description in said)
        said = self.orca_log.utterances()[line - 1]
        for k in range(1, 5):
            text = normal(visible(step["wybory"][k - 1]))
            choice = f"Wybór {k}: {text}" if text else f"Wybór {k}"
            if k in enabled:
                if choice not in said:
                    raise Failure(f"step {record}: choice {k} not spoken as '{choice}' in '{said}'")
                self.shown.append((f"step {record} choice {k}", True))
            elif f"Wybór {k}" in said:
                raise Failure(f"step {record}: disabled choice {k} spoken in '{said}'")
        return line

    # --- what the tree holds

    def check_tree(self, title, expectations, texts={}):
        """Each expectation (role, name, enabled or None, label_for or None) names one object of the window."""

        def mismatches():
            window = self.tree.window(title)
            if window is None:
                return [f"no showing window '{title}'"], []
            problems = []
            if window.get_role_name() != "frame":
                problems.append(f"window '{title}' has role {window.get_role_name()}, not frame")
            objects = self.tree.objects(window)
            for o in objects:
                # Unnamed fillers are the bevel and the text box's own parts; a named one is a label or
                # window that lost its role.
                if o["role"] == "filler" and o["name"]:
                    problems.append(f"an object of '{title}' named '{o['name']}' has role filler")
            for name, text in texts.items():
                boxes = [o for o in objects if o["name"] == name and o["text"] is not None]
                if not boxes or normal(boxes[0]["text"]) != normal(text):
                    problems.append(f"text box '{name}' holds {[b['text'] for b in boxes]}, not '{text}'")
            for role, name, enabled, label_for in expectations:
                matches = [o for o in objects if o["name"] == name and o["role"] == role]
                if not matches:
                    same_name = [o["role"] for o in objects if o["name"] == name]
                    problems.append(f"no {role} named '{name}'" +
                                    (f" (there is one of role {same_name})" if same_name else ""))
                    continue
                o = matches[0]
                if enabled is not None and (o["enabled"] and o["sensitive"]) != enabled:
                    problems.append(f"{role} '{name}' is {'disabled' if enabled else 'enabled'}")
                if label_for is not None and o["label_for"] != [label_for]:
                    problems.append(f"{role} '{name}' is the label for {o['label_for']}, not ['{label_for}']")
            return problems, objects

        deadline = time.monotonic() + WAIT_LIMIT
        while True:
            try:
                problems, objects = mismatches()
            except Exception as error:  # an object went away while it was read: read again
                problems, objects = [f"reading the tree: {error}"], []
            if not problems:
                return objects
            if time.monotonic() > deadline:
                raise Failure(f"accessible tree of '{title}':\n  " + "\n  ".join(problems) +
                              "\n  what it holds:\n" + Tree.describe(objects))
            self.alive()
            time.sleep(0.2)

    def holds_text(self, title, text):
        try:
            window = self.tree.window(title)
            return window is not None and any(o["text"] == text for o in self.tree.objects(window))
        except Exception:  # an object went away while it was read
            return False

    def labels_spoken(self, title, objects, after):
        """Every label of the window, by its accessible name, is in what Orca said since `after`."""
        for o in objects:
            if o["role"] == "label" and o["showing"] and o["name"].strip():
                self.heard_text(f"label of '{title}'", after, o["name"])

    # --- the playthrough

    def run(self):
        self.start_session()
        folder = os.path.join(self.work, "scenario")
        os.makedirs(folder)
        written = subprocess.run([self.writer, folder], capture_output=True, text=True, timeout=60)
        if written.returncode != 0:
            raise Failure(f"the scenario writer failed: {written.stderr}")
        steps = {}
        for line in written.stdout.splitlines():
            f = line.split("\t")
            steps[int(f[0])] = dict(typ=int(f[1]), opis=f[2], wybory=f[3:7], targets=[int(t) for t in f[7:11]])
        folder = os.path.realpath(folder)
        kro = os.path.join(folder, "Las.Kro")

        mark = self.orca_log.mark()
        self.start_player(folder)
        log("the menu")
        self.heard_text("the menu window", mark, "Menu frame")
        self.heard_text("the first focus", mark, "Start push button")
        menu = self.check_tree("Menu", [("push button", "Start", True, None),
                                        ("push button", "Koniec", True, None),
                                        ("push button", "Wybór scenariusza", True, None),
                                        ("push button", "Twórcy", True, None),
                                        ("label", "Witamy w grze  tekstowej", None, None)])
        self.labels_spoken("Menu", menu, mark)

        log("choosing the scenario from the keyboard")
        mark = self.orca_log.mark()
        self.press("Menu", "Tab", "Tab")
        self.heard_text("the focus on the scenario button", mark, "Wybór scenariusza push button", shown=False)
        self.press("Menu", "Return")
        # As a listener would: type once the dialog has been heard, confirm once the name is in its box.
        self.heard_text("the file dialog", mark, "File name", shown=False)
        self.press("Open", "ctrl+a")
        self.type_text("Las.Kro")
        wait_for("the file name typed into the dialog", lambda: self.holds_text("Open", "Las.Kro"),
                 alive=self.alive)
        mark = self.orca_log.mark()
        self.press("Open", "Return")
        self.heard_text("the chosen file", mark, f"Wybrany scenariusz: {kro}")
        self.check_tree("Menu", [("label", kro, None, None)])

        log("Start (Alt+S)")
        mark = self.orca_log.mark()
        self.press("Menu", "alt+s")
        self.heard_text("the game window", mark, "Gra frame")
        self.heard_text("the first focus", mark, "Wyjście push button")
        record = 1
        self.heard_step(steps, record, {1}, mark)

        def choose(k, enabled_after, key=None):
            nonlocal record
            target = steps[record]["targets"][k - 1]
            key = key or str(k)
            log(f"key {key} on step {record}, expecting step {target}")
            mark = self.orca_log.mark()
            self.press("Gra", key)
            typ = steps[target]["typ"]
            if typ == 2:
                self.heard_text("the end message", mark, "To juz koniec gry")
                self.press("przygoda", "Return")
            self.heard_step(steps, target, enabled_after, mark)
            record = target

        def ignored(k):
            log(f"key {k} on step {record}: its button is disabled")
            self.press("Gra", str(k))

        ignored(2)
        choose(1, {1, 2, 3, 4})
        log("the choice buttons by Tab")
        for k in range(1, 5):
            # One at a time: Orca speaks only the last of focus changes that come faster than it speaks.
            mark = self.orca_log.mark()
            self.press("Gra", "Tab")
            text = normal(visible(steps[record]["wybory"][k - 1]))
            self.heard_text(f"choice button {k}", mark, f"Wybór {k}: {text} push button", shown=False)
        choose(4, {1, 2, 3, 4})  # step type 1 again: the same step 1, spoken again
        choose(1, {1, 2, 3, 4})
        choose(3, {1, 2}, key="KP_3")
        step = steps[record]
        self.check_tree("Gra", [
            ("push button", "Wyjście", True, None),
            *[("push button", f"Wybór {k}: {visible(step['wybory'][k - 1])}", k <= 2, None) for k in range(1, 5)],
            *[("label", visible(step["wybory"][k - 1]), None, f"Wybór {k}: {visible(step['wybory'][k - 1])}")
              for k in range(1, 5)],
            ("text", "Opis", None, None),
            ("image", "Obrazek", None, None),
        ], texts={"Opis": step["opis"]})
        ignored(4)
        choose(2, {1, 2, 3})
        choose(1, {1})
        choose(1, set())

        log("Wyjście (Alt+W)")
        mark = self.orca_log.mark()
        self.press("Gra", "alt+w")
        self.heard_text("the menu window again", mark, "Menu frame", shown=False)
        menu = self.check_tree("Menu", [("label", kro, None, None)])
        self.labels_spoken("Menu", menu, mark)

        log("the credits from the keyboard")
        for _ in range(5):
            mark = self.orca_log.mark()
            self.press("Menu", "Tab")
            said = wait_for("Orca to speak the focus after Tab",
                            lambda: [t for t in self.orca_log.utterances()[mark:] if "push button" in t],
                            alive=self.alive)
            if any("Twórcy push button" in t for t in said):
                break
        else:
            raise Failure("Tab never reached the credits button")
        mark = self.orca_log.mark()
        self.press("Menu", "Return")
        self.heard_text("the credits' button", mark, "OK push button", shown=False)
        credits = self.check_tree("Lista tworcow", [("push button", "OK", True, None)])
        self.labels_spoken("Lista tworcow", credits, mark)
        self.press("Lista tworcow", "Return")
        log("Koniec (Alt+K)")
        self.press("Menu", "alt+k")
        wait_for("the player to end after Koniec", lambda: self.player.poll() is not None)
        if self.player.returncode != 0:
            raise Failure(f"the player exited with {self.player.returncode}")

        never = normal(steps[7]["opis"])
        if any(never in said for said in self.orca_log.utterances()):
            raise Failure("a number key followed a disabled choice: step 7 was spoken")
        spoken = sum(1 for _, s in self.shown if s)
        log(f"passed: {spoken} of {len(self.shown)} things shown were spoken; "
            f"slowest utterance {self.slowest:.1f}s after it was due")

    def report_failure(self, error):
        log(f"FAIL: {error}")
        print("--- the last things Orca said:")
        for said in self.orca_log.tail():
            print(f"  '{said}'")
        print(f"--- active window: {self.active_title()}")
        for name in ("player", "orca"):
            path = os.path.join(self.work, f"{name}.log")
            if os.path.exists(path):
                with open(path, errors="replace") as f:
                    lines = f.readlines()[-30:]
                if lines:
                    print(f"--- {name} output:")
                    print("".join(lines), end="")
        kept = os.path.join(self.out, "failed-session")
        shutil.rmtree(kept, ignore_errors=True)
        shutil.copytree(self.work, kept, ignore=shutil.ignore_patterns("home", "run", "scenario"),
                        dirs_exist_ok=True)
        if os.path.exists(self.orca_log.path):
            shutil.copy(self.orca_log.path, kept)
        print(f"--- the session's logs and Orca's debug log: {kept}")


def main():
    if len(sys.argv) != 4:
        print(f"usage: {sys.argv[0]} PLAYER SCENARIO_WRITER OUTPUT_DIR", file=sys.stderr)
        return 2
    reason = skip_reason()
    if reason:
        print(f"SKIP: {reason}")
        return SKIP
    play = Play(*sys.argv[1:])
    try:
        play.run()
        return 0
    except Failure as error:
        play.report_failure(error)
        return 1
    finally:
        play.session.stop()
        shutil.rmtree(play.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
