# Shared by bench/startup.sh and bench/export.sh (sourced): the Release build of the
# editor and of the comparison programs, the 1024-point cam law as a curve file, and
# medians. Progress goes to standard error.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

say() { echo "$(basename "$0"): $*" >&2; }

# build_programs BUILD_DIR TARGET...: configures a Release build with the benchmarks and
# builds the targets (at most two jobs: the machine is often shared).
build_programs() {
    local build=$1
    shift
    say "building ${*} in $build"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCRB_BUILD_BENCH=ON >/dev/null ||
        { say "configure failed"; return 1; }
    cmake --build "$build" -j"${JOBS:-2}" --target "$@" >"$build/process-bench-build.log" 2>&1 ||
        { tail -n 30 "$build/process-bench-build.log" >&2; say "build failed"; return 1; }
}

# write_cam_curve FILE: the cam law of the smoothing comparison (cycloidal rise of 10 over
# 120 degrees, dwell, return, dwell) as a curve file of 1024 points, smoothed "Cubique".
write_cam_curve() {
    awk 'function cyc(t) { return t - sin(2 * pi * t) / (2 * pi) }
         BEGIN {
           pi = atan2(0, -1); n = 1024
           printf "20020704\r\n1\r\n0\r\n%d\r\n", n
           for (i = 0; i < n; i++) {
             x = 360 * i / (n - 1)
             if (x < 120) y = 10 * cyc(x / 120)
             else if (x < 180) y = 10
             else if (x < 300) y = 10 * (1 - cyc((x - 180) / 120))
             else y = 0
             printf "%.6f %.6f\r\n", x, y
           }
           printf "mm\r\n"
         }' >"$1"
}

# median: the median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; m = int((NR + 1) / 2);
                     if (NR % 2) print v[m]; else printf "%.1f\n", (v[m] + v[m + 1]) / 2 }'
}

# elapsed_ms COMMAND...: runs the command (its output discarded) and prints its wall time.
elapsed_ms() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null 2>&1 || return 1
    local end=$EPOCHREALTIME
    # Bash writes the fraction with the locale's decimal sign.
    start=${start/,/.} end=${end/,/.}
    LC_ALL=C awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
}
