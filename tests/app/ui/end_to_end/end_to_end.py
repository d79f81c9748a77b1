#!/usr/bin/env python3
"""The converter end to end, as a user works it: end_to_end.py QUENNARY OUTDIR

Starts the real executable on an X server of its own, with HOME and the XDG folders in a temporary folder, and
drives it only through the X server with synthetic input: two generated clips are added through the skinned open
dialog (typing their folder and names), one is trimmed by typed times in the Trim dialog, the other cropped and
brightened in the Edit dialog, a format is chosen in the profile chooser, and the list is converted. Both outputs
must probe with the format's codecs, the trimmed one with the trimmed length, the edited one with its picture in
the cropped shape and brighter than the source. On the way, the Edit dialog's output preview must show the selected
area of the source preview's picture (and brighter once brightened), nothing outside its clipping window. Then the
window is closed through its caption button. A screenshot of every step goes to OUTDIR as NN-step.png.
"""
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import traceback

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from edit_preview_checks import check_edit_previews, previews_show_pictures  # noqa: E402
from media_checks import mean_luma, picture_box, probe  # noqa: E402
from x_session import StepFailed, Window, XSession, wait_for  # noqa: E402

# The main window's controls, in client coordinates of its layout.
ADD_BUTTON = (64, 72)
TRIM_BUTTON = (64, 144)
EDIT_BUTTON = (64, 216)
CONVERT_BUTTON = (408, 512)
PROFILE_FIELD = (128, 336)          # top-left corner of the field; the chooser opens above it
PROFILE_FIELD_CENTRE = (278, 354)
GRID = (128, 40)                    # the job grid's notebook
GRID_ROW_HEIGHT = 20
SOURCE_COLUMN_WIDTH = 135
# The chooser's format list and the row of the format this run converts to, in its client coordinates.
CHOOSER_FORMATS_LEFT = 148
CHOOSER_FORMAT_ROW_HEIGHT = 57
CHOSEN_FORMAT_ROW = 5               # "MKV - Matroska Video" in "General Video"
CHOSEN_FORMAT = {"extension": ".mkv", "video": "h264", "audio": "aac"}
# The Trim dialog: the typed-time boxes and their OK buttons, and the dialog's OK.
TRIM_START_EDIT, TRIM_START_OK = (141, 388), (200, 388)
TRIM_END_EDIT, TRIM_END_OK = (389, 388), (448, 388)
TRIM_DIALOG_OK = (361, 440)
# The Edit dialog: the crop boxes (left, top, width, height), the Brightness box and its slider, the dialog's OK,
# and the previews' Pause button.
CROP_EDITS = [(164, 311), (164, 343), (164, 375), (164, 407)]
EDIT_PAUSE = (52, 270)
BRIGHTNESS_BOX = (380, 311)
BRIGHTNESS_SLIDER = (475, 215, 311)   # left, width and middle of the track bar
EDIT_DIALOG_OK = (569, 440)

# The clip that is trimmed, and the range typed for it; the clip that is edited, and its crop.
TRIMMED_CLIP, TRIM_RANGE = "counter.avi", ("00:00:01", "00:00:04")
EDITED_CLIP, CROP = "harbour.mp4", (140, 0, 360, 360)   # left, top, width, height of a 640x360 picture
EDITED_FRAME = (640, 360)


def skin_client_offset(executable):
    """Where a skinned form's client area starts inside its window: the skin's form frame says it."""
    skin = os.path.join(os.path.dirname(os.path.realpath(executable)), "skin-red", "skin.ini")
    section = None
    with open(skin, encoding="latin-1") as text:
        for line in text:
            line = line.strip()
            if line.startswith("["):
                section = line
            elif section == "[FORMINFO]" and line.startswith("clientrect="):
                left, top = line.split("=", 1)[1].split(",")[:2]
                return int(left), int(top)
    raise StepFailed(f"no form client rectangle in {skin}")


def make_clips(folder):
    """Two short clips with sound: 640x360 at 25 frames a second for 60 s (it still plays while the Edit dialog's
    previews are looked at, also on a machine slowed several times by load), and 320x240 at 24 for 5 s."""
    clips = {
        EDITED_CLIP: ["-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=60",
                      "-f", "lavfi", "-i", "sine=frequency=440:duration=60",
                      "-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac"],
        TRIMMED_CLIP: ["-f", "lavfi", "-i", "testsrc=size=320x240:rate=24:duration=5",
                       "-f", "lavfi", "-i", "sine=frequency=660:duration=5",
                       "-c:v", "mpeg4", "-q:v", "4", "-c:a", "mp2"],
    }
    for name, args in clips.items():
        subprocess.run(["ffmpeg", "-v", "error", "-y", *args, "-shortest", os.path.join(folder, name)], check=True)
    return list(clips)


class Run:
    def __init__(self, executable, outdir, root):
        self.executable, self.outdir, self.root = executable, outdir, root
        self.home = os.path.join(root, "home")
        self.videos = os.path.join(self.home, "Videos")
        for folder in (self.videos, os.path.join(self.home, "Documents"), os.path.join(root, "config"),
                       os.path.join(root, "data"), os.path.join(root, "cache"), os.path.join(root, "tmp")):
            os.makedirs(folder, exist_ok=True)
        self.client = skin_client_offset(executable)
        # The desktop's opener: the converter opens the output folder through xdg-open at the end of a run; this
        # one only writes down what it was asked to open.
        self.opened = os.path.join(root, "opened.txt")
        self.bin = os.path.join(root, "bin")
        os.makedirs(self.bin)
        opener = os.path.join(self.bin, "xdg-open")
        with open(opener, "w") as script:
            script.write(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> {shlex.quote(self.opened)}\n")
        os.chmod(opener, 0o755)
        self.x = XSession()
        self.program = None
        self.log = None
        self.main = None
        self.shot_number = 0

    def close(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        if self.log:
            self.log.close()
        self.x.close()

    def in_client(self, point):
        return point[0] + self.client[0], point[1] + self.client[1]

    def client_click(self, window, point):
        """A click at a place of a skinned form's layout."""
        window.click(*self.in_client(point))

    def shoot(self, step, *windows, settled=True):
        """A screenshot of the main window and whatever windows the step shows over it, once the program has
        finished painting (settled) or, for a window whose gauges move, as it is."""
        areas = [w.geometry() for w in (self.main, *windows) if w]
        left = min(a[0] for a in areas)
        top = min(a[1] for a in areas)
        right = max(a[0] + a[2] for a in areas)
        bottom = max(a[1] + a[3] for a in areas)
        area = (left, top, right - left, bottom - top)
        picture = self.x.settled_look(area, step) if settled else self.x.look(area)
        self.shot_number += 1
        path = os.path.join(self.outdir, f"{self.shot_number:02d}-{step}.png")
        picture.save_png(path)
        print(f"screenshot {path}")
        return picture

    def main_look(self):
        return self.x.settled_look(self.main.geometry(), "the main window")

    def start(self):
        env = dict(self.x.env, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.root, "config"),
                   XDG_DATA_HOME=os.path.join(self.root, "data"), XDG_CACHE_HOME=os.path.join(self.root, "cache"),
                   TMPDIR=os.path.join(self.root, "tmp"), PATH=self.bin + os.pathsep + os.environ["PATH"])
        env.pop("QUENNARY_BACKEND", None)
        self.log = open(os.path.join(self.outdir, "quennary.log"), "w")
        self.program = subprocess.Popen([self.executable], env=env, cwd=self.root, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.main = wait_for("the main window to show", self.window_or_exit("Quennary"))
        self.shoot("started")

    def window_or_exit(self, name):
        def found():
            if self.program.poll() is not None:
                raise StepFailed(f"quennary ended with status {self.program.returncode}; see quennary.log")
            return self.x.find_window(name)
        return found

    def job_row_filled(self, picture, row):
        """Whether the grid's row (1 = first job) shows a source name: text in its Source cell."""
        left = GRID[0] + self.client[0] + 8
        top = GRID[1] + self.client[1] + 4 + row * GRID_ROW_HEIGHT
        return picture.dark_pixels(left + 24, top + 3, left + SOURCE_COLUMN_WIDTH - 4, top + GRID_ROW_HEIGHT - 3) > 20

    def add_file(self, name, row):
        self.client_click(self.main, ADD_BUTTON)
        dialog = wait_for("the open dialog", self.window_or_exit("Open file"))
        _, _, width, height = dialog.geometry()
        self.x.xdotool("mousemove", "--window", dialog.id, str(width // 2), str(height // 2))
        # A typed folder changes the dialog's folder; the name typed after it is the file chosen there.
        self.x.key("ctrl+a")
        self.x.type_text(self.videos + "/")
        self.x.key("Return")
        self.x.key("ctrl+a")
        self.x.type_text(name)
        self.shoot(f"open-dialog-{os.path.splitext(name)[0]}", dialog)
        self.x.key("Return")
        self.x.wait_window_gone(dialog)
        wait_for(f"{name} in row {row} of the job grid", lambda: self.job_row_filled(self.main_look(), row))
        self.shoot(f"added-{os.path.splitext(name)[0]}")

    def chooser_window(self):
        main_left, main_top, _, _ = self.main.geometry()
        field_left = main_left + self.client[0] + PROFILE_FIELD[0]
        field_top = main_top + self.client[1] + PROFILE_FIELD[1]
        for wid, left, top, width, height in self.x.top_levels():
            if left == field_left and top + height == field_top:
                return Window(self.x, wid, "profile chooser")
        return None

    def profile_label(self):
        """The pixels of the profile field's text, which names the chosen format."""
        left, top = self.in_client((PROFILE_FIELD[0] + 40, PROFILE_FIELD[1] + 6))
        picture = self.main_look()
        return [picture.pixel(x, y) for y in range(top, top + 24) for x in range(left, left + 220)]

    def choose_profile(self):
        before = self.profile_label()
        self.client_click(self.main, PROFILE_FIELD_CENTRE)
        chooser = wait_for("the profile chooser above the profile field", self.chooser_window)
        row_centre = CHOSEN_FORMAT_ROW * CHOOSER_FORMAT_ROW_HEIGHT + CHOOSER_FORMAT_ROW_HEIGHT // 2
        # The row under the mouse is marked; a click chooses it.
        self.x.xdotool("mousemove", "--window", chooser.id, str(CHOOSER_FORMATS_LEFT + 150), str(row_centre))
        self.shoot("profile-chooser", chooser)
        chooser.click(CHOOSER_FORMATS_LEFT + 150, row_centre)
        self.x.wait_window_gone(chooser)
        self.shoot("profile-chosen")
        if self.profile_label() == before:
            raise StepFailed("the profile field still shows the format it showed before the choice")

    def type_into(self, window, point, text):
        """Clicks into an edit box, selects what it holds and types over it."""
        self.client_click(window, point)
        self.x.key("ctrl+a")
        self.x.type_text(text)

    def select_row(self, row):
        left, top = GRID[0] + 60, GRID[1] + 4 + row * GRID_ROW_HEIGHT + GRID_ROW_HEIGHT // 2
        self.client_click(self.main, (left, top))

    def trim(self, row):
        self.select_row(row)
        self.client_click(self.main, TRIM_BUTTON)
        dialog = wait_for("the Trim dialog", self.window_or_exit("Trim"))
        self.shoot("trim-dialog", dialog)
        self.type_into(dialog, TRIM_START_EDIT, TRIM_RANGE[0])
        self.client_click(dialog, TRIM_START_OK)
        self.type_into(dialog, TRIM_END_EDIT, TRIM_RANGE[1])
        self.client_click(dialog, TRIM_END_OK)
        self.shoot("trim-range-typed", dialog)
        self.client_click(dialog, TRIM_DIALOG_OK)
        self.x.wait_window_gone(dialog)
        self.shoot("trimmed")

    def edit(self, row):
        self.select_row(row)
        self.client_click(self.main, EDIT_BUTTON)
        dialog = wait_for("the Edit dialog", self.window_or_exit("Edit"))
        # The previews play: the screen does not settle until they are paused (or the clip has ended). They are
        # paused once both show pictures, so that the clip cannot reach its end (and stop) while the crop is typed
        # on a slow machine; the paused output preview follows each value.
        wait_for("both Edit previews to show pictures",
                 lambda: previews_show_pictures(self.x.look(dialog.geometry()), self.client))
        self.shoot("edit-dialog", dialog, settled=False)
        self.client_click(dialog, EDIT_PAUSE)
        for place, value in zip(CROP_EDITS, CROP):
            self.type_into(dialog, place, str(value))
            self.x.key("Tab")
        # Paused, the output preview shows the selected area of the source preview's picture.
        self.shoot("edit-cropped", dialog)
        self.check_previews(dialog, brighter=False)
        self.client_click(dialog, BRIGHTNESS_BOX)
        left, width, middle = BRIGHTNESS_SLIDER
        # From the thumb in the middle (0) three quarters of the way along (+50); the drag plays the previews.
        x0, y = left + width // 2 + self.client[0], middle + self.client[1]
        dialog.drag(x0, y, x0 + width // 4, y)
        self.client_click(dialog, EDIT_PAUSE)
        self.shoot("edit-crop-and-brightness", dialog)
        self.check_previews(dialog, brighter=True)
        self.client_click(dialog, EDIT_DIALOG_OK)
        self.x.wait_window_gone(dialog)
        self.shoot("edited")

    def check_previews(self, dialog, brighter):
        """What the Edit dialog's previews show, once they have settled (paused)."""
        check_edit_previews(self.x.settled_look(dialog.geometry(), "the paused Edit previews"), self.client, CROP,
                            EDITED_FRAME, brighter)

    def output_folder(self):
        return os.path.join(self.home, "Documents", "Brindlewave", "Quennary", "Output")

    def convert(self, clips):
        self.client_click(self.main, CONVERT_BUTTON)
        dialog = wait_for("the Conversion dialog", self.window_or_exit("Conversion"))
        self.shoot("conversion-dialog", dialog, settled=False)
        outputs = [os.path.join(self.output_folder(), os.path.splitext(c)[0] + CHOSEN_FORMAT["extension"])
                   for c in clips]
        wait_for("both outputs", lambda: all(os.path.exists(o) for o in outputs), 300)
        self.x.wait_window_gone(dialog, 300)
        wait_for("the output folder opened at the end of the run", lambda: os.path.exists(self.opened), 30)
        with open(self.opened) as asked:
            opened = [line.strip().rstrip("/") for line in asked]
        if opened != [self.output_folder()]:
            raise StepFailed(f"the run's end opened {opened}, not the output folder")
        self.shoot("converted")
        return dict(zip(clips, outputs))

    def close_main_window(self):
        # The caption's close button is the rightmost of the skin's caption buttons.
        _, _, width, _ = self.main.geometry()
        self.main.click(width - 22, 15)
        wait_for("quennary to end after its window closed", lambda: self.program.poll() is not None, 60)
        if self.program.returncode != 0:
            raise StepFailed(f"quennary ended with status {self.program.returncode}; see quennary.log")
        settings = os.path.join(self.root, "config", "Brindlewave", "Quennary", "settings.ini")
        if not os.path.exists(settings):
            raise StepFailed("no settings written at close")


def check_outputs(outputs, root):
    """The converted files hold what the user asked for."""
    for clip, path in outputs.items():
        info = probe(path)
        print(f"{os.path.basename(path)}: {info}")
        for kind in ("video", "audio"):
            if info.get(kind) != CHOSEN_FORMAT[kind]:
                raise StepFailed(f"{path}: {kind} codec {info.get(kind)}, the format's is {CHOSEN_FORMAT[kind]}")

    def seconds(text):
        h, m, s = (int(v) for v in text.split(":"))
        return h * 3600 + m * 60 + s

    trimmed = probe(outputs[TRIMMED_CLIP])["duration"]
    wanted = seconds(TRIM_RANGE[1]) - seconds(TRIM_RANGE[0])
    if abs(trimmed - wanted) > 0.25:
        raise StepFailed(f"the trimmed output lasts {trimmed:.2f} s, the range {wanted} s")

    # The format has a frame size of its own: the cropped picture is scaled into it with bars, keeping its shape.
    edited = outputs[EDITED_CLIP]
    width, height, left, top = picture_box(edited)
    print(f"picture in the edited output: {width}x{height} at {left},{top}")
    crop_shape = CROP[2] / CROP[3]
    if abs(width / height - crop_shape) > 0.03:
        raise StepFailed(f"the edited output's picture is {width}x{height}, not in the cropped shape {crop_shape:.3f}")
    source = os.path.join(root, "home", "Videos", EDITED_CLIP)
    source_luma = mean_luma(source, "crop={2}:{3}:{0}:{1}".format(*CROP))
    edited_luma = mean_luma(edited, f"crop={width}:{height}:{left}:{top}")
    print(f"mean brightness: source crop {source_luma:.1f}, edited output {edited_luma:.1f}")
    if edited_luma < source_luma + 20:
        raise StepFailed(f"the edited output is not brighter ({edited_luma:.1f}) than its source ({source_luma:.1f})")


def main():
    if len(sys.argv) != 3:
        raise SystemExit("usage: end_to_end.py QUENNARY OUTDIR")
    executable, outdir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    shutil.rmtree(outdir, ignore_errors=True)
    os.makedirs(outdir)
    root = tempfile.mkdtemp(prefix="quennary-e2e-")
    run = None
    try:
        run = Run(executable, outdir, root)
        clips = make_clips(run.videos)
        run.start()
        for row, name in enumerate(clips, start=1):
            run.add_file(name, row)
        run.trim(clips.index(TRIMMED_CLIP) + 1)
        run.edit(clips.index(EDITED_CLIP) + 1)
        run.choose_profile()
        outputs = run.convert(clips)
        check_outputs(outputs, root)
        run.close_main_window()
    except (StepFailed, subprocess.CalledProcessError) as failure:
        traceback.print_exc()
        if run and run.main:
            try:
                run.x.look((0, 0, run.x.width, run.x.height)).save_png(os.path.join(outdir, "failure-screen.png"))
            except Exception:  # the failure itself is what the run reports
                pass
        print(f"FAILED: {failure}")
        return 1
    finally:
        if run:
            run.close()
        shutil.rmtree(root, ignore_errors=True)
    print("end to end: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
