#!/bin/sh
# Plays a short demo of map MAP_NUMBER of a PWAD in an engine on the current
# DISPLAY and succeeds when the engine ran the whole demo. An engine that
# does not stop is killed, and given one more try, since a loaded machine
# can hold up its window set-up.
#
#   tests/engines/play.sh chocolate-doom|dsda-doom IWAD PWAD MAP_NUMBER [LOG]
set -u
engine=$1 iwad=$2 pwad=$3 map=$4
log=${5:-$(mktemp)}
here=$(cd "$(dirname "$0")" && pwd)
tics=105

play_once() {
    work=$(mktemp -d)
    python3 "$here/make_demo.py" "$map" "$work/demo.lmp" "$tics"
    extra=""
    [ "$engine" = chocolate-doom ] && extra="-nograbmouse"
    # The engines keep their settings in HOME; keep them out of the user's.
    # shellcheck disable=SC2086
    HOME=$work timeout -k 5 60 "/usr/games/$engine" -iwad "$iwad" -file "$pwad" -timedemo "$work/demo.lmp" \
        -nosound -nomusic $extra >"$log" 2>&1 &
    pid=$!
    # chocolate-doom shows its timing in a message box and waits there: stop
    # it once the line is out.
    for _ in $(seq 600); do
        grep -qi "timed $tics gametics" "$log" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    rm -rf "$work"
    grep -qi "timed $tics gametics" "$log"
}

play_once || play_once
