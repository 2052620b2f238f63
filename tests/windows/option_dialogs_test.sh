#!/bin/sh
# End-to-end check of the map slot, build option, play option and game
# executable dialogs under Wine, opened from the menus and driven with keys:
# the map slot in the title, in the saved map and in the stand-in game's
# -warp; the build switches seen in debug.txt; the play options in the
# game's arguments through the Play button; the game executable chosen with
# the file dialog; Cancel keeping everything; keldra.cfg after exit.
# Screenshots go to ARTIFACT_DIR/option-dialogs-*.png.
#
#   tests/windows/option_dialogs_test.sh BUILD_DIR ARTIFACT_DIR NATIVE_KELDRA_CLI
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
rm -f "$artifacts"/option-dialogs-*.png
cli="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
iwad=/usr/share/games/doom/freedoom2.wad
[ -f "$iwad" ] || { echo "skipped: no freedoom2.wad"; exit 0; }
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() {
    import -window root "$artifacts/option-dialogs-failure.png" 2>/dev/null || true
    echo "FAIL: $*" >&2
    exit 1
}
began=$(date +%s)

wine_start "${KELDRA_WINE_DIR:-$work/wine}"
. "$root/tests/windows/frame_session.sh"

# The dialog named $1, with its screenshot when $2 names one.
dialog() {
    id=$(box "$1") || fail "no dialog '$1'"
    sleep 0.5
    [ -z "${2:-}" ] || import -window "$id" "$artifacts/option-dialogs-$2.png"
    echo "$id"
}
# Keys pressed one after another in the dialog that has the keyboard.
keys() {
    for k in "$@"; do
        xdotool key "$k"
        sleep 0.15
    done
}
# Closes the dialog named $1 with key $2 and waits until it has gone.
close_with() {
    keys $2
    name=$1
    wait_until '! xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1' 10 || fail "'$1' stayed open after $2"
}
item() { wine "$build/probe.exe" text "$1" "$2" | tr -d '\r'; }
checked() { wine "$build/probe.exe" checked "$1" "$2" | tr -d '\r'; }
expect_item() {
    [ "$(item "$1" "$2")" = "$3" ] || fail "control $2 of '$1' shows '$(item "$1" "$2")', expected '$3' ($4)"
}
expect_checks() {
    [ "$(checked "$1" 7001)$(checked "$1" 7002)" = "$2" ] ||
        fail "the check boxes of '$1' are $(checked "$1" 7001)$(checked "$1" 7002), expected $2 ($3)"
}

slot_dialog="ゲームマップの変更"
build_dialog="ビルドオプション"
play_dialog="プレイオプション"
game_dialog="ゲーム実行ファイルの指定"
file_title="ゲーム実行ファイルを指定"

run="$work/editor"
games="$work/ゲーム フォルダ"
mkdir -p "$run" "$games"
cp "$build/keldra.exe" "$run/"
cp "$build/fake-game.exe" "$games/fake game.exe"
# A folder whose path is longer than the dialog's line.
long="$games/遠くのフォルダ_the_folder_with_a_long_name_0123456789_abcdefghijklmnopqrstuvwxyz"
mkdir -p "$long"
cp "$build/fake-game.exe" "$long/other.exe"
ln -s "$iwad" "$run/doom2.wad"
cp "$root/samples/two_rooms.kdm" "$run/two_rooms.kdm"
winwork=$(winepath -w "$work" 2>/dev/null | tr -d '\r')
wingames="$winwork\\ゲーム フォルダ"
winlong="$wingames\\$(basename "$long")"

start_editor "$run"
menu f 2
file_dialog "Open" "$winwork\\editor\\two_rooms.kdm"
expect_title "Keldra - [two_rooms.kdm - MAP01]" "the map opened"

# --- the map slot ------------------------------------------------------------

menu s 3
dialog "$slot_dialog" changemap >/dev/null
expect_item "$slot_dialog" 3001 MAP01 "opened on MAP01"
keys Down Down Down Down Down Down
close_with "$slot_dialog" Return
expect_title "Keldra - [two_rooms.kdm * - MAP07]" "MAP07 chosen"
# Opened again it shows MAP07, and OK without a choice keeps it.
menu s 3
dialog "$slot_dialog" >/dev/null
expect_item "$slot_dialog" 3001 MAP07 "opened on the current slot"
close_with "$slot_dialog" Return
expect_title "Keldra - [two_rooms.kdm * - MAP07]" "OK without a choice"
# Another choice, then Esc: nothing changes.
menu s 3
dialog "$slot_dialog" >/dev/null
keys End
expect_item "$slot_dialog" 3001 MAP32 "MAP32 chosen before Esc"
close_with "$slot_dialog" Escape
expect_title "Keldra - [two_rooms.kdm * - MAP07]" "Esc"

# --- the build options -------------------------------------------------------

menu b 3
dialog "$build_dialog" buildoption >/dev/null
expect_checks "$build_dialog" 00 "no keldra.cfg"
keys space Tab space
expect_checks "$build_dialog" 11 "both switched on"
close_with "$build_dialog" Escape
menu b 3
dialog "$build_dialog" >/dev/null
expect_checks "$build_dialog" 00 "after Esc"
# The debug switch alone, then Build: the map is saved and built, and the
# debug log has the node builder's line but none of the PVS pass.
keys Tab space
close_with "$build_dialog" "Tab Tab Tab space"
wait_until '[ -f two_rooms.wad ] && [ -f debug.txt ]' 30 || fail "Build wrote no PWAD or no debug.txt"
expect_status 0 " ビルドしました" "Build from the dialog"
"$cli" info two_rooms.kdm | grep -q "^two_rooms.kdm: MAP07," || fail "two_rooms.kdm holds: $("$cli" info two_rooms.kdm)"
expect_title "Keldra - [two_rooms.kdm - MAP07]" "saved by the build"
grep -q "^cuts = " debug.txt || fail "debug.txt: $(cat debug.txt)"
! grep -q "^numsubsectors" debug.txt || fail "the PVS was computed without its switch"
"$cli" check two_rooms.wad | grep -q "MAP07: sound" || fail "two_rooms.wad: $("$cli" check two_rooms.wad)"
# The PVS switch too, OK, and the build from the menu computes the PVS.
menu b 3
dialog "$build_dialog" >/dev/null
expect_checks "$build_dialog" 01 "opened again"
keys space
close_with "$build_dialog" Return
menu b 1
wait_until 'grep -q "^numsubsectors" debug.txt' 30 || fail "no PVS pass with its switch on: $(cat debug.txt)"

# --- the play options, the Play button and the game executable --------------

menu b 4
dialog "$play_dialog" playoption >/dev/null
expect_checks "$play_dialog" 00 "no keldra.cfg"
expect_item "$play_dialog" 4001 "" "no keldra.cfg"
keys space
close_with "$play_dialog" Escape
menu b 4
dialog "$play_dialog" >/dev/null
expect_checks "$play_dialog" 00 "after Esc"
keys space Tab space Tab
xdotool type --delay 50 "extra.wad"
keys Tab
xdotool type --delay 50 " -skill 4 -fast"
sleep 0.3
import -window "$(box "$play_dialog")" "$artifacts/option-dialogs-playoption-filled.png"
# Play: no game executable is set, so the play test asks, and Yes opens the
# game executable dialog.
close_with "$play_dialog" "Tab Tab Tab space"
answer "マップをプレイ" y "play without a game executable"
dialog "$game_dialog" locategame >/dev/null
expect_item "$game_dialog" 2002 "指定されていません" "nothing set"
keys space
file_dialog "$file_title" "$wingames\\fake game.exe"
expect_item "$game_dialog" 2002 "$wingames\\fake game.exe" "chosen"
import -window "$(box "$game_dialog")" "$artifacts/option-dialogs-locategame-chosen.png"
close_with "$game_dialog" "Tab space"
launch="$games/launch.txt"
wait_until '[ -f "$launch" ]' 30 || fail "the game was not started"
expected=$(printf 'directory %s\narg fake game.exe\narg -file\narg %s\narg extra.wad\narg -warp\narg 7\narg -nomonsters\narg -nomusic\narg -skill\narg 4\narg -fast' \
    "$wingames" "$winwork\\editor\\two_rooms.wad")
[ "$(grep -v '^commandline' "$launch")" = "$expected" ] || fail "the game was started as: $(cat "$launch")"
rm "$launch"

# The options come back as stored; three blanks in the -file field unset it.
menu b 4
dialog "$play_dialog" >/dev/null
expect_checks "$play_dialog" 11 "opened again"
expect_item "$play_dialog" 4001 "extra.wad" "opened again"
expect_item "$play_dialog" 4002 " -skill 4 -fast" "opened again"
keys Tab Tab
xdotool type --delay 50 "   "
close_with "$play_dialog" Return
menu b 4
dialog "$play_dialog" >/dev/null
expect_item "$play_dialog" 4001 "" "three blanks stored"
close_with "$play_dialog" Escape

# Choosing again offers the last choice, in its folder; a long path wraps;
# Cancel keeps the stored one.
menu s 4
dialog "$game_dialog" >/dev/null
expect_item "$game_dialog" 2002 "$wingames\\fake game.exe" "the stored path"
keys space
box "$file_title" >/dev/null || fail "no file dialog"
sleep 0.5
[ "$(wine "$build/probe.exe" field "$file_title" | tr -d '\r')" = "fake game.exe" ] ||
    fail "the file dialog offers '$(wine "$build/probe.exe" field "$file_title")'"
import -window "$(box "$file_title")" "$artifacts/option-dialogs-file-dialog.png"
xdotool key --window "$(box "$file_title")" End shift+Home Delete
file_dialog "$file_title" "$winlong\\other.exe"
expect_item "$game_dialog" 2002 "$winlong\\other.exe" "chosen again"
import -window "$(box "$game_dialog")" "$artifacts/option-dialogs-locategame-long.png"
close_with "$game_dialog" Escape
button 4002
wait_until '[ -f "$launch" ]' 30 || fail "the game was not started the second time"
grep -q "^arg fake game.exe$" "$launch" || fail "Cancel changed the game: $(cat "$launch")"
grep -q "^arg -skill$" "$launch" && ! grep -q "^arg extra.wad$" "$launch" || fail "the second play: $(cat "$launch")"

# New: the map slot dialog comes last and opens on the current slot.
menu f 1
file_dialog "Save As" "$winwork\\editor\\new.kdm"
dialog "$slot_dialog" >/dev/null
expect_item "$slot_dialog" 3001 MAP07 "New"
keys Home Down Down
close_with "$slot_dialog" Return
expect_title "Keldra - [new.kdm * - MAP03]" "New, then MAP03"
# The changed slot is a change of the map: leaving asks, and Yes saves it.
focus_main
xdotool key alt+F4
answer "Keldra" y "exit after the slot changed"
expect_exit "Alt+F4"
"$cli" info new.kdm | grep -q "^new.kdm: MAP03, 0 vertices" || fail "new.kdm holds: $("$cli" info new.kdm)"

# keldra.cfg in code page 932, every setting in its order.
printf 'gamefile\t\t%s\r\nplayoption1\t\t1\r\nplayoption2\t\t1\r\nplayoption3\t\tundesignated\r\nplayoption4\t\t -skill 4 -fast\r\nbuildoption1\t\t1\r\nbuildoption2\t\t1\r\nbackupminutes\t\t3.000000\r\n' \
    "$(printf '%s' "$wingames\\fake game.exe" | iconv -f UTF-8 -t CP932)" >"$work/expected.cfg"
cmp -s "$run/keldra.cfg" "$work/expected.cfg" || fail "keldra.cfg after exit: $(cat -A "$run/keldra.cfg")"

echo "Option dialogs under Wine: ok in $(($(date +%s) - began)) s (screenshots $artifacts/option-dialogs-*.png)"
