"""What the converted files hold, read with Debian's ffprobe and ffmpeg tools."""
import json
import re
import subprocess


def probe(path):
    """Codec names, duration (s) and picture size of a file: {"video": name, "audio": name, "duration", "size"}."""
    out = subprocess.run(["ffprobe", "-v", "error", "-show_streams", "-show_format", "-of", "json", path],
                         capture_output=True, text=True, check=True).stdout
    info = json.loads(out)
    found = {"duration": float(info["format"].get("duration", 0))}
    for stream in info["streams"]:
        kind = stream.get("codec_type")
        if kind in ("video", "audio") and kind not in found:
            found[kind] = stream.get("codec_name")
            if kind == "video":
                found["size"] = (int(stream["width"]), int(stream["height"]))
    return found


def picture_box(path):
    """The part of the frame that holds picture, bars excluded: (width, height, left, top) as cropdetect finds it."""
    out = subprocess.run(["ffmpeg", "-v", "info", "-nostats", "-i", path, "-an",
                          "-vf", "cropdetect=limit=24:round=2:reset=0", "-f", "null", "-"],
                         capture_output=True, text=True).stderr
    boxes = re.findall(r"crop=(\d+):(\d+):(\d+):(\d+)", out)
    if not boxes:
        raise RuntimeError(f"cropdetect found nothing in {path}:\n{out[-2000:]}")
    return tuple(int(v) for v in boxes[-1])


def mean_luma(path, filters=""):
    """The mean brightness (Y, 0..255) over every frame, after the given filters (e.g. a crop to the picture)."""
    chain = (filters + "," if filters else "") + "signalstats,metadata=print:key=lavfi.signalstats.YAVG"
    out = subprocess.run(["ffmpeg", "-v", "info", "-nostats", "-i", path, "-an", "-vf", chain, "-f", "null", "-"],
                         capture_output=True, text=True).stderr
    values = [float(v) for v in re.findall(r"lavfi\.signalstats\.YAVG=([\d.]+)", out)]
    if not values:
        raise RuntimeError(f"no brightness measured in {path}:\n{out[-2000:]}")
    return sum(values) / len(values)
