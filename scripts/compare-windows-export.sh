#!/usr/bin/env bash
# Checks that the Windows editor's headless export draws the page the Linux editor
# draws: the sample curve exported by both as PNG (same size in pixels) and as PDF
# (same text, page by page). The Windows program runs under Wine and finds its fonts in
# the Windows fonts folder, as on a user's machine: Wine's prefix has none of its own
# there, so Debian's DejaVu fonts are put in it first.
#   compare-windows-export.sh LINUX_CRBEDIT WINDOWS_CRBEDIT_EXE QT_DLL_DIR
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
dlls=$(realpath "$3")
cd "$(dirname "$0")/.."
root=$PWD
work=$(mktemp -d "${TMPDIR:-/tmp}/crbedit-export.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp docs/sample.crb "$work/sample.crb"
cd "$work"

# Width and height of a PNG, from its IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'; }

"$root/scripts/wine-run.sh" cmd /c ver >/dev/null 2>&1 # makes the prefix if need be
fonts=${WINEPREFIX:-${CRB_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/crbedit-windows}/wineprefix}/drive_c/windows/Fonts
mkdir -p "$fonts"
cp /usr/share/fonts/truetype/dejavu/*.ttf "$fonts/"

status=0
for format in png pdf; do
  env -u QT_QPA_PLATFORM "$linux" --export "linux.$format" sample.crb
  env -u QT_QPA_PLATFORM -u QT_QPA_FONTDIR "$root/scripts/wine-run.sh" --dll-dir "$dlls" "$windows" \
    --export "windows.$format" sample.crb
  [ -s "windows.$format" ] || { echo "Windows export: no $format written"; status=1; continue; }
done
if [ "$status" = 0 ]; then
  if [ "$(png_size linux.png)" != "$(png_size windows.png)" ]; then
    echo "PNG sizes differ: Linux $(png_size linux.png), Windows $(png_size windows.png)"
    status=1
  fi
  pdftotext linux.pdf linux.txt
  pdftotext windows.pdf windows.txt
  if ! diff -u linux.txt windows.txt; then
    echo "The PDF pages' texts differ (above)"
    status=1
  fi
  grep -q '[0-9]' windows.txt || { echo "The Windows PDF page has no label"; status=1; }
fi
[ "$status" = 0 ] && echo "Windows export: PNG $(png_size windows.png) and PDF text as on Linux"
exit "$status"
