"""scipy's side of the interpolation comparison (run_all.sh).

    python3 smooth_compare_scipy.py DIR

Reads DIR/curve.txt and DIR/abscissae.bin written by smooth_compare, writes
DIR/scipy_NAME.bin (y, y', y'', running integral) and DIR/times_scipy.txt in its layout.
"""
import statistics
import sys
import time

import numpy as np
from scipy.interpolate import Akima1DInterpolator, CubicSpline, PchipInterpolator


def end_slope(h1, h2, near, far):
    """The editor's cubic spline is clamped at slopes from the three end points, limited
    to keep the end interval's sign and not to overshoot where the data turn."""
    s = h1 + h2
    d = ((h1 + s) / s) * near - (h1 / s) * far
    if d * near <= 0:
        return 0.0
    if near * far < 0 and abs(3 * near) < abs(d):
        return 3 * near
    return d


def clamped_spline(x, y):
    h = np.diff(x)
    delta = np.diff(y) / h
    d0 = end_slope(h[0], h[1], delta[0], delta[1])
    dn = end_slope(h[-1], h[-2], delta[-1], delta[-2])
    return CubicSpline(x, y, bc_type=((1, d0), (1, dn)))


METHODS = [
    ("cubic", clamped_spline),
    ("akima", Akima1DInterpolator),
    ("monotone", PchipInterpolator),
]


def derivs(make, x, y, xs):
    f = make(x, y)
    return f(xs), f(xs, 1), f(xs, 2)


def integral(make, x, y, xs):
    f = make(x, y)
    # The antiderivative is zero at the first point, as the editor's running integral.
    return f(xs), f.antiderivative()(xs)


def median_seconds_per_call(work, runs=15):
    """Median of runs of about 10 ms each, as the C++ programs time."""
    start = time.perf_counter()
    work()
    once = max(time.perf_counter() - start, 1e-7)
    calls = max(1, min(100000, int(0.01 / once)))
    per_call = []
    for _ in range(runs):
        start = time.perf_counter()
        for _ in range(calls):
            work()
        per_call.append((time.perf_counter() - start) / calls)
    return statistics.median(per_call)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: smooth_compare_scipy.py DIR")
    d = sys.argv[1]
    curve = np.loadtxt(f"{d}/curve.txt")
    x, y = curve[:, 0].copy(), curve[:, 1].copy()
    xs = np.fromfile(f"{d}/abscissae.bin", dtype=np.float64)
    lines = []
    for name, make in METHODS:
        v, d1, d2 = derivs(make, x, y, xs)
        _, integ = integral(make, x, y, xs)
        np.concatenate([v, d1, d2, integ]).astype(np.float64).tofile(f"{d}/scipy_{name}.bin")
        t_derivs = median_seconds_per_call(lambda: derivs(make, x, y, xs))
        t_integral = median_seconds_per_call(lambda: integral(make, x, y, xs))
        lines.append(f"{name} derivs {t_derivs:.6g}")
        lines.append(f"{name} integral {t_integral:.6g}")
    with open(f"{d}/times_scipy.txt", "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
