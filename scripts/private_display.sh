# Sourced by scripts that run the program under a private X server. Makes a work folder
# holding copies of the shipped bitmaps, starts Xvfb on a free display and exports DISPLAY;
# at exit ends the program (if `program` holds its pid), the server, and removes the folder.
# shellcheck shell=bash

work="$(mktemp -d)"
program=""
cleanup_private_display() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup_private_display EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
exec 3>&-
export DISPLAY=":$(head -n1 "$work/display")"
cp "$root"/assets/*.bmp "$work/"
