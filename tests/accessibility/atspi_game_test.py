"""A whole game of amount 3 played as a screen reader's user plays it, through
a real accessibility client (AT-SPI, Debian's pyatspi).

The client listens to keys as screen readers do, and lets every key through.
It types the name and starts the game from the keyboard (Alt+F, G), learns
the flashes from the accessibility events alone, answers through the box
labels' press actions, reads the new line from the scores window's text,
closes that window with Escape and the game with Alt+F, X. It prints what it
heard, in order.

Usage: dbus-run-session -- /usr/bin/python3 atspi_game_test.py <tandrel program>
It starts its own Xvfb display and accessibility bus inside that session.
"""

import os
import re
import subprocess
import sys
import tempfile
import time

GAME_TITLE = "Corvanelle Tandrel"
NAME = "Kim"
ISOLATES = "\u2066\u2067\u2068\u2069"


class Failure(Exception):
    pass


def start_display():
    """A private Xvfb display; returns its process once it listens. It never
    resets, as it would each time its last client left."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
         "-noreset"],
        pass_fds=[write_end], stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as number:
        os.environ["DISPLAY"] = ":" + number.readline().strip()
    return server


def main(program):
    children = []
    try:
        with tempfile.TemporaryDirectory() as home:
            children.append(start_display())
            # Registers the accessibility bus on this session's D-Bus; pyatspi
            # and the game find it there.
            children.append(subprocess.Popen(
                ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
            data = os.path.join(home, "data")
            game = subprocess.Popen([program], env=dict(
                os.environ, XDG_DATA_HOME=data, XDG_RUNTIME_DIR=home, QT_QPA_PLATFORM="xcb",
                QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
            children.append(game)
            play(game, os.path.join(data, "corvanelle-tandrel", "trl.txt"))
    finally:
        for child in reversed(children):
            if child.poll() is None:
                child.terminate()
                child.wait()


def play(game, log_path):
    import pyatspi
    from gi.repository import GLib

    heard = []
    context = GLib.MainContext.default()

    def pump(condition, what, timeout=15, game_may_end=False):
        deadline = time.monotonic() + timeout
        while not condition():
            if not game_may_end and game.poll() is not None:
                raise Failure(f"the game ended ({game.returncode}) while waiting for {what}")
            if time.monotonic() > deadline:
                raise Failure(f"no {what} within {timeout} s; heard: {heard}")
            if not context.iteration(False):
                time.sleep(0.005)

    def keys(*arguments, game_may_end=False):
        """Real key presses; the client keeps answering the reader's key calls meanwhile."""
        typing = subprocess.Popen(["xdotool", *arguments])
        pump(lambda: typing.poll() is not None, "xdotool", game_may_end=game_may_end)
        if typing.returncode != 0:
            raise Failure(f"xdotool {arguments} failed")

    def on_event(event):
        source = event.source
        try:
            role, name = source.getRoleName(), source.name
        except GLib.GError:
            return  # gone before the event was read
        if event.type.startswith("object:state-changed:focused") and event.detail1:
            heard.append(("focus", role, name))
        elif event.type == "window:activate":
            heard.append(("window", role, name))
        elif event.type.startswith("object:state-changed:showing") and role == "notification":
            if event.detail1:
                heard.append(("notification", role, name))

    def let_through(_key):
        return False

    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == GAME_TITLE:
                return app
        return None

    def window(title):
        app = application()
        for frame in app or []:
            if frame.name == title and frame.getState().contains(pyatspi.STATE_SHOWING):
                return frame
        return None

    def find(root, role, name):
        found = pyatspi.findDescendant(
            root, lambda node: node.getRoleName() == role and node.name == name)
        if found is None:
            raise Failure(f"no {role} named {name!r}")
        return found

    pump(lambda: window(GAME_TITLE) is not None, "main window")
    main_window = window(GAME_TITLE)
    # Listeners go in once the game is on the bus (the registry may not have
    # been there for earlier ones). Name changes are listened to as well: they
    # keep the client's cache of names fresh, as Qt's events carry no new name.
    pyatspi.Registry.registerEventListener(
        on_event, "object:state-changed:showing", "object:state-changed:focused",
        "object:property-change:accessible-name", "window:activate")
    pyatspi.Registry.registerKeystrokeListener(
        let_through, mask=pyatspi.allModifiers(),
        kind=(pyatspi.KEY_PRESSED_EVENT, pyatspi.KEY_RELEASED_EVENT), synchronous=True,
        preemptive=True)

    # What a window manager does for a window that is shown or uncovered:
    # give it the keyboard.
    def give_keyboard_to_main_window():
        keys("search", "--name", f"^{GAME_TITLE}$", "windowfocus", "--sync")

    give_keyboard_to_main_window()
    pump(lambda: ("focus", "text", "Amount") in heard, "focus in the Amount field")
    keys("key", "Tab", "Tab")
    pump(lambda: ("focus", "text", "Name") in heard, "focus in the name field")
    keys("type", "--delay", "30", NAME)
    keys("key", "alt+f")
    keys("key", "g")

    flashes = []  # (number, box or None, colour or None)
    pattern = re.compile(r"Flash (\d+): (?:(BOX\d) (\w+)|no box)$")

    def playback_over():
        return any(kind == "notification" and name == "Playback over" for kind, _, name in heard)

    pump(playback_over, "end of the playback")
    for kind, _, name in heard:
        if kind != "notification" or name == "Playback over":
            continue
        match = pattern.match(name)
        if not match:
            raise Failure(f"unexpected announcement {name!r}")
        flashes.append((int(match.group(1)), match.group(2), match.group(3)))
    if [number for number, _, _ in flashes] != [1, 2, 3]:
        raise Failure(f"flashes heard: {flashes}")

    for number, box, colour in flashes:
        if box not in ("BOX1", "BOX2", "BOX3"):
            raise Failure(f"flash {number} lit {box}, which amount 3 never lights")
        label = find(main_window, "push button", box)
        if label.description != colour:
            raise Failure(f"{box} describes itself as {label.description!r}, not {colour!r}")
        actions = label.queryAction()
        press = [actions.getName(i) for i in range(actions.nActions)].index("Press")
        actions.doAction(press)

    pump(lambda: window("Tandrel Scores") is not None, "scores window")
    scores = window("Tandrel Scores")
    memo = pyatspi.findDescendant(scores, lambda node: node.getRoleName() == "text")
    text = memo.queryText().getText(0, -1)
    shown = re.split("[\n\u2028]", text)[-1].strip(ISOLATES)
    with open(log_path, encoding="utf-8") as log:
        written = log.read().splitlines()[-1]
    if shown != written or not shown.endswith(f"    {NAME}    3 out of 3"):
        raise Failure(f"scores window's last line {shown!r}, log's {written!r}")

    keys("key", "Escape")
    pump(lambda: window("Tandrel Scores") is None, "scores window to close")
    give_keyboard_to_main_window()
    keys("key", "alt+f")
    keys("key", "x", game_may_end=True)
    pump(lambda: game.poll() is not None, "the game to end", game_may_end=True)
    if game.returncode != 0:
        raise Failure(f"the game ended with status {game.returncode}")

    print("Heard, in order:")
    for kind, role, name in heard:
        print(f"  {kind:12} {role:12} {name}")
    print(f"Scores window's last line: {shown}")


if __name__ == "__main__":
    try:
        main(sys.argv[1])
    except Failure as failure:
        print(f"FAILED: {failure}")
        sys.exit(1)
