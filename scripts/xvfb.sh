# Sourced by the scripts: start_xvfb starts a private virtual display and
# exports DISPLAY; stop_xvfb ends it.
start_xvfb() {
    local n
    for n in $(seq 90 120); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        # A server of another file system view (a container or chroot) may
        # answer on the same number through its abstract socket.
        xdpyinfo -display ":$n" >/dev/null 2>&1 && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        MASCOT_XVFB_PID=$!
        local i
        for i in $(seq 1 50); do
            kill -0 "$MASCOT_XVFB_PID" 2>/dev/null || break
            # Ours only when the lock names our server: another started at the
            # same moment for the same number answers too, while ours fails.
            if xdpyinfo -display ":$n" >/dev/null 2>&1 &&
                [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$MASCOT_XVFB_PID" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.1
        done
        kill "$MASCOT_XVFB_PID" 2>/dev/null || true
    done
    echo "could not start Xvfb" >&2
    return 1
}

stop_xvfb() {
    if [ -n "${MASCOT_XVFB_PID:-}" ]; then
        kill "$MASCOT_XVFB_PID" 2>/dev/null || true
        wait "$MASCOT_XVFB_PID" 2>/dev/null || true
    fi
}
