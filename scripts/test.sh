#!/usr/bin/env bash
# Builds everything and runs every test: installs what is missing, builds the
# shipped 32-bit program, the tests and the benchmarks, and runs the tests
# under Wine on a private virtual display with a fresh Wine prefix.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/xvfb.sh

bash scripts/install-deps.sh || exit 1
# Only now: which Wine runs the programs is decided when this is sourced, and
# on a fresh machine Wine has only just been installed.
source scripts/wine-env.sh
# The shipped program and the probe first: the probe tells whether this Wine
# runs 32-bit programs, and only then are the 32-bit test programs needed.
bash scripts/build.sh --tests --target mascot --target probe win32 || exit 1

cleanup() {
    "$MASCOT_WINESERVER" -k 2>/dev/null || true
    stop_xvfb
}
trap cleanup EXIT
start_xvfb || exit 1
bash scripts/wine-prefix-init || exit 1

# The tests run the shipped 32-bit build wherever Wine can run 32-bit
# programs; elsewhere they run the 64-bit build of the same sources.
if wine_runs_32bit; then
    echo "Testing the shipped 32-bit build."
    test_build=win32
    bash scripts/build.sh --tests win32 || exit 1
else
    echo "This Wine cannot run 32-bit programs: testing the 64-bit build of the same sources."
    bash scripts/build.sh --tests win64 || exit 1
    test_build=win64
    (cd build/win32 && ctest --output-on-failure -L static) || exit 1
fi
# Three at a time: the two alarm tests spend their minutes waiting on
# displays of their own, beside the others.
cd "build/$test_build" && ctest --output-on-failure -j 3
