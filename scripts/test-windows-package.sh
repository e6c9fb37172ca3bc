#!/usr/bin/env bash
# Checks the Windows packages as their users get them (scripts/package-windows.sh makes
# them), each check in a Wine prefix of its own, made for this run:
#   1. the ZIP unpacks to at most 40 MB, and every DLL that the program and its plugins
#      import is in the package or is a Windows system DLL (MinGW's objdump reads the
#      imports);
#   2. crbedit.exe unpacked from the ZIP starts on a curve with the windows platform
#      plugin, the one users run (no QT_QPA_PLATFORM), under Xvfb: its window, titled with
#      the version, shows the plot (the red marks of the points); Escape ends it with
#      exit code 0;
#   3. the installer installs silently (msiexec /qn): the files under Program Files, the
#      Start menu entry, the "Fichier courbe" type; crbedit.exe --version runs from the
#      installed folder; a silent uninstall leaves no program file, entry or type behind.
#   test-windows-package.sh ZIP MSI
set -euo pipefail
zip=$(realpath "$1")
msi=$(realpath "$2")
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 unzip xvfb xdotool imagemagick >&2
version=$(basename "$zip" | sed -n 's/^crbedit-\(.*\)-win64\.zip$/\1/p')
work=$(mktemp -d "${TMPDIR:-/tmp}/crbedit-package.XXXXXX")
cleanup() {
  jobs -p | xargs -r kill 2>/dev/null || true
  for prefix in "$work"/prefix-*; do
    WINEPREFIX=$prefix /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "test-windows-package: $*" >&2
  exit 1
}
# Two fresh prefixes, made (wineboot) while the ZIP is checked; each is used once ready,
# with its own server kept alive while it serves.
declare -A preparing
for name in run msi; do
  WINEPREFIX=$work/prefix-$name scripts/wine-run.sh --prepare &
  preparing[$name]=$!
done
use_prefix() {
  wait "${preparing[$1]}"
  export WINEPREFIX=$work/prefix-$1
  /usr/lib/wine/wineserver -p
}
windows_path() { echo "Z:$1" | tr / '\\'; }

echo "== The ZIP: its size and the DLLs it needs"
unzip -q "$zip" -d "$work/zip"
program_dir=$(dirname "$(find "$work/zip" -name crbedit.exe)")
size=$(du -sb "$program_dir" | cut -f1)
echo "unpacked: $((size / 1000000)) MB"
[ "$size" -le 40000000 ] || fail "the ZIP unpacks to $size bytes, more than 40 MB"
scripts/check-windows-imports.sh "$program_dir"

echo "== The program on the windows platform, under Xvfb"
use_prefix run
mkdir -p "$WINEPREFIX/drive_c/courbes"
cp docs/sample.crb "$WINEPREFIX/drive_c/courbes/came.crb"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
title="Editeur de courbes - Version $version"
status=0
(
  unset QT_QPA_PLATFORM QT_QPA_FONTDIR
  cd "$program_dir"
  timeout 120 "$root/scripts/wine-run.sh" ./crbedit.exe 'C:\courbes\came.crb'
) &
program=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$title\$" | head -n1) ||
  fail "no window titled \"$title\" within 60 s"
# The first paint may follow the mapping of the window by a moment.
red=0
for _ in $(seq 50); do
  import -window "$window" "$work/window.png"
  red=$(convert "$work/window.png" -fx '(r>0.6&&g<0.35&&b<0.35)?1:0' -format '%[fx:round(mean*w*h)]' info:)
  [ "$red" -ge 20 ] && break
  sleep 0.2
done
[ "$red" -ge 20 ] || fail "the window shows no plot ($red red pixels; picture kept in $work/window.png)"
echo "window \"$title\" with the plot drawn ($red red pixels)"
xdotool windowfocus --sync "$window"
xdotool key --window "$window" Escape
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "after Escape, the program exited with status $status"
echo "Escape: exit code 0"
/usr/lib/wine/wineserver -k

echo "== The installer: silent install, the program from there, silent uninstall"
use_prefix msi
drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Veltrix/Editeur de courbes"
# Windows puts the Start menu entry of a per-machine install in the common Start menu;
# Wine's installer puts it in the user's: either will do.
start_menu_entry() { find "$drive_c" -path '*/Start Menu/Programs/Editeur de courbes.lnk'; }
registry_value() { scripts/wine-run.sh reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
scripts/wine-run.sh msiexec /i "$(windows_path "$msi")" /qn
for file in crbedit.exe crbedit-editor.dll Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll units.ini lintrel.hlp qt.conf \
  plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll translations/qtbase_fr.qm; do
  [ -f "$installed/$file" ] || fail "not installed: $file"
done
[ -n "$(start_menu_entry)" ] || fail "no Start menu entry"
[ "$(registry_value 'HKLM\Software\Classes\.crb')" = Veltrix.FichierCourbe ] || fail ".crb is not registered"
[ "$(registry_value 'HKLM\Software\Classes\Veltrix.FichierCourbe')" = "Fichier courbe" ] ||
  fail "the type is not named \"Fichier courbe\""
open_command=$(registry_value 'HKLM\Software\Classes\Veltrix.FichierCourbe\shell\open\command')
[ "$open_command" = '"C:\Program Files\Veltrix\Editeur de courbes\crbedit.exe" "%1"' ] ||
  fail "a .crb file opens with <$open_command>"
reported=$(cd "$installed" && "$root/scripts/wine-run.sh" ./crbedit.exe --version | tr -d '\r')
[ "$reported" = "crbedit $version" ] || fail "crbedit.exe --version from the installed folder says <$reported>"
echo "installed: files, Start menu entry, .crb type; --version says \"$reported\""
scripts/wine-run.sh msiexec /x "$(windows_path "$msi")" /qn
left=$(find "$drive_c/Program Files/Veltrix" -type f 2>/dev/null || true)
[ -z "$left" ] || fail "left behind by the uninstall: $left"
[ -z "$(start_menu_entry)" ] || fail "the Start menu entry is left behind"
[ -z "$(registry_value 'HKLM\Software\Classes\.crb')" ] || fail "the .crb type is left behind"
echo "uninstalled: no program file, Start menu entry or type left"
