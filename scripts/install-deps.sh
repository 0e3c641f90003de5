#!/usr/bin/env bash
# Installs what building and testing the mascot needs on Debian or Ubuntu.
# Does nothing for what is already there, so it is cheap to call every time.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(
  cmake make ninja-build
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 wine32:i386
  xvfb xdotool x11-utils imagemagick
  locales fonts-ipafont-gothic
  googletest python3
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  as_root apt-get update -qq
fi

for p in "${packages[@]}"; do
  have_pkg "$p" || need+=("$p")
done

if [ "${#need[@]}" -gt 0 ]; then
  echo "Installing: ${need[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives 932.
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
  echo "Generating the ja_JP.UTF-8 locale"
  if [ -f /etc/locale.gen ]; then
    as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    as_root locale-gen >/dev/null
  else
    as_root locale-gen ja_JP.UTF-8 >/dev/null
  fi
fi
