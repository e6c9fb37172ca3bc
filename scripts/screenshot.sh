#!/usr/bin/env bash
# Refreshes docs/screenshot.png: builds the editor in Release, starts it on
# docs/sample.crb under a virtual X server, ticks "Dérivée 1", frames the view with
# "Tout", takes a picture of the window and stops the editor with "Arrêt".
#   scripts/screenshot.sh [--scale R] [BUILD_DIR]     (default build-shot)
# --scale R runs the editor at screen scale R (QT_SCALE_FACTOR, 1.5 for 150 %) and
# writes docs/screenshot-<R>x.png instead.
# Installs the Debian packages it lacks first, the X tools included.
set -euo pipefail
self=$(realpath "$0")
cd "$(dirname "$self")/.."

# Second stage, run by xvfb-run below: drives the program inside the virtual display.
if [ "${1:-}" = "--drive" ]; then
  exe=$2 out=$3
  "$exe" docs/sample.crb &
  pid=$!
  trap 'kill "$pid" 2>/dev/null || true' EXIT

  # The main window is a dialog titled "Editeur de courbes - Version ...".
  win=$(timeout 60 xdotool search --sync --onlyvisible --name '^Editeur de courbes' | head -n 1)
  eval "$(xdotool getwindowgeometry --shell "$win")"
  # The window is laid out in dialog units, 520 x 330 of them: a point of that layout
  # becomes screen pixels in proportion, whatever the font makes of a unit.
  at() { echo $((X + ($1 * WIDTH + 260) / 520)) $((Y + ($2 * HEIGHT + 165) / 330)); }
  click() { xdotool mousemove --sync $(at "$1" "$2") click 1; sleep 1; }
  sleep 1                 # the first plot
  click 25 59             # "Dérivée 1" (its label, in the "Affichage" group)
  click 486 131           # "Tout": the frame takes in the derivative too
  # The pointer over the drawing area fills the "Coord" group; the picture holds no cursor.
  xdotool mousemove --sync $(at 300 200)
  sleep 1
  import -window "$win" -strip "$out"
  click 486 278           # "Arrêt": nothing was changed, so no save question
  for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the editor did not stop on Arrêt" >&2
    exit 1
  fi
  wait "$pid" || true
  exit 0
fi

scale=1
if [ "${1:-}" = "--scale" ]; then
  scale=$2
  shift 2
fi
picture=docs/screenshot.png
[ "$scale" = 1 ] || picture=docs/screenshot-${scale}x.png

# The X tools are installed here only: the tests never need them.
scripts/install-deps.sh xvfb xauth imagemagick xdotool

build=${1:-build-shot}
jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCRB_BUILD_TESTS=OFF -DCRB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target crbedit -j"$jobs"

# An empty configuration, so that the picture does not depend on this machine's
# installation of the simulation product: the units come from units.ini beside the program.
# Qt's runtime directory goes there too, and everything goes away at the end.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
shot=$scratch/shot.png
# The screen grows with the scale, so that the window fits as it does at 1280 x 1024.
screen=$(awk -v s="$scale" 'BEGIN { printf "%dx%d", 1280 * s, 1024 * s }')
QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME=$scratch XDG_CONFIG_DIRS=$scratch XDG_RUNTIME_DIR=$scratch \
  xvfb-run -a -s "-screen 0 ${screen}x24" "$self" --drive "$build/gui/crbedit" "$shot"
# 256 colours are plenty for a dialog and keep the file small.
convert "$shot" -strip -colors 256 "PNG8:$picture"
echo "$picture: $(identify -format '%wx%h' "$picture"), $(du -k "$picture" | cut -f1) KB"
