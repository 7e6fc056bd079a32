# Sourced by the test wrappers: start_xvfb <geometry> starts a virtual X display of
# the caller's own and exports DISPLAY; stop_xvfb takes it down again.
start_xvfb() {
    xvfb_displayfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$xvfb_displayfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$xvfb_displayfile" ] && break
        sleep 0.1
    done
    [ -s "$xvfb_displayfile" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$xvfb_displayfile")"
}

stop_xvfb() {
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    wait "$xvfb_pid" 2>/dev/null || true
    rm -f "$xvfb_displayfile"
}
