"""A private X server and the few things a user does on it: find a window, click, type, and look at the screen.

Everything goes through the X server as a user's input would (XTEST through xdotool) and every wait is a poll with
a deadline, so that a broken run fails with the step it stopped at instead of hanging.
"""
import os
import struct
import subprocess
import time
import zlib

POLL_SECONDS = 0.1


class StepFailed(Exception):
    pass


def wait_for(what, condition, seconds=60):
    """Polls ACondition until it returns something true; fails naming WHAT after SECONDS."""
    deadline = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise StepFailed(f"{what}: not within {seconds} s")
        time.sleep(POLL_SECONDS)


# A text caret blinks on its own; so many pixels may change between two looks at a screen that has settled.
CARET_PIXELS = 64


class Picture:
    """RGB pixels of a screen area."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def differs_from(self, other, limit):
        """How many pixels differ from OTHER's, counted up to just past LIMIT."""
        count = 0
        stride = self.width * 3
        for start in range(0, len(self.rgb), stride):
            row, other_row = self.rgb[start:start + stride], other.rgb[start:start + stride]
            if row == other_row:
                continue
            count += sum(1 for i in range(0, stride, 3) if row[i:i + 3] != other_row[i:i + 3])
            if count > limit:
                break
        return count

    def dark_pixels(self, left, top, right, bottom, level=110):
        """How many pixels of the box are dark on every channel (text, lines of a drawing)."""
        count = 0
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.rgb[(y * self.width + left) * 3:(y * self.width + right) * 3]
            count += sum(1 for i in range(0, len(row), 3) if max(row[i], row[i + 1], row[i + 2]) < level)
        return count

    def save_png(self, path):
        raw = b"".join(b"\0" + self.rgb[y * self.width * 3:(y + 1) * self.width * 3] for y in range(self.height))

        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6))
                      + chunk(b"IEND", b""))


class Window:
    def __init__(self, session, wid, name):
        self.session, self.id, self.name = session, wid, name

    def geometry(self):
        """Left, top, width and height on the screen."""
        out = self.session.run("xwininfo", "-id", self.id).stdout
        values = {}
        for line in out.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def viewable(self):
        out = self.session.run("xwininfo", "-id", self.id, check=False).stdout
        return "IsViewable" in out

    def click(self, x, y, button=1):
        """A press and release of the mouse button at a place inside the window."""
        self.session.xdotool("mousemove", "--window", self.id, str(x), str(y))
        self.session.xdotool("click", str(button))

    def drag(self, x0, y0, x1, y1):
        """Presses at one place, moves in steps to another and releases there."""
        self.session.xdotool("mousemove", "--window", self.id, str(x0), str(y0))
        self.session.xdotool("mousedown", "1")
        steps = 8
        for i in range(1, steps + 1):
            x = x0 + (x1 - x0) * i // steps
            y = y0 + (y1 - y0) * i // steps
            self.session.xdotool("mousemove", "--window", self.id, str(x), str(y))
        self.session.xdotool("mouseup", "1")


class XSession:
    """An Xvfb display of its own, started with -displayfd so that it never takes a display that is in use."""

    def __init__(self, width=1280, height=1024):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                byte = pipe.read(1)
                if not byte:
                    self.server.kill()
                    raise StepFailed("Xvfb did not start")
                number += byte
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display)
        self.width, self.height = width, height

    def close(self):
        self.server.terminate()
        try:
            self.server.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.server.kill()
            self.server.wait()

    def run(self, *args, check=True):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=check)

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def type_text(self, text):
        self.xdotool("type", "--delay", "30", text)

    def key(self, *keys):
        self.xdotool("key", "--delay", "50", *keys)

    def find_window(self, name):
        """The viewable top-level window of that exact name, or None."""
        found = self.run("xdotool", "search", "--onlyvisible", "--name", f"^{name}$", check=False)
        ids = found.stdout.split()
        return Window(self, ids[-1], name) if ids else None

    def wait_window(self, name, seconds=60):
        return wait_for(f'the window "{name}" to show', lambda: self.find_window(name), seconds)

    def wait_window_gone(self, window, seconds=60):
        wait_for(f'the window "{window.name}" to close', lambda: not window.viewable(), seconds)

    def top_levels(self):
        """(id, name, left, top, width, height) of the viewable top-level windows, bottom to top."""
        out = self.run("xwininfo", "-root", "-children").stdout
        ids = [line.split()[0] for line in out.splitlines() if line.strip().startswith("0x")]
        windows = []
        for wid in ids:
            info = self.run("xwininfo", "-id", wid, check=False).stdout
            if "IsViewable" not in info:
                continue
            w = Window(self, wid, "")
            windows.append((wid,) + w.geometry())
        return windows

    def grab(self, area):
        """RGB bytes of the area, or None when the grab failed. ffmpeg's x11grab reads the screen's own pixels,
        whatever windows of other visuals or without a colormap (a player's picture) are on it; xwd fails on those."""
        left, top, width, height = area
        grab = subprocess.run(["ffmpeg", "-v", "error", "-f", "x11grab", "-draw_mouse", "0", "-video_size",
                               f"{width}x{height}", "-i", f"{self.display}+{left},{top}", "-frames:v", "1",
                               "-f", "rawvideo", "-pix_fmt", "rgb24", "-"], env=self.env, capture_output=True)
        return grab.stdout if grab.returncode == 0 and len(grab.stdout) == width * height * 3 else None

    def look(self, area):
        """The screen's pixels in AREA (left, top, width, height), clipped to the screen."""
        left, top, width, height = area
        left, top = max(left, 0), max(top, 0)
        width, height = min(width, self.width - left), min(height, self.height - top)
        rgb = wait_for("a screen grab", lambda: self.grab((left, top, width, height)), 20)
        return Picture(width, height, rgb)

    def settled_look(self, area, what, seconds=30):
        """The area's pixels once two looks a little apart agree but for a caret's blink: the program has finished
        painting WHAT."""
        last = [self.look(area)]

        def still():
            time.sleep(0.15)
            now = self.look(area)
            same = now.differs_from(last[0], CARET_PIXELS) <= CARET_PIXELS
            last[0] = now
            return same

        wait_for(f"{what} to settle on the screen", still, seconds)
        return last[0]
