#!/usr/bin/env python3
"""Prints one table of the benchmark results in the JSON files given:
per benchmark the median and the 95th percentile of its repetitions, and
the goal it is held to. Files ending in .tsv hold single measures of the
running game (bench/game_measures.py): name, value and unit per line."""
import json
import sys


def percentile(values, fraction):
    """Nearest-rank percentile of a non-empty list."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * fraction // 1))
    return ordered[int(rank) - 1]


# The goal of each measure, by the start of its name.
GOALS = (
    ("BM_LightingPass/1920", "<= 1.5 ms"),
    ("BM_LightingPassWalkingLamp/1920", "<= 2.5 ms"),
    ("BM_LightingPass/3840", "<= 4 ms"),
    ("BM_LightingPassWalkingLamp/3840", "<= 5 ms"),
    ("BM_LevelChange", "<= 15 ms"),
    ("BM_Door/85 continue", "<= 300 ms"),
    ("BM_Door/85 peak RSS", "<= 400 MB"),
    ("BM_Door/85", "<= 100 ms and <= 1.2 x BM_Door/0"),
    ("game: start-up to the first menu frame", "<= 200 ms"),
    ("game: RSS on the menu", "<= 60 MB"),
    ("game: RSS standing in metro2", "<= 120 MB"),
    ("game: CPU on the still menu", "<= 2 %"),
    ("game: CPU paused", "<= 3 %"),
    ("game: CPU standing still", "<= 8 %"),
)


def goal(name):
    for prefix, text in GOALS:
        if name.startswith(prefix):
            return text
    return ""


def main(paths):
    rows = []
    for path in paths:
        if path.endswith(".tsv"):
            with open(path) as f:
                for line in f:
                    name, value, unit = line.rstrip("\n").split("\t")
                    rows.append((name, float(value), float(value), unit, 1))
            continue
        with open(path) as f:
            report = json.load(f)
        runs = {}
        units = {}
        for b in report.get("benchmarks", []):
            if b.get("run_type") != "iteration" or b.get("error_occurred"):
                continue
            name = b.get("run_name", b["name"])
            # A benchmark that times its own iterations reports their
            # median and 95th percentile in milliseconds itself.
            labels = (("", ""), ("cpu_", " (main thread CPU)"), ("process_cpu_", " (all threads' CPU)"))
            for prefix, label in labels:
                if prefix + "median_ms" in b:
                    rows.append((name + label, b[prefix + "median_ms"], b[prefix + "p95_ms"], "ms",
                                 int(b.get("iterations", 1))))
            # The door's: the continue from its slot and the peak memory.
            for key, label, unit in (("continue_ms", " continue", "ms"), ("peak_rss_mb", " peak RSS", "MB")):
                if key in b:
                    rows.append((name + label, b[key], b[key], unit, 1))
            if "median_ms" in b:
                continue
            runs.setdefault(name, []).append(b["real_time"])
            units[name] = b.get("time_unit", "ns")
        for name, times in runs.items():
            rows.append((name, percentile(times, 0.5), percentile(times, 0.95), units[name], len(times)))
    width = max([len("name")] + [len(r[0]) for r in rows])
    print(f"{'name':<{width}}  {'median':>12}  {'p95':>12}  unit  runs  goal")
    for name, median, p95, unit, count in rows:
        print(f"{name:<{width}}  {median:>12.3f}  {p95:>12.3f}  {unit:<4}  {count:>4}  {goal(name)}")


if __name__ == "__main__":
    main(sys.argv[1:])
