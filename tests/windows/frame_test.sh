#!/bin/sh
# End-to-end check of the editor's frame under Wine on a virtual display,
# driven with real input: menus, tool bar buttons, keys, the mouse in the map
# view and typing into the file dialogs. It checks the title after each step,
# the status bar (read from the running editor by probe.exe), the .kdm files
# (keldra-cli info), the PWAD (keldra-cli check, then a demo in
# chocolate-doom), the stand-in game's command line and folder, and
# keldra.cfg after exit. Screenshots go to ARTIFACT_DIR/frame-*.png.
#
#   tests/windows/frame_test.sh BUILD_DIR ARTIFACT_DIR NATIVE_KELDRA_CLI
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
rm -f "$artifacts"/frame-*.png
cli="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
iwad=/usr/share/games/doom/freedoom2.wad
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() {
    import -window root "$artifacts/frame-failure.png" 2>/dev/null || true
    echo "FAIL: $*" >&2
    for w in $(xdotool search --name . 2>/dev/null); do
        echo "  window $w '$(xdotool getwindowname "$w" 2>/dev/null)' $(xwininfo -id "$w" 2>/dev/null | grep -E 'Map State|Width|Height' | tr -s ' \n' ' ')" >&2
    done
    exit 1
}
began=$(date +%s)

wine_start "${KELDRA_WINE_DIR:-$work/wine}"

. "$root/tests/windows/frame_session.sh"

# --- the folders -------------------------------------------------------------

run="$work/editor"
mkdir -p "$run" "$work/ゲーム フォルダ" "$work/マップ 置き場"
cp "$build/keldra.exe" "$build/keldra.chm" "$run/"
cp "$build/fake-game.exe" "$work/ゲーム フォルダ/fake game.exe"
ln -s "$iwad" "$run/doom2.wad"
cp "$root/samples/two_rooms.kdm" "$run/two_rooms.kdm"
cp "$root/samples/two_rooms.kdm" "$work/マップ 置き場/base.kdm"
# Full paths: the file dialogs start in the folder used last, not here.
winwork=$(winepath -w "$work" 2>/dev/null | tr -d '\r')
winrun="$winwork\\editor"

# --- a fresh start, without settings ----------------------------------------

start_editor "$run"
echo "benchmark: keldra.exe main window shown $(awk "BEGIN { printf \"%.2f\", $shown - $started }") s after start; keldra.exe is $(wc -c <"$build/keldra.exe") bytes"
expect_title "Keldra - [untitled.kdm - MAP01]" "fresh start"
expect_status 0 " 選択オブジェクト: 無し" "fresh start"
expect_status 1 " Center: X 0 Y 0" "fresh start"
expect_status 2 " Scale: 1.000" "fresh start"
expect_status 3 " Sectors: 0  Linedefs: 0  Vertices: 0  Things: 0" "fresh start"
import -window root "$artifacts/frame-start.png"

# The axes button stays pressed while the axes are on.
button 3006
[ "$(wine "$build/probe.exe" pressed 3006 | tr -d '\r')" = 1 ] || fail "the axes button is not pressed after a click"
import -window root -crop 480x50+0+40 "$artifacts/frame-axes-pressed.png"
focus_main
xdotool key alt+v
sleep 0.5
import -window root "$artifacts/frame-view-menu.png"
xdotool key Escape
sleep 0.1
xdotool key Escape
sleep 0.3
button 3006
[ "$(wine "$build/probe.exe" pressed 3006 | tr -d '\r')" = 0 ] || fail "the axes button stays pressed after a second click"

# The grid button's menu, then the View menu's: the corners drawn snap to 64,
# then to 32 map units.
button 3000
sleep 0.5
import -window root "$artifacts/frame-grid-popup.png"
for _ in 1 2 3 4 5; do xdotool key Down; done
xdotool key Return
sleep 0.3
draw_sector -130 -130 -130 -70 -70 -70 -70 -130
expect_status 3 " Sectors: 1  Linedefs: 4  Vertices: 4  Things: 0" "a sector drawn with Ctrl and clicks"
expect_title "Keldra - [untitled.kdm * - MAP01]" "after the first edit"
click_map -64 -64
expect_status 0 " 選択オブジェクト: Vertex  X -64 Y-64" "a corner drawn with grid 64"
focus_main
xdotool key alt+v
sleep 0.4
for k in Right Down Down Down; do
    xdotool key $k
    sleep 0.1
done
sleep 0.3
import -window root "$artifacts/frame-grid-menu.png"
xdotool key Return
sleep 0.3
draw_sector 100 100 100 195 195 195 195 100
click_map 96 96
expect_status 0 " 選択オブジェクト: Vertex  X 96 Y96" "a corner drawn with grid 32"
expect_status 3 " Sectors: 2  Linedefs: 8  Vertices: 8  Things: 0" "two sectors"

# The first save asks about the default name; No writes untitled.kdm.
button 1004
box "上書き保存" >/dev/null || fail "the first save did not ask about the default name"
import -window root "$artifacts/frame-save-question.png"
answer "上書き保存" n "default name"
expect_title "Keldra - [untitled.kdm - MAP01]" "after saving"
expect_status 0 " 保存しました" "after saving"
"$cli" info untitled.kdm | grep -q "MAP01, 8 vertices, 8 linedefs, 2 sectors, 0 things" ||
    fail "untitled.kdm holds: $("$cli" info untitled.kdm)"
# The next save does not ask.
rm untitled.kdm
menu f 5
no_box "上書き保存" || fail "the second save asked again"
[ -f untitled.kdm ] || fail "the second save wrote nothing"
cp untitled.kdm other.kdm

# Open a prepared map through the open dialog.
menu f 2
file_dialog "Open" "$winrun\\two_rooms.kdm"
expect_title "Keldra - [two_rooms.kdm - MAP01]" "after open"
expect_status 3 " Sectors: 2  Linedefs: 9  Vertices: 8  Things: 2" "after open"

# Build: the PWAD is sound and plays.
button 4001
wait_until '[ -f two_rooms.wad ]' 20 || fail "the build wrote no two_rooms.wad"
expect_status 0 " ビルドしました" "after the build"
"$cli" check two_rooms.wad >check.txt 2>&1 || fail "the built PWAD: $(cat check.txt)"
"$root/tests/engines/play.sh" chocolate-doom "$iwad" "$run/two_rooms.wad" 1 "$work/doom.log" ||
    fail "chocolate-doom did not play the built map: $(tail -3 "$work/doom.log")"

# Play without a game executable: the question, No and Yes start nothing.
button 4002
answer "マップをプレイ" n "play without a game"
menu b 2
box "マップをプレイ" >/dev/null || fail "no question on the second play"
import -window root "$artifacts/frame-play-question.png"
answer "マップをプレイ" y "play without a game"
# Yes opens the game executable dialog; cancelled, it leaves nothing to start.
box "ゲーム実行ファイルの指定" >/dev/null || fail "Yes opened no game executable dialog"
send_key "ゲーム実行ファイルの指定" Escape || fail "the game executable dialog stayed open"
no_box "Keldra" || fail "a message after the game executable dialog was cancelled"
kill -0 $editor || fail "the editor ended after Play"

# Save as onto an existing file asks first.
menu f 4
file_dialog "Save As" "$winrun\\other.kdm"
answer "名前を付けて保存" n "replace other.kdm"
cmp -s other.kdm untitled.kdm || fail "Save as replaced other.kdm after No"
expect_title "Keldra - [two_rooms.kdm - MAP01]" "save as refused"
menu f 4
file_dialog "Save As" "$winrun\\other.kdm"
answer "名前を付けて保存" y "replace other.kdm"
expect_title "Keldra - [other.kdm - MAP01]" "after save as"
"$cli" info other.kdm | grep -q "9 linedefs, 2 sectors, 2 things" || fail "other.kdm holds: $("$cli" info other.kdm)"

# Clear map: without changes at once; with changes only after the question.
menu f 6
expect_status 3 " Sectors: 0  Linedefs: 0  Vertices: 0  Things: 0" "after clear"
draw_sector -130 -130 -130 -70 -70 -70 -70 -130
menu f 6
answer "Keldra" Escape "clear with changes, cancelled"
expect_status 3 " Sectors: 1  Linedefs: 4  Vertices: 4  Things: 0" "clear cancelled"
menu f 6
answer "Keldra" n "clear with changes, not saved"
expect_status 3 " Sectors: 0  Linedefs: 0  Vertices: 0  Things: 0" "clear without saving"

# F1 opens the help file; without the file nothing happens.
focus_main
xdotool key F1
if help=$(box "Keldra Help" 15); then
    sleep 1
    import -window root "$artifacts/frame-help.png"
    send_key "Keldra Help" alt+F4
    wait_until '! xdotool search --name "^Keldra Help$" >/dev/null 2>&1' 10 || fail "the help window stayed open"
else
    fail "F1 showed no help window"
fi
mv keldra.chm keldra.chm.away
focus_main
xdotool key F1
no_box "Keldra Help" || fail "a help window without keldra.chm"
kill -0 $editor || fail "the editor ended on F1 without keldra.chm"

# Exit with changes: Cancel stays, Alt+F4 then No ends without saving.
draw_sector -130 -130 -130 -70 -70 -70 -70 -130
menu f 7
answer "Keldra" Escape "exit cancelled"
kill -0 $editor || fail "the editor ended although exit was cancelled"
focus_main
xdotool key alt+F4
answer "Keldra" n "Alt+F4 with changes"
expect_exit "Alt+F4"
[ "$(cat keldra.cfg | tr -d '\r' | head -1)" = "$(printf 'gamefile\t\tundesignated')" ] ||
    fail "keldra.cfg after exit: $(cat -A keldra.cfg)"
"$cli" info other.kdm | grep -q "9 linedefs, 2 sectors, 2 things" || fail "exit without saving wrote other.kdm"

# --- the play test, with a game in a folder of blanks and Japanese -----------

rm -f "$run/keldra.cfg"
gamefile="$winwork\\ゲーム フォルダ\\fake game.exe"
printf 'gamefile\t\t%s\r\nplayoption1\t\t1\r\nplayoption4\t\t-skill 4 -fast\r\n' \
    "$(printf '%s' "$gamefile" | iconv -f UTF-8 -t CP932)" >"$run/keldra.cfg"
start_editor "$run"
menu f 2
file_dialog "Open" "$winwork\\マップ 置き場\\base.kdm"
expect_title "Keldra - [base.kdm - MAP01]" "the map in a folder of blanks and Japanese"
button 4002
wait_until '[ -f "$work/ゲーム フォルダ/launch.txt" ]' 30 || fail "the game was not started"
launch="$work/ゲーム フォルダ/launch.txt"
expected=$(printf 'directory %s\narg fake game.exe\narg -file\narg %s\narg -warp\narg 1\narg -nomonsters\narg -skill\narg 4\narg -fast' \
    "$winwork\\ゲーム フォルダ" "$winwork\\マップ 置き場\\base.wad")
[ "$(grep -v '^commandline' "$launch")" = "$expected" ] || fail "the game was started as: $(cat "$launch")"
[ -f "$work/マップ 置き場/base.wad" ] || fail "Play wrote no base.wad beside base.kdm"
focus_main
xdotool key alt+F4
no_box "Keldra" || fail "exit asked without changes"
expect_exit "Alt+F4 without changes"
# keldra.cfg in code page 932 with CRLF, every setting in its order.
printf 'gamefile\t\t%s\r\nplayoption1\t\t1\r\nplayoption2\t\t0\r\nplayoption3\t\tundesignated\r\nplayoption4\t\t-skill 4 -fast\r\nbuildoption1\t\t0\r\nbuildoption2\t\t0\r\nbackupminutes\t\t3.000000\r\n' \
    "$(printf '%s' "$gamefile" | iconv -f UTF-8 -t CP932)" >"$work/expected.cfg"
cmp -s "$run/keldra.cfg" "$work/expected.cfg" || fail "keldra.cfg after exit: $(cat -A "$run/keldra.cfg")"

# --- long work: the PVS pass shows its progress and Esc stops it ------------

# The largest level, so that the pass is still running when Esc arrives.
"$cli" import "$iwad" MAP12 -o "$run/level.kdm" >/dev/null 2>&1
echo "an older PWAD" >"$run/level.wad"
printf 'gamefile\t\tC:\\nowhere\\doom2.exe\r\nbuildoption1\t\t1\r\n' >"$run/keldra.cfg"
start_editor "$run"
menu f 2
file_dialog "Open" "$winrun\\level.kdm"
expect_title "Keldra - [level.kdm - MAP12]" "the large map"
button 4001
wait_until 'status 0 | grep -q "^ PVS [0-9]*%"' 60 || fail "no PVS progress in the status bar: '$(status 0)'"
import -window root "$artifacts/frame-pvs-progress.png"
first=$(status 0)
focus_main
xdotool key Escape
answer "Keldra" Return "the stopped build's message"
[ "$(cat "$run/level.wad")" = "an older PWAD" ] || fail "the stopped build replaced level.wad"
echo "PVS stopped at '$first'"

# A game that cannot be started is named in a warning.
menu f 2
file_dialog "Open" "$winrun\\two_rooms.kdm"
button 4002
box "Keldra" 60 >/dev/null || fail "no warning for a game that cannot start"
import -window root "$artifacts/frame-no-game.png"
answer "Keldra" Return "the game cannot start"
focus_main
xdotool key alt+F4
expect_exit "the last run"

echo "Frame under Wine: ok in $(($(date +%s) - began)) s (screenshots $artifacts/frame-*.png)"
