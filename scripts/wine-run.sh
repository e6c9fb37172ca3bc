#!/usr/bin/env bash
# Runs a Windows program under Wine: the emulator of the Windows build.
# The Wine prefix is $WINEPREFIX when set (scripts/test-windows.sh makes one per run),
# otherwise one kept in the Windows cache; it is made on first use.
#   wine-run.sh [--dll-dir DIR]... PROGRAM [ARGUMENTS]   DIR: Unix folders of DLLs to find
#   wine-run.sh --prepare                                 makes the prefix ready, runs nothing
set -euo pipefail
wine=/usr/lib/wine/wine64
# Wine's err channel stays on (its messages are set apart below); fixme and the rest off.
export WINEDEBUG=${WINEDEBUG:-err+all,fixme-all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="${CRB_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/crbedit-windows}/wineprefix"
fi
# The prefix is ready once wineboot has ended: its registry files appear earlier, while
# wineboot is still at work, and a program started then fails without a word. So the
# mark of a ready prefix is a file of our own, written under the lock after wineboot.
ready="$WINEPREFIX/.crbedit-ready"
if [ ! -f "$ready" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$ready" ]; then
      "$wine" wineboot --init >/dev/null 2>&1 || true
      WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -w
      # A wineboot that failed leaves no registry: the next run tries again.
      if [ -f "$WINEPREFIX/system.reg" ]; then touch "$ready"; fi
    fi
  ) 9>"$WINEPREFIX.lock"
fi
[ "${1:-}" = "--prepare" ] && exit 0
while [ "${1:-}" = "--dll-dir" ]; do
  WINEPATH="Z:$2${WINEPATH:+;$WINEPATH}"
  export WINEPATH
  shift 2
done
# Wine keeps the Unix QT_* variables from Windows programs (they would mislead a
# Windows Qt) and passes WINEQT_* on as QT_*: the tests' QT_QPA_PLATFORM, QT_QPA_FONTDIR...
while IFS='=' read -r name _; do
  export "WINE$name=${!name}"
done < <(env | grep -o '^QT_[A-Za-z0-9_]*=' || true)

# Wine writes its own messages to the same standard error as the program. That stream
# goes to a file while the program runs: the program's own lines are then passed on,
# Wine's (its debug channels' "0123:err:..." lines and its loader's "wine: ...") are
# shown only when the program fails, after its exit status. So a program that Wine could
# not start says why in the test's log. A file and not a pipe, because the wineserver
# and Wine's own processes that this program may start keep its standard error open
# after it ends. (The program's error output comes after its standard output.)
errors=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$errors"' EXIT
status=0
"$wine" "$@" 2>"$errors" || status=$?
wine_line='^([0-9a-f]{4}:(err|fixme|warn|trace):|wine: |wine client error|wineserver: |preloader: )'
grep -Eav "$wine_line" "$errors" >&2 || true
if [ "$status" -ne 0 ]; then
  {
    echo "wine-run: $1 exited with status $status; Wine reported:"
    grep -Ea "$wine_line" "$errors" | sed 's/^/wine-run:   /' || echo "wine-run:   nothing"
  } >&2
fi
exit "$status"
