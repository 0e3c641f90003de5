#!/usr/bin/env bash
# Builds the program (and, with --tests, the test programs and the
# benchmarks, so that a benchmark that no longer builds fails the tests).
#   build/win32  the shipped 32-bit mascot.exe
#   build/win64  the same sources as a 64-bit build, for Wine set-ups that
#                cannot run 32-bit programs
# Usage: scripts/build.sh [--tests] [--target NAME]... [win32|win64]...
#   --target NAME  builds only that target (and what it needs), e.g. mascot
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tests=OFF
arches=()
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
    --tests) tests=ON ;;
    --target) targets+=(--target "${2:?--target needs a name}"); shift ;;
    win32 | win64) arches+=("$1") ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
    shift
done
[ ${#arches[@]} -gt 0 ] || arches=(win32)
for arch in "${arches[@]}"; do
    case "$arch" in
    win32) toolchain=toolchain-mingw-i686.cmake ;;
    win64) toolchain=toolchain-mingw-x86_64.cmake ;;
    esac
    cmake -S "$root" -B "$root/build/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" -DMASCOT_TESTS=$tests -DMASCOT_BENCH=$tests >/dev/null
    cmake --build "$root/build/$arch" -j "$(nproc)" ${targets[@]+"${targets[@]}"}
done
