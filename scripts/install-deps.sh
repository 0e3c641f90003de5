#!/usr/bin/env bash
# Installs what building and testing the mascot needs on Debian or Ubuntu.
# Does nothing for what is already there, so it is cheap to call every time.
#
# A fresh machine is not always a tidy one: a package mirror in the middle of
# a sync makes `apt-get update` fail for one index while the others are fine,
# and some machines cannot execute 32-bit code at all. So set-up goes on as
# far as it can and fails only when something the build or the tests cannot
# do without is missing, naming it. 32-bit Wine is welcome but never needed:
# without it the scripts test the 64-bit build of the same sources.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
  cmake make ninja-build
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64
  xvfb xdotool x11-utils imagemagick
  locales fonts-ipafont-gothic
  googletest python3
)
# Where it failed to install, the next runs do not try again for a day.
wine32_stamp="$root/build/.wine32-unavailable"

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# True when the kernel runs 32-bit x86 programs: a 12-instruction-byte ELF
# that exits with status 42, so no package is needed to find out.
can_exec_32bit() {
  local elf status
  elf=$(mktemp) || return 1
  printf '\177ELF\001\001\001\0\0\0\0\0\0\0\0\0\002\0\003\0\001\0\0\0\124\200\004\010\064\0\0\0\0\0\0\0\0\0\0\0\064\0\040\0\001\0\0\0\0\0\0\0\001\0\0\0\0\0\0\0\0\200\004\010\0\200\004\010\140\0\0\0\140\0\0\0\005\0\0\0\0\020\0\0\270\001\0\0\0\273\052\0\0\0\315\200' >"$elf"
  chmod +x "$elf"
  "$elf" 2>/dev/null
  status=$?
  rm -f "$elf"
  [ "$status" -eq 42 ]
}

# apt-get update that survives a partly failed refresh: apt ignores the
# indexes it could not fetch and installs from the others, so one line says
# so and set-up goes on.
refreshed=0
apt_update() {
  [ "$refreshed" = 1 ] && return 0
  refreshed=1
  local out
  if ! out=$(as_root apt-get update -qq 2>&1); then
    local why
    why=$(printf '%s\n' "$out" | grep -m1 '^E: ' || printf '%s\n' "$out" | tail -n 1)
    echo "apt-get update failed for some package indexes (${why#E: }); installing from the others."
  fi
}

apt_install() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"
}

need=()
for p in "${packages[@]}"; do
  have_pkg "$p" || need+=("$p")
done
if [ "${#need[@]}" -gt 0 ]; then
  echo "Installing: ${need[*]}"
  apt_update
  if ! apt_install "${need[@]}" >/tmp/mascot-apt.$$ 2>&1; then
    # One package that cannot be installed fails the whole request: take
    # the others one by one, then name what is still missing.
    for p in "${need[@]}"; do
      have_pkg "$p" || apt_install "$p" >>/tmp/mascot-apt.$$ 2>&1
    done
  fi
  missing=()
  for p in "${need[@]}"; do
    have_pkg "$p" || missing+=("$p")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    why=$(grep -m1 '^E: ' /tmp/mascot-apt.$$ || true)
    rm -f /tmp/mascot-apt.$$
    echo "Set-up cannot go on: apt-get could not install ${missing[*]}${why:+ (${why#E: })}." >&2
    echo "The build and the tests need them. Check the apt sources (or wait for the mirror to finish syncing) and run the command again." >&2
    exit 1
  fi
  rm -f /tmp/mascot-apt.$$
fi

# 32-bit Wine, for testing the shipped 32-bit program itself.
if ! have_pkg wine32:i386; then
  if ! can_exec_32bit; then
    echo "This machine cannot execute 32-bit code: no 32-bit Wine; the 64-bit build of the same sources is used."
  elif [ -n "$(find "$wine32_stamp" -mmin -1440 2>/dev/null)" ]; then
    echo "32-bit Wine could not be installed today (see $wine32_stamp): the 64-bit build of the same sources is used."
  else
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      as_root dpkg --add-architecture i386
      refreshed=0
    fi
    apt_update
    if apt_install wine32:i386 >/tmp/mascot-apt.$$ 2>&1; then
      rm -f "$wine32_stamp"
    else
      why=$(grep -m1 '^E: ' /tmp/mascot-apt.$$ || echo 'E: unknown reason')
      mkdir -p "$(dirname "$wine32_stamp")"
      printf '%s\n' "$why" >"$wine32_stamp"
      echo "32-bit Wine could not be installed (${why#E: }): the 64-bit build of the same sources is used."
    fi
    rm -f /tmp/mascot-apt.$$
  fi
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
  if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    echo "Set-up cannot go on: the ja_JP.UTF-8 locale could not be generated; Wine needs it for the Japanese code page." >&2
    exit 1
  fi
fi
