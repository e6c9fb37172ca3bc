"""Prints run_all.sh's report from what the benchmark and comparison programs wrote.

    python3 report.py MACHINE_FILE BENCH_JSON_DIR COMPARE_DIR

Standard library only: it must work where numpy and scipy are absent.
"""
import array
import glob
import json
import os
import re
import sys

METHODS = [
    # name, title, scipy's interpolator, GSL's and how its method stands to ours
    ("cubic", "C2 cubic spline", "CubicSpline (a)", "cspline (b)", "interior"),
    ("akima", "Akima", "Akima1DInterpolator", "akima", "same"),
    ("monotone", "monotone (Fritsch-Carlson)", "PchipInterpolator (c)", "steffen (d)", "different"),
]
KINDS = {"same": "same method", "interior": "interior only (b)", "different": "other method (d)"}
FOOTNOTES = [
    "(a) ours is clamped at end slopes from the three end points; CubicSpline is given the",
    "    same slopes (bc_type=((1, d0), (1, dn))): the same method.",
    "(b) GSL has no clamped spline: cspline has natural ends (y''=0). Compared from 32",
    "    intervals past each end, where the end conditions have died out; the same method there.",
    "(c) the same slope and end formulas as ours (Fritsch-Carlson with Brodlie's weights).",
    "(d) Steffen's monotone method: close to ours, not the same; its difference is for information.",
    "Timing: ours keeps its arrays between calls, as a redraw does; GSL allocates its spline",
    "once and times gsl_spline_init with the evaluations, its running integral adding the",
    "intervals passed to gsl_spline_eval_integ over the current one; scipy builds the",
    "interpolator and evaluates it (and its antiderivative) on numpy arrays each call.",
]
TASKS = [("derivs", "y, y', y''"), ("integral", "y, running integral")]
QUANTITIES = ["y", "y'", "y''", "integral"]
INTERIOR_INTERVALS = 32
SUB_STEPS = 32


def bench_section(json_dir):
    lines = []
    files = sorted(glob.glob(os.path.join(json_dir, "*.json")))
    if not files:
        return ["  (no benchmark ran)"]
    for path in files:
        program = os.path.splitext(os.path.basename(path))[0]
        try:
            with open(path) as f:
                data = json.load(f)
        except (OSError, ValueError):
            lines.append(f"  {program}: failed (no result; see the log)")
            continue
        lines.append(f"  {program}")
        for b in data.get("benchmarks", []):
            if b.get("aggregate_name") != "median":
                continue
            name = b.get("run_name") or b["name"].removesuffix("_median")
            name = re.sub(r"/(iterations|repeats):\d+", "", name)
            unit = {"ns": "ns", "us": "µs", "ms": "ms", "s": "s"}.get(b.get("time_unit", "ns"), "?")
            lines.append(f"    {name:<46} {b['real_time']:>10.3f} {unit}")
    return lines


def read_times(path):
    times = {}
    try:
        with open(path) as f:
            for line in f:
                name, task, seconds = line.split()
                times[(name, task)] = float(seconds)
    except (OSError, ValueError):
        return None
    return times


def read_values(path, count):
    a = array.array("d")
    try:
        with open(path, "rb") as f:
            a.frombytes(f.read())
    except OSError:
        return None
    if len(a) != 4 * count:
        return None
    return [a[i * count:(i + 1) * count] for i in range(4)]


def largest_differences(ours, theirs, interior):
    """Largest |ours - theirs| of each quantity, relative to the largest |ours|."""
    result = []
    count = len(ours[0])
    lo, hi = 0, count
    if interior:
        lo, hi = INTERIOR_INTERVALS * SUB_STEPS, count - INTERIOR_INTERVALS * SUB_STEPS
    for q, (a, b) in enumerate(zip(ours, theirs)):
        scale = max(abs(v) for v in a) or 1.0
        if q == 3 and interior:
            # The integral carries what the ends added; compare what it gains inside.
            a0, b0 = a[lo], b[lo]
            diff = max(abs((a[k] - a0) - (b[k] - b0)) for k in range(lo, hi))
        else:
            diff = max(abs(a[k] - b[k]) for k in range(lo, hi))
        result.append(diff / scale)
    return result


def us(seconds):
    return f"{seconds * 1e6:9.1f}" if seconds is not None else f"{'-':>9}"


def compare_section(d):
    lines = []
    ours = read_times(os.path.join(d, "times_ours.txt"))
    if ours is None:
        return ["  comparison not run (smooth_compare failed)"]
    try:
        count = os.path.getsize(os.path.join(d, "abscissae.bin")) // 8
        with open(os.path.join(d, "curve.txt")) as f:
            points = sum(1 for _ in f)
    except OSError:
        return ["  comparison not run (no curve)"]
    libs = [("scipy", read_times(os.path.join(d, "times_scipy.txt"))),
            ("GSL", read_times(os.path.join(d, "times_gsl.txt")))]
    lines.append(f"  Curve: cam law (cycloidal rise, dwell, cycloidal return, dwell), {points} points,")
    lines.append(f"  sampled at the {count} abscissae smoothCurve uses (32 per interval and the last point).")
    lines.append("  Median time of one call, building the interpolant and evaluating it everywhere;")
    lines.append("  ratio = theirs / ours (above 1: ours is faster).")
    for lib, times in libs:
        if times is None:
            lines.append(f"  {lib}: not available here, column skipped ({NOTES.get(lib, '')})")
    lines.append("")
    lines.append(f"  {'method':<26} {'task':<19} {'ours µs':>9} {'scipy µs':>9} {'ratio':>6} {'GSL µs':>9} {'ratio':>6}")
    for name, title, *_ in METHODS:
        for task, task_title in TASKS:
            o = ours.get((name, task))
            row = f"  {title:<26} {task_title:<19} {us(o)}"
            for _, times in libs:
                t = times.get((name, task)) if times else None
                ratio = f"{t / o:6.1f}" if (t is not None and o) else f"{'-':>6}"
                row += f" {us(t)} {ratio}"
            lines.append(row)
    lines.append("")
    lines.append("  Largest difference from ours, relative to the largest |value| of each quantity:")
    lines.append(f"  {'method':<10} {'theirs':<27} " + " ".join(f"{q:>9}" for q in QUANTITIES) + "  compared")
    for name, title, scipy_name, gsl_name, gsl_kind in METHODS:
        mine = read_values(os.path.join(d, f"ours_{name}.bin"), count)
        for lib, file_lib, what, kind in (("scipy", "scipy", scipy_name, "same"), ("GSL", "gsl", gsl_name, gsl_kind)):
            theirs = read_values(os.path.join(d, f"{file_lib}_{name}.bin"), count)
            if mine is None or theirs is None:
                continue
            diffs = largest_differences(mine, theirs, kind == "interior")
            cells = " ".join(f"{v:9.1e}" for v in diffs)
            lines.append(f"  {name:<10} {lib + ' ' + what:<27} {cells}  {KINDS[kind]}")
    if not any(times for _, times in libs):
        lines.append("  (no other library to compare with)")
    lines.append("")
    lines += [f"  {line}" for line in FOOTNOTES]
    return lines


NOTES = {
    "scipy": "needs /usr/bin/python3 with numpy and scipy: apt-get install python3-scipy",
    "GSL": "needs GSL at configure time: apt-get install libgsl-dev",
}


def main():
    machine_file, json_dir, compare_dir = sys.argv[1:4]
    with open(machine_file) as f:
        machine = [line.rstrip("\n") for line in f]
    out = ["== crbedit benchmarks =="]
    out += [f"  {line}" for line in machine]
    out.append("")
    out.append("-- Google Benchmark programs: median of the repetitions (wall time) --")
    out += bench_section(json_dir)
    out.append("")
    out.append("-- Smoothing compared with scipy and GSL --")
    out += compare_section(compare_dir)
    print("\n".join(out))


if __name__ == "__main__":
    main()
