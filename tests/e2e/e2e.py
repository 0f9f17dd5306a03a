#!/usr/bin/python3
"""End-to-end runs of the product: uninstall.exe, started in the sandbox from a sample Corvane
installation, used only as a person uses it. The mouse and keys come from xdotool on the
session's Xvfb display, the screen is read with ImageMagick's `import`, and the effects are
read from the sandbox: the uninstall entry, the files and shortcuts in the prefix, the product's
processes, the programs the uninstaller starts and its exit code (tests/e2e's
uninstaller_watch.exe looks on from beside it).

    e2e.py SCENARIO [--pictures DIR]    run one scenario of SCENARIOS (or "list")

Runs inside a sandbox session (`tools/wine-sandbox session -- ...`, as `make test-windows`
opens one). Screenshots land in build/windows/tests/e2e/runs/SCENARIO/; with --pictures the
ones the README shows are also written there, cropped to the window.
"""
import argparse
import os
import pwd
import shutil
import signal
import struct
import subprocess
import sys
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("SANDBOX_BUILD_DIR", os.path.join(ROOT, "build", "windows"))
SANDBOX = os.path.join(ROOT, "tools", "wine-sandbox")
SAMPLE = os.path.join(ROOT, "tools", "sample-installation")
WATCH = os.path.join(BUILD, "tests", "e2e", "uninstaller_watch.exe")
HELPER = os.path.join(BUILD, "tools", "sample-helper", "sample_helper.exe")
UNINSTALLER = os.path.join(BUILD, "app", "uninstaller.exe")

INSTALL = "C:\\Program Files\\Corvane"
LAUNCHER = INSTALL + "\\uninstall.exe"
ELSEWHERE = "C:\\CorvaneElsewhere"
HELD = INSTALL + "\\platform-tools\\adb.log"  # another program keeps it open
UNINSTALL_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
DISPLAY_SIZE = (1600, 1000)
ROOT_GREY = int(os.environ.get("SANDBOX_ROOT_GREY", "d8d8d8")[:2], 16)

# The window as its layout gives it, in design units of the 732 x 432 window (shadow margin
# 16 on each side); the dialogs' rectangles are theirs.
MAIN_SIZE = (732, 432)
MARGIN = 16
ACTION = (243, 332, 443, 376)  # uninstall button, later the exit button
CLOSE = (680, 28, 704, 52)
MINIMIZE = (648, 28, 672, 52)
QUESTION_SIZE = (390, 160)
CONFIRM = (202, 114, 280, 154)
CANCEL = (292, 114, 370, 154)
PROGRESS_SIZE = (390, 136)
TRACK = (30, 92, 360, 97)

# Colours (red, green, blue).
BUTTON = (0x00, 0xD7, 0x66)
BUTTON_HOVER = (0x19, 0xCC, 0x6E)
BUTTON_PUSHED = (0x00, 0xB2, 0x55)
DIALOG_PAGE = (47, 49, 49)
PROGRESS_GREEN = (20, 171, 78)
TRACK_GREY = (216, 216, 216)

VK_RETURN, VK_ESCAPE, VK_F4 = 0x0D, 0x1B, 0x73


class Failed(Exception):
    pass


class Run:
    """One scenario's run: its checks, its screenshots and what it must stop."""

    def __init__(self, name, out, pictures):
        self.name = name
        self.out = out
        self.pictures = pictures
        self.failures = []
        self.cleanups = []

    def check(self, ok, what):
        print(("  ok    " if ok else "  FAIL  ") + what, flush=True)
        if not ok:
            self.failures.append(what)
        return ok

    def require(self, ok, what):
        if not self.check(ok, what):
            raise Failed(what)


# --- the sandbox ---------------------------------------------------------------------------

def sandbox(*args, timeout=60, check=True):
    env = dict(os.environ, SANDBOX_LANG="zh_CN.UTF-8", SANDBOX_TIMEOUT=str(timeout))
    result = subprocess.run([SANDBOX, *args], env=env, capture_output=True, timeout=timeout + 30)
    if check and result.returncode != 0:
        raise Failed("%s failed (%d): %s" % (" ".join(args), result.returncode,
                                              result.stderr.decode(errors="replace")[-500:]))
    return result


def windows_path(linux_path):
    return sandbox("path", linux_path).stdout.decode().strip()


def prefix():
    return subprocess.run([SANDBOX, "prefix"], capture_output=True, text=True).stdout.strip()


def prefix_path(windows):
    """The Linux path of a path on the sandbox's C: drive."""
    assert windows[:3].upper() == "C:\\"
    return os.path.join(prefix(), "drive_c", *[p for p in windows[3:].split("\\") if p])


def user_name():
    return os.environ.get("USER") or pwd.getpwuid(os.getuid()).pw_name


def sample(*args):
    env = dict(os.environ)
    result = subprocess.run([SAMPLE, *args], env=env, capture_output=True, timeout=120)
    if result.returncode != 0:
        raise Failed("sample-installation %s: %s" % (" ".join(args),
                                                     result.stdout.decode(errors="replace")))
    return result.stdout.decode("utf-8", errors="replace")


def installation():
    """What is left of the sample installation: key=value lines of sample-installation."""
    state = {"process": []}
    for line in sample("show", "--keys").splitlines():
        key, _, value = line.partition("=")
        if key == "process":
            state["process"].append(value.split(" ", 1)[1])
        else:
            state[key] = value
    return state


def uninstall_entries():
    tail = UNINSTALL_KEY.split("\\", 1)[1].upper() + "\\"  # reg names the hive in full
    for attempt in range(3):
        result = sandbox("exec", "reg", "query", UNINSTALL_KEY, check=False)
        names = set()
        for line in result.stdout.decode("utf-8", errors="replace").splitlines():
            at = line.strip().upper().find(tail)
            if line.strip().startswith("HKEY_") and at >= 0:
                names.add(line.strip()[at + len(tail):])
        # The key always holds Wine's own entries: an empty answer is reg failing to start
        # (or giving no answer), never an empty key.
        if result.returncode == 0 and names:
            return names
        time.sleep(0.5)
    return names


def tree(top):
    """Every file and folder below the prefix's C: drive with its size; the temp folders,
    where Wine and the launcher write, do not count."""
    skip = {os.path.join(top, "users", user_name(), "Temp"), os.path.join(top, "windows", "temp"),
            os.path.join(top, "users", user_name(), "AppData", "Local", "Temp")}
    found = {}
    for folder, dirs, files in os.walk(top):
        dirs[:] = [d for d in dirs if os.path.join(folder, d) not in skip]
        for name in dirs:
            found[os.path.relpath(os.path.join(folder, name), top)] = "dir"
        for name in files:
            path = os.path.join(folder, name)
            try:
                found[os.path.relpath(path, top)] = os.lstat(path).st_size
            except OSError:
                pass
    return found


# --- the screen ----------------------------------------------------------------------------

class Shot:
    """A screenshot of the whole display (import -window root), RGB."""

    def __init__(self):
        data = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, timeout=30, check=True).stdout
        # P6 header: magic, width, height, maximum, then one whitespace byte.
        fields, at = [], 0
        while len(fields) < 4:
            while data[at:at + 1].isspace():
                at += 1
            start = at
            while not data[at:at + 1].isspace():
                at += 1
            fields.append(data[start:at])
        self.width, self.height = int(fields[1]), int(fields[2])
        if fields[0] != b"P6" or fields[3] != b"255":
            raise Failed("import gave no 8-bit picture")
        self.pixels = data[at + 1:at + 1 + self.width * self.height * 3]

    def pixel(self, x, y):
        at = (int(y) * self.width + int(x)) * 3
        return tuple(self.pixels[at:at + 3])

    def count(self, rect, wanted):
        left, top, right, bottom = (int(v) for v in rect)
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if wanted(self.pixel(x, y)))

    def save(self, path, crop=None):
        left, top, right, bottom = crop or (0, 0, self.width, self.height)
        left, top = max(0, int(left)), max(0, int(top))
        right, bottom = min(self.width, int(right)), min(self.height, int(bottom))
        rows = b"".join(b"\0" + self.pixels[(y * self.width + left) * 3:(y * self.width + right) * 3]
                        for y in range(top, bottom))

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", right - left, bottom - top, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
            f.write(chunk(b"IEND", b""))


def near(colour, wanted, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, wanted))


def whitish(colour):
    return min(colour) >= 150 and max(colour) - min(colour) <= 40


def greenish(colour):
    return colour[1] >= 120 and colour[1] - colour[0] >= 60 and colour[1] - colour[2] >= 40


# --- input ---------------------------------------------------------------------------------

def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], timeout=20, check=True)


def move(x, y):
    xdotool("mousemove", int(x), int(y))
    time.sleep(0.15)


def click(x, y):
    xdotool("mousemove", int(x), int(y), "sleep", "0.1", "mousedown", "1", "sleep", "0.08",
            "mouseup", "1")
    time.sleep(0.1)


def drag(x, y, dx, dy):
    xdotool("mousemove", int(x), int(y), "sleep", "0.1", "mousedown", "1", "sleep", "0.1")
    for step in range(1, 6):
        xdotool("mousemove", int(x + dx * step / 5), int(y + dy * step / 5), "sleep", "0.05")
    xdotool("sleep", "0.1", "mouseup", "1")
    time.sleep(0.3)


def key(*names):
    for name in names:
        xdotool("key", name)
        time.sleep(0.15)


# --- the uninstaller, watched --------------------------------------------------------------

class Window:
    def __init__(self, fields):
        self.handle, self.owner = int(fields[0]), int(fields[1])
        self.x, self.y, self.width, self.height = (int(v) for v in fields[2:6])
        self.first_seen = int(fields[6])

    def at(self, x, y, scale):
        """Screen point of a point given in the window's design units."""
        return self.x + round(x * scale), self.y + round(y * scale)

    def rect(self, rect, scale):
        return tuple(self.x * (i % 2 == 0) + self.y * (i % 2 == 1) + round(v * scale)
                     for i, v in enumerate(rect))


class State:
    def __init__(self, text):
        self.pid, self.uninstallers, self.seen_at = 0, 0, 0
        self.windows, self.children, self.keys = [], [], []
        self.exit, self.stopped, self.done = None, False, False
        self.peak_working_set = self.peak_pagefile = 0
        for line in text.splitlines():
            fields = line.split(" ")
            kind, rest = fields[0], fields[1:]
            if kind == "pid":
                self.pid = int(rest[0])
            elif kind == "uninstallers":
                self.uninstallers = int(rest[0])
            elif kind == "seen_at":
                self.seen_at = int(rest[0])
            elif kind == "window":
                self.windows.append(Window(rest))
            elif kind == "child":
                self.children.append(" ".join(rest).lower())
            elif kind == "key":
                self.keys.append((int(rest[0]), rest[1] == "1"))
            elif kind == "peak_working_set":
                self.peak_working_set = int(rest[0])
            elif kind == "peak_pagefile":
                self.peak_pagefile = int(rest[0])
            elif kind == "exit":
                self.exit = int(rest[0]) - (1 << 32) if int(rest[0]) >= 1 << 31 else int(rest[0])
            elif kind == "stopped":
                self.stopped = True
            elif kind == "done":
                self.done = True

    def sized(self, size):
        return [w for w in self.windows if abs(w.width - size[0]) <= 2 and abs(w.height - size[1]) <= 2]


class Watch:
    """uninstaller_watch.exe, started before the launcher and stopped at the end."""

    def __init__(self, run, seconds=150, image="uninstaller.exe"):
        self.folder = os.path.join(run.out, "watch")
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        env = dict(os.environ, SANDBOX_LANG="zh_CN.UTF-8", SANDBOX_TIMEOUT=str(seconds + 30))
        self.process = subprocess.Popen([SANDBOX, "run", WATCH, self.folder, str(seconds), image], env=env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        run.cleanups.append(self.stop)
        # Ready once it has written its first state.
        self.wait(lambda s: True, 30, "the watch is running")

    def state(self):
        try:
            with open(os.path.join(self.folder, "state.txt"), encoding="utf-8") as f:
                return State(f.read())
        except OSError:
            return None

    def wait(self, condition, seconds, what):
        deadline = time.monotonic() + seconds
        while True:
            state = self.state()
            if state is not None and condition(state):
                return state
            if time.monotonic() >= deadline:
                raise Failed("timed out after %d s waiting until %s" % (seconds, what))
            time.sleep(0.03)

    def stop(self):
        stop_by_file(self.process, os.path.join(self.folder, "stop"))


def stop_by_file(process, stop_file):
    """Ends a helper program of ours that looks out for its stop file; killed if it does not
    end within 20 s."""
    if process.poll() is None:
        open(stop_file, "w").close()
        try:
            process.wait(20)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait(10)


def start_launcher(run):
    started = time.time()
    result = sandbox("exec", LAUNCHER, timeout=60, check=False)
    run.check(result.returncode == 0, "uninstall.exe ends at once with exit code 0 (it gave %d)"
              % result.returncode)
    return started


# --- stages of a run -----------------------------------------------------------------------

class Context:
    def __init__(self, run, watch, scale):
        self.run, self.watch, self.scale = run, watch, scale
        self.main = None
        self.progress_closed_at = None

    def s(self, value):
        return round(value * self.scale)

    def shot(self, stage, window=None, picture=None):
        shot = Shot()
        shot.save(os.path.join(self.run.out, stage + ".png"))
        if picture and self.run.pictures and window:
            pad = self.s(24)
            shot.save(os.path.join(self.run.pictures, picture),
                      (window.x - pad, window.y - pad, window.x + window.width + pad,
                       window.y + window.height + pad))
        return shot


def centred(window, size):
    return (abs(window.x - (DISPLAY_SIZE[0] - size[0]) // 2) <= 2 and
            abs(window.y - (DISPLAY_SIZE[1] - size[1]) // 2) <= 2)


def action_label_columns(shot, main, ctx, left, right):
    """White label pixels of the action button between two x positions (button units)."""
    x0, y0 = main.at(ACTION[0] + left, ACTION[1] + 10, ctx.scale)
    x1, y1 = main.at(ACTION[0] + right, ACTION[3] - 10, ctx.scale)
    return shot.count((x0, y0, x1, y1), whitish)


def check_main_window(ctx, stage, finished=False, picture=None):
    """The main window at rest: place, size, page, shadow margin, the action button."""
    run, scale = ctx.run, ctx.scale
    state = ctx.watch.wait(lambda s: s.sized((ctx.s(MAIN_SIZE[0]), ctx.s(MAIN_SIZE[1]))), 60,
                           "the main window shows")
    main = state.sized((ctx.s(MAIN_SIZE[0]), ctx.s(MAIN_SIZE[1])))[0]
    ctx.main = main
    # The pointer away from every button; the look it leaves behind may take a moment to go
    # (Wine notices a pointer that has left a window on a timer).
    move(20, 20)
    body_at = main.at(ACTION[0] + 24, ACTION[1] + 22, scale)
    deadline = time.monotonic() + 3
    while not near(Shot().pixel(*body_at), BUTTON) and time.monotonic() < deadline:
        time.sleep(0.1)
    if finished:
        wait_for_exit_label(ctx, main)
    shot = ctx.shot(stage, main, picture)
    run.check(True, "%s: main window %d x %d at %d, %d" % (stage, main.width, main.height, main.x, main.y))
    # The page: the background's dark surface, away from its glow and pictures.
    page = shot.pixel(*main.at(MARGIN + 650, MARGIN + 300, scale))
    run.check(near(page, (44, 47, 47), 6), "%s: the page is dark grey at (650, 300) %s" % (stage, page))
    # The shadow margin: darker than the display's grey below the card, strongest at the
    # bottom, and the grey itself well outside the window.
    below = shot.pixel(*main.at(366, MAIN_SIZE[1] - 8, scale))
    above = shot.pixel(*main.at(366, 8, scale))
    outside = shot.pixel(main.x - ctx.s(40), main.y + ctx.s(200))
    run.check(near(outside, (ROOT_GREY,) * 3, 2), "%s: the display's grey outside the window %s"
              % (stage, outside))
    run.check(60 < below[0] < ROOT_GREY - 8 and below[0] < above[0] <= ROOT_GREY,
              "%s: shadow in the margin, stronger below %s than above %s" % (stage, below, above))
    corner = shot.pixel(main.x + 1, main.y + 1)
    run.check(corner[0] > 150, "%s: the margin's corner shows the display through it %s"
              % (stage, corner))
    # The action button: green, with the label of its state.
    body = shot.pixel(*main.at(ACTION[0] + 24, ACTION[1] + 22, scale))
    run.check(near(body, BUTTON), "%s: action button green %s" % (stage, body))
    wide = action_label_columns(shot, main, ctx, 64, 78)   # only "立即卸载" reaches here
    middle = action_label_columns(shot, main, ctx, 84, 116)
    if finished:
        run.check(middle > 20 and wide == 0, "%s: the button reads 退出 (label pixels %d, %d)"
                  % (stage, middle, wide))
    else:
        run.check(middle > 20 and wide > 10, "%s: the button reads 立即卸载 (label pixels %d, %d)"
                  % (stage, middle, wide))
    # The button lands where the layout puts it: green just inside each edge, not just outside.
    inside = [main.at(ACTION[0] + 3, 354, scale), main.at(ACTION[2] - 3, 354, scale),
              main.at(343, ACTION[1] + 3, scale), main.at(343, ACTION[3] - 3, scale)]
    outside = [main.at(ACTION[0] - 3, 354, scale), main.at(ACTION[2] + 3, 354, scale),
               main.at(343, ACTION[1] - 3, scale), main.at(343, ACTION[3] + 3, scale)]
    run.check(all(near(shot.pixel(*p), BUTTON, 30) for p in inside) and
              not any(greenish(shot.pixel(*p)) for p in outside),
              "%s: the button's edges lie at %s scaled by %.1f" % (stage, ACTION, scale))
    # Close and minimise glyphs.
    for name, rect in (("close", CLOSE), ("minimise", MINIMIZE)):
        ink = shot.count(main.rect(rect, scale), lambda c: c[0] > 120)
        run.check(ink > 5, "%s: the %s button is drawn (%d light pixels)" % (stage, name, ink))
    return main, shot


def wait_for_exit_label(ctx, main):
    """The finished state shows once the folder-removal command has ended (or after at most ten
    seconds more): how long after the progress dialog closed, and how many screenshots it took
    to see it (the first one, when the command had ended before)."""
    deadline = time.monotonic() + 15
    looks = 0
    while time.monotonic() < deadline:
        shot = Shot()
        looks += 1
        if (action_label_columns(shot, main, ctx, 64, 78) == 0 and
                action_label_columns(shot, main, ctx, 84, 116) > 20):
            break
        time.sleep(0.05)
    if ctx.progress_closed_at is not None:
        print("  time  退出 shows %d ms after the progress dialog closed (screenshot %d)"
              % ((time.monotonic() - ctx.progress_closed_at) * 1000, looks), flush=True)


def check_button_looks(ctx):
    """Hover and press on the uninstall button change its colour; moving away and releasing
    outside ends nothing."""
    run, main, scale = ctx.run, ctx.main, ctx.scale
    point = main.at(ACTION[0] + 24, ACTION[1] + 22, scale)
    move(*main.at(ACTION[0] + 100, ACTION[1] + 30, scale))
    move(*point)
    time.sleep(0.3)
    hover = Shot().pixel(*point)
    run.check(near(hover, BUTTON_HOVER, 6), "hover: the uninstall button turns %s" % (hover,))
    xdotool("mousedown", "1")
    time.sleep(0.4)
    pushed = Shot().pixel(*point)
    move(*main.at(ACTION[0] - 80, ACTION[1] - 80, scale))
    xdotool("mouseup", "1")
    time.sleep(0.4)
    run.check(near(pushed, BUTTON_PUSHED, 6), "press: the uninstall button turns %s" % (pushed,))
    after = Shot().pixel(*point)
    run.check(near(after, BUTTON), "released outside: the button is plain green again %s" % (after,))


def wait_for_dialog(ctx, size, what):
    size = (ctx.s(size[0]), ctx.s(size[1]))
    state = ctx.watch.wait(lambda s: s.sized(size) or s.exit is not None, 60, what + " shows")
    ctx.run.require(bool(state.sized(size)), "%s shows, %d x %d" % (what, size[0], size[1]))
    return state.sized(size)[0]


def check_dialog_page(ctx, stage, dialog, size, shot):
    run, main = ctx.run, ctx.main
    want_x = main.x + (main.width - dialog.width) // 2
    want_y = main.y + (main.height - dialog.height) // 2
    run.check(abs(dialog.x - want_x) <= 2 and abs(dialog.y - want_y) <= 2,
              "%s: %d x %d, centred over the main window" % (stage, dialog.width, dialog.height))
    page = shot.pixel(*dialog.at(size[0] - 12, 16, ctx.scale))
    run.check(near(page, DIALOG_PAGE, 4), "%s: page colour %s" % (stage, page))
    title = shot.count(dialog.rect((30, 30, 200, 54), ctx.scale), whitish)
    run.check(title > 30, "%s: the title is written (%d white pixels)" % (stage, title))


def answer_question(ctx, confirm, picture=None):
    run = ctx.run
    dialog = wait_for_dialog(ctx, QUESTION_SIZE, "the question")
    move(*dialog.at(20, 20, ctx.scale))
    time.sleep(0.5)
    shot = ctx.shot("question", ctx.main, picture)
    check_dialog_page(ctx, "question", dialog, QUESTION_SIZE, shot)
    message = shot.count(dialog.rect((30, 70, 358, 100), ctx.scale), lambda c: c[0] > 110)
    run.check(message > 30, "question: the message is written (%d light pixels)" % message)
    for name, rect in (("强制卸载", CONFIRM), ("取  消", CANCEL)):
        ink = shot.count(dialog.rect(rect, ctx.scale), greenish)
        run.check(ink > 15, "question: the %s button's green caption (%d pixels)" % (name, ink))
    # Each caption lies inside its button: none of it in the gap between them or beside them.
    for name, rect in (("between the buttons", (CONFIRM[2], CONFIRM[1], CANCEL[0], CONFIRM[3])),
                       ("left of the buttons", (CONFIRM[0] - 40, CONFIRM[1], CONFIRM[0], CONFIRM[3]))):
        stray = shot.count(dialog.rect(rect, ctx.scale), greenish)
        run.check(stray == 0, "question: no caption %s (%d pixels)" % (name, stray))
    # Its confirm caption is twice as long as the cancel caption's two characters.
    wide = shot.count(dialog.rect((CONFIRM[0], CONFIRM[1], CONFIRM[0] + 14, CONFIRM[3]), ctx.scale),
                      greenish)
    run.check(wide > 0, "question: the confirm caption is four characters wide (%d pixels at its "
              "left)" % wide)
    # Keys and a press on the page end nothing.
    key("Escape", "Return")
    time.sleep(0.3)
    run.check(bool(ctx.watch.state().sized((dialog.width, dialog.height))),
              "question: Escape and Enter leave it open")
    rect = CONFIRM if confirm else CANCEL
    click(*dialog.at((rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2, ctx.scale))
    ctx.watch.wait(lambda s: not s.sized((dialog.width, dialog.height)), 20,
                   "the question closes after its button")


def bar_fill(ctx, dialog, shot):
    """Green and grey pixels along the middle row of the progress bar's track."""
    y = dialog.at(0, (TRACK[1] + TRACK[3]) / 2, ctx.scale)[1]
    left = dialog.at(TRACK[0] + 2, 0, ctx.scale)[0]
    right = dialog.at(TRACK[2] - 2, 0, ctx.scale)[0]
    row = [shot.pixel(x, y) for x in range(left, right)]
    green = sum(1 for c in row if near(c, PROGRESS_GREEN, 12))
    grey = sum(1 for c in row if near(c, TRACK_GREY, 12))
    return green, grey, row


def watch_progress(ctx, picture=None):
    """The progress dialog, part-way: its bar green from the left and not yet full; then it
    closes by itself."""
    run = ctx.run
    dialog = wait_for_dialog(ctx, PROGRESS_SIZE, "the progress dialog")
    # Screenshots until the bar has filled a good part of its track (it fills one pixel a frame).
    fills = []
    for _ in range(40):
        shot = Shot()
        green, grey, row = bar_fill(ctx, dialog, shot)
        fills.append(green)
        if green >= len(row) // 5 or not ctx.watch.state().sized((dialog.width, dialog.height)):
            break
        time.sleep(0.1)
    shot.save(os.path.join(run.out, "progress.png"))
    if picture and run.pictures:
        pad = ctx.s(24)
        main = ctx.main
        shot.save(os.path.join(run.pictures, picture),
                  (main.x - pad, main.y - pad, main.x + main.width + pad, main.y + main.height + pad))
    check_dialog_page(ctx, "progress", dialog, PROGRESS_SIZE, shot)
    status = shot.count(dialog.rect((30, 58, 200, 78), ctx.scale), lambda c: c[0] > 110)
    run.check(status > 20, "progress: the status line is written (%d light pixels)" % status)
    run.check(fills == sorted(fills) and fills[-1] > fills[0],
              "progress: the bar fills from the left as time goes (%s pixels)" % fills)
    run.check(near(row[0], PROGRESS_GREEN, 12) and near(row[-1], TRACK_GREY, 12) and grey > 0,
              "progress: part-way, green at the left, the rest of the track grey (%d, %d)"
              % (green, grey))
    ctx.watch.wait(lambda s: not s.sized((dialog.width, dialog.height)), 60,
                   "the progress dialog closes by itself")
    ctx.progress_closed_at = time.monotonic()
    run.check(True, "progress: closed by itself")


def finish_with_exit(ctx, picture=None):
    main, _ = check_main_window(ctx, "finished", finished=True, picture=picture)
    click(*main.at((ACTION[0] + ACTION[2]) / 2, (ACTION[1] + ACTION[3]) / 2, ctx.scale))
    state = ctx.watch.wait(lambda s: s.exit is not None, 20, "the exit button ends the uninstaller")
    ctx.run.check(state.exit == 2 and not state.stopped, "exit code %s after the exit button"
                  % state.exit)
    return state


def press_uninstall(ctx):
    main = ctx.main
    click(*main.at((ACTION[0] + ACTION[2]) / 2, (ACTION[1] + ACTION[3]) / 2, ctx.scale))


def no_question_then_progress(ctx):
    """Without the product running, the removal starts at once: the next window is the
    progress dialog."""
    size = (ctx.s(PROGRESS_SIZE[0]), ctx.s(PROGRESS_SIZE[1]))
    q = (ctx.s(QUESTION_SIZE[0]), ctx.s(QUESTION_SIZE[1]))
    state = ctx.watch.wait(lambda s: s.sized(size) or s.sized(q) or s.exit is not None, 60,
                           "a dialog shows")
    ctx.run.check(not state.sized(q), "no question is asked")


def ring_on(ctx, shot, window, rect):
    """The keyboard's focus ring down a button's left side: white, one unit inside it."""
    return near(shot.pixel(*window.at(rect[0] + 1, (rect[1] + rect[3]) / 2, ctx.scale)),
                (255, 255, 255), 24)


def rings(ctx, shot, window, rects):
    return [name for name, rect in rects if ring_on(ctx, shot, window, rect)]


MAIN_BUTTONS = (("minimise", MINIMIZE), ("close", CLOSE), ("action", ACTION))
QUESTION_BUTTONS = (("强制卸载", CONFIRM), ("取  消", CANCEL))


def uninstall_by_keyboard(ctx, pictures):
    """The whole run with keys alone: the window under the pointer has the keyboard (the
    display has no window manager), the pointer rests on the page, away from every button."""
    run = ctx.run
    main = ctx.main
    move(*main.at(366, 200, ctx.scale))
    time.sleep(0.3)
    shot = ctx.shot("keyboard-before-a-key")
    run.check(rings(ctx, shot, main, MAIN_BUTTONS) == [],
              "keyboard: no focus ring before a key (%s)" % rings(ctx, shot, main, MAIN_BUTTONS))
    # The focus starts on the uninstall button: Shift+Tab leaves it, Tab comes back.
    key("shift+Tab", "Tab")
    time.sleep(0.4)
    shot = ctx.shot("keyboard-ring", main, pictures.get("ring"))
    run.check(rings(ctx, shot, main, MAIN_BUTTONS) == ["action"],
              "keyboard: after a key, the ring on the uninstall button alone (%s)"
              % rings(ctx, shot, main, MAIN_BUTTONS))
    key("space")
    dialog = wait_for_dialog(ctx, QUESTION_SIZE, "the question")
    move(*dialog.at(20, 20, ctx.scale))
    time.sleep(0.5)
    # The question starts on the safe choice; Tab takes the focus to the confirm button.
    key("Tab")
    time.sleep(0.4)
    shot = ctx.shot("keyboard-question", main, pictures.get("question"))
    run.check(rings(ctx, shot, dialog, QUESTION_BUTTONS) == ["强制卸载"],
              "keyboard: Tab takes the question's focus to 强制卸载 (rings %s)"
              % rings(ctx, shot, dialog, QUESTION_BUTTONS))
    key("space")
    ctx.watch.wait(lambda s: not s.sized((dialog.width, dialog.height)), 20,
                   "the question closes after Space")
    watch_progress(ctx)
    main, _ = check_main_window(ctx, "keyboard-finished", finished=True)
    move(*main.at(366, 200, ctx.scale))
    time.sleep(0.4)
    shot = ctx.shot("keyboard-exit-focused", main, pictures.get("finished"))
    run.check(rings(ctx, shot, main, MAIN_BUTTONS) == ["action"],
              "keyboard: the exit button has the focus and the ring (%s)"
              % rings(ctx, shot, main, MAIN_BUTTONS))
    key("space")
    state = ctx.watch.wait(lambda s: s.exit is not None, 20, "Space on the exit button ends it")
    run.check(state.exit == 2 and not state.stopped, "exit code %s after Space on the exit button"
              % state.exit)
    return state


# --- effects -------------------------------------------------------------------------------

def wait_for_folder_gone(run, folder, seconds=15):
    path = prefix_path(folder)
    deadline = time.monotonic() + seconds
    while os.path.exists(path) and time.monotonic() < deadline:
        time.sleep(0.2)
    return not os.path.exists(path)


def expected_removals(before, removed_folder):
    user = os.path.join("users", user_name())
    programs = os.path.join(user, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu",
                            "Programs", "Tessamure")
    gone = {os.path.join(user, "Desktop", "VelkorCorvane.lnk")}
    gone |= {p for p in before if p == programs or p.startswith(programs + os.sep)}
    if removed_folder:
        folder = os.path.relpath(prefix_path(removed_folder), os.path.join(prefix(), "drive_c"))
        gone |= {p for p in before if p == folder or p.startswith(folder + os.sep)}
    return gone


class Holder:
    """Another program that keeps a file of the installation open with no sharing (sample_helper
    hold), until it is stopped or 150 s have passed."""

    def __init__(self, run, path):
        self.path = path
        self.stop_file = os.path.join(run.out, "holder-stop")
        env = dict(os.environ, SANDBOX_LANG="zh_CN.UTF-8", SANDBOX_TIMEOUT="180")
        self.process = subprocess.Popen([SANDBOX, "run", HELPER, "hold", path, self.stop_file, "150"],
                                        env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, start_new_session=True)
        run.cleanups.append(self.restart_if_left)
        deadline = time.monotonic() + 30
        while not os.path.exists(prefix_path(path)):
            if time.monotonic() >= deadline or self.process.poll() is not None:
                raise Failed("the program that holds %s did not start" % path)
            time.sleep(0.1)

    def stop(self):
        stop_by_file(self.process, self.stop_file)

    def restart_if_left(self):
        """After a run that failed half-way: what was scheduled goes, so the next run finds no
        install folder in its way."""
        self.stop()
        if os.path.exists(prefix_path(INSTALL)):
            sandbox("exec", "wineboot", "-r", timeout=120, check=False)


def pending_removals():
    """What Windows is to delete at the next restart, in its order."""
    out = sandbox("run", HELPER, "pending").stdout.decode("utf-8", errors="replace")
    return [line.strip() for line in out.splitlines() if line.strip()]


def check_held_file_goes_at_restart(run, holder, pending_before):
    """rd removes what it can; what is left (the held file and its folders at least: Wine's rd
    stops at the first file it cannot delete, Windows' goes on) is scheduled for the next restart
    with the install folder, after it the uninstaller's temp copy and its folder; the restart
    removes them all."""
    install = prefix_path(INSTALL)
    # The uninstaller waited for rd to end before it showed its exit button.
    left = {}  # Windows path: is a folder
    for folder, dirs, files in os.walk(install):
        for name in dirs + files:
            rel = os.path.relpath(os.path.join(folder, name), install)
            left[INSTALL + "\\" + rel.replace(os.sep, "\\")] = name in dirs
    run.check(HELD in left and left.get(INSTALL + "\\platform-tools"),
              "rd leaves the held file and its folder (%d left)" % len(left))
    temp_folder = temp_copy().rsplit("\\", 1)[0]
    added = pending_removals()[len(pending_before):]
    ours, copy = added[:-2], added[-2:]
    run.check({p.lower() for p in ours} == {p.lower() for p in left} | {INSTALL.lower()} and
              len(ours) == len(left) + 1,
              "scheduled for the next restart: what rd left and the install folder (%d)" % len(ours))
    folders = [p for p in ours if left.get(p, p == INSTALL)]
    depths = [p.count("\\") for p in folders]
    run.check(ours[:len(ours) - len(folders)] == [p for p in ours if p not in folders] and
              depths == sorted(depths, reverse=True) and ours[-1:] == [INSTALL],
              "in order: files first, then folders deepest first, the install folder last %s"
              % ours[-3:])
    run.check([p.lower() for p in copy] == [temp_copy().lower(), temp_folder.lower()],
              "then the uninstaller's temp copy and its folder %s" % copy)
    holder.stop()
    sandbox("exec", "wineboot", "-r", timeout=120)
    run.check(not os.path.exists(install), "after the restart the install folder is gone")
    run.check(not os.path.exists(prefix_path(temp_copy())) and
              not os.path.exists(prefix_path(temp_folder)),
              "after the restart the uninstaller's temp copy and its folder are gone")
    pending = {p.lower() for p in pending_removals()}
    run.check(not pending & {p.lower() for p in added}, "nothing of it is pending any more")


def check_nothing_else_touched(run, before, after, removed_folder):
    gone = expected_removals(before, removed_folder)
    missing = sorted(p for p in before if p not in after and p not in gone)
    kept = sorted(p for p in gone if p in after)
    changed = sorted(p for p in before if p in after and p not in gone and before[p] != after[p])
    added = sorted(p for p in after if p not in before)
    run.check(not kept, "removed: the shortcuts, the group%s %s" % (
        " and the install folder" if removed_folder else "", ("" if not kept else kept[:5])))
    run.check(not missing and not changed and not added,
              "nothing else in the prefix touched %s" % ((missing + changed + added)[:8] or ""))


# --- scenarios -----------------------------------------------------------------------------

def set_log_pixels(run, dpi):
    key_path = "HKCU\\Control Panel\\Desktop"
    earlier = sandbox("exec", "reg", "query", key_path, "/v", "LogPixels", check=False)
    had = earlier.returncode == 0 and b"LogPixels" in earlier.stdout
    value = None
    if had:
        value = int(earlier.stdout.decode(errors="replace").split()[-1], 0)

    def put_back():
        if had:
            sandbox("exec", "reg", "add", key_path, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                    str(value), "/f")
        else:
            sandbox("exec", "reg", "delete", key_path, "/v", "LogPixels", "/f", check=False)

    run.cleanups.append(put_back)
    sandbox("exec", "reg", "add", key_path, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")


def scenario(run, create=(), running_elsewhere=False, question=None, cancel_first=False,
             dpi=96, hostile=None, second_launch=False, window_handling=False, keyboard=False,
             held=False, pictures=None):
    """One run from the sample installation to the uninstaller's end, in the steps the table
    below chooses."""
    pictures = pictures or {}
    scale = dpi / 96
    elsewhere = ["--running-elsewhere", ELSEWHERE] if running_elsewhere else []
    entry = []
    hostile_folder = None
    if hostile:
        entry_value, hostile_folder = hostile
        entry = ["--entry", entry_value]
        marker = os.path.join(prefix_path(hostile_folder), "corvane-e2e-marker.txt")
        with open(marker, "w") as f:
            f.write("must stay\n")
        run.cleanups.append(lambda: os.path.exists(marker) and os.remove(marker))
    sample("remove", "--elsewhere", ELSEWHERE)
    run.cleanups.append(lambda: sample("remove", "--elsewhere", ELSEWHERE))
    sample("create", "--neighbours", *create, *elsewhere, *entry)
    if dpi != 96:
        set_log_pixels(run, dpi)
    holder = Holder(run, HELD) if held else None
    pending_before = pending_removals() if held else []
    start = installation()
    before_tree = tree(os.path.join(prefix(), "drive_c"))
    before_entries = uninstall_entries()

    watch = Watch(run)
    ctx = Context(run, watch, scale)
    move(20, 20)  # where the window will not be
    start_launcher(run)
    state = watch.wait(lambda s: s.pid != 0, 30, "the uninstaller starts")
    main, _ = check_main_window(ctx, "main", picture=pictures.get("main"))
    run.check(centred(main, (main.width, main.height)), "main: centred on the display")
    if dpi != 96:
        run.check((main.width, main.height) == (round(732 * scale), round(432 * scale)),
                  "main: %d x %d at %d DPI" % (main.width, main.height, dpi))

    if second_launch:
        start_launcher(run)
        time.sleep(3)
        state = watch.state()
        run.check(state.uninstallers == 1, "a second launch starts no second uninstaller (%d seen)"
                  % state.uninstallers)
        with open(UNINSTALLER, "rb") as f, open(prefix_path(temp_copy()), "rb") as g:
            run.check(f.read() == g.read(), "the running uninstaller's file is intact")
        check_main_window(ctx, "after-second-launch")

    if window_handling:
        return handle_window(ctx, start)

    if keyboard:
        return check_effects(run, uninstall_by_keyboard(ctx, pictures), create, running_elsewhere,
                             hostile, hostile_folder, before_tree, before_entries)
    if not hostile and not second_launch:
        check_button_looks(ctx)
    if dpi != 96:
        check_caption_band(ctx)
    if cancel_first:
        press_uninstall(ctx)
        answer_question(ctx, confirm=False, picture=pictures.get("question"))
        time.sleep(0.5)
        now = installation()
        run.check(now == start, "cancelled: everything is still in place")
        check_main_window(ctx, "after-cancel")
        run.check(watch.state().exit is None, "cancelled: the uninstaller goes on")
    press_uninstall(ctx)
    if question:
        answer_question(ctx, confirm=True, picture=pictures.get("question"))
    else:
        no_question_then_progress(ctx)
    watch_progress(ctx, picture=pictures.get("progress"))
    final = finish_with_exit(ctx, picture=pictures.get("finished"))
    if holder:
        check_held_file_goes_at_restart(run, holder, pending_before)
    return check_effects(run, final, create, running_elsewhere, hostile, hostile_folder,
                         before_tree, before_entries)


def check_effects(run, final, create, running_elsewhere, hostile, hostile_folder, before_tree,
                  before_entries):
    """What the run left in the sandbox, read once the uninstaller has ended (and, where a file
    was held, the sandbox restarted)."""
    removes_folder = "--no-entry" not in create and not hostile
    if removes_folder:
        run.check(wait_for_folder_gone(run, INSTALL), "the install folder goes (rd after the ping)")
    else:
        time.sleep(2)  # as long as a folder removal would have taken to start
    end = installation()
    run.check(end["entry"] == "0", "the uninstall entry is gone")
    run.check(end["desktop_shortcut"] == "0", "the desktop shortcut is gone")
    run.check(end["group"] == "-", "the Start-menu group is gone")
    run.check(end["neighbour_entry"] == "1", "the neighbouring uninstall entry stays")
    runs_from_install = [p for p in end["process"] if p.lower().startswith(INSTALL.lower() + "\\")]
    run.check(not runs_from_install, "no product program runs from the install folder %s"
              % runs_from_install)
    if running_elsewhere:
        run.check(any(p.lower() == (ELSEWHERE + "\\Corvane.exe").lower() for p in end["process"]),
                  "the Corvane.exe from another folder still runs")
    started_rd = "cmd.exe" in final.children
    run.check(started_rd == removes_folder, "the folder-removal command %s (children: %s)"
              % ("started" if removes_folder else "not started", final.children))
    after_tree = tree(os.path.join(prefix(), "drive_c"))
    check_nothing_else_touched(run, before_tree, after_tree, INSTALL if removes_folder else None)
    entries = uninstall_entries()
    run.check(entries == before_entries - {"Corvane"},
              "only the Corvane uninstall entry is gone from the registry %s"
              % ((entries ^ (before_entries - {"Corvane"})) or ""))
    if hostile:
        marker = os.path.join(prefix_path(hostile_folder), "corvane-e2e-marker.txt")
        run.check(os.path.exists(marker), "the folder %s is untouched" % hostile_folder)
    return final


def temp_copy():
    return "C:\\users\\%s\\Temp\\KVDN13084007\\uninstaller.exe" % user_name()


def check_caption_band(ctx):
    """A press in the top band (40 units high, scaled) drags the window; one just below it
    moves nothing."""
    run, watch, main = ctx.run, ctx.watch, ctx.main
    band = ctx.s(40)
    size = (main.width, main.height)
    drag(main.x + ctx.s(300), main.y + band - 8, 60, 40)
    moved = watch.wait(lambda s: s.sized(size), 5, "the window").sized(size)[0]
    run.check((moved.x - main.x, moved.y - main.y) == (60, 40),
              "a press %d pixels down the %d-pixel top band drags the window by (60, 40): (%d, %d)"
              % (band - 8, band, moved.x - main.x, moved.y - main.y))
    drag(moved.x + ctx.s(300), moved.y + band + 8, 60, 40)
    still = watch.wait(lambda s: s.sized(size), 5, "the window").sized(size)[0]
    run.check((still.x, still.y) == (moved.x, moved.y),
              "a press %d pixels down, below the band, moves nothing" % (band + 8))
    ctx.main = still


def handle_window(ctx, start):
    """Keys, Alt+F4, dragging by the top band and pressing below it; the close button."""
    run, watch, main = ctx.run, ctx.watch, ctx.main
    click(*main.at(366, 200, ctx.scale))  # the page: no button, below the band
    keys_before = len(watch.state().keys)
    key("Escape", "Return", "alt+F4")
    time.sleep(0.8)
    state = watch.state()
    arrived = state.keys[keys_before:]
    run.check({VK_ESCAPE, VK_RETURN, VK_F4} <= {k for k, ours in arrived if ours},
              "Escape, Enter and Alt+F4 reach the window (%s)" % arrived)
    run.check(state.exit is None and state.sized((main.width, main.height)),
              "Escape, Enter and Alt+F4 end nothing")
    check_caption_band(ctx)
    check_main_window(ctx, "moved")
    main = ctx.main
    click(*main.at((CLOSE[0] + CLOSE[2]) / 2, (CLOSE[1] + CLOSE[3]) / 2, ctx.scale))
    final = watch.wait(lambda s: s.exit is not None, 20, "the close button ends the uninstaller")
    run.check(final.exit == 2026 and not final.stopped, "exit code %s after the close button"
              % final.exit)
    run.check(installation() == start, "closing removes nothing")
    return final


def hostile_locations():
    user = user_name()
    return {
        "drive_root": ("C:\\", "C:\\"),
        "windows": ("C:\\windows", "C:\\windows"),
        "program_files": ("C:\\Program Files", "C:\\Program Files"),
        "profile": ("C:\\users\\" + user, "C:\\users\\" + user),
        "dot_dot": (INSTALL + "\\..\\..\\windows", "C:\\windows"),
        "quote": ('C:\\CorvaneData" "C:\\users\\' + user, "C:\\users\\" + user),
    }


# --- planted DLLs ---------------------------------------------------------------------------

# Every DLL the uninstaller process loads in a whole run (2_product_running), as the loader's own
# trace lists them (WINEDEBUG=+loaddll), but the four that process start maps before the
# program's first statement: kernelbase, kernel32, msvcrt and the ucrtbase Wine's msvcrt imports.
# Windows maps those as KnownDLLs; Wine, asked to take them natively, would take a planted copy.
PLANTED_DLLS = [
    "sechost.dll", "advapi32.dll", "zlib1.dll", "version.dll", "win32u.dll", "user32.dll",
    "gdi32.dll", "imm32.dll", "comctl32.dll", "rpcrt4.dll", "combase.dll", "ole32.dll",
    "oleaut32.dll", "shcore.dll", "shlwapi.dll", "shell32.dll", "winex11.drv", "uxtheme.dll",
    "gdiplus.dll", "opengl32.dll", "wined3d.dll", "dxgi.dll", "d3d11.dll", "setupapi.dll",
    "d3d10core.dll", "d3d10_1.dll", "d2d1.dll", "dwrite.dll", "dcomp.dll", "propsys.dll",
    "windowscodecs.dll", "msacm32.dll", "winmm.dll",
]
STAND_IN = os.path.join(BUILD, "tests", "build", "planted.dll")  # leaves "<its path>.loaded"
VERSION_IMPORTER = os.path.join(BUILD, "tests", "build", "system_folder_probe_static.exe")


def markers(folder):
    """The stand-ins' markers in a folder, by lower-case name: a marker takes the letter case the
    DLL was asked for with (ADVAPI32.dll.loaded for advapi32.dll)."""
    names = os.listdir(folder) if os.path.isdir(folder) else []
    return {name.lower(): name for name in names if name.lower().endswith(".loaded")}


def plant(folder, names):
    """Stand-ins under the given names in the folder; their paths."""
    os.makedirs(folder, exist_ok=True)
    for marker in markers(folder).values():
        os.remove(os.path.join(folder, marker))
    paths = []
    for name in names:
        path = os.path.join(folder, name)
        shutil.copyfile(STAND_IN, path)
        paths.append(path)
    return paths


def loaded(paths):
    """The names of the planted stand-ins that ran."""
    return [os.path.basename(p) for p in paths
            if (os.path.basename(p) + ".loaded").lower() in markers(os.path.dirname(p))]


def listing(folder):
    found = {}
    for parent, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(parent, name)
            found[os.path.relpath(path, folder)] = os.lstat(path).st_size
    return found


def clear(path):
    if os.path.islink(path) or os.path.isfile(path):
        os.remove(path)
    elif os.path.isdir(path):
        shutil.rmtree(path)


def planted_dlls(run):
    """The launcher's temp folder prepared as an attacker would, with a stand-in of every DLL the
    uninstaller loads and Wine told to prefer native DLLs as Windows does: the folder is made
    anew, links are not followed, no stand-in runs, and the whole uninstall completes. The same
    stand-in beside a program that imports version.dll runs: the plant itself works."""
    earlier = os.environ.get("SANDBOX_DLLOVERRIDES")
    names = [n[:-4] if n.endswith(".dll") else n for n in PLANTED_DLLS]
    os.environ["SANDBOX_DLLOVERRIDES"] = ",".join(names) + "=n,b"
    run.cleanups.append(lambda: os.environ.update(SANDBOX_DLLOVERRIDES=earlier) if earlier
                        else os.environ.pop("SANDBOX_DLLOVERRIDES", None))
    folder = os.path.dirname(prefix_path(temp_copy()))  # the launcher's KVDN13084007
    decoy = os.path.join(os.path.dirname(folder), "corvane-decoy")
    control = os.path.join(os.path.dirname(folder), "corvane-planted-control")
    for path in (control, decoy):
        run.cleanups.append(lambda path=path: clear(path))

    clear(control)
    os.makedirs(control)
    shutil.copy(VERSION_IMPORTER, control)
    marker = plant(control, ["version.dll"])
    sandbox("exec", "C:\\users\\%s\\Temp\\corvane-planted-control\\%s"
            % (user_name(), os.path.basename(VERSION_IMPORTER)), timeout=30, check=False)
    run.require(loaded(marker) == ["version.dll"],
                "control: the stand-in beside a program that imports version.dll runs")

    sample("remove", "--elsewhere", ELSEWHERE)
    run.cleanups.append(lambda: sample("remove", "--elsewhere", ELSEWHERE))
    sample("create", "--neighbours", "--running")
    watch = Watch(run)
    ctx = Context(run, watch, 1)
    move(20, 20)

    # Wine's file functions follow Unix symbolic links, which it shows as reparse points, so the
    # launcher cannot remove one as itself here (on Windows it can): it must start nothing then,
    # and leave what the link leads to as it was.
    for what, inside, with_stand_ins in (("the folder is a link to stand-ins", False, True),
                                          ("the folder is a link to an empty folder", False, False),
                                          ("a link in the folder leads to stand-ins", True, True)):
        clear(folder)
        clear(decoy)
        os.makedirs(decoy)
        decoy_plants = plant(decoy, PLANTED_DLLS) if with_stand_ins else []
        if inside:
            os.makedirs(folder)
            os.symlink(os.path.join("..", os.path.basename(decoy)), os.path.join(folder, "inner"))
        else:
            os.symlink(os.path.basename(decoy), folder)
        before = listing(decoy)
        start_launcher(run)
        time.sleep(2)
        run.check(os.path.isdir(decoy) and listing(decoy) == before and not loaded(decoy_plants),
                  "%s: what it leads to is untouched, no stand-in ran" % what)
        run.check(watch.state().uninstallers == 0, "%s: nothing is started" % what)
    clear(folder)
    clear(decoy)

    first = plant(folder, PLANTED_DLLS) + plant(os.path.join(folder, "sub"), ["version.dll"])
    start = installation()
    before_tree = tree(os.path.join(prefix(), "drive_c"))
    before_entries = uninstall_entries()
    start_launcher(run)
    watch.wait(lambda s: s.pid != 0, 30, "the uninstaller starts")
    check_main_window(ctx, "main")
    run.check(sorted(os.listdir(folder)) == ["uninstaller.exe"],
              "the temp folder is made anew: it holds the uninstaller alone (%s)"
              % sorted(os.listdir(folder))[:5])
    run.check(not loaded(first), "no stand-in planted before the launcher ran %s" % loaded(first))
    # Wine enforces no permissions: these stand for DLLs that reached the folder all the same,
    # which the rest of the run must not load either.
    second = plant(folder, PLANTED_DLLS)
    run.cleanups.append(lambda: [os.remove(p) for p in second if os.path.exists(p)])
    run.check(installation() == start, "the window is up, nothing removed yet")
    press_uninstall(ctx)
    answer_question(ctx, confirm=True)
    watch_progress(ctx)
    final = finish_with_exit(ctx)
    check_effects(run, final, ["--running"], False, None, None, before_tree, before_entries)
    run.check(not loaded(second), "no stand-in planted while it ran was loaded %s"
              % loaded(second))
    return final


SCENARIOS = {
    "1_not_running": dict(pictures={"main": "uninstaller-main@100.png",
                                    "progress": "uninstaller-progress@100.png",
                                    "finished": "uninstaller-finished@100.png"}),
    "2_product_running": dict(create=["--running"], question=True,
                              pictures={"question": "uninstaller-question@100.png"}),
    "3_cancel": dict(create=["--running"], question=True, cancel_first=True),
    "4_running_elsewhere": dict(running_elsewhere=True, question=True),
    "5_no_entry": dict(create=["--no-entry"]),
    "6_window_handling": dict(window_handling=True),
    "7_scaled_150": dict(create=["--running"], question=True, dpi=144,
                         pictures={"main": "uninstaller-main@150.png",
                                   "question": "uninstaller-question@150.png",
                                   "progress": "uninstaller-progress@150.png",
                                   "finished": "uninstaller-finished@150.png"}),
    "8_second_launch": dict(second_launch=True),
    "11_held_file": dict(create=["--running"], question=True, held=True),
    "12_planted_dlls": dict(runner=planted_dlls),
    "10_keyboard": dict(create=["--running"], keyboard=True,
                        pictures={"ring": "uninstaller-keyboard-ring@100.png",
                                  "question": "uninstaller-keyboard-question@100.png",
                                  "finished": "uninstaller-keyboard-exit@100.png"}),
}
HOSTILE = ["drive_root", "windows", "program_files", "profile", "dot_dot", "quote"]
for _name in HOSTILE:
    SCENARIOS["9_hostile_" + _name] = dict(hostile=_name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("scenario")
    parser.add_argument("--pictures", help="folder for the README's screenshots")
    args = parser.parse_args()
    if args.scenario == "list":
        print("\n".join(SCENARIOS))
        return 0
    if args.scenario not in SCENARIOS:
        print("e2e: unknown scenario %s (list: %s)" % (args.scenario, " ".join(SCENARIOS)))
        return 2
    if not os.environ.get("SANDBOX_SESSION") or not os.environ.get("DISPLAY"):
        print("e2e: run inside a sandbox session (tools/wine-sandbox session -- ...)")
        return 2
    for needed in (WATCH, UNINSTALLER):
        if not os.path.exists(needed):
            print("e2e: %s is not built" % needed)
            return 2
    out = os.path.join(BUILD, "tests", "e2e", "runs", args.scenario)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    run = Run(args.scenario, out, args.pictures and os.path.abspath(args.pictures))
    options = dict(SCENARIOS[args.scenario])
    runner = options.pop("runner", scenario)
    if "hostile" in options:
        options["hostile"] = hostile_locations()[options["hostile"]]
    print("scenario %s" % args.scenario, flush=True)
    started = time.monotonic()
    try:
        runner(run, **options)
    except Failed as failure:
        run.failures.append(str(failure))
        print("  FAIL  " + str(failure))
    finally:
        for cleanup in reversed(run.cleanups):
            try:
                cleanup()
            except Exception as error:  # a cleanup that fails must not hide the others
                print("  cleanup: %s" % error)
    print("scenario %s: %s in %.1f s; screenshots in %s" % (
        args.scenario, "FAILED" if run.failures else "passed", time.monotonic() - started, out))
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(main())
