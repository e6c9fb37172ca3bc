#!/usr/bin/env bash
# Builds the benchmarks in Release, runs each once and prints one report: the median of
# every benchmark, the machine, and smoothCurve against scipy and GSL on the same work.
#
#   bench/run_all.sh [BUILD_DIR]        (default build-bench, or $BUILD_DIR)
#
# scipy and GSL are optional: without them their column is skipped with a note ($SCIPY_PYTHON
# names the python to try for scipy, /usr/bin/python3 then python3 by default). The
# report is also kept in BUILD_DIR/bench-report.txt; progress goes to standard error.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-${BUILD_DIR:-build-bench}}
case $build in /*) ;; *) build=$root/$build ;; esac
jobs=${JOBS:-2} # the machine has two cores, often shared
out=$build/bench-results
log=$out/log.txt

say() { echo "run_all: $*" >&2; }

start=$SECONDS
say "configuring and building in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCRB_BUILD_TESTS=OFF -DCRB_BUILD_BENCH=ON >/dev/null ||
    { say "configure failed"; exit 1; }
targets=(smooth_compare)
for src in "$root"/bench/bench_*.cpp; do
    targets+=("$(basename "$src" .cpp)")
done
# The GSL program exists only when CMake found GSL (and its CBLAS, which it links).
if grep -q '^GSL_LIBRARY:FILEPATH=/' "$build/CMakeCache.txt" &&
    grep -q '^GSL_CBLAS_LIBRARY:FILEPATH=/' "$build/CMakeCache.txt"; then
    targets+=(smooth_compare_gsl)
fi
cmake --build "$build" -j"$jobs" --target "${targets[@]}" >"$build/bench-build.log" 2>&1 ||
    { tail -n 30 "$build/bench-build.log" >&2; say "build failed (log: $build/bench-build.log)"; exit 1; }

built=$SECONDS
rm -rf "$out"
mkdir -p "$out/json" "$out/compare"
: >"$log"

machine=$out/machine.txt
{
    vm=""
    grep -qw hypervisor /proc/cpuinfo && vm=", virtual machine"
    echo "CPU: $(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores$vm"
    echo "Date: $(date '+%Y-%m-%d %H:%M %Z'); load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "Compiler: $(${CXX:-c++} --version 2>/dev/null | head -n 1), Release"
} >"$machine"

# Render benchmarks paint on Qt images: no display is needed, none is used.
export QT_QPA_PLATFORM=offscreen
for exe in "$build"/bench/bench_*; do
    [[ -x $exe && -f $exe ]] || continue
    name=$(basename "$exe")
    say "running $name"
    if ! "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/json/$name.json" --benchmark_out_format=json >>"$log" 2>&1; then
        say "$name failed (log: $log)"
        echo "not json" >"$out/json/$name.json"
    fi
done

say "running the interpolation comparison"
cmp=$out/compare
if ! "$build/bench/smooth_compare" "$cmp" >>"$log" 2>&1; then
    say "smooth_compare failed (log: $log)"
else
    if [[ -x $build/bench/smooth_compare_gsl ]]; then
        "$build/bench/smooth_compare_gsl" "$cmp" >>"$log" 2>&1 || say "the GSL comparison failed (log: $log)"
        gsl_version=$(pkg-config --modversion gsl 2>/dev/null || gsl-config --version 2>/dev/null || echo "?")
        echo "GSL: $gsl_version" >>"$machine"
    fi
    # The Debian python has the Debian scipy; a python of one's own may lack it.
    for py in ${SCIPY_PYTHON:-/usr/bin/python3 python3}; do
        if "$py" -c 'import numpy, scipy.interpolate' 2>/dev/null; then
            "$py" "$root/bench/smooth_compare_scipy.py" "$cmp" >>"$log" 2>&1 || say "the scipy comparison failed (log: $log)"
            echo "scipy: $("$py" -c 'import scipy, numpy, platform; print(scipy.__version__, "with numpy", numpy.__version__, "on Python", platform.python_version())')" >>"$machine"
            break
        fi
    done
fi
echo "Load average at end: $(cut -d' ' -f1-3 /proc/loadavg) (the machine may be shared: figures vary)" >>"$machine"
echo "Time: build $((built - start)) s, runs $((SECONDS - built)) s" >>"$machine"

py=python3
[[ -x /usr/bin/python3 ]] && py=/usr/bin/python3
"$py" "$root/bench/report.py" "$machine" "$out/json" "$cmp" | tee "$build/bench-report.txt"
