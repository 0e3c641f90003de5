#!/usr/bin/env bash
# The program may import only DLLs that Windows always takes from its system
# directory (KnownDLLs): nothing of the MinGW runtime, and no library that a
# file planted beside the program could stand in for.
set -euo pipefail
objdump=$1
exe=$2
allowed='^(kernel32|user32|gdi32|shell32|msvcrt)\.dll$'
dlls=$("$objdump" -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
echo "$exe imports:" $dlls
bad=$(printf '%s\n' $dlls | grep -vE "$allowed" || true)
if [ -n "$bad" ]; then
    echo "FAIL: imports outside the KnownDLLs: $bad"
    exit 1
fi
echo "1 passed, 0 failed"
