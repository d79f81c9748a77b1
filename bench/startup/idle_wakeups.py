#!/usr/bin/env python3
"""Wake-ups and processor time of an idle main window, beside xcalc idle on the same display.

    xvfb-run -a -s "-screen 0 1280x1024x24" bench/startup/idle_wakeups.py [QUENNARY] [SECONDS]

QUENNARY defaults to the release build (build/release/app/quennary), SECONDS to 10. Each program is started with
a fresh home folder, left to settle for two seconds after its window shows, and then watched for SECONDS: the
context switches of all its threads (voluntary and not, from /proc/PID/task/*/status) and its user plus system
time (/proc/PID/stat). Nothing touches the windows meanwhile. Runs alternate, five of each; the medians are
printed, the ratio last.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 5
SETTLE = 2.0


def window_shown(name):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                           capture_output=True, text=True)
    return bool(found.stdout.split())


def switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as status:
                for line in status:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def one_run(command, name, seconds):
    with tempfile.TemporaryDirectory() as root:
        env = dict(os.environ, HOME=root, XDG_CONFIG_HOME=os.path.join(root, "config"))
        os.makedirs(os.path.join(root, "Documents"))
        child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            limit = time.monotonic() + 60
            while not window_shown(name):
                if child.poll() is not None or time.monotonic() > limit:
                    raise SystemExit(f"{command[0]} showed no window named {name}")
                time.sleep(0.05)
            time.sleep(SETTLE)
            wakes, cpu = switches(child.pid), cpu_seconds(child.pid)
            time.sleep(seconds)
            wakes, cpu = switches(child.pid) - wakes, cpu_seconds(child.pid) - cpu
        finally:
            child.terminate()
            child.wait()
        return wakes / seconds, cpu / seconds * 100


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build/release/app/quennary"
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    if not os.access(program, os.X_OK):
        raise SystemExit(f"no {program}; build a release tree first (tools/run.sh does)")
    ours, peers = [], []
    for _ in range(RUNS):
        ours.append(one_run([program], "Quennary", seconds))
        peers.append(one_run(["xcalc"], "Calculator", seconds))
    for label, runs in (("quennary", ours), ("xcalc", peers)):
        print(f"{label} runs, wake-ups/s: " + " ".join(f"{w:.1f}" for w, _ in runs) +
              "; % of a core: " + " ".join(f"{c:.2f}" for _, c in runs))
    wakes = statistics.median(w for w, _ in ours)
    peer_wakes = statistics.median(w for w, _ in peers)
    cpu = statistics.median(c for _, c in ours)
    peer_cpu = statistics.median(c for _, c in peers)
    print(f"idle over {seconds:.0f} s, median of {RUNS}: quennary {wakes:.1f} wake-ups/s, {cpu:.2f} % of a core; "
          f"xcalc {peer_wakes:.1f} wake-ups/s, {peer_cpu:.2f} % of a core")
    print(f"ratio of wake-ups/s, quennary to xcalc: " +
          (f"{wakes / peer_wakes:.2f}" if peer_wakes else f"{wakes:.1f} to 0"))


if __name__ == "__main__":
    main()
