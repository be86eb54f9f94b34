#!/usr/bin/python3
"""The editor's preview against the player, and play from a middle step, with real input:
    preview_and_play.py EDITOR PLAYER WRITER OUTPUT_DIR

WRITER writes the scenario and its pictures byte for byte (write_preview_scenario). The player, a process of
its own, is played to step 2 with the number keys and its game area captured; the editor opens the same
scenario, step 2 is selected in its list, and the game area of its Podgląd view must be the same picture,
pixel for pixel (but for the Wyjście button, which the player's window has focused). Then F5 plays from
step 2 in the game window with real clicks to the ending, each step announced to a screen reader as in the
player, and leaving it must select the ending's step in the editor. A session of its own, as edit_story.py has; exits 77 when a tool it needs is missing.
"""

import os
import re
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from edit_story import EDITOR, EDITOR_TITLE, PLAYER, SKIP, START_LIMIT, EditStory, skip_reason  # noqa: E402
from play_with_orca import Failure, log  # noqa: E402

# Where the picture area lies in the game window, and the window's size.
PICTURE_AT = (288, 24)
GAME_SIZE = (439, 318)
# The game area compared: the whole window but for the corner of the Wyjście button (x >= 360, y >= 278).
AREAS = ((0, 0, GAME_SIZE[0], 278), (0, 0, 360, GAME_SIZE[1]))
STEP1 = "Stoisz przed bramą starego parku."
STEP2 = ("Aleja lip prowadzi ku stawowi. Liście szeleszczą, a na ławce ktoś zostawił rozłożoną gazetę i "
         "kapelusz. Za stawem, między drzewami, widać most nad rzeką.")
STEP3 = "Most kołysze się nad rzeką."
ENDING = "Drugi brzeg. Tu kończy się spacer."
EDITOR_TITLE_HERE = r"\*?Nowa historia – przygoda-edytor"


class PreviewAndPlay(EditStory):
    def __init__(self, editor, player, writer, out):
        super().__init__(editor, player, writer, out)
        self.writer = os.path.realpath(writer)

    def start_with(self, name, path, *args):
        log(f"{name}: {path} {' '.join(args)} in {self.story}")
        env = dict(self.session.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy")
        self.programs[name] = self.session.start(name, [path, *args], cwd=self.story, env=env)

    def named(self, app, title, name):
        """The showing objects of any role named `name` in the window whose title matches."""
        found = []

        def walk(obj):
            for child in map(obj.get_child_at_index, range(obj.get_child_count())):
                if child is None or not self.has(child, "SHOWING"):
                    continue
                if child.get_name() == name:
                    found.append(child)
                walk(child)

        window = self.window(app, title)
        if window is not None:
            walk(window)
        return found

    def game_origin(self, app, title):
        """The screen position of the game window's top left corner, from its picture area's."""
        picture = self.wait(f"the picture area in '{title}'", lambda: self.named(app, title, "Obrazek"))
        if len(picture) != 1:
            raise Failure(f"{len(picture)} picture areas in '{title}'")
        box = picture[0].get_extents(self.A.CoordType.SCREEN)
        if (box.width, box.height) != (128, 128):
            raise Failure(f"the picture area in '{title}' is {box.width} x {box.height}")
        return box.x - PICTURE_AT[0], box.y - PICTURE_AT[1]

    def capture(self, app, title, name):
        """The game area of the window titled `title`, once two captures in a row are the same: the files of
        its parts. Its place is read again for each capture: a dock that settles late may move it."""
        self.x("mousemove", "0", "0")
        last = [None]

        def settled():
            origin = self.game_origin(app, title)
            shot = os.path.join(self.work, f"{name}-root.png")
            if self.run("import", "-window", "root", shot).returncode != 0:
                return False
            parts = []
            for i, (x, y, w, h) in enumerate(AREAS):
                part = os.path.join(self.out, f"{name}-{i}.png")
                crop = f"{w}x{h}+{origin[0] + x}+{origin[1] + y}"
                # Without the dates ImageMagick writes into a PNG: two captures a second apart must be alike.
                if self.run("convert", shot, "-crop", crop, "+repage", "-define", "png:exclude-chunks=date,time",
                            part).returncode != 0:
                    return False
                parts.append(part)
            now = (origin, [open(p, "rb").read() for p in parts])
            same, last[0] = now == last[0], now
            return parts if same else False

        return self.wait(f"the game area of {name} to be painted", settled)

    def player_on_step_2(self):
        self.start_with("player", self.player)
        self.click(PLAYER, "Menu", "push button", "Wybór scenariusza")
        self.wait("the player's file dialog", lambda: self.find(PLAYER, "Open", "text", ".*", "FOCUSED"), START_LIMIT)
        self.type_text("Open", "Most.Kro")
        self.wait("Most.Kro typed", lambda: self.holds(PLAYER, "Open", "text", ".*", "Most.Kro", "FOCUSED"))
        self.press("Open", "Return")
        self.wait("the scenario chosen", lambda: self.find(PLAYER, "Menu", "label", ".*/Most\\.Kro"))
        self.press("Menu", "alt+s")
        self.wait("step 1 in the player", lambda: self.holds(PLAYER, "Gra", "text", "Opis", STEP1))
        log("the key 1: step 2")
        self.press("Gra", "1")
        self.wait("step 2 in the player", lambda: self.holds(PLAYER, "Gra", "text", "Opis", STEP2))
        parts = self.capture(PLAYER, "Gra", "player")
        self.press("Gra", "alt+w")
        self.wait("the menu again", lambda: self.window(PLAYER, "Menu"))
        self.press("Menu", "alt+k")
        self.ended("player")
        return parts

    def preview_of_step_2(self):
        self.start_with("editor", self.editor, "Most.Kro")
        self.click(EDITOR, EDITOR_TITLE_HERE, "list item", r"2: Aleja( \(.*\))?")
        self.wait("step 2 in the preview",
                  lambda: any(self.A.Text.get_text(o, 0, self.A.Text.get_character_count(o)) == STEP2
                              for o in self.named(EDITOR, EDITOR_TITLE_HERE, "Opis")
                              if o.get_description() == "Opis sytuacji"))
        return self.capture(EDITOR, EDITOR_TITLE_HERE, "preview")

    def compare(self, player, preview):
        for a, b in zip(player, preview):
            result = self.run("compare", "-metric", "AE", a, b, os.path.join(self.out, "difference.png"), text=True)
            differing = result.stderr.strip()
            if differing != "0":
                raise Failure(f"the preview differs from the player in {differing} pixels: {a} {b}")
        log("the preview's game area is the player's, pixel for pixel")

    def play_from_step_2(self):
        log("F5: play from step 2")
        self.press(EDITOR_TITLE_HERE, "F5")
        self.wait("step 2 in the game window", lambda: self.holds(EDITOR, "Gra", "text", "Opis", STEP2), START_LIMIT)
        self.buttons_open("Idź na most", "Wróć do bramy", closed="Usiądź na ławce")
        # Spoken as in the player: the step announced to the screen reader; the preview announces no step
        # (the editor's window announces only what its commands did, "Otwarto Most.Kro").
        self.wait("step 2 announced", lambda: self.find(EDITOR, "Gra", "notification", re.escape(STEP2[:40]) + ".*"))
        if self.find(EDITOR, EDITOR_TITLE_HERE, "notification", "(?!Otwarto ).*"):
            raise Failure("the preview announces its step")
        self.click(EDITOR, "Gra", "push button", "Wybór 1: Idź na most")
        self.wait("step 3 in the game window", lambda: self.holds(EDITOR, "Gra", "text", "Opis", STEP3))
        # Type 7 keeps the two buttons of type 4.
        self.buttons_open("Wróć", "Przejdź", closed="Skacz")
        self.click(EDITOR, "Gra", "push button", "Wybór 2: Przejdź")
        said = re.escape("To juz koniec gry")
        self.wait("the end of the game's box", lambda: self.find(EDITOR, "(?i)przygoda.*", "label", said))
        self.press("(?i)przygoda-edytor", "Return")
        self.wait("the box to close", lambda: not self.find(EDITOR, "(?i)przygoda-edytor", "label", said))
        self.wait("the ending in the game window", lambda: self.holds(EDITOR, "Gra", "text", "Opis", ENDING))
        self.click(EDITOR, "Gra", "push button", "Wyjście")
        self.wait("the game window to close", lambda: not self.window(EDITOR, "Gra"))
        self.wait("the ending's step selected in the editor",
                  lambda: self.find(EDITOR, EDITOR_TITLE_HERE, "list item", r"4: Brzeg( \(.*\))?", "SELECTED"))
        log("back in the editor on step 4")

    def buttons_open(self, *open_texts, closed):
        for k, text in enumerate(open_texts, start=1):
            name = re.escape(f"Wybór {k}: {text}")
            self.wait(f"button {k} open", lambda: self.find(EDITOR, "Gra", "push button", name, "SENSITIVE"))
        k = len(open_texts) + 1
        if self.find(EDITOR, "Gra", "push button", re.escape(f"Wybór {k}: {closed}"), "SENSITIVE"):
            raise Failure(f"button {k} is open")


def main():
    if len(sys.argv) != 5:
        print(f"usage: {sys.argv[0]} EDITOR PLAYER WRITER OUTPUT_DIR", file=sys.stderr)
        return 2
    reason = skip_reason()
    for tool in ("convert", "compare"):
        if reason is None and shutil.which(tool) is None:
            reason = f"{tool} is not installed"
    if reason:
        print(f"SKIP: {reason}")
        return SKIP
    test = PreviewAndPlay(*sys.argv[1:])
    try:
        test.start_session()
        if subprocess.run([test.writer, test.story]).returncode != 0:
            raise Failure("the scenario was not written")
        player = test.player_on_step_2()
        preview = test.preview_of_step_2()
        test.compare(player, preview)
        test.play_from_step_2()
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
