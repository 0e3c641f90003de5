#!/usr/bin/env bash
# Builds the program (and, with --tests, the test programs).
#   build/win32  the shipped 32-bit mascot.exe
#   build/win64  the same sources as a 64-bit build, for Wine set-ups that
#                cannot run 32-bit programs
# Usage: scripts/build.sh [--tests] [win32|win64]...
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tests=OFF
arches=()
for a in "$@"; do
    case "$a" in
    --tests) tests=ON ;;
    win32 | win64) arches+=("$a") ;;
    *) echo "unknown argument: $a" >&2; exit 2 ;;
    esac
done
[ ${#arches[@]} -gt 0 ] || arches=(win32)
for arch in "${arches[@]}"; do
    case "$arch" in
    win32) toolchain=toolchain-mingw-i686.cmake ;;
    win64) toolchain=toolchain-mingw-x86_64.cmake ;;
    esac
    cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DMASCOT_TESTS=$tests >/dev/null
    cmake --build "$root/build/$arch" -j "$(nproc)"
done
