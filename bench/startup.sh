#!/usr/bin/env bash
# The editor's start-up against the floor of Qt: the time from the start of the process
# to the map of its main window on a bare Xvfb display, for the editor on a 1024-point
# curve and for a dialog with one label built with the same Qt (bench/bare_dialog.cpp),
# measured in turns by bench/window_map_time.cpp. Prints both medians and their ratio.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (default build-bench, 15 runs of each)
#
# CRBEDIT names another editor program to time (an older build, to compare).
#
# Installs what it lacks (Xvfb, Xlib's headers) with scripts/install-deps.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/process_common.sh"

build=${1:-${BUILD_DIR:-build-bench}}
case $build in /*) ;; *) build=$root/$build ;; esac
runs=${2:-15}

"$root/scripts/install-deps.sh" xvfb libx11-dev >&2
build_programs "$build" crbedit bare_dialog window_map_time
editor=${CRBEDIT:-$build/gui/crbedit}
bare=$build/bench/bare_dialog
probe=$build/bench/window_map_time

work=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
write_cam_curve "$work/cam.crb"
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"

# A display of its own with no window manager: the windows are the root's children.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { say "Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")
# The users' settings are never read; the locale is theirs.
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LC_ALL=fr_FR.UTF-8 QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR

# One start of each first, so that both find their libraries in the page cache.
"$probe" "$editor" "$work/cam.crb" >/dev/null
"$probe" "$bare" >/dev/null

say "$runs starts of each, in turns"
: >"$work/editor.txt"
: >"$work/bare.txt"
for ((i = 0; i < runs; i++)); do
    if ((i % 2)); then
        "$probe" "$editor" "$work/cam.crb" >>"$work/editor.txt"
        "$probe" "$bare" >>"$work/bare.txt"
    else
        "$probe" "$bare" >>"$work/bare.txt"
        "$probe" "$editor" "$work/cam.crb" >>"$work/editor.txt"
    fi
done
e=$(median <"$work/editor.txt")
b=$(median <"$work/bare.txt")
echo "Start-up to the window mapped, medians of $runs (load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)):"
echo "  editor on 1024 points  $e ms"
echo "  bare Qt dialog         $b ms"
LC_ALL=C awk -v e="$e" -v b="$b" 'BEGIN { printf "  ratio                  %.2fx\n", e / b }'
