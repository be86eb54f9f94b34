#!/usr/bin/env bash
# Runs a command on an X server of its own: Xvfb picks a free display itself (-displayfd) and holds it from
# the start, so that runs side by side (other test runs, other programs' tests) never get the same display,
# as xvfb-run -a can when two start at once.
#   with_xvfb.sh COMMAND ARGS...
# XVFB_OPTIONS adds options of the server's own (the benchmarks want a black root window: -br).
set -u
[ $# -ge 1 ] || { echo "usage: $0 COMMAND ARGS..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp ${XVFB_OPTIONS:-} 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
display=
if ! read -r -t 60 display <"$work/display" || [ -z "$display" ]; then
    echo "with_xvfb.sh: Xvfb did not start within 60 s" >&2
    cat "$work/xvfb.log" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
fi
export DISPLAY=":$display"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $status
