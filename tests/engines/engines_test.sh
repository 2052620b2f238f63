#!/bin/sh
# Builds maps drawn with the editing operations and maps of Freedoom with
# keldra-cli, checks every PWAD with the validator and plays each in
# chocolate-doom and dsda-doom on a virtual display.
#
#   tests/engines/engines_test.sh BUILD_DIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=$(cd "$1" && pwd)/keldra-cli
iwad=/usr/share/games/doom/freedoom2.wad
work=$(mktemp -d)
display=95
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=":$display"
cd "$work"
failed=0

# name, map number: the maps to play, made below.
"$cli" resave "$root/samples/two_rooms.kdm" two_rooms.kdm
"$cli" script "$root/samples/hall.kms"
python3 "$root/tests/engines/rooms.py" 11 14 14 rooms.kms
"$cli" script rooms.kms
maps="two_rooms:1 hall:3 rooms:1"
for n in 01 12 28; do
    "$cli" import "$iwad" "MAP$n" -o "freedoom$n.kdm" 2>/dev/null
    maps="$maps freedoom$n:$n"
done

for entry in $maps; do
    name=${entry%%:*}
    number=${entry##*:}
    "$cli" build "$name.kdm" -o "$name.wad" 2>&1 | grep -v "凸形状" || true
    if ! "$cli" check "$name.wad" >check.log; then
        echo "FAIL: $name.wad: $(head -3 check.log)"
        failed=1
        continue
    fi
    for engine in chocolate-doom dsda-doom; do
        if "$root/tests/engines/play.sh" "$engine" "$iwad" "$name.wad" "$(expr "$number" + 0)" play.log; then
            echo "$name in $engine: ok"
        else
            echo "FAIL: $name in $engine: $(tail -3 play.log)"
            failed=1
        fi
    done
done
exit $failed
