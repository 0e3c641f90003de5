#!/usr/bin/env bash
# The release zip as a new user meets it: unpacked into an empty folder, the
# program starts from there, keeps its settings there, and the guide reads as
# Japanese text in Notepad's encoding.
source "$(dirname "$0")/lib.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
new_workdir
zip="$workdir/mascot.zip"
bash "$root/scripts/release.sh" --exe "$MASCOT_EXE" --out "$zip" >/dev/null
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$workdir/unpacked"
check "zip holds the program, the guide and the licence" \
    "LICENSE.txt README-ja.txt mascot.exe" "$(ls "$workdir/unpacked/mascot-1.00" | tr '\n' ' ' | sed 's/ $//')"

guide=$(iconv -f CP932 -t UTF-8 "$workdir/unpacked/mascot-1.00/README-ja.txt" 2>/dev/null)
check "guide is Shift-JIS text naming the alarm sound key" yes \
    "$(grep -q 'アラーム種類' <<<"$guide" && grep -q 'alarm.wav' <<<"$guide" && echo yes)"
check "guide has CRLF line ends" yes \
    "$(head -c 200 "$workdir/unpacked/mascot-1.00/README-ja.txt" | grep -q $'\r' && echo yes)"

cd "$workdir/unpacked/mascot-1.00" || exit 1
"$WINE_RUN" ./mascot.exe >/dev/null 2>&1 &
pid=$!
read -r _ _ w h visible _ < <(probe window "TAMARIN MASCOT1" 20000)
check "unpacked program shows the mascot" "80 80 1" "$w $h $visible"
sleep 1
screenshot release-unpacked
check "settings file is made beside the program" yes "$([ -f mascot.ini ] && echo yes)"
probe command "TAMARIN MASCOT1" 102
wait "$pid"
check "program ends with code 0" 0 $?
finish
