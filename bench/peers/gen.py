#!/usr/bin/env python3
"""Writes the three peer pages' tables into a folder (default: the current one).

page1.txt: 10 000 lines of an x and 4 curves (about 470 KB)
page2.txt: 12 401 lines of an x and 32 curves (about 3.9 MB)
page3.txt: 800 lines of an x and 32 curves (the open-circle page)

Every program reads the same files: blank-separated numbers, one line per point, no header.
Beside them the scripts that draw each page: PAGEn.EBT (Plotane), pageN-pbm.gp and pageN-png.gp
(gnuplot), pageN-matplotlib.py, and EMPTY.EBT (a script of only END, for the start-up).
"""
import math
import os
import sys


def write(name, lines, curves, step, amplitude):
    with open(name, "w") as f:
        for i in range(lines):
            x = i * step
            row = ["%9.5f" % x]
            for c in range(1, curves + 1):
                y = c + amplitude * math.sin(x * (1 + 0.05 * c) + c)
                row.append("%9.5f" % y)
            f.write(" ".join(row) + "\n")


def column(n):
    """The worksheet's column letters: A..Z, then AA.."""
    return chr(65 + n) if n < 26 else chr(64 + n // 26) + chr(65 + n % 26)


PAGES = {
    # name: (lines, curves, step, amplitude, points instead of lines)
    "page1": (10000, 4, 0.002, 0.8, False),
    "page2": (12401, 32, 0.001, 0.45, False),
    "page3": (800, 32, 0.0125, 0.45, True),
}


def plotane_script(name, lines, curves, points):
    out = ["{ %s: %d curves of %d %s from %s.txt }" % (
        name, curves, lines, "open circles" if points else "points", name)]
    out.append("WWFILEREADTXT(%s, A);" % name.upper())
    for c in range(1, curves + 1):
        style = "@CURVPTS(%d, POC, 2);" % c if points else "@CURVLINE(%d, LINE, 1);" % c
        out.append("GWCURVENEWDEF(%s, A, 0, %d);  %s" % (column(c), lines - 1, style))
    out += ["GWSETUPDRAWGRAPH;", "DWDRAWGRAPH;", "END", ""]
    return "\n".join(out)


def gnuplot_script(name, curves, points, terminal):
    if terminal == "pbm":
        term = "set terminal pbm monochrome size 2400,3000"
    else:
        term = "set terminal png size 2400,3000"
    style = "points pt 6 ps 1" if points else "lines lt 1"
    style += " lc rgb 'black'"
    return "\n".join([
        term,
        "set output '%s-gnuplot.%s'" % (name, terminal),
        "unset key",
        "plot for [c=2:%d] '%s.txt' using 1:c with %s" % (curves + 1, name, style),
        ""])


def matplotlib_script(name, curves, points):
    style = "marker='o', markerfacecolor='none', linestyle='none', markersize=6" if points \
        else "linewidth=1"
    return "\n".join([
        "import matplotlib",
        "matplotlib.use('Agg')",
        "import numpy as np",
        "import matplotlib.pyplot as plt",
        "d = np.loadtxt('%s.txt')" % name,
        "fig = plt.figure(figsize=(8, 10), dpi=300)",
        "ax = fig.add_subplot(1, 1, 1)",
        "for c in range(1, %d):" % (curves + 1),
        "    ax.plot(d[:, 0], d[:, c], color='black', %s)" % style,
        "fig.savefig('%s-matplotlib.png', dpi=300)" % name,
        ""])


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    for name, (lines, curves, step, amplitude, points) in PAGES.items():
        write(os.path.join(out, name + ".txt"), lines, curves, step, amplitude)
        with open(os.path.join(out, name.upper() + ".EBT"), "w") as f:
            f.write(plotane_script(name, lines, curves, points))
        for terminal in ("pbm", "png"):
            with open(os.path.join(out, "%s-%s.gp" % (name, terminal)), "w") as f:
                f.write(gnuplot_script(name, curves, points, terminal))
        with open(os.path.join(out, name + "-matplotlib.py"), "w") as f:
            f.write(matplotlib_script(name, curves, points))
    # A script that does nothing: the program's start-up alone.
    with open(os.path.join(out, "EMPTY.EBT"), "w") as f:
        f.write("END\n")


if __name__ == "__main__":
    main()
