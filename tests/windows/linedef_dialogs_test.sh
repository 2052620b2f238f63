#!/bin/sh
# End-to-end check of the linedef and default textures dialogs under Wine on
# a virtual display. Two rooms share a wall; the wall is selected and its
# dialog opened with Enter: flags, special, tag, both sides' offsets and
# textures are changed with keys and clicks, a tag the map cannot hold is
# refused and the dialog stays, OK writes everything into the saved map.
# Opened from the tool bar and cancelled, it changes nothing; a one-sided
# wall opened from the menu shows only the right side. The default
# textures chosen in their dialog go to the next room drawn.
#
#   tests/windows/linedef_dialogs_test.sh BUILD_DIR ARTIFACT_DIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
rm -f "$artifacts"/wine-lineedit-*.png "$artifacts"/wine-deftex.png "$artifacts"/wine-linedef-failure.png
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() {
    import -window root "$artifacts/wine-linedef-failure.png" 2>/dev/null || true
    echo "FAIL: $*" >&2
    exit 1
}
[ -f /usr/share/games/doom/freedoom2.wad ] || { echo "skipped: no freedoom2.wad"; exit 0; }

wine_start "${KELDRA_WINE_DIR:-$work/wine}"
. "$root/tests/windows/map_view_session.sh"
start_view_editor "$work"
cp "$build/probe.exe" "$work/"

probe() {
    out=$(wine probe.exe "$@" 2>/dev/null) || return 1
    printf '%s\n' "$out" | tr -d '\r'
}
# click_control TITLE ID: a click on a control of the dialog titled TITLE.
click_control() {
    at=$(probe control "$1" "$2") || fail "no control $2 in \"$1\""
    click ${at% *} ${at#* }
}
# type_field TITLE ID TEXT: the field's text replaced by typing.
type_field() {
    click_control "$1" "$2"
    xdotool key End shift+Home
    xdotool type -- "$3"
    sleep 0.3
}
# The list's choice without the size: "NAME (WxH)" -> NAME.
choice() { probe text "$1" "$2" | sed 's/ (.*//'; }
# The dialog titled $1 after up to 20 seconds, its screenshot in $2.
wait_dialog() {
    dialog=$(wine_wait_window "^$1\$" 20 || true)
    [ -n "$dialog" ] || fail "\"$1\" did not open"
    sleep 1
    [ -z "${2:-}" ] || import -window "$dialog" "$artifacts/$2"
}
# The number of colours in a piece of preview ID of dialog TITLE at its left,
# where the picture is (a preview is 146 dialog units wide, about 292
# pixels): one grey when it is empty.
preview_colours() {
    import -window root screen.png
    at=$(probe control "$1" "$2") || fail "no preview $2"
    convert screen.png -crop 30x30+$((${at% *} - 140))+$((${at#* } - 15)) +repage -format %k info:
}
# pictured TITLE ID...: each of these previews shows a picture.
pictured() {
    title=$1
    shift
    for control in "$@"; do
        colours=$(preview_colours "$title" "$control")
        [ "$colours" -gt 2 ] || fail "preview $control of \"$title\" is empty ($colours colours)"
    done
}
gone() {
    for _ in $(seq 25); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    fail "\"$1\" stayed open"
}
# The linedefs of a saved map, one a line:
#   number flags special tag | x y upper middle lower sector | the left side
linedefs() {
    python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
at = 8
def chunk(size):
    global at
    count = struct.unpack_from("<i", data, at + 4)[0]
    at += 8
    start = at
    at += count * size
    return count, start
chunk(20)   # vertices
chunk(40)   # sectors
count, start = chunk(96)
name = lambda b: b.rstrip(b"\0").decode("latin-1") or "?"
def side(o):
    x, y = struct.unpack_from("<ii", data, o)
    u, l, m = data[o + 8:o + 16], data[o + 16:o + 24], data[o + 24:o + 32]
    s = struct.unpack_from("<i", data, o + 32)[0]
    return "%d %d %s %s %s %d" % (x, y, name(u), name(m), name(l), s)
for i in range(count):
    o = start + 96 * i
    v1, v2, flags, special, tag = struct.unpack_from("<iiiii", data, o)
    print(i, flags, special, tag, "|", side(o + 20), "|", side(o + 56))
EOF
}
save_map() {
    xdotool key alt+f
    sleep 0.5
    # The fifth item, Save.
    xdotool key Down Down Down Down Return
    # The first save asks whether to choose another name than the default: no.
    question=$(wine_wait_window '^上書き保存$' 2 || true)
    [ -z "$question" ] || xdotool key n
    sleep 1.5
    [ -f untitled.kdm ] || fail "the map was not saved"
}

# Rooms A and B; their shared wall is the only two-sided linedef.
room $((cx - 150)) $((cy - 50)) $((cx - 50)) $((cy + 50))
room $((cx - 50)) $((cy - 50)) $((cx + 50)) $((cy + 50))
save_map
linedefs untitled.kdm >before.txt
wall=$(awk '$NF != -1 {print $1}' before.txt)
[ "$(echo "$wall" | wc -w)" -eq 1 ] || fail "no single shared wall: $(cat before.txt)"

# The wall selected, Enter opens its dialog on the right side.
click $((cx - 50)) "$cy"
xdotool mousemove $((cx + 300)) $((cy + 200))
sleep 0.5
xdotool key Return
wait_dialog "Linedef Edit"
xdotool keyup Return
probe tab "Linedef Edit" 5000 1 >/dev/null || fail "a two-sided wall has no \"Left Sidedef\" tab"
[ "$(preview_colours "Linedef Edit" 1002)" -eq 1 ] || fail "the preview of no texture is not empty"
# Flags: Impassable with the space bar (the focus starts on it), Upper
# Unpegged three tabs on, Secret with a click; the special eleven entries
# down.
xdotool key space Tab Tab Tab space
click_control "Linedef Edit" 7006
xdotool key Tab Tab Tab Tab
for _ in $(seq 11); do xdotool key Down; done
[ "$(probe text "Linedef Edit" 3001)" = "011 Exit S1 ToNextLevel" ] ||
    fail "special list shows $(probe text "Linedef Edit" 3001)"
# The right side: offsets typed, textures chosen by a letter and arrow keys.
type_field "Linedef Edit" 4002 16
type_field "Linedef Edit" 4003 -8
xdotool key Tab s Tab Down Down Down Tab b
sleep 0.5
right="$(choice "Linedef Edit" 3002) $(choice "Linedef Edit" 3003) $(choice "Linedef Edit" 3004)"
case "$right" in S*" "*" "B*) ;; *) fail "right side textures chosen: $right" ;; esac
# A tag that is not a number, then one beyond 16 bits: OK refused with a
# message over the previews, the dialog stays with the text typed and the
# previews are painted again.
for refused in abc 70000; do
    type_field "Linedef Edit" 4001 "$refused"
    xdotool key Return
    box=$(wine_wait_window '^Keldra$' 10 || true)
    [ -n "$box" ] || fail "no message for the tag $refused"
    sleep 0.5
    [ "$refused" = abc ] && import -window root "$artifacts/wine-lineedit-refused.png"
    xdotool key --window "$box" Return 2>/dev/null || true
    xdotool keyup Return
    gone Keldra
    xdotool search --onlyvisible --name '^Linedef Edit$' >/dev/null || fail "the dialog closed on the tag $refused"
    [ "$(probe text "Linedef Edit" 4001)" = "$refused" ] || fail "the refused tag became $(probe text "Linedef Edit" 4001)"
done
type_field "Linedef Edit" 4001 42
import -window "$dialog" "$artifacts/wine-lineedit-right.png"
pictured "Linedef Edit" 1001 1002 1003
# The left side, with a y offset beyond 16 bits.
at=$(probe tab "Linedef Edit" 5000 1)
click ${at% *} ${at#* }
[ "$(probe text "Linedef Edit" 4002)" = 0 ] || fail "the left tab shows x offset $(probe text "Linedef Edit" 4002)"
type_field "Linedef Edit" 4002 -24
type_field "Linedef Edit" 4003 40000
xdotool key Tab Down Down Tab g Tab w
sleep 0.5
left="$(choice "Linedef Edit" 3002) $(choice "Linedef Edit" 3003) $(choice "Linedef Edit" 3004)"
# Back on the right tab the typed values are still there.
at=$(probe tab "Linedef Edit" 5000 0)
click ${at% *} ${at#* }
[ "$(probe text "Linedef Edit" 4002) $(probe text "Linedef Edit" 4003)" = "16 -8" ] ||
    fail "the right tab shows offsets $(probe text "Linedef Edit" 4002) $(probe text "Linedef Edit" 4003)"
[ "$(choice "Linedef Edit" 3002) $(choice "Linedef Edit" 3003) $(choice "Linedef Edit" 3004)" = "$right" ] ||
    fail "the right tab's textures changed after the left tab"
# OK refuses the left side's offset and shows that side with it.
click_control "Linedef Edit" 1
box=$(wine_wait_window '^Keldra$' 10 || true)
[ -n "$box" ] || fail "no message for the left y offset"
xdotool key --window "$box" Return 2>/dev/null || true
xdotool keyup Return
gone Keldra
[ "$(probe text "Linedef Edit" 4002) $(probe text "Linedef Edit" 4003)" = "-24 40000" ] ||
    fail "after the refused offset the dialog shows $(probe text "Linedef Edit" 4002) $(probe text "Linedef Edit" 4003)"
type_field "Linedef Edit" 4003 5
import -window "$dialog" "$artifacts/wine-lineedit-left.png"
pictured "Linedef Edit" 1001 1002 1003
click_control "Linedef Edit" 1
gone "Linedef Edit"
save_map
linedefs untitled.kdm >after.txt
set -- $(awk -v n="$wall" '$1 == n' after.txt)
# number flags special tag | x y upper middle lower sector | x y upper middle lower sector
# Impassable 0x1, Upper Unpegged 0x8 and Secret 0x20 added to what the wall had.
flags=$(($(awk -v n="$wall" '$1 == n {print $2}' before.txt) | 0x29))
[ "$2 $3 $4" = "$flags 11 42" ] || fail "flags, special, tag saved: $2 $3 $4"
[ "$6 $7 $8 $9 ${10}" = "16 -8 $right" ] || fail "right side saved: $6 $7 $8 $9 ${10}, chosen $right"
[ "${13} ${14} ${15} ${16} ${17}" = "-24 5 $left" ] || fail "left side saved: ${13} ${14} ${15} ${16} ${17}, chosen $left"
[ "${11} ${18}" = "$(awk -v n="$wall" '$1 == n {print $11, $18}' before.txt)" ] || fail "the wall's sectors changed"
awk -v n="$wall" '$1 != n' before.txt >others-before.txt
awk -v n="$wall" '$1 != n' after.txt >others-after.txt
cmp -s others-before.txt others-after.txt || fail "other linedefs changed"

# From the tool bar, changed everywhere and cancelled: the map stays as it is.
cp untitled.kdm saved.kdm
# Alt, which opened the menu to save, cleared the selection: the wall is
# chosen again.
click $((cx - 50)) "$cy"
xdotool mousemove $((cx + 300)) $((cy + 200))
sleep 0.5
at=$(probe button 2001) || fail "no edit button on the tool bar"
click ${at% *} ${at#* }
wait_dialog "Linedef Edit"
[ "$(probe text "Linedef Edit" 4001)" = 42 ] || fail "the dialog reopened with tag $(probe text "Linedef Edit" 4001)"
click_control "Linedef Edit" 7003
type_field "Linedef Edit" 4001 7
type_field "Linedef Edit" 4002 999
at=$(probe tab "Linedef Edit" 5000 1)
click ${at% *} ${at#* }
type_field "Linedef Edit" 4003 99
xdotool key Tab Up
click_control "Linedef Edit" 2
gone "Linedef Edit"
save_map
cmp -s saved.kdm untitled.kdm || fail "Cancel changed the map: $(linedefs untitled.kdm | awk -v n="$wall" '$1 == n')"

# A one-sided wall from the Edit menu, reached with F10 (Alt would clear the
# selection): the right side only; Escape closes.
click $((cx - 150)) "$cy"
xdotool mousemove $((cx + 300)) $((cy + 200))
xdotool key F10
sleep 0.5
# Edit, then past Undo and Redo to the edit item.
xdotool key Right Down
sleep 0.5
xdotool key Down Down Return
wait_dialog "Linedef Edit"
xdotool keyup Return
probe tab "Linedef Edit" 5000 0 >/dev/null || fail "a one-sided wall has no \"Right Sidedef\" tab"
probe tab "Linedef Edit" 5000 1 >/dev/null && fail "a one-sided wall has a \"Left Sidedef\" tab"
xdotool key Escape
gone "Linedef Edit"

# Default textures from the Settings menu: upper and middle changed, OK.
xdotool key alt+s
sleep 0.5
xdotool key Return
wait_dialog "Default Textures"
[ "$(choice "Default Textures" 3001)" = GRAY1 ] || fail "default upper opens as $(choice "Default Textures" 3001)"
xdotool key s Tab b
sleep 0.5
upper=$(choice "Default Textures" 3001)
middle=$(choice "Default Textures" 3002)
case "$upper $middle" in S*" "B*) ;; *) fail "default textures chosen: $upper $middle" ;; esac
import -window "$dialog" "$artifacts/wine-deftex.png"
pictured "Default Textures" 1001 1002 1003
xdotool key Return
gone "Default Textures"
xdotool keyup Return
# Reopened: the stored names selected; changed and cancelled they stay.
xdotool key alt+s
sleep 0.5
xdotool key Return
wait_dialog "Default Textures"
xdotool keyup Return
[ "$(choice "Default Textures" 3001) $(choice "Default Textures" 3002) $(choice "Default Textures" 3003)" = \
    "$upper $middle GRAY1" ] || fail "default textures reopen as $(choice "Default Textures" 3001) $(choice "Default Textures" 3002)"
xdotool key a Tab a Tab a
click_control "Default Textures" 2
gone "Default Textures"
# Room C, apart: its walls get the new middle texture; A and B keep theirs.
room $((cx + 150)) $((cy - 50)) $((cx + 250)) $((cy + 50))
save_map
linedefs untitled.kdm >third.txt
new=$(awk '$11 == 2 && $9 == "'"$middle"'"' third.txt | wc -l)
[ "$new" -eq 4 ] || fail "room C's walls: $(awk '$11 == 2' third.txt)"
awk '$11 != 2' third.txt >old-third.txt
linedefs saved.kdm >old-saved.txt
cmp -s old-third.txt old-saved.txt || fail "the walls of rooms A and B changed"
xdotool key alt+s
sleep 0.5
xdotool key Return
wait_dialog "Default Textures"
xdotool keyup Return
[ "$(choice "Default Textures" 3001)" = "$upper" ] || fail "the cancelled dialog changed the default upper texture"
xdotool key Escape
gone "Default Textures"
echo "linedef dialogs: OK"
