#!/usr/bin/env python3
"""Time from starting `quennary` to its main window's first paint on the screen, beside a peer started the same way.

    xvfb-run -a -s "-screen 0 1280x1024x24" bench/startup/first_paint.py [QUENNARY [EARLIER_QUENNARY]]

QUENNARY defaults to the release build (build/release/app/quennary). Each run starts the program with a fresh
home and settings folder, polls the X server for a viewable top-level window named "Quennary" and then for its
pixels holding more than one colour, and ends the program (SIGTERM) after the measurement. The polling starts
other programs (xdotool, xwd), so the figures are an upper bound; as a peer measured the same way in the same
run, `xmessage` with a window of that name shows what the polling alone costs on this machine. The program itself
also reports, from the launch time the script hands it in QUENNARY_LAUNCHED_AT, when its main window first painted:
that figure carries no polling cost. EARLIER_QUENNARY, when given, is another build (say, of the commit before a
change) measured in the same alternation. Runs alternate between the programs, RUNS of each; medians are printed,
the ratios last.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 7


def window_id():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quennary$"],
                           capture_output=True, text=True)
    ids = found.stdout.split()
    return ids[0] if ids else None


def painted(wid):
    dump = subprocess.run(["xwd", "-id", wid, "-silent"], capture_output=True)
    data = dump.stdout
    if len(data) < 100:
        return False
    header = int.from_bytes(data[0:4], "big")
    ncolors = int.from_bytes(data[76:80], "big")
    pixels = data[header + ncolors * 12:]
    return len(set(pixels[i:i + 4] for i in range(0, len(pixels), 4 * 97))) > 1


def one_run(command):
    with tempfile.TemporaryDirectory() as root:
        env = dict(os.environ, HOME=root, XDG_CONFIG_HOME=os.path.join(root, "config"))
        os.makedirs(os.path.join(root, "Documents"))
        start = time.monotonic()
        env["QUENNARY_LAUNCHED_AT"] = str(time.monotonic_ns())
        child = subprocess.Popen(command, env=env, stderr=subprocess.PIPE, text=True)
        try:
            wid = None
            while wid is None:
                if child.poll() is not None:
                    raise SystemExit(f"{command[0]} ended before its window showed")
                wid = window_id()
            while not painted(wid):
                pass
            polled = (time.monotonic() - start) * 1000
        finally:
            child.terminate()
            _, errors = child.communicate()
        reported = [float(line.split()[3]) for line in errors.splitlines() if line.startswith("first paint after ")]
        return polled, (reported[0] if reported else None)


def median_line(label, polled, reported):
    own = f"{statistics.median(reported):.0f} ms by its own report, " if reported else ""
    return f"{label}: {own}{statistics.median(polled):.0f} ms polled"


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build/release/app/quennary"
    earlier = sys.argv[2] if len(sys.argv) > 2 else None
    for path in filter(None, (program, earlier)):
        if not os.access(path, os.X_OK):
            raise SystemExit(f"no {path}; build a release tree first (tools/run.sh does)")
    peer = ["xmessage", "-title", "Quennary", "-geometry", "300x100", "peer"]
    commands = {"quennary": [program], "xmessage": peer}
    if earlier:
        commands["earlier quennary"] = [earlier]
    polled = {name: [] for name in commands}
    reported = {name: [] for name in commands}
    for _ in range(RUNS):
        for name, command in commands.items():
            took, own = one_run(command)
            polled[name].append(took)
            if own is not None:
                reported[name].append(own)
    for name in commands:
        print(f"{name} runs, polled (ms):", " ".join(f"{t:.0f}" for t in polled[name]))
        if reported[name]:
            print(f"{name} runs, its own report (ms):", " ".join(f"{t:.0f}" for t in reported[name]))
    print(f"first paint, median of {RUNS} alternating runs:")
    for name in commands:
        print("  " + median_line(name, polled[name], reported[name]))
    ours = statistics.median(polled["quennary"])
    if earlier:
        print(f"ratio to the earlier build: {ours / statistics.median(polled['earlier quennary']):.2f} polled" +
              (f", {statistics.median(reported['quennary']) / statistics.median(reported['earlier quennary']):.2f}"
               " by their own reports" if reported["quennary"] and reported["earlier quennary"] else ""))
    print(f"ratio to xmessage, polled: {ours / statistics.median(polled['xmessage']):.2f}")


if __name__ == "__main__":
    main()
