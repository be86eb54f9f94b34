#!/usr/bin/python3
"""Writes and fixes a story in the story editor from the keyboard alone, with the Orca screen reader
listening:
    edit_with_orca.py EDITOR OUTPUT_DIR

The session is the editor test's (Xvfb, D-Bus, the accessibility bus and registry, openbox, a Polish
keyboard layout) with Orca started as the player's Orca test starts it. Every input is an X key press. The
test checks what Orca said in its debug file (its "SPEECH OUTPUT:" lines): the fields by their labels, a
misspelt word when the cursor reaches it, the suggestion that fixes it from the context menu, and what each
command did. What Orca said is printed at the end. Exits 77 when a tool it needs is missing.
"""

import os
import re
import shutil
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from edit_story import EDITOR, EDITOR_TITLE, SAVE_TITLE, START_LIMIT, EditStory  # noqa: E402
from edit_story import skip_reason as editor_skip_reason  # noqa: E402
from play_with_orca import ORCA_SHIM, Failure, OrcaLog, log, normal  # noqa: E402
from play_with_orca import skip_reason as orca_skip_reason  # noqa: E402

SKIP = 77
NAME = "Polana"
TYPED = "Stoisz na polanie. Pod nogami widzisz chrzaszcza."
FIXED = "Stoisz na polanie. Pod nogami widzisz chrząszcza."


class EditWithOrca(EditStory):
    def __init__(self, editor, out):
        super().__init__(editor, editor, editor, out)
        self.orca_log = OrcaLog(os.path.join(self.out, "orca-debug.log"))
        if os.path.exists(self.orca_log.path):
            os.remove(self.orca_log.path)  # the last run's, which must not pass for this one's

    def start_session(self):
        super().start_session()
        s = self.session
        orca_dir = os.path.join(s.env["XDG_DATA_HOME"], "orca")
        os.makedirs(orca_dir, exist_ok=True)
        with open(os.path.join(orca_dir, "orca-customizations.py"), "w") as f:
            f.write("import orca.settings\n"
                    "orca.settings.keyboardLayout = orca.settings.GENERAL_KEYBOARD_LAYOUT_LAPTOP\n")
        log("orca")
        s.start("orca", [sys.executable, "-c", ORCA_SHIM, "--debug-file", self.orca_log.path])
        self.wait("Orca to start speaking", lambda: self.orca_log.find(0, lambda t: "Screen reader on" in t),
                  START_LIMIT)

    def heard(self, what, mark, pattern):
        """Waits until Orca, after `mark`, says something that matches; returns it."""
        regex = re.compile(pattern)
        at = self.wait(f"Orca to say {what} ({pattern})", lambda: self.orca_log.find(mark, regex.search))
        said = self.orca_log.utterances()[at - 1]
        log(f"Orca: '{said}'")
        return said

    def quiet(self, seconds=1.5):
        """Waits (bounded) until Orca has written nothing to its debug file for a while, that is, has worked
        through the events it was sent. Keys pressed while it still reads a new window reach the editor
        late (an Alt so delayed opens the menu bar), and an announcement sent amid a flood of events (each
        typed key changes the source view, the preview and the list too) is dropped with the flood."""

        def size():
            try:
                return os.path.getsize(self.orca_log.path)
            except OSError:
                return 0

        last, since = size(), time.monotonic()
        deadline = since + 60
        while time.monotonic() < deadline and time.monotonic() - since < seconds:
            time.sleep(0.2)
            now = size()
            if now != last:
                last, since = now, time.monotonic()

    def focus(self, key, label, pattern=None, role="text"):
        """The field by its label's Alt key, pressed again when the Alt alone left the focus in the menu
        bar; returns what Orca said of the field."""
        regex = re.compile(pattern or rf"\b{label}\b")
        name = label if role == "text" else ".*"
        for _ in range(4):
            self.quiet(3)
            mark = self.orca_log.mark()
            # Alt held across the letter, so that no Alt alone reaches the menu bar however late the
            # screen reader hands the keys on.
            modifier, letter = key.split("+")
            self.press(EDITOR_TITLE)
            self.x("keydown", modifier)
            self.x("key", "--delay", "200", letter)
            time.sleep(0.2)
            self.x("keyup", modifier)
            try:
                self.wait(f"the focus in {label}, and Orca saying it",
                          lambda: self.find(EDITOR, EDITOR_TITLE, role, name, "FOCUSED")
                          and self.orca_log.find(mark, regex.search), limit=15)
                said = self.orca_log.utterances()[self.orca_log.find(mark, regex.search) - 1]
                log(f"Orca: '{said}'")
                self.quiet()
                return said
            except Failure:
                log(f"{key} did not reach {label} (Orca: {self.orca_log.utterances()[mark:]}); Escape and again")
                self.x("key", "Escape")
        raise Failure(f"{key} never reached the field {label}")

    def run_story(self):
        self.start("editor", self.editor)
        mark = 0
        self.heard("the editor's window", mark, r"przygoda-edytor")

        log("Nazwa (Alt+N)")
        self.focus("alt+n", "Nazwa")
        self.type_text(EDITOR_TITLE, NAME)
        self.wait("Nazwa typed", lambda: self.holds(EDITOR, EDITOR_TITLE, "text", "Nazwa", NAME))

        log("Typ (Alt+T): 2, the ending")
        self.focus("alt+t", "Typ", r"\bTyp\b|\d .* combo box", role="combo box")
        self.x("type", "2")
        self.wait("type 2 chosen", lambda: self.find(EDITOR, EDITOR_TITLE, "combo box", "2 .*", "FOCUSED"))

        log("Opis (Alt+I), with a word misspelt")
        mark = self.orca_log.mark()
        self.focus("alt+i", "Opis")
        self.heard("the count of Opis in words", mark, r"^0 z 250 znaków")
        self.type_text(EDITOR_TITLE, TYPED)
        self.wait("Opis typed", lambda: self.holds(EDITOR, EDITOR_TITLE, "text", "Opis", TYPED))

        log("the cursor reaches the misspelt word")
        self.quiet(3)
        mark = self.orca_log.mark()
        self.press(EDITOR_TITLE, "Left")
        self.heard("the misspelt word", mark, r"„chrzaszcza” – nie ma w słowniku")

        log("the context menu (Menu key), its first suggestion, Return")
        self.quiet()
        mark = self.orca_log.mark()
        self.press(EDITOR_TITLE, "Menu")
        self.heard("the first suggestion", mark, r"chrząszcza")
        self.x("key", "Return")
        self.wait("the word fixed in Opis", lambda: self.holds(EDITOR, EDITOR_TITLE, "text", "Opis", FIXED))

        log("Krok > Dodaj krok (Ctrl+T), then Usuń krok (Ctrl+Delete)")
        self.quiet()
        mark = self.orca_log.mark()
        self.press(EDITOR_TITLE, "ctrl+t")
        self.heard("the step added", mark, r"Dodano krok 2")
        self.quiet()
        mark = self.orca_log.mark()
        self.press(EDITOR_TITLE, "ctrl+Delete")
        self.heard("the step deleted", mark, r"Usunięto krok 2")

        log("Ctrl+S")
        path = os.path.join(self.story, "las.txt")
        self.press(EDITOR_TITLE, "ctrl+s")
        self.wait("the save dialog's file name", lambda: self.find(EDITOR, SAVE_TITLE, "text", ".*", "FOCUSED"),
                  START_LIMIT)
        self.type_text(SAVE_TITLE, path)
        self.wait("the path typed", lambda: self.holds(EDITOR, SAVE_TITLE, "text", ".*", path, "FOCUSED"))
        self.quiet()
        mark = self.orca_log.mark()
        self.press(SAVE_TITLE, "Return")
        self.heard("the story saved", mark, r"Zapisano las\.txt")

        log("Ctrl+B")
        self.quiet()
        mark = self.orca_log.mark()
        self.press(EDITOR_TITLE, "ctrl+b")
        self.heard("the scenario built", mark, r"Zbudowano las\.Kro: \d+ błęd")
        self.press(EDITOR_TITLE, "ctrl+q")
        self.ended("editor")
        with open(path, encoding="utf-8") as f:
            source = f.read()
        if f"opis {FIXED}" not in source or NAME not in source:
            raise Failure(f"the saved story lacks what was typed and fixed:\n{source}")
        if not os.path.exists(os.path.join(self.story, "las.Kro")):
            raise Failure("las.Kro was not built")

    def print_speech(self):
        print("--- what Orca said:")
        for said in self.orca_log.utterances():
            print(f"  '{normal(said)}'")


def main():
    if len(sys.argv) != 3:
        print(f"usage: {sys.argv[0]} EDITOR OUTPUT_DIR", file=sys.stderr)
        return 2
    reason = editor_skip_reason() or orca_skip_reason()
    if reason:
        print(f"SKIP: {reason}")
        return SKIP
    test = EditWithOrca(*sys.argv[1:])
    try:
        test.start_session()
        test.run_story()
        test.print_speech()
        log("passed")
        return 0
    except Failure as error:
        test.print_speech()
        test.report_failure(error)
        return 1
    finally:
        test.session.stop()
        shutil.rmtree(test.work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
