#!/bin/sh
# End-to-end check of the Sector Edit, Default Sector and Thing Edit dialogs
# under Wine on a virtual display, driven with real keys: two rooms sharing a
# wall; Sector Edit on one of them changes its heights (the shared wall's
# lower textures follow), flats typed into the lists, light, special and tag;
# a light of 300 is refused with a message and the dialog stays; Esc changes
# nothing; Default Sector's light reaches the next room drawn; Thing Edit
# changes a placed thing's type through the thing type menu, its angle and
# options, and Esc, Cancel or the close box after choosing a type write
# nothing. The effects are read from the saved .kdm. Screenshots go to
# ARTIFACT_DIR/sector-dialogs-*.png.
#
#   tests/windows/sector_dialogs_test.sh BUILD_DIR ARTIFACT_DIR NATIVE_KELDRA_CLI
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
rm -f "$artifacts"/sector-dialogs-*.png
cli="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() {
    import -window root "$artifacts/sector-dialogs-failure.png" 2>/dev/null || true
    echo "FAIL: $*" >&2
    exit 1
}
[ -f /usr/share/games/doom/freedoom2.wad ] || { echo "skipped: no freedoom2.wad"; exit 0; }

wine_start "${KELDRA_WINE_DIR:-$work/wine}"
. "$root/tests/windows/map_view_session.sh"
start_view_editor "$work"
main=$window

# --- helpers -----------------------------------------------------------------

# Waits up to $2 seconds (default 10) until the shell condition $1 holds.
wait_until() {
    for _ in $(seq $((${2:-10} * 10))); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}
# The id of the visible window named exactly $1 (waiting for it), or failure.
dialog() {
    wait_until "xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" 10 || fail "no window '$1' ($2)"
    xdotool search --onlyvisible --name "^$1\$" | tail -n 1
}
gone() {
    wait_until "! xdotool search --onlyvisible --name '^$1\$' >/dev/null 2>&1" 10 || fail "'$1' stayed open ($2)"
}
keys() {
    for key in "$@"; do
        xdotool key "$key"
        sleep 0.2
    done
}
typed() { xdotool type --delay 60 -- "$1"; sleep 0.2; }
# The text of control $2 of the window titled $1, read by the editor's own controls.
control_text() { wine "$build/probe.exe" text "$1" "$2" | tr -d '\r'; }
# A shot of the whole dialog $1 (window id) into $2.
dialog_shot() { import -window "$1" "$artifacts/$2"; }

# File > Save; the saved map must load, and its records go in map.txt, one a line:
#   sector N FLOOR CEILING FLOORFLAT CEILINGFLAT LIGHT SPECIAL TAG
#   side LINE right|left SECTOR UPPER LOWER MIDDLE
#   thing N X Y ANGLE TYPE FLAGS ROW
save_and_dump() {
    xdotool key alt+f
    sleep 0.5
    keys Down Down Down Down Return
    # The first save asks whether to choose another name than the default: no.
    if [ -z "${saved_once:-}" ]; then
        question=$(dialog "上書き保存" "the first save")
        xdotool key --window "$question" n 2>/dev/null || xdotool key n
        saved_once=1
    fi
    sleep 1.5
    "$cli" info untitled.kdm >info.txt 2>&1 || fail "the saved map does not load: $(cat info.txt)"
    python3 - untitled.kdm >map.txt <<'PY' || fail "the saved map cannot be read"
import struct, sys
data = open(sys.argv[1], "rb").read()
at = 8
def name(b):
    return b.rstrip(b"\0").decode("latin-1") or "?"
def chunk(tag, size):
    global at
    assert data[at:at + 4] == tag, tag
    count = struct.unpack_from("<i", data, at + 4)[0]
    at += 8
    records = [data[at + i * size:at + (i + 1) * size] for i in range(count)]
    at += count * size
    return records
chunk(b"VERT", 20)
for n, r in enumerate(chunk(b"SCTR", 40)):
    f, c = struct.unpack_from("<ii", r)
    light, special, tag = struct.unpack_from("<iii", r, 24)
    print("sector", n, f, c, name(r[8:16]), name(r[16:24]), light, special, tag)
for n, r in enumerate(chunk(b"LINE", 96)):
    for side, base in (("right", 20), ("left", 56)):
        sector = struct.unpack_from("<i", r, base + 32)[0]
        if sector >= 0:
            print("side", n, side, sector, name(r[base + 8:base + 16]), name(r[base + 16:base + 24]),
                  name(r[base + 24:base + 32]))
for n, r in enumerate(chunk(b"THNG", 28)):
    x, y = struct.unpack_from("<ff", r)
    print("thing", n, int(x), int(y), *struct.unpack_from("<iiii", r, 8))
PY
}
expect_line() {
    grep -qx "$1" map.txt || fail "$2: no line '$1' in the saved map:
$(cat map.txt)"
}
# The lower textures of the wall between sectors 0 and 1: "SECTOR0SIDE SECTOR1SIDE".
shared_lowers() {
    awk '$1 == "side" { lower[$2, $4] = $6; seen[$2] = seen[$2] " " $4 }
         END { for (l in seen) if (seen[l] == " 0 1" || seen[l] == " 1 0") print lower[l, 0], lower[l, 1] }' map.txt
}
expect_lowers() {
    [ "$(shared_lowers)" = "$1" ] || fail "$2: the shared wall's lower textures are '$(shared_lowers)', expected '$1'"
}
# A click selects what is at screen point ($1, $2) (and gives the view the
# keys); Enter opens its dialog.
edit_at() {
    click "$1" "$2"
    xdotool key Return
}

# --- Sector Edit ---------------------------------------------------------------

# Room A (sector 0) and room B (sector 1) share a wall; B is selected.
room $((cx - 150)) $((cy - 50)) $((cx - 50)) $((cy + 50))
room $((cx - 50)) $((cy - 50)) $((cx + 50)) $((cy + 50))
click "$cx" "$cy"
save_and_dump
expect_line "sector 1 0 128 FLOOR1_1 FLAT18 160 0 0" "room B as drawn"
expect_lowers "- -" "equal floors"

# Enter: the floor raised to 32 (the neighbour's floor comes below: its side
# shows the default lower texture), the floor flat chosen by typing its
# first letter into the list, the ceiling's likewise, light 300, special 9,
# tag 7.
edit_at "$cx" "$cy"
sector=$(dialog "Sector Edit" "Enter on a sector")
sleep 1
[ "$(control_text "Sector Edit" 4001)" = "0" ] || fail "the floor field opens with '$(control_text "Sector Edit" 4001)'"
[ "$(control_text "Sector Edit" 3001)" = "FLOOR1_1" ] || fail "the floor flat list opens on '$(control_text "Sector Edit" 3001)'"
[ "$(control_text "Sector Edit" 3003)" = "00 No special characteristic" ] ||
    fail "the special list opens on '$(control_text "Sector Edit" 3003)'"
dialog_shot "$sector" sector-dialogs-sector-edit-opened.png
typed 32
keys Tab Tab
typed n
keys Tab
typed r
keys Tab
typed 300
keys Tab Down Down Down Down Down Down Down Down Down Tab
typed 7
sleep 0.5
[ "$(control_text "Sector Edit" 3001)" = "NUKAGE1" ] || fail "typing n chose '$(control_text "Sector Edit" 3001)'"
[ "$(control_text "Sector Edit" 3002)" = "RROCK01" ] || fail "typing r chose '$(control_text "Sector Edit" 3002)'"
dialog_shot "$sector" sector-dialogs-sector-edit.png
xdotool key Return
box=$(dialog Keldra "OK with light 300")
sleep 0.5
message=$(control_text Keldra 65535)
[ "$message" = "「Light Level」には 0 から 255 までの整数を入れて下さい" ] || fail "the refusal says '$message'"
import -window root "$artifacts/sector-dialogs-refused.png"
xdotool key --window "$box" Return 2>/dev/null || true
xdotool keyup Return
gone Keldra "the refusal answered"
sleep 0.5
xdotool search --onlyvisible --name '^Sector Edit$' >/dev/null || fail "the refused dialog closed"
[ "$(control_text "Sector Edit" 4003)" = "300" ] || fail "the refused light now reads '$(control_text "Sector Edit" 4003)'"
# The focus is back on the light field with its text selected: typing replaces it.
typed 200
xdotool key Return
gone "Sector Edit" "OK with light 200"
save_and_dump
expect_line "sector 1 32 128 NUKAGE1 RROCK01 200 9 7" "after Sector Edit's OK"
expect_line "sector 0 0 128 FLOOR1_1 FLAT18 160 0 0" "the neighbour after Sector Edit's OK"
expect_lowers "GRAY1 -" "room B raised to 32"

# The floor lowered to -24: the neighbour's floor now stands above, so the
# wall shows on room B's side.
edit_at "$cx" "$cy"
dialog "Sector Edit" "Enter again" >/dev/null
sleep 0.5
typed -24
xdotool key Return
gone "Sector Edit" "OK with floor -24"
save_and_dump
expect_line "sector 1 -24 128 NUKAGE1 RROCK01 200 9 7" "after lowering the floor"
expect_lowers "- GRAY1" "room B lowered to -24"

# Esc after changes writes nothing.
edit_at "$cx" "$cy"
dialog "Sector Edit" "Enter for Esc" >/dev/null
sleep 0.5
typed 64
keys Tab Tab
typed s
xdotool key Escape
gone "Sector Edit" "Esc"
save_and_dump
expect_line "sector 1 -24 128 NUKAGE1 RROCK01 200 9 7" "after Esc"
expect_lowers "- GRAY1" "after Esc"

# --- Default Sector --------------------------------------------------------------

# Settings > Default Sector: light 200; the next room drawn (C, sector 2)
# has it, the rooms drawn before keep theirs.
xdotool key alt+s
sleep 0.5
keys Down Return
defsec=$(dialog "Default Sector" "Settings menu")
sleep 1
[ "$(control_text "Default Sector" 4003)" = "160" ] || fail "Default Sector opens with light '$(control_text "Default Sector" 4003)'"
keys Tab Tab Tab Tab
typed 200
dialog_shot "$defsec" sector-dialogs-default-sector.png
xdotool key Return
gone "Default Sector" "OK"
room $((cx + 150)) $((cy - 50)) $((cx + 250)) $((cy + 50))
save_and_dump
expect_line "sector 2 0 128 FLOOR1_1 FLAT18 200 0 0" "room C drawn after Default Sector"
expect_line "sector 0 0 128 FLOOR1_1 FLAT18 160 0 0" "room A after Default Sector"

# --- Thing Edit ------------------------------------------------------------------

# A player start placed in room A from the thing type menu, selected, Enter.
xdotool mousemove $((cx - 100)) "$cy" click 3
sleep 1
keys Down Right Right Return
sleep 0.5
edit_at $((cx - 100)) "$cy"
thing=$(dialog "Thing Edit" "Enter on a thing")
sleep 1
[ "$(control_text "Thing Edit" 2001)" = "Player 1 start" ] || fail "Thing Edit shows '$(control_text "Thing Edit" 2001)'"
dialog_shot "$thing" sector-dialogs-thing-edit-opened.png
# The change button has the focus: Space opens the menu, where the second
# category's first type (its picture) is chosen.
xdotool key space
sleep 1
import -window root "$artifacts/sector-dialogs-thing-menu.png"
keys Down Down Right Right Return
sleep 0.5
[ "$(control_text "Thing Edit" 2001)" = "Former Human" ] || fail "the menu's choice shows '$(control_text "Thing Edit" 2001)'"
# Angle 225 (two above the last entry); Skill 1/2 off, Deaf guard and
# Multiplayer only on.
keys Tab End Up Up Tab space Tab Tab Tab space Tab space
[ "$(control_text "Thing Edit" 3001)" = "225 (southwest)" ] || fail "the angle list shows '$(control_text "Thing Edit" 3001)'"
dialog_shot "$thing" sector-dialogs-thing-edit.png
xdotool key Return
gone "Thing Edit" "OK"
save_and_dump
grep -Eqx "thing 0 -?[0-9]+ -?[0-9]+ 225 3004 30 5" map.txt || fail "the thing after OK:
$(grep thing map.txt)"

# Another type chosen, then Esc, the Cancel button or the close box: the
# dialog closes (Esc and the close box are not taken for the menu's row 2)
# and the thing stays as it was.
for way in Esc Cancel "close box"; do
    edit_at $((cx - 100)) "$cy"
    thing=$(dialog "Thing Edit" "Enter before $way")
    sleep 1
    [ "$(control_text "Thing Edit" 2001)" = "Former Human" ] || fail "Thing Edit reopens on '$(control_text "Thing Edit" 2001)'"
    xdotool key space
    sleep 1
    keys Down Down Down Right Right Return
    sleep 0.5
    chosen=$(control_text "Thing Edit" 2001)
    [ "$chosen" != "Former Human" ] && [ -n "$chosen" ] || fail "the menu's choice before $way shows '$chosen'"
    case $way in
        Esc) xdotool key Escape ;;
        # From the change button: the angle, the five options, OK, Cancel.
        Cancel) keys Tab Tab Tab Tab Tab Tab Tab Tab space ;;
        *)
            eval "$(xdotool getwindowgeometry --shell "$thing")"
            click $((X + WIDTH - 12)) $((Y + 10))
            ;;
    esac
    gone "Thing Edit" "$way"
done
save_and_dump
grep -Eqx "thing 0 -?[0-9]+ -?[0-9]+ 225 3004 30 5" map.txt || fail "the thing after Esc, Cancel and the close box:
$(grep thing map.txt)"

echo "Sector and thing dialogs under Wine: ok (screenshots in $artifacts)"
