# Shell helpers (sourced) for running the program in a private X server.

# Starts Xvfb on a free display and exports DISPLAY; its process id is in
# x_server_pid. Takes the folder for its scratch file.
start_x() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$1/display" >/dev/null 2>&1 &
    x_server_pid=$!
    # The number is complete once its line is.
    for _ in $(seq 1 100); do
        [ "$(wc -l < "$1/display")" -ge 1 ] && break
        sleep 0.05
    done
    DISPLAY=":$(cat "$1/display")"
    export DISPLAY
    for _ in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    echo "Xvfb did not start"
    return 1
}

# Waits (up to 10 s) for the program's visible main window; sets `window`.
find_window() {
    window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --onlyvisible --name '^Vindrel$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && return 0
        sleep 0.1
    done
    return 1
}
