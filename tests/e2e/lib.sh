# Shared helpers of the end-to-end tests: the real mascot.exe under Wine, on
# the test display, looked at from outside through the probe program.
set -uo pipefail
: "${MASCOT_EXE:?}" "${PROBE_EXE:?}" "${WINE_RUN:?}" "${ARTIFACTS:?}"
mkdir -p "$ARTIFACTS"

passed=0
failed=0

check() { # check NAME EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
        echo "ok: $1"
    else
        failed=$((failed + 1))
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  actual:   $3"
    fi
}

probe() { "$WINE_RUN" "$PROBE_EXE" "$@" 2>/dev/null | tr -d '\r'; }

screenshot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null || true; }

# A fresh, empty working directory for one run of the program.
new_workdir() {
    workdir=$(mktemp -d)
    cd "$workdir" || exit 1
}

start_mascot() { # start_mascot VAR: runs the program in the background, pid in VAR
    "$WINE_RUN" "$MASCOT_EXE" >/dev/null 2>&1 &
    printf -v "$1" '%s' "$!"
}

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
