#!/usr/bin/env bash
# Makes the release zip: mascot.exe, the Japanese user guide (Shift-JIS text
# with CRLF line ends, as Notepad on a Japanese Windows expects) and the
# licence. Usage: scripts/release.sh [--exe PATH] [--out ZIP]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=""
out="$root/build/release/mascot-1.00.zip"
while [ $# -gt 0 ]; do
    case "$1" in
    --exe) exe=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done
if [ -z "$exe" ]; then
    bash "$root/scripts/build.sh" win32 >/dev/null
    exe="$root/build/win32/mascot.exe"
fi
mkdir -p "$(dirname "$out")"
python3 - "$exe" "$out" "$root" <<'PY'
import sys, zipfile
exe, out, root = sys.argv[1:4]

def dos_text(path, encoding):
    text = open(path, encoding="utf-8").read().replace("\r\n", "\n")
    return text.replace("\n", "\r\n").encode(encoding)

folder = "mascot-1.00/"
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    z.write(exe, folder + "mascot.exe")
    z.writestr(folder + "README-ja.txt", dos_text(root + "/docs/user-guide-ja.md", "cp932"))
    z.writestr(folder + "LICENSE.txt", dos_text(root + "/LICENSE", "ascii"))
print(out)
PY
