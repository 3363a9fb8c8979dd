#!/usr/bin/env python3
"""Prints one table of the benchmark results in the JSON files given:
per benchmark the median and the 95th percentile of its repetitions."""
import json
import sys


def percentile(values, fraction):
    """Nearest-rank percentile of a non-empty list."""
    ordered = sorted(values)
    rank = max(1, -(-len(ordered) * fraction // 1))
    return ordered[int(rank) - 1]


def main(paths):
    rows = []
    for path in paths:
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
            for prefix, label in (("", ""), ("cpu_", " (main thread CPU)")):
                if prefix + "median_ms" in b:
                    rows.append((name + label, b[prefix + "median_ms"], b[prefix + "p95_ms"], "ms",
                                 int(b.get("iterations", 1))))
            if "median_ms" in b:
                continue
            runs.setdefault(name, []).append(b["real_time"])
            units[name] = b.get("time_unit", "ns")
        for name, times in runs.items():
            rows.append((name, percentile(times, 0.5), percentile(times, 0.95), units[name], len(times)))
    width = max([len("name")] + [len(r[0]) for r in rows])
    print(f"{'name':<{width}}  {'median':>12}  {'p95':>12}  unit  runs")
    for name, median, p95, unit, count in rows:
        print(f"{name:<{width}}  {median:>12.3f}  {p95:>12.3f}  {unit:<4}  {count}")


if __name__ == "__main__":
    main(sys.argv[1:])
