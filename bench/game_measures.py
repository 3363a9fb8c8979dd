#!/usr/bin/env python3
"""Runs the game headless (dummy video and audio) and measures what a
player's machine feels: the time to the first menu frame, the resident
memory and the processor share of a game left alone on the still menu,
paused, and standing in metro2. Prints rows for bench/table.py's table.

Usage: game_measures.py GAME_DIR [SECONDS]

The game runs from a scratch folder that links the game data, so that the
slots it stores never touch the player's. CPU is the process's user and
system time over SECONDS (default 10) of wall-clock time, in percent of
one core."""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


def scratch_game(game_dir):
    """A folder holding a copy of the program, the game data as links and a
    Save folder of its own."""
    game_dir = os.path.abspath(game_dir)
    folder = tempfile.mkdtemp(prefix="gloamer-measures-")
    for name in os.listdir(game_dir):
        source = os.path.join(game_dir, name)
        if name == "gloamer":
            shutil.copy2(source, folder)
        elif name == "Save":
            shutil.copytree(source, os.path.join(folder, name))
        elif name not in ("control.ini", "settings.ini"):
            os.symlink(source, os.path.join(folder, name))
    return folder


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def left_alone(folder, arguments, settle, seconds):
    """Starts the game, lets it settle, then returns its resident memory
    and its processor share over `seconds`."""
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    game = subprocess.Popen(["./gloamer", "--window"] + arguments, cwd=folder, env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(settle)
        rss = rss_mb(game.pid)
        before, start = cpu_seconds(game.pid), time.monotonic()
        time.sleep(seconds)
        share = 100.0 * (cpu_seconds(game.pid) - before) / (time.monotonic() - start)
        return rss, share
    finally:
        game.kill()
        game.wait()


def first_frame_ms(folder, runs=9):
    """Medians of the wall-clock and the processor time of a run of one
    menu frame: start-up, the frame and the exit. On a loaded machine the
    processor time is the steadier figure."""
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    times, cpu = [], []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.monotonic()
        subprocess.run(["./gloamer", "--window", "--frames", "1"], cwd=folder, env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        times.append(1000.0 * (time.monotonic() - start))
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu.append(1000.0 * (after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime))
    return sorted(times)[len(times) // 2], sorted(cpu)[len(cpu) // 2]


def main(game_dir, seconds=10.0):
    folder = scratch_game(game_dir)
    try:
        escape = os.path.join(folder, "escape.txt")
        with open(escape, "w") as f:
            f.write("30 down escape\n31 up escape\n")
        standing = ["--start", "metro2.lvl", "448", "42"]
        wall, cpu = first_frame_ms(folder)
        rows = [("game: start-up to the first menu frame", wall, "ms"),
                ("game: start-up to the first menu frame (CPU)", cpu, "ms")]
        rss, share = left_alone(folder, [], 2.0, seconds)
        rows += [("game: RSS on the menu", rss, "MB"), ("game: CPU on the still menu", share, "%")]
        rss, share = left_alone(folder, standing, 3.0, seconds)
        rows += [("game: RSS standing in metro2", rss, "MB"), ("game: CPU standing still in metro2", share, "%")]
        _, share = left_alone(folder, standing + ["--replay", escape], 3.0, seconds)
        rows.append(("game: CPU paused in metro2", share, "%"))
        for name, value, unit in rows:
            print(f"{name}\t{value:.2f}\t{unit}")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 10.0)
