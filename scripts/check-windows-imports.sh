#!/usr/bin/env bash
# Checks that a Windows program folder is complete: every DLL that one of its programs
# or DLLs (its Qt plugins included) imports is either in the folder, beside the program,
# or a DLL that every Windows 10 or later has in its system folder. The imports are read
# with MinGW's objdump.
#   check-windows-imports.sh FOLDER
set -euo pipefail
folder=$1
objdump=x86_64-w64-mingw32-objdump

# Windows' own DLLs, in lower case. A DLL that only some Windows installations have
# (a redistributable, a component installed apart) does not belong here.
system_dlls="advapi32.dll authz.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll d2d1.dll d3d9.dll
  d3d11.dll d3d12.dll dcomp.dll dwmapi.dll dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll
  mpr.dll msvcrt.dll netapi32.dll ntdll.dll ole32.dll oleaut32.dll setupapi.dll shcore.dll
  shell32.dll shlwapi.dll user32.dll userenv.dll uxtheme.dll version.dll winmm.dll winspool.drv
  ws2_32.dll wtsapi32.dll"
system_dlls=" $(echo $system_dlls) "

present=" "
while IFS= read -r dll; do
  present+="$(basename "$dll" | tr '[:upper:]' '[:lower:]') "
done < <(find "$folder" -maxdepth 1 -iname '*.dll')

missing=0
checked=0
while IFS= read -r binary; do
  checked=$((checked + 1))
  imports=$("$objdump" -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')
  [ -n "$imports" ] || { echo "check-windows-imports: no import read from $binary" >&2; missing=1; }
  while IFS= read -r import; do
    name=$(echo "$import" | tr '[:upper:]' '[:lower:]')
    case "$present$system_dlls" in
      *" $name "*) ;;
      # The API sets of Windows 8 and later, resolved by the loader itself.
      *) if [[ "$name" != api-ms-win-* ]]; then
           echo "check-windows-imports: ${binary#"$folder"/} imports $import, neither in the package nor a Windows DLL" >&2
           missing=1
         fi ;;
    esac
  done <<<"$imports"
done < <(find "$folder" -type f \( -iname '*.exe' -o -iname '*.dll' \) | sort)
[ "$missing" -eq 0 ] || exit 1
echo "imports: the $checked programs and DLLs need only the package's DLLs and Windows' own"
