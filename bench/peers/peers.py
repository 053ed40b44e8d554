#!/usr/bin/env python3
"""Ombrel beside feh and a browser page, on the same cam simulator.

Every program shows N cams at a one-second interval, photo-like pictures that
change every 2 s, on an Xvfb display, for the same number of seconds; the
script measures each program's CPU (core-seconds of the program and all its
child processes, from /proc) and its peak memory (the largest sum of resident
memory over its processes, sampled every 0.2 s) and prints one table.

Usage: peers.py BUILD_DIR [--seconds 60] [--cams 1,6,12,24]
                [--sizes 1920x1080,3840x2160] [--programs ombrel,feh,browser]

Programs: "ombrel" (the main window), "wall" (the same with the wall full
screen), "feh", "browser" (small pictures) and "browserwall" (a page that
fills the screen with the cams in a grid, as the wall does).

Ombrel runs as build/bench/fetch/load_cams (the program's main window in a
process of its own, opening the cams as a user would), which starts its own
simulator; the others get one started by this script. Needs Xvfb, feh and
chromium (Debian's packages).
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")
PAGE_KIB = os.sysconf("SC_PAGE_SIZE") // 1024


def children_of():
    """Map of parent pid to child pids, for every process now."""
    tree = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        tree.setdefault(int(fields[1]), []).append(int(entry))
    return tree


def tree_of(root, skip=()):
    tree = children_of()
    pids, todo = [], [root]
    while todo:
        pid = todo.pop()
        if pid in skip:
            continue
        pids.append(pid)
        todo.extend(tree.get(pid, []))
    return pids


def cpu_and_rss(pids):
    """Core-seconds (user + system, with reaped children) and resident KiB."""
    cpu, rss = 0.0, 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open(f"/proc/{pid}/statm") as f:
                resident = int(f.read().split()[1])
        except OSError:
            continue
        # fields[0] is the state: utime, stime, cutime, cstime are 14 to 17.
        cpu += sum(int(v) for v in fields[11:15]) / TICKS
        rss += resident * PAGE_KIB
    return cpu, rss


def load_average():
    with open("/proc/loadavg") as f:
        return float(f.read().split()[0])


def measure(root, seconds, warmup, skip_names=()):
    """CPU over `seconds` after `warmup`, and the peak memory over both."""
    def pids():
        return [p for p in tree_of(root) if name_of(p) not in skip_names]

    end_warmup = time.monotonic() + warmup
    peak = 0
    while time.monotonic() < end_warmup:
        peak = max(peak, cpu_and_rss(pids())[1])
        time.sleep(0.2)
    start_cpu, _ = cpu_and_rss(pids())
    started = time.monotonic()
    while time.monotonic() - started < seconds:
        peak = max(peak, cpu_and_rss(pids())[1])
        time.sleep(0.2)
    end_cpu, rss = cpu_and_rss(pids())
    peak = max(peak, rss)
    elapsed = time.monotonic() - started
    return (end_cpu - start_cpu) / elapsed, peak / 1024


def name_of(pid):
    try:
        with open(f"/proc/{pid}/comm") as f:
            return f.read().strip()
    except OSError:
        return ""


def start_simulator(build, cams, size):
    simulator = subprocess.Popen(
        [os.path.join(build, "tools/camsim/ombrel-camsim"), "--http-port", "0",
         "--daytime-port", "0", "--size", size, "--period", "2", "--cams", str(cams), "--photo"],
        stdout=subprocess.PIPE, text=True)
    for line in simulator.stdout:
        match = re.match(r"HTTP on ([\d.]+):(\d+)", line)
        if match:
            return simulator, f"http://{match.group(1)}:{match.group(2)}"
    raise RuntimeError("the simulator did not start")


def stop(process, group=False):
    """Ends a process this script started (with its session, when it has one)."""
    if process.poll() is None:
        if group:
            os.killpg(process.pid, signal.SIGTERM)
        else:
            process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


REFRESH_SCRIPT = """<script>
const images = document.querySelectorAll("img");
function refresh() {
  for (const image of images) image.src = image.dataset.src + "?" + Date.now();
}
refresh();
setInterval(refresh, 1000);
</script>"""


def write_page(folder, name, body):
    """A page whose pictures are all refreshed every second."""
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        f.write(f"<!DOCTYPE html><html>{body}\n{REFRESH_SCRIPT}</body></html>")
    return "file://" + path


def page(urls, folder):
    """A page of small pictures, each refreshed every second."""
    images = "\n".join(f'<img width="85" height="64" data-src="{u}">' for u in urls)
    return write_page(folder, "cams.html", f'<body style="margin:0">{images}')


def wall_page(urls, folder):
    """The cams in a grid over the whole window, each picture as large as its
    cell allows in its own shape, refreshed every second."""
    columns = 1
    while columns * columns < len(urls):
        columns += 1
    rows = (len(urls) + columns - 1) // columns
    images = "\n".join(f'<img data-src="{u}">' for u in urls)
    return write_page(folder, "wall.html", f"""<body style="margin:0;background:black">
<div style="display:grid;width:100vw;height:100vh;gap:2px;
 grid-template-columns:repeat({columns},1fr);grid-template-rows:repeat({rows},1fr)">
<style>img {{width:100%;height:100%;min-height:0;object-fit:contain}}</style>{images}</div>""")


def run_ombrel(args, cams, size, env, wall=False):
    process = subprocess.Popen(
        [os.path.join(args.build, "bench/fetch/load_cams"), str(args.seconds + args.warmup + 2),
         str(cams), size, "photo"] + (["wall"] if wall else []),
        env=dict(env, QT_QPA_PLATFORM="xcb"), stdout=subprocess.PIPE,
        text=True, start_new_session=True)
    cpu, peak = measure(process.pid, args.seconds, args.warmup, skip_names=("ombrel-camsim",))
    output = process.communicate()[0]
    return cpu, peak, output


def run_peer(args, cams, size, env, command_for):
    simulator, base = start_simulator(args.build, cams, size)
    urls = [f"{base}/cam{i:02d}.jpg" for i in range(1, cams + 1)]
    with tempfile.TemporaryDirectory() as folder:
        process = subprocess.Popen(command_for(urls, folder), env=env, start_new_session=True,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cpu, peak = measure(process.pid, args.seconds, args.warmup)
        stop(process, group=True)
    stop(simulator)
    return cpu, peak, ""


def feh_command(urls, folder):
    """One feh window per cam, each reloading its picture every second."""
    one = "feh --reload 1 --geometry 85x64 --scale-down --no-menus {} &"
    return ["sh", "-c", " ".join(one.format(u) for u in urls) + " wait"]


def browser_command(urls, folder):
    browser = shutil.which("chromium") or "chromium"
    return [browser, "--no-sandbox", "--no-first-run", "--disable-gpu", "--noerrdialogs",
            f"--user-data-dir={folder}/profile", "--window-size=800,600", page(urls, folder)]


def browser_wall_command(urls, folder):
    browser = shutil.which("chromium") or "chromium"
    return [browser, "--no-sandbox", "--no-first-run", "--disable-gpu", "--noerrdialogs",
            f"--user-data-dir={folder}/profile", "--window-position=0,0",
            "--window-size=1920,1080", "--kiosk", wall_page(urls, folder)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--seconds", type=int, default=60)
    parser.add_argument("--warmup", type=int, default=5)
    parser.add_argument("--cams", default="1,6,12,24")
    parser.add_argument("--sizes", default="1920x1080,3840x2160")
    parser.add_argument("--programs", default="ombrel,feh,browser")
    parser.add_argument("--display", default=":97")
    args = parser.parse_args()

    xvfb = subprocess.Popen(["Xvfb", args.display, "-screen", "0", "1920x1080x24", "-nolisten",
                             "tcp"], stderr=subprocess.DEVNULL)
    time.sleep(1)
    env = dict(os.environ, DISPLAY=args.display)
    print(f"cores: {os.cpu_count()}, {args.seconds} s per run after {args.warmup} s warm-up")
    print("| size | cams | program | CPU (cores) | peak memory (MB) | load average |")
    print("|---|---|---|---|---|---|")
    try:
        for size in args.sizes.split(","):
            for cams in [int(c) for c in args.cams.split(",")]:
                for program in args.programs.split(","):
                    load = load_average()
                    if program in ("ombrel", "wall"):
                        cpu, peak, output = run_ombrel(args, cams, size, env, program == "wall")
                    elif program == "feh":
                        cpu, peak, output = run_peer(args, cams, size, env, feh_command)
                    elif program == "browserwall":
                        cpu, peak, output = run_peer(args, cams, size, env, browser_wall_command)
                    else:
                        cpu, peak, output = run_peer(args, cams, size, env, browser_command)
                    print(f"| {size} | {cams} | {program} | {cpu:.3f} | {peak:.0f} | {load:.1f} |",
                          flush=True)
                    for line in output.splitlines():
                        print(f"    {line}", file=sys.stderr)
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
