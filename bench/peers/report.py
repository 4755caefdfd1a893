#!/usr/bin/env python3
"""Turns the runner's measurements (a work folder) into docs/performance.md and the TXT table
docs/performance.txt that bench/peers/PERF.EBT draws as docs/performance.png.

Usage: report.py WORK DOCS RUNS
"""
import datetime
import json
import os
import platform
import subprocess
import sys


def machine():
    cpu = "unknown processor"
    try:
        for line in open("/proc/cpuinfo"):
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    os_name = platform.platform()
    try:
        for line in open("/etc/os-release"):
            if line.startswith("PRETTY_NAME="):
                os_name = line.split("=", 1)[1].strip().strip('"')
    except OSError:
        pass
    return "%s, %d cores, %s, Linux %s" % (cpu, os.cpu_count() or 0, os_name, platform.release())


def bench(path, name, field):
    try:
        for b in json.load(open(path))["benchmarks"]:
            if b["name"].startswith(name):
                return b[field]
    except (OSError, ValueError, KeyError):
        pass
    return None


def version(cmd):
    try:
        out = subprocess.run(cmd, capture_output=True, text=True).stdout.strip()
        return out.splitlines()[0] if out else "?"
    except OSError:
        return "?"


def main():
    work, docs, runs = sys.argv[1], sys.argv[2], sys.argv[3]
    t, fastest = {}, {}
    for line in open(os.path.join(work, "times.txt")):
        k, v, *rest = line.split()
        t[k] = float(v)
        if rest:
            fastest[k] = float(rest[0])

    def ms(k):
        return "%.1f" % (1000 * t[k]) if k in t else "–"

    goals = []  # (name, measured, goal, ratio to the goal: at most 1 meets it)

    def ratio(a, b):
        return t[a] / t[b] if a in t and b in t else None

    for p, limit in ((1, 0.5), (2, 0.25), (3, 1.0)):
        r = ratio("plotane-%d" % p, "gnuplot-pbm-%d" % p)
        goals.append(("page %d / gnuplot pbm" % p, r, limit, r / limit if r else None))
    r = ratio("plotane-empty", "empty-cxx")
    goals.append(("start-up / a program loading the C++ runtime", r, 1.5, r / 1.5 if r else None))
    rate = bench(os.path.join(work, "tables.json"), "BM_ReadTxt32x12401", "bytes_per_second")
    mbs = rate / 1e6 if rate else None
    goals.append(("TXT table reading, MB/s", mbs, 200, 200 / mbs if mbs else None))
    # In-program figures are CPU times: on a shared machine the wall clock also counts the waits
    # for a core (both are in the text below).
    write_ms = bench(os.path.join(work, "png.json"), "BM_WritePngFile", "cpu_time")
    goals.append(("page PNG written, ms", write_ms, 10, write_ms / 10 if write_ms else None))

    pages = [
        (1, "4 curves × 10 000 points, 470 KB table"),
        (2, "32 curves × 12 401 points, 3.9 MB table"),
        (3, "32 curves × 800 open circles"),
    ]
    out = ["# Performance side by side with the peers", ""]
    out.append("Written by `bench/peers/run` on %s (UTC), %s runs each after warm-up runs, "
               "median of whole processes timed with hyperfine." %
               (datetime.datetime.utcnow().strftime("%Y-%m-%d %H:%M"), runs))
    out.append("")
    out.append("Machine: %s." % machine())
    out.append("")
    out.append("Peers: %s; %s." % (version(["gnuplot", "--version"]),
                                   "Grace and matplotlib where the table shows them"))
    out.append("")
    out.append("## Whole processes (milliseconds, median)")
    out.append("")
    out.append("| page | Plotane `--batch` → PNG | gnuplot pbm | gnuplot png | Grace | matplotlib "
               "| Plotane / gnuplot pbm |")
    out.append("|---|---|---|---|---|---|---|")
    for p, what in pages:
        r = ratio("plotane-%d" % p, "gnuplot-pbm-%d" % p)
        out.append("| %s | %s | %s | %s | %s | %s | %s |" % (
            what, ms("plotane-%d" % p), ms("gnuplot-pbm-%d" % p), ms("gnuplot-png-%d" % p),
            ms("grace-%d" % p), ms("matplotlib-%d" % p), "%.2f" % r if r else "–"))
    out.append("| a script of only END | %s | | | | | |" % ms("plotane-empty"))
    out.append("| a program that only loads the C++ runtime | %s | | | | | |" % ms("empty-cxx"))
    out.append("")
    if fastest:
        # The fastest run of each is the least disturbed by other work on a shared machine.
        def fr(a, b):
            return "%.2f" % (fastest[a] / fastest[b]) if a in fastest and b in fastest else "–"
        out.append("The same ratios from the fastest run of each (less disturbed by other work on "
                   "the machine): page 1 %s, page 2 %s, page 3 %s; start-up %s." % (
                       fr("plotane-1", "gnuplot-pbm-1"), fr("plotane-2", "gnuplot-pbm-2"),
                       fr("plotane-3", "gnuplot-pbm-3"), fr("plotane-empty", "empty-cxx")))
        out.append("")
    out.append("## Goals")
    out.append("")
    out.append("| goal | measured | limit | met |")
    out.append("|---|---|---|---|")
    for name, measured, limit, rel in goals:
        if measured is None:
            out.append("| %s | – | %s | not measured |" % (name, limit))
            continue
        better_low = not name.startswith("TXT")
        met = measured <= limit if better_low else measured >= limit
        out.append("| %s | %.2f | %s %s | %s |" % (name, measured, "≤" if better_low else "≥",
                                                   limit, "yes" if met else "NO"))
    def both(path, name):
        cpu = bench(os.path.join(work, path), name, "cpu_time")
        wall = bench(os.path.join(work, path), name, "real_time")
        return "%.2f (wall %.2f)" % (cpu, wall) if cpu is not None and wall is not None else "–"

    out.append("")
    out.append("Inside the program (Google Benchmark in `build-release/bench`, CPU time, wall "
               "clock in brackets): reading the 3.9 MB table: %s ms (%s); encoding the page PNG "
               "of page 1: %s ms; writing it whole (encoded, written, synced, renamed): %s ms; "
               "an open circle of size 2 over ink, its knock-out and outline: %s µs, of size 9: "
               "%s µs." % (
                   both("tables.json", "BM_ReadTxt32x12401"),
                   "%.0f MB/s" % mbs if mbs else "–",
                   both("png.json", "BM_EncodePng/graph:1"),
                   both("png.json", "BM_WritePngFile"),
                   both("symbols.json", "BM_KnockoutOverInk/2"),
                   both("symbols.json", "BM_KnockoutOverInk/9")))
    out.append("")
    vector = os.path.join(work, "vector.json")
    def export(name):
        ms = bench(vector, name, "real_time")
        size = bench(vector, name, "bytes")
        return "%.0f ms, %.1f MB" % (ms, size / 1e6) if ms is not None and size else "–"
    out.append("Vector export of page 2 (32 curves × 12 401 points, `bench/bench_vector.cpp`, wall "
               "clock and file size): SVG %s; PDF %s; PNG at 1200 dpi %s." % (
                   export("BM_Svg32x12401"), export("BM_Pdf32x12401"),
                   export("BM_Png1200dpi32x12401")))
    out.append("")
    out.append("![the goals as bars](performance.png)")
    out.append("")
    out.append("The chart shows each goal's measured figure divided by its limit (for the reading "
               "rate, the limit divided by the figure): a bar at or below the dashed line at 1 "
               "meets its goal. Plotane drew it from `performance.txt` with "
               "`bench/peers/PERF.EBT`.")
    out.append("")
    open(os.path.join(docs, "performance.md"), "w").write("\n".join(out))

    # The chart's table: the outline of each bar (x, height), a point per corner, and the goal
    # line at 1 over the same number of points, in columns A..D.
    rows = []
    bars = [g[3] if g[3] is not None else 0 for g in goals]
    n = len(bars)
    line_x = [0.4 + (n + 0.2) * k / (4 * n - 1) for k in range(4 * n)]
    for i, h in enumerate(bars):
        x = i + 1
        for k, (bx, by) in enumerate(((x - 0.3, 0), (x - 0.3, h), (x + 0.3, h), (x + 0.3, 0))):
            j = 4 * i + k
            rows.append("%14.5E%14.5E%14.5E%14.5E" % (bx, by, line_x[j], 1.0))
    open(os.path.join(docs, "performance.txt"), "w").write("\r\n".join(rows) + "\r\n")


if __name__ == "__main__":
    main()
