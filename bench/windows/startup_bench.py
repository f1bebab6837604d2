#!/usr/bin/env python3
"""Start-up of the game against a minimal Qt Widgets program, under Wine and
on Linux, and the resident memory of each.

    bench/windows/startup_bench.py [--runs N] [--on wine|linux|both]

Builds the game and bench/windows/minimal_window.cpp in Release with the same
Qt (for Windows: Qt for Windows from scripts/build-qt-windows.sh, which builds
it first when its cache is missing), lays the two programs out in one folder
with the DLLs the zip ships, and starts them in turn, alternating, on a private
Xvfb display without a window manager: under Wine in one throwaway prefix, and
natively. Each run is timed from the moment the program is started to the X
server's mapping of its main window, and the processor time the program used
until then is noted (busy neighbours stretch it much less than the time);
its resident memory is read a second later, and then the window is closed as
a window manager would close it. A first run of each program is not counted.
Prints every run, the medians and their ratios, and the machine's load, which
the times depend on: repeat on a quiet machine before trusting a small
difference.

Build trees go to build/bench-startup/ (TANDREL_BENCH_STARTUP_BUILD
overrides it)."""
import argparse
import ctypes
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path
from typing import NamedTuple

ROOT = Path(__file__).resolve().parents[2]
BENCH_SOURCE = ROOT / "bench" / "windows"
WINE = "/usr/lib/wine/wine64"  # Debian's 64-bit loader and server, not on PATH
WINESERVER = "/usr/lib/wine/wineserver64"
SETTLE_SECONDS = 1.0  # from the window's mapping to the memory reading
PROGRAMS = [("game", "tandrel", "Corvanelle Tandrel"),
            ("minimal", "minimal_window", "Minimal window")]
TARGETS = {"start-up": 1.10, "memory": 1.05}


def build_tree(name):
    base = os.environ.get("TANDREL_BENCH_STARTUP_BUILD", str(ROOT / "build" / "bench-startup"))
    return Path(base) / name


def call(command, **options):
    subprocess.run(command, check=True, **options)


def build(tree, targets, extra_options):
    """Configures and builds, through ccache, at low priority."""
    call(["nice", "-n", "5", "cmake", "-S", str(BENCH_SOURCE), "-B", str(tree), "-G", "Ninja",
         "-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_C_COMPILER_LAUNCHER=ccache",
         "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", *extra_options], stdout=subprocess.DEVNULL)
    call(["nice", "-n", "5", "cmake", "--build", str(tree), "--target", *targets, "-j2"],
        stdout=subprocess.DEVNULL)


# --- The X server, through Xlib --------------------------------------------

class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent),
                ("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


MAP_NOTIFY, CLIENT_MESSAGE = 19, 33
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
NO_EVENT_MASK = 0

xlib = ctypes.CDLL("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.POINTER(XEvent)]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
# A window may be gone by the time it is asked for its name; Xlib's own
# handler would end this program for that.
ignore_x_errors = X_ERROR_HANDLER(lambda display, error: 0)
xlib.XSetErrorHandler(ignore_x_errors)


class Screen:
    """Watches the top-level windows that the X server maps."""

    def __init__(self, display):
        self.display = xlib.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError(f"cannot open display {display}")
        self.root = xlib.XDefaultRootWindow(self.display)
        xlib.XSelectInput(self.display, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        xlib.XFlush(self.display)

    def close(self):
        xlib.XCloseDisplay(self.display)

    def name(self, window):
        name = ctypes.c_char_p()
        if not xlib.XFetchName(self.display, window, ctypes.byref(name)) or name.value is None:
            return None
        text = name.value.decode("latin-1")
        xlib.XFree(name)
        return text

    def forget_earlier_events(self):
        event = XEvent()
        while xlib.XPending(self.display):
            xlib.XNextEvent(self.display, ctypes.byref(event))

    def wait_for_mapping(self, title, timeout):
        """The monotonic time at which a window called `title` was mapped, and
        the window. A window may get its name only after its mapping, so every
        mapping is noted and the names asked until one matches."""
        mapped = []  # (time, window)
        deadline = time.monotonic() + timeout
        event = XEvent()
        while time.monotonic() < deadline:
            while xlib.XPending(self.display):
                xlib.XNextEvent(self.display, ctypes.byref(event))
                if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                    mapped.append((time.monotonic(), event.xmap.window))
            for at, window in mapped:
                if self.name(window) == title:
                    return at, window
            select.select([xlib.XConnectionNumber(self.display)], [], [], 0.01)
        raise RuntimeError(f"no window called {title!r} within {timeout} s")

    def ask_to_close(self, window):
        """Asks the window to close, as a window manager's close button does."""
        event = XEvent()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = xlib.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.data[0] = xlib.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)
        xlib.XSendEvent(self.display, window, 0, NO_EVENT_MASK, ctypes.byref(event))
        xlib.XFlush(self.display)


def start_xvfb():
    """A private Xvfb display; returns the server's process and the display."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "1024x768x24", "-nolisten", "tcp"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display_number:
        number = display_number.readline().strip()
    if not number:
        server.kill()
        raise RuntimeError("Xvfb did not start")
    return server, f":{number}"


# --- One run ---------------------------------------------------------------

def resident_kib(pid):
    fields = {}
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            key, _, value = line.partition(":")
            fields[key] = value.split()[0] if value.split() else ""
    return int(fields["VmRSS"]), int(fields["RssAnon"])


def cpu_ms(pid):
    """The processor time all the process's threads have used so far."""
    total_ns = 0
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            total_ns += int((task / "schedstat").read_text().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total_ns / 1e6


class Run(NamedTuple):
    startup_ms: float  # from starting the program to its window mapped
    resident_mib: float  # a settling time after that
    anonymous_mib: float  # the part of it not backed by files
    processor_ms: float  # used until the window was mapped, which load changes little


class Comparison(NamedTuple):
    runs: dict  # program's name: its runs
    load_before: tuple
    load_after: tuple


def run_once(screen, command, title, env, cwd):
    screen.forget_earlier_events()
    started = time.monotonic()
    program = subprocess.Popen(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        mapped, window = screen.wait_for_mapping(title, timeout=60)
        cpu = cpu_ms(program.pid)
        time.sleep(SETTLE_SECONDS)
        resident, anonymous = resident_kib(program.pid)
        screen.ask_to_close(window)
        program.wait(timeout=20)
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    return Run((mapped - started) * 1000, resident / 1024, anonymous / 1024, cpu)


def compare(screen, commands, rounds, env, cwd):
    """Alternating runs, each round in the other order than the one before."""
    runs = {name: [] for name in commands}
    names = list(commands)
    for name in names:  # warms the disk cache and the prefix
        run_once(screen, *commands[name], env, cwd)
    load_before = os.getloadavg()
    for round_number in range(rounds):
        for name in names if round_number % 2 == 0 else names[::-1]:
            run = run_once(screen, *commands[name], env, cwd)
            runs[name].append(run)
            print(f"  {name:8} {run.startup_ms:7.1f} ms {run.resident_mib:7.1f} MiB "
                  f"{run.processor_ms:6.1f} ms processor", flush=True)
    return Comparison(runs, load_before, os.getloadavg())


# --- Under Wine --------------------------------------------------------------

def qt_for_windows():
    output = subprocess.run([str(ROOT / "scripts" / "build-qt-windows.sh")], check=True,
                            stdout=subprocess.PIPE, text=True).stdout
    return Path(output.strip().splitlines()[-1])


def lay_out(tree, folder):
    """The zip's layout, from the game's install rules (the program, the DLLs it
    and Qt's plugins load, the plugins, stripped), with the minimal program,
    which loads the same DLLs, beside the game."""
    call(["cmake", "--install", str(tree), "--prefix", str(folder), "--strip"],
         stdout=subprocess.DEVNULL)


def wine_environment(prefix, display):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("QT_", "WINE")) and k != "WAYLAND_DISPLAY"}
    env.update(WINEPREFIX=str(prefix), WINEARCH="win64", WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=",  # no .NET or HTML engine installers
               LC_ALL="C.UTF-8",  # English (United States), code page 1252
               DISPLAY=display)
    return env


def measure_under_wine(runs, display, screen):
    qt = qt_for_windows()
    tree = build_tree("windows")
    build(tree, ["tandrel", "minimal_window", "desktop_keeper"],
          [f"-DCMAKE_TOOLCHAIN_FILE={qt}/lib/cmake/Qt6/qt.toolchain.cmake",
           f"-DQT_CHAINLOAD_TOOLCHAIN_FILE={ROOT}/cmake/mingw-w64-x86_64.cmake"])
    with tempfile.TemporaryDirectory(prefix="tandrel-startup-wine.") as scratch:
        prefix = Path(scratch) / "prefix"
        env = wine_environment(prefix, display)
        prefix.mkdir()
        # A server that lives through every run, as Windows' session does.
        call([WINESERVER, "-p"], env=env)
        try:
            call(["timeout", "300", WINE, "wineboot", "--init"], env=env,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # Windows' fonts ("MS Sans Serif" among them) in the Windows
            # directory, where every Windows machine has them.
            for font in Path("/usr/share/wine/fonts").iterdir():
                shutil.copy(font, prefix / "drive_c" / "windows" / "Fonts")
            folder = prefix / "drive_c" / "Bench"
            lay_out(tree, folder)
            # Without it, Wine closes the desktop whenever the last program
            # on it ends, and the next one waits for a new one.
            subprocess.Popen([WINE, str(tree / "desktop_keeper.exe")], env=env,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
            commands = {name: ([WINE, f"C:\\Bench\\{exe}.exe"], title)
                        for name, exe, title in PROGRAMS}
            return compare(screen, commands, runs, env, folder)
        finally:
            subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL)
            subprocess.run([WINESERVER, "-w"], env=env, stderr=subprocess.DEVNULL)


# --- On Linux ------------------------------------------------------------------

def measure_on_linux(runs, display, screen):
    tree = build_tree("linux")
    build(tree, ["tandrel", "minimal_window"], [])
    programs = {"tandrel": tree / "game" / "app" / "tandrel",
                "minimal_window": tree / "minimal_window"}
    with tempfile.TemporaryDirectory(prefix="tandrel-startup-linux.") as data_home:
        env = {k: v for k, v in os.environ.items()
               if not k.startswith("QT_") and k != "WAYLAND_DISPLAY"}
        env.update(DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_DATA_HOME=data_home)
        commands = {name: ([str(programs[exe])], title) for name, exe, title in PROGRAMS}
        return compare(screen, commands, runs, env, data_home)


# --- Report ----------------------------------------------------------------------

def report(platform, comparison):
    game, minimal = comparison.runs["game"], comparison.runs["minimal"]
    rows = [("start-up to mapped (ms)", "startup_ms", "start-up"),
            ("resident memory (MiB)", "resident_mib", "memory"),
            ("  of which anonymous (MiB)", "anonymous_mib", None),
            ("processor time to mapped (ms)", "processor_ms", None)]
    for label, field, target in rows:
        game_median = statistics.median(getattr(run, field) for run in game)
        minimal_median = statistics.median(getattr(run, field) for run in minimal)
        ratio = game_median / minimal_median
        verdict = ""
        if target is not None:
            verdict = f"{'within' if ratio <= TARGETS[target] else 'OVER'} {TARGETS[target]:.2f}"
        print(f"{platform:6} {label:30} {game_median:9.1f} {minimal_median:9.1f} "
              f"{ratio:7.3f}  {verdict}")


def load_text(load):
    return ", ".join(f"{average:.2f}" for average in load)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=9, help="counted runs of each program")
    parser.add_argument("--on", choices=["wine", "linux", "both"], default="both")
    arguments = parser.parse_args()
    platforms = ["wine", "linux"] if arguments.on == "both" else [arguments.on]

    server, display = start_xvfb()
    screen = Screen(display)
    results = {}
    try:
        for platform in platforms:
            measure = measure_under_wine if platform == "wine" else measure_on_linux
            results[platform] = measure(arguments.runs, display, screen)
    finally:
        screen.close()
        server.kill()
        server.wait()

    print(f"Start-up to the main window mapped, and resident memory {SETTLE_SECONDS:g} s later: "
          f"medians of {arguments.runs} alternating runs of each")
    for platform in platforms:
        print(f"Load average (1, 5, 15 min) during the {platform} runs: from "
              f"{load_text(results[platform].load_before)} to "
              f"{load_text(results[platform].load_after)}; {os.cpu_count()} cores")
    print(f"{'':6} {'':30} {'game':>9} {'minimal':>9} {'ratio':>7}  target")
    for platform in platforms:
        report(platform, results[platform])
    return 0


if __name__ == "__main__":
    sys.exit(main())
