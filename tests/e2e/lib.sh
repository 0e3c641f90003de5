# Shared helpers of the end-to-end tests: the real mascot.exe under Wine, on
# the test display, looked at from outside through the probe program.
set -uo pipefail
: "${MASCOT_EXE:?}" "${PROBE_EXE:?}" "${WINE_RUN:?}" "${ARTIFACTS:?}"
mkdir -p "$ARTIFACTS"
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
art_dir=$(cd "$e2e_dir/../../res/generated" && pwd)

# Wine 10 shows a shaped window wrongly where one run of its region begins
# and ends within the same 8-pixel column cell (x 0-7, 8-15, ...): the run is
# left out and the rest of the cell after it shows instead, unpainted, in
# black (her wind chime's 2-pixel string turns into a black block beside
# it). GetWindowRgn still gives the region as it was set, and a region of
# three plain rectangles, 2, 4 and 8 pixels wide, shows the same fault in a
# program of a few lines: Wine 9 rewrote window shapes as 1-bit masks (merge
# request 5962). Wine 8, like Windows, shows a region as it is. On Wine 10
# the comparisons of screen and frame leave those cells out; on Wine 8 they
# take in every pixel.
wine_major=$("$WINE_RUN" --version 2>/dev/null | sed -nE 's/^wine-([0-9]+).*/\1/p')
[ "${wine_major:-0}" -ge 10 ] && export MASCOT_SHAPE_CELLS=1

# The sprite frames as the window shows them (frames.py says how to ask).
frames() { python3 "$e2e_dir/frames.py" "$art_dir" "$@"; }
wine_env="$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
tray_ico="$art_dir/tray.ico"

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

# The probe's answer. Every question gets at least one line back, so an empty
# answer means Wine did not run the probe at all (seen once on a busy
# machine): the question is asked again, and what Wine said is shown.
probe() {
    local answer attempt err
    err=$(mktemp)
    for attempt in 1 2 3; do
        answer=$("$WINE_RUN" "$PROBE_EXE" "$@" 2>"$err" | tr -d '\r')
        case $1 in command | press-ok | tray-remove | taskbar-created) break ;; esac
        [ -n "$answer" ] && break
        echo "note: probe $* gave no answer (try $attempt): $(tail -c 300 "$err" | tr '\n' ' ')" >&2
    done
    rm -f "$err"
    [ -z "$answer" ] || printf '%s\n' "$answer"
}

screenshot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null || true; }

# Points ALSA at a file of the working directory: Wine then plays the sound
# into it instead of a sound card, and sound_bytes tells how much it played.
capture_sound() {
    sound="$workdir/sound.raw"
    cat >"$workdir/alsa.conf" <<CONF
pcm.!default { type file; slave.pcm "discard"; file "$sound"; format "raw" }
pcm.discard { type null }
CONF
    export ALSA_CONFIG_PATH="$workdir/alsa.conf"
}
sound_bytes() { stat -c %s "$sound" 2>/dev/null || echo 0; }
# 1 when the captured sound grows past BYTES within ten seconds, else 0.
sound_grows() { # sound_grows BYTES
    local i
    for ((i = 0; i < 50; i++)); do
        [ "$(sound_bytes)" -gt "$1" ] && echo 1 && return
        sleep 0.2
    done
    echo 0
}

# A fresh, empty working directory for one run of the program.
new_workdir() {
    workdir=$(mktemp -d)
    cd "$workdir" || exit 1
}

start_mascot() { # start_mascot VAR: runs the program in the background, pid in VAR
    wine_said=$(mktemp -p "$workdir" wine.XXXX) # beside the run's settings file
    "$WINE_RUN" "$MASCOT_EXE" >/dev/null 2>"$wine_said" &
    printf -v "$1" '%s' "$!"
}

finish() {
    [ "${dpi_used:-96}" = 96 ] || use_dpi 96 # the next test starts at 96 DPI
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}

# Wine starts anew, its desktop and programs at DPI (a program that declares
# DPI awareness gets LogPixels of HKCU\Control Panel\Desktop).
use_dpi() { # use_dpi DPI
    (
        source "$wine_env"
        "$MASCOT_WINESERVER" -k 2>/dev/null
        "$MASCOT_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
        "$MASCOT_WINESERVER" -w
    )
    dpi_used=$1
}

# Centre "X Y" of item N (by position) of the mascot's open context menu,
# from the menu's rectangle: 3-pixel frame, text items 17 pixels high,
# separators (positions 1, 6 and 8) 9 pixels high.
menu_item_centre() { # menu_item_centre N
    local mx my mw mh y i
    read -r mx my mw mh < <(probe menu 3000)
    [ "$mx" = none ] && return 1
    y=$((my + 3))
    for ((i = 0; i < $1; i++)); do
        case $i in 1 | 6 | 8) y=$((y + 9)) ;; *) y=$((y + 17)) ;; esac
    done
    echo "$((mx + mw / 2)) $((y + 8))"
}

# Right-clicks at X Y and then clicks item N of the menu that opens.
choose_from_menu() { # choose_from_menu X Y N
    local ix iy
    xdotool mousemove "$1" "$2" click 3
    sleep 0.5
    read -r ix iy < <(menu_item_centre "$3") || return 1
    xdotool mousemove "$ix" "$iy" sleep 0.2 click 1
    sleep 0.7
}

# Centre "X Y" of the icon in the notification area at the right end of the
# taskbar (the bottom 20 pixels of the 1024x768 screen), found in a screenshot.
tray_icon_centre() {
    local shot geometry w h x y
    shot=$(mktemp --suffix=.png)
    import -window root "$shot" 2>/dev/null
    # Only the notification area, right of her default place: Wine 10, unlike
    # Wine 8 and Windows, leaves its taskbar inside the desktop's work area,
    # and she then stands over the taskbar's middle.
    geometry=$(convert "$shot" -crop 94x20+930+748 +repage -fuzz 5% -trim -format '%w %h %X %Y' info: 2>/dev/null)
    rm -f "$shot"
    read -r w h x y <<<"${geometry//+/}"
    # An empty notification area trims down to a single pixel.
    [ -n "$y" ] && [ "$w" -gt 1 ] || return 1
    echo "$((930 + x + w / 2)) $((748 + y + h / 2))"
}

# Pixels that differ (0: none) between the SIZE-pixel picture of her icon on
# the taskbar's colour and its best match in the notification area.
tray_icon_differs() { # tray_icon_differs SIZE
    local top height index
    # The taskbar's own window: Wine 10 leaves it inside the work area.
    read -r _ top _ height _ < <(probe window Shell_TrayWnd)
    import -window root -crop "120x$height+904+$top" +repage tray.png 2>/dev/null
    index=$(identify -format '%w\n' "$tray_ico" | grep -nx "$1" | cut -d: -f1)
    convert "$tray_ico[$((index - 1))]" -background "$(convert tray.png -format '%[pixel:p{0,0}]' info:)" \
        -flatten icon.png
    compare -metric AE -subimage-search tray.png icon.png null: 2>&1 | grep -oE '^[0-9]+' || echo "no match"
}

# The settings file as UTF-8 text without carriage returns.
settings_text() { iconv -f CP932 -t UTF-8 mascot.ini 2>/dev/null | tr -d '\r'; }

# Waits up to SECONDS for the background program PID to end and sets
# exit_code to its exit code, or to "running" (and ends it) when it did not.
# Call it in the script's own shell, not in $(...): only the shell that
# started the program can collect its exit code.
wait_exit() { # wait_exit PID SECONDS
    local i
    for ((i = 0; i < $2 * 10; i++)); do
        if ! kill -0 "$1" 2>/dev/null; then
            wait "$1"
            exit_code=$?
            # A run that ended in failure shows what Wine said of it.
            if [ "$exit_code" != 0 ] && [ -s "${wine_said:-}" ]; then
                echo "note: Wine said: $(tail -c 300 "$wine_said" | tr '\n' ' ')" >&2
            fi
            return
        fi
        sleep 0.1
    done
    kill "$1" 2>/dev/null
    exit_code=running
}

# Pixels of exactly the colour HEX (RRGGBB) in the rectangle W H X Y of a PNG.
count_colour() { # count_colour FILE HEX W H X Y
    convert "$1" -crop "${3}x${4}+${5}+${6}" +repage txt:- 2>/dev/null | grep -ci "#$2"
}

# The page the info panel at PX PY shows in a fresh screenshot: 0 (red alarm
# line at the bottom), 2 (red title at the top), 1 (black text, no red) or
# "?". The mascot covers the panel's right end, so only x 0-114 is looked at.
# With NAME the panel is also kept as ARTIFACTS/NAME.png. K is her scale (2
# at 96 DPI); the panel's lengths go with K / 2.
panel_page() { # panel_page PX PY [NAME] [K]
    local shot k=${4:-2}
    shot=$(mktemp --suffix=.png)
    import -window root "$shot" 2>/dev/null
    [ -n "${3:-}" ] && convert "$shot" -crop "$((80 * k))x$((30 * k))+$1+$2" +repage "$ARTIFACTS/$3.png"
    if [ "$(count_colour "$shot" FF0000 $((115 * k / 2)) $((10 * k)) "$1" "$(($2 + 19 * k))")" -gt 0 ]; then
        echo 0
    elif [ "$(count_colour "$shot" FF0000 $((115 * k / 2)) $((9 * k)) "$1" "$2")" -gt 0 ]; then
        echo 2
    elif [ "$(count_colour "$shot" 000000 $((115 * k / 2)) $((35 * k / 2)) "$1" "$(($2 + 23 * k / 2))")" -gt 0 ]; then
        echo 1
    else
        echo "?"
    fi
    rm -f "$shot"
}

# The value of KEY in the settings file, blanks removed.
key_value() { settings_text | grep -x "$1=.*" | cut -d= -f2 | tr -d ' '; }

# How many of N screenshots, a fifth of a second apart, show the red alarm
# line of the panel at PX PY; the last one is kept as NAME.
alarm_line_shown() { # alarm_line_shown PX PY N NAME
    local i shown=0 page
    for ((i = 0; i < $3; i++)); do
        page=$(panel_page "$1" "$2" "$4")
        [ "$page" = 0 ] && shown=$((shown + 1))
        sleep 0.2
    done
    echo "$shown"
}

# 1 when the alarm line of the panel at PX PY blinks: shown in some and left
# out in others of at most N screenshots, taken until both are seen; else 0.
# (The screen under Wine may hold one of the two for seconds at a time, so a
# fixed handful of looks can meet only one.) The last one is kept as NAME.
alarm_line_blinks() { # alarm_line_blinks PX PY N NAME
    local i shown=0 hidden=0
    for ((i = 0; i < $3 && (shown == 0 || hidden == 0); i++)); do
        if [ "$(panel_page "$1" "$2" "$4")" = 0 ]; then
            shown=$((shown + 1))
        else
            hidden=$((hidden + 1))
        fi
        sleep 0.2
    done
    echo $((shown > 0 && hidden > 0))
}

# Waits until at least FROM and at most TO seconds of the minute have passed,
# so that what follows fits into one minute.
wait_for_early_minute() { # wait_for_early_minute FROM TO
    local s
    while s=$((10#$(date +%S))); [ "$s" -lt "$1" ] || [ "$s" -gt "$2" ]; do sleep 0.5; done
}

click_control() { # click_control ID: clicks near the left end of a dialog control
    local bx by bw bh
    read -r bx by bw bh < <(probe control "$1")
    xdotool mousemove $((bx + 6)) $((by + bh / 2)) click 1
}

# Types TEXT into the edit field of the combo box ID of the open dialog, in
# place of the number it shows.
type_into() { # type_into ID TEXT
    click_control "$1"
    xdotool key --delay 30 End BackSpace BackSpace BackSpace
    xdotool type --delay 60 "$2"
}
