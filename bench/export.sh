#!/usr/bin/env bash
# The headless export against gnuplot on the same work: the 1024-point cam law drawn as
# a 1000x700 PNG, the whole process timed, in turns: `crbedit --export out.png curve.crb`
# and gnuplot's pngcairo terminal drawing the same points with `smooth csplines`.
# Prints both medians and their ratio.
#
#   bench/export.sh [BUILD_DIR] [RUNS]      (default build-bench, 15 runs of each)
#
# CRBEDIT names another editor program to time (an older build, to compare).
#
# gnuplot comes from Debian's gnuplot-nox; without it the comparison is skipped with a
# note and the editor's time alone is given.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/process_common.sh"

build=${1:-${BUILD_DIR:-build-bench}}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=${2:-15}

build_programs "$build" crbedit
editor=${CRBEDIT:-$build/gui/crbedit}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
write_cam_curve "$work/cam.crb"
# The same points for gnuplot: the lines of two numbers.
awk 'NF == 2' "$work/cam.crb" | tr -d '\r' >"$work/cam.dat"
cat >"$work/cam.gp" <<GP
set terminal pngcairo size 1000,700
set output '$work/gnuplot.png'
plot '$work/cam.dat' using 1:2 smooth csplines notitle
GP
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LC_ALL=fr_FR.UTF-8
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

gnuplot=$(command -v gnuplot || true)
# One run of each first, so that both find their libraries in the page cache.
elapsed_ms "$editor" --export "$work/editor.png" "$work/cam.crb" >/dev/null
[ -n "$gnuplot" ] && elapsed_ms "$gnuplot" "$work/cam.gp" >/dev/null

say "$runs exports of each, in turns"
: >"$work/editor.txt"
: >"$work/gnuplot.txt"
for ((i = 0; i < runs; i++)); do
    if [ -n "$gnuplot" ] && ((i % 2)); then
        elapsed_ms "$gnuplot" "$work/cam.gp" >>"$work/gnuplot.txt"
    fi
    elapsed_ms "$editor" --export "$work/editor.png" "$work/cam.crb" >>"$work/editor.txt"
    if [ -n "$gnuplot" ] && ! ((i % 2)); then
        elapsed_ms "$gnuplot" "$work/cam.gp" >>"$work/gnuplot.txt"
    fi
done
e=$(median <"$work/editor.txt")
echo "PNG of 1024 points at 1000x700, whole process, medians of $runs (load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  crbedit --export   $e ms"
if [ -z "$gnuplot" ]; then
    echo "  gnuplot            skipped: not installed (Debian's gnuplot-nox)"
    exit 0
fi
g=$(median <"$work/gnuplot.txt")
echo "  gnuplot pngcairo   $g ms ($("$gnuplot" --version))"
LC_ALL=C awk -v e="$e" -v g="$g" 'BEGIN { printf "  ratio              %.2fx\n", e / g }'
