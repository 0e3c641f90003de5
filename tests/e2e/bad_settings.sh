#!/usr/bin/env bash
# Damaged and unusual settings files: the real program starts, runs and ends
# cleanly with each, every reader falls back to its default where the file
# gives it nothing, and the program never truncates or replaces the file
# itself. What Wine's profile functions make of each file is recorded in the
# "wine:" lines.
source "$(dirname "$0")/lib.sh"

read -r _ _ right bottom < <(probe workarea)
default_at="$((right - 80 - right / 10)) $((bottom - 80))"

# Runs the program once in the current directory: sets mascot ("x y visible
# topmost") and panel ("x y visible topmost"), sends the commands given, then
# exits through the menu's exit command and checks the exit code. Where the
# file cannot be written (unwritable=yes), one box says so at the first
# write, naming the folder; it is answered, and the commands that write
# again bring no second one.
run_case() { # run_case [COMMAND...]
    local pid m p id box
    # A copy left running by an earlier test would answer in place of this one.
    check "$case_name: no other copy runs" none "$(probe window "TAMARIN MASCOT1")"
    start_mascot pid
    read -r -a m < <(probe window "TAMARIN MASCOT1" 20000)
    read -r -a p < <(probe window ChdClass)
    mascot="${m[0]:-none} ${m[1]:-} ${m[4]:-} ${m[5]:-}"
    panel="${p[0]:-none} ${p[1]:-} ${p[4]:-} ${p[5]:-}"
    if [ "${unwritable:-no}" = yes ]; then
        box=$(probe dialog 10000)
        screenshot "unwritable-${case_name// /-}"
        check "$case_name: a box says the settings cannot be saved in this folder" \
            "設定の保存（デスクトップマスコット）|yes" \
            "${box%%|*}|$([[ $box == *"書き込めません。\\n"*"${workdir##*/}\\n"* ]] && echo yes || echo no)"
        probe press-ok
        sleep 0.3
    fi
    for id in "$@"; do
        probe command "TAMARIN MASCOT1" "$id"
        sleep 0.3
    done
    check "$case_name: no box (or no second one)" none "$(probe dialog)"
    check "$case_name: the program still runs" "80 80" "$(probe window "TAMARIN MASCOT1" | cut -d' ' -f3,4)"
    probe command "TAMARIN MASCOT1" 102
    wait_exit "$pid" 20
    check "$case_name: exit ends the program with code 0" 0 "$exit_code"
}

# Defaults of every start-up reader: the Default place, panel shown, on top.
check_defaults() {
    check "$case_name: mascot at the default place, visible, on top" "$default_at 1 1" "$mascot"
    read -r mx my _ _ <<<"$mascot"
    # A mascot not found gives no place: the panel check then fails, the
    # script goes on.
    [[ $mx$my =~ ^[-0-9]+$ ]] || mx=0 my=0
    check "$case_name: panel beside it, shown, on top" "$((mx - 120)) $((my + 20)) 1 1" "$panel"
}

# yes when the file holds the line (given in UTF-8), looked for in the raw
# Shift-JIS bytes so that garbage around it does not matter.
has_line() {
    local line
    line=$(printf '%s' "$1" | iconv -f UTF-8 -t CP932)
    tr -d '\r' <mascot.ini | grep -a -x -F -- "$line" >/dev/null && echo yes || echo no
}

begin() { # begin NAME
    case_name=$1
    unwritable=no
    new_workdir
    echo "--- $case_name"
}

begin "binary garbage"
python3 -c 'import random, sys; random.seed(7); sys.stdout.buffer.write(bytes(random.randrange(256) for _ in range(65536)))' >mascot.ini
head -c 65536 mascot.ini >original.bin
run_case
check_defaults
echo "wine: $(stat -c %s mascot.ini) bytes afterwards (65536 before);" \
    "first 4 KiB kept: $(cmp -s -n 4096 mascot.ini original.bin && echo yes || echo no);" \
    "seeded [OPTION] key present: $(has_line '初期位置Ｘ座標=Default')"

begin "several megabytes"
python3 -c '
import sys
out = sys.stdout.buffer
out.write(b"[USER]\r\n")
for i in range(200000):
    out.write(b"note%06d=the user\x27s own line\r\n" % i)' >mascot.ini
size=$(stat -c %s mascot.ini)
run_case 104 104
check_defaults
check "$case_name: the user's first and last lines kept" "yes yes" \
    "$(has_line "note000000=the user's own line") $(has_line "note199999=the user's own line")"
check "$case_name: missing keys seeded" yes "$(has_line '初期位置Ｙ座標=Default')"
echo "wine: $(stat -c %s mascot.ini) bytes afterwards ($size before)"

# The same three settings in the two Unicode forms with a byte-order mark.
unicode_settings=$'[OPTION]\r\n初期位置Ｘ座標=Right\r\n初期位置Ｙ座標=Top\r\n手前に表示=0\r\n; the user\'s note\r\n'
begin "UTF-16 with a byte-order mark"
{ printf '\xff\xfe'; printf '%s' "$unicode_settings" | iconv -f UTF-8 -t UTF-16LE; } >mascot.ini
run_case
check "$case_name: mascot runs and shows" 1 "$(cut -d' ' -f3 <<<"$mascot")"
echo "wine: mascot at '$mascot' (Right/Top/not on top would be $((right - 80)) 0 1 0)"
echo "wine: file starts with $(head -c 2 mascot.ini | od -An -tx1 | tr -d ' \n'), note kept:" \
    "$(iconv -f UTF-16 -t UTF-8 mascot.ini 2>/dev/null | tr -d '\r' | grep -c "the user's note")"

begin "UTF-8 with a byte-order mark"
{ printf '\xef\xbb\xbf'; printf '%s' "$unicode_settings"; } >mascot.ini
run_case
check "$case_name: mascot runs and shows" 1 "$(cut -d' ' -f3 <<<"$mascot")"
echo "wine: mascot at '$mascot' (Right/Top/not on top would be $((right - 80)) 0 1 0)"
echo "wine: file starts with $(head -c 3 mascot.ini | od -An -tx1 | tr -d ' \n'), note kept:" \
    "$(grep -c "the user's note" mascot.ini)"

begin "lines without ="
printf '%s' $'[OPTION]\r\n手前に表示\r\njust some words\r\n情報ウィンドウ=0\r\n' | iconv -f UTF-8 -t CP932 >mascot.ini
run_case
check "$case_name: the valid key after the broken lines is read (panel hidden)" 0 "$(cut -d' ' -f3 <<<"$panel")"
echo "wine: a key without '=' gives on top = $(cut -d' ' -f4 <<<"$mascot");" \
    "afterwards: $(settings_text | grep -n '手前に表示\|just some' | tr '\n' ' ')"

begin "duplicate sections and keys"
printf '%s' $'[OPTION]\r\n情報ウィンドウ=0\r\n手前に表示=0\r\n[OPTION]\r\n情報ウィンドウ=1\r\n手前に表示=1\r\n情報ウィンドウ=1\r\n' |
    iconv -f UTF-8 -t CP932 >mascot.ini
run_case
check "$case_name: mascot runs and shows" 1 "$(cut -d' ' -f3 <<<"$mascot")"
echo "wine: panel visible=$(cut -d' ' -f3 <<<"$panel") on top=$(cut -d' ' -f4 <<<"$mascot")" \
    "(0 0 means the first of each duplicate counts); file afterwards: $(settings_text | tr '\n' ' ')"

begin "values far outside the int range"
printf '%s' $'[ALARM]\r\nアラーム使用=99999999999999999999\r\n[OPTION]\r\n手前に表示=-99999999999999999999\r\n初期位置Ｘ座標=99999999999999999999\r\n初期位置Ｙ座標=-4294967296\r\n' |
    iconv -f UTF-8 -t CP932 >mascot.ini
run_case
check "$case_name: mascot runs" 1 "$(cut -d' ' -f3 <<<"$mascot")"
echo "wine: mascot at '$mascot', panel at '$panel'"

begin "read-only file"
printf '%s' $'[OPTION]\r\n情報ウィンドウ=0\r\n' | iconv -f UTF-8 -t CP932 >mascot.ini
chmod 444 mascot.ini
# Root may write a file without write permission; an immutable file stays
# read-only even for root.
[ "$(id -u)" -ne 0 ] || chattr +i mascot.ini 2>/dev/null
if touch mascot.ini 2>/dev/null && [ "$(id -u)" -eq 0 ]; then
    echo "skipped: cannot make a file read-only for root here"
else
    before=$(md5sum <mascot.ini)
    unwritable=yes
    run_case 104 106 104
    check "$case_name: the panel setting is read (panel hidden)" 0 "$(cut -d' ' -f3 <<<"$panel")"
    check "$case_name: unseeded keys read their defaults (Default place, on top)" \
        "$default_at 1 1" "$mascot"
    check "$case_name: the file is left exactly as it was" "$before" "$(md5sum <mascot.ini)"
fi
chattr -i mascot.ini 2>/dev/null
chmod 644 mascot.ini

begin "a directory named mascot.ini"
mkdir mascot.ini
unwritable=yes
run_case 104 106
check_defaults
check "$case_name: still an empty directory" "yes 0" \
    "$([ -d mascot.ini ] && echo yes || echo no) $(find mascot.ini -mindepth 1 | wc -l)"

begin "empty file"
: >mascot.ini
run_case
check_defaults
check "$case_name: seeded like a first start" 10 "$(settings_text | grep -c .)"

finish
