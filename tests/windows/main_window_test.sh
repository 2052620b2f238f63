#!/bin/sh
# End-to-end check of the Windows build under Wine on a virtual display:
# the command-line tool keeps a map byte for byte through Windows file calls,
# and the editor loads doom2.wad (Freedoom's), opens its titled main window,
# drops an old debug.txt, keeps known settings and rewrites keldra.cfg in
# code page 932 with CRLF at exit; without doom2.wad it shows the fatal box.
#
#   tests/windows/main_window_test.sh BUILD_DIR ARTIFACT_DIR [NATIVE_KELDRA_CLI]
#
# With the native command-line tool, the Windows build must also build a
# Freedoom level into the same bytes as the native one.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
native=""
[ -n "${3:-}" ] && native="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wine_start "${KELDRA_WINE_DIR:-$work/wine}"
cd "$work"

# keldra-cli.exe: a Japanese file name, through the wide file calls.
cp "$root/samples/two_rooms.kdm" "$work/見本.kdm"
wine "$build/keldra-cli.exe" info 見本.kdm >cli.txt 2>&1 || fail "keldra-cli info: $(cat cli.txt)"
grep -q "MAP01, 8 vertices, 9 linedefs, 2 sectors, 2 things" cli.txt || fail "keldra-cli info printed: $(cat cli.txt)"
wine "$build/keldra-cli.exe" resave 見本.kdm 写し.kdm >cli.txt 2>&1 || fail "keldra-cli resave: $(cat cli.txt)"
cmp -s 見本.kdm 写し.kdm || fail "the resaved map differs"
if [ -n "$native" ] && [ -f /usr/share/games/doom/freedoom2.wad ]; then
    "$native" import /usr/share/games/doom/freedoom2.wad MAP01 -o level.kdm 2>/dev/null
    "$native" build level.kdm -o native.wad >/dev/null
    wine "$build/keldra-cli.exe" build level.kdm -o windows.wad >cli.txt 2>&1 || fail "keldra-cli.exe build: $(cat cli.txt)"
    cmp -s native.wad windows.wad || fail "the Windows build of MAP01 differs from the native one"
fi

# The editor, with Freedoom's IWAD as doom2.wad.
cp "$build/keldra.exe" "$work/"
ln -s /usr/share/games/doom/freedoom2.wad "$work/doom2.wad"
printf 'gamefile\t\tC:\\\203Q\201[\203\200\\doom2.exe\r\nplayoption1\t\t1\r\nunknown\t\tdropped\r\n' >keldra.cfg
echo "left from an earlier run" >debug.txt
wine keldra.exe >editor.log 2>&1 &
window=$(wine_wait_window '^Keldra - \[' 60) || fail "no main window appeared"
title=$(xdotool getwindowname "$window")
[ "$title" = "Keldra - [untitled.kdm - MAP01]" ] || fail "title is '$title'"
[ ! -e debug.txt ] || fail "debug.txt was not removed at start-up"
sleep 1
import -window root "$artifacts/wine-main-window.png"

# Close it from its menu: File, then the last entry (exit).
xdotool key --window "$window" alt+f 2>/dev/null
sleep 0.5
sleep 0.5
xdotool key --window "$window" Up 2>/dev/null || true
sleep 0.5
xdotool key --window "$window" Return 2>/dev/null || true
for _ in $(seq 50); do xdotool search --name '^Keldra - \[' >/dev/null 2>&1 || break; sleep 0.2; done
if xdotool search --name '^Keldra - \[' >/dev/null 2>&1; then
    import -window root "$artifacts/wine-not-closed.png"
    fail "the editor did not close from its menu (see wine-not-closed.png)"
fi
wineserver -w

expected=$(printf 'gamefile\t\tC:\\\203Q\201[\203\200\\doom2.exe\r\nplayoption1\t\t1\r\nplayoption2\t\t0\r\nplayoption3\t\tundesignated\r\nplayoption4\t\tundesignated\r\nbuildoption1\t\t0\r\nbuildoption2\t\t0\r\nbackupminutes\t\t3.000000\r\n' | od -An -tx1)
actual=$(od -An -tx1 keldra.cfg)
[ "$expected" = "$actual" ] || fail "keldra.cfg written at exit: $(cat -A keldra.cfg)"
# Without doom2.wad the editor says so in a box, shows no main window, ends
# with status 0 and leaves keldra.cfg alone.
mkdir "$work/no-iwad"
cp "$build/keldra.exe" "$work/no-iwad/"
printf 'playoption1\t\t1\n' >"$work/no-iwad/keldra.cfg"
(cd "$work/no-iwad" && wine keldra.exe >editor.log 2>&1; echo $? >status) &
box=$(wine_wait_window '^Keldra$' 60) || fail "no message box without doom2.wad"
sleep 1
import -window root "$artifacts/wine-no-iwad.png"
xdotool search --name '^Keldra - \[' >/dev/null 2>&1 && fail "a main window was shown without doom2.wad"
xdotool key --window "$box" Return 2>/dev/null || true
xdotool keyup Return  # the release may have gone to the closed box
for _ in $(seq 50); do [ -f "$work/no-iwad/status" ] && break; sleep 0.2; done
[ "$(cat "$work/no-iwad/status" 2>/dev/null)" = 0 ] || fail "exit status without doom2.wad: $(cat "$work/no-iwad/status" 2>/dev/null)"
[ "$(cat "$work/no-iwad/keldra.cfg")" = "$(printf 'playoption1\t\t1')" ] || fail "keldra.cfg was rewritten after the fatal error"

echo "Windows build under Wine: ok (screenshot $artifacts/wine-main-window.png)"
