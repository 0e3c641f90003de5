#!/usr/bin/env bash
# The program must import system DLLs only: nothing of the MinGW runtime.
set -euo pipefail
objdump=$1
exe=$2
allowed='^(kernel32|user32|gdi32|winmm|shell32|msvcrt|advapi32|comctl32)\.dll$'
dlls=$("$objdump" -p "$exe" | awk '/DLL Name:/ {print tolower($3)}')
echo "$exe imports:" $dlls
bad=$(printf '%s\n' $dlls | grep -vE "$allowed" || true)
if [ -n "$bad" ]; then
    echo "FAIL: unexpected imports: $bad"
    exit 1
fi
echo "1 passed, 0 failed"
