#!/bin/sh
# End-to-end check of what keeps work from being lost, under Wine: two rooms
# drawn, Ctrl+Z and a save leave one room in the file, Ctrl+Y brings the
# second back and the title's mark follows the saved state; with backups
# every few seconds (keldra.cfg), the editor killed after a backup offers it
# at the next start and Yes restores it under the map's name, modified; MAP01
# of Freedoom's WAD opened through the File menu builds into a PWAD the
# validator passes; a clean exit leaves no backup behind.
#
#   tests/windows/history_test.sh BUILD_DIR ARTIFACT_DIR KELDRA_CLI
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
rm -f "$artifacts"/history-*.png
cli="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
iwad=/usr/share/games/doom/freedoom2.wad
[ -f "$iwad" ] || { echo "skipped: no freedoom2.wad"; exit 0; }
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() {
    import -window root "$artifacts/history-failure.png" 2>/dev/null || true
    echo "FAIL: $*" >&2
    exit 1
}
began=$(date +%s)
wine_start "${KELDRA_WINE_DIR:-$work/wine}"
. "$root/tests/windows/frame_session.sh"

run="$work/editor"
mkdir -p "$run"
cp "$build/keldra.exe" "$run/"
ln -s "$iwad" "$run/doom2.wad"
# A backup every three seconds.
printf 'backupminutes\t\t0.05\r\n' >"$run/keldra.cfg"
sectors() { "$cli" info "$run/untitled.kdm" | sed -n 's/.* \([0-9]*\) sectors.*/\1/p'; }

start_editor "$run"
draw_sector 0 0 0 128 128 128 128 0
draw_sector 200 0 200 128 328 128 328 0
expect_status 3 " Sectors: 2  Linedefs: 8  Vertices: 8  Things: 0" "two rooms"
xdotool key ctrl+z
expect_status 3 " Sectors: 1  Linedefs: 4  Vertices: 4  Things: 0" "after Ctrl+Z"
menu f 5
answer "上書き保存" n "the first save"
[ "$(sectors)" = 1 ] || fail "after Ctrl+Z the saved map has $(sectors) sectors"
expect_title "Keldra - [untitled.kdm - MAP01]" "saved"
xdotool key ctrl+y
expect_status 3 " Sectors: 2  Linedefs: 8  Vertices: 8  Things: 0" "after Ctrl+Y"
expect_title "Keldra - [untitled.kdm * - MAP01]" "redone after the save"
menu f 5
[ "$(sectors)" = 2 ] || fail "after Ctrl+Y the saved map has $(sectors) sectors"
# Undone to what was saved, the title has no mark; the Edit menu redoes.
xdotool key ctrl+z
expect_title "Keldra - [untitled.kdm * - MAP01]" "one step before the save"
menu e 2
expect_title "Keldra - [untitled.kdm - MAP01]" "redone to the saved state"

# A third room, not saved: a backup follows within seconds; then the editor
# is killed, as a crash would end it.
draw_sector 400 0 400 128 528 128 528 0
wait_until '[ -f "$run/untitled.kdm.bak1" ] && [ -f "$run/keldra.recovery" ]' 20 ||
    fail "no backup of the unsaved room"
[ "$(sectors)" = 2 ] || fail "the backup touched the map file"
"$cli" info "$run/untitled.kdm.bak1" | grep -q " 3 sectors" || fail "the backup holds: $("$cli" info "$run/untitled.kdm.bak1")"
wineserver -k
wineserver -w

start_editor "$run"
box "バックアップからの復元" >/dev/null || fail "no offer to restore the backup"
import -window root "$artifacts/history-restore-question.png"
answer "バックアップからの復元" y "restore"
expect_title "Keldra - [untitled.kdm * - MAP01]" "restored"
expect_status 3 " Sectors: 3  Linedefs: 12  Vertices: 12  Things: 0" "the restored map"
[ "$(sectors)" = 2 ] || fail "restoring wrote the map file"

# MAP01 of Freedoom's WAD through the File menu, the restored work let go.
menu f 3
answer "Keldra" n "unsaved changes before opening a WAD"
file_dialog "WADファイルを開く" "$(winepath -w "$iwad" 2>/dev/null | tr -d '\r')"
box "WADからマップを読み込む" >/dev/null || fail "no list of the WAD's maps"
import -window root "$artifacts/history-wad-levels.png"
send_key "WADからマップを読み込む" Return || fail "the list of maps stayed open"
expect_title "Keldra - [untitled.kdm * - MAP01]" "MAP01 opened"
import -window root "$artifacts/history-map01.png"
menu b 1
answer "上書き保存" n "saving before the build"
wait_until '[ -s "$run/untitled.wad" ]' 60 || fail "no PWAD built from MAP01"
"$cli" check "$run/untitled.wad" >"$work/check.txt" || fail "the PWAD of MAP01: $(cat "$work/check.txt")"
# The saved map is MAP01 as the command-line import reads it.
"$cli" import "$iwad" MAP01 -o "$work/map01.kdm" >/dev/null 2>&1
[ "$("$cli" info "$run/untitled.kdm" | sed 's/^[^:]*: //')" = "$("$cli" info "$work/map01.kdm" | sed 's/^[^:]*: //')" ] ||
    fail "opened MAP01 holds $("$cli" info "$run/untitled.kdm"), not $("$cli" info "$work/map01.kdm")"

# A clean exit takes the backups and the note with it, and nothing else.
menu f 7
expect_exit "exit"
[ ! -e "$run/keldra.recovery" ] || fail "the recovery note stayed after a clean exit"
[ ! -e "$run/untitled.kdm.bak1" ] || fail "a backup stayed after a clean exit"
[ -f "$run/untitled.kdm" ] || fail "the map file went"
echo "Undo, backups and WAD levels under Wine: ok in $(($(date +%s) - began)) s (screenshots $artifacts/history-*.png)"
