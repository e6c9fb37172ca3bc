#!/usr/bin/env bash
# Installs the Debian 12 packages the editor needs and that this machine lacks,
# and makes the French locale that the tests run under. Packages named as arguments
# (tools some script needs besides) are installed the same way.
set -euo pipefail

packages=(g++ cmake make pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  libmuparser-dev libinih-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  locales poppler-utils
  clang libclang-rt-14-dev clang-format
  "$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  as_root sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
fi
