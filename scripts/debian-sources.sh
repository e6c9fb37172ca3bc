#!/usr/bin/env bash
# Adds the deb-src lines that `apt-get source` needs, once: bookworm's, and the next
# release's for a source that bookworm's archive no longer serves (libinih 55 was
# missing; 59 has the same API). The Windows libraries are built from these sources.
set -euo pipefail
as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
sources=/etc/apt/sources.list.d/crbedit-deb-src.sources
[ -f "$sources" ] && exit 0
as_root tee "$sources" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm trixie
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
# Without the lists of these sources the next run tries again.
as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2 || {
  as_root rm -f "$sources"
  exit 1
}
