#!/bin/sh
# End-to-end check of drawing in the map view under Wine: a room drawn
# counter-clockwise in the void is refused; a clockwise room holds a
# counter-clockwise pillar (a hole) and a clockwise room inside it, and the
# walls face the right way (the built PWAD passes the validator, only the
# inner room's walls are two-sided); an edge that would cross a wall is
# refused while drawing and the polygon is dropped with Esc; a
# corner vertex is white, and red once selected; the arrow
# keys scroll, A fits the map into the view, and the BSP lines of the build
# are shown in their grey.
#
#   tests/windows/map_view_drawing_test.sh BUILD_DIR ARTIFACT_DIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
artifacts=$(cd "$2" && pwd)
work=$(mktemp -d)
. "$root/scripts/wine-env.sh"
trap 'wine_stop; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f /usr/share/games/doom/freedoom2.wad ] || { echo "skipped: no freedoom2.wad"; exit 0; }

wine_start "${KELDRA_WINE_DIR:-$work/wine}"
. "$root/tests/windows/map_view_session.sh"
start_view_editor "$work"
# Where the mouse rests while a screenshot is taken: nothing there to hover.
away() { xdotool mousemove $((left + 5)) $((top + 5)); sleep 0.8; }


# answer_warning FILE: waits for the editor's warning, takes a screenshot of
# the screen and answers it. The release of Return goes through the keyboard
# (xdotool sends it to the box's window only while it has the focus), so
# Return is not left held down.
answer_warning() {
    box=$(wine_wait_window '^Keldra$' 20) || fail "no warning for $1"
    sleep 0.5
    import -window root "$artifacts/$1"
    xdotool key --window "$box" Return 2>/dev/null || true
    xdotool keyup Return
    for _ in $(seq 25); do
        xdotool search --onlyvisible --name '^Keldra$' >/dev/null 2>&1 || break
        sleep 0.2
    done
}

# A room drawn counter-clockwise in the void would be a hole in nothing: refused.
polygon $((cx + 260)) $((cy - 120)) $((cx + 260)) $((cy - 60)) $((cx + 320)) $((cy - 60)) $((cx + 320)) $((cy - 120))
answer_warning wine-drawing-void-in-void.png
xdotool key Escape
# The outer room, clockwise.
polygon $((cx - 200)) $((cy - 150)) $((cx + 200)) $((cy - 150)) $((cx + 200)) $((cy + 150)) $((cx - 200)) $((cy + 150))
# Inside it a pillar, counter-clockwise: a hole in the outer room.
polygon $((cx - 150)) $((cy - 100)) $((cx - 150)) $((cy - 20)) $((cx - 70)) $((cy - 20)) $((cx - 70)) $((cy - 100))
# And a room inside the room, clockwise, one corner at (cx, cy).
polygon "$cx" "$cy" $((cx + 80)) "$cy" $((cx + 80)) $((cy + 80)) "$cx" $((cy + 80))
away
shot wine-drawing-rooms.png
# The outer room's corners are the white extremes of the view: they fix
# where the view lies on the screen to the pixel.
set -- $(convert "$artifacts/wine-drawing-rooms.png" -depth 8 txt:- |
    awk -F'[,: ]+' '/#FFFFFF/ { if (n == 0 || $1 < x0) x0 = $1; if (n == 0 || $2 < y0) y0 = $2; n++ }
                     END { print x0, y0, n }')
[ "${3:-0}" -gt 0 ] || fail "nothing white in the view after drawing the rooms"
left=$((cx - 200 - $1 - 2))
top=$((cy - 150 - $2 - 2))
[ "$(pixel wine-drawing-rooms.png "$cx" "$cy")" = "255,255,255" ] ||
    fail "the vertex at the middle is $(pixel wine-drawing-rooms.png "$cx" "$cy")"
near wine-drawing-rooms.png $((cx - 200)) "$cy" 255,255,255 || fail "the outer room's left wall is not drawn"
near wine-drawing-rooms.png $((cx - 110)) $((cy - 20)) 255,255,255 || fail "the pillar is not drawn"

# An edge from outside across the outer room's right wall is refused with a
# warning; Esc then drops the polygon being drawn.
xdotool mousemove $((cx + 260)) $((cy - 100))
sleep 0.3
xdotool keydown ctrl
sleep 0.3
click $((cx + 260)) $((cy - 100))
click $((cx + 260)) $((cy - 40))
xdotool mousemove $((cx + 140)) $((cy - 40)) click 1
answer_warning wine-drawing-crossing.png
xdotool keyup ctrl
sleep 0.3
# The keys reach the frame again after the box, without a click first.
[ "$(wine "$build/probe.exe" status | tr -d '\r' | head -n 1)" = " セクター描画モード" ] ||
    fail "not drawing after the refused edge: $(wine "$build/probe.exe" status | tr -d '\r' | head -n 1)"
xdotool key Escape
sleep 0.5
[ "$(wine "$build/probe.exe" status | tr -d '\r' | head -n 1)" = " 選択オブジェクト: 無し" ] ||
    fail "Esc after the warning did not end the drawing: $(wine "$build/probe.exe" status | tr -d '\r' | head -n 1)"

# The corner at (cx, cy), clicked, is selected and red.
click "$cx" "$cy"
away
shot wine-drawing-vertex-selected.png
[ "$(pixel wine-drawing-vertex-selected.png "$cx" "$cy")" = "255,0,0" ] ||
    fail "the selected vertex is $(pixel wine-drawing-vertex-selected.png "$cx" "$cy")"
xdotool key Escape

# Build (the map is saved first; its default name is kept) and read back.
xdotool key alt+b
sleep 0.5
xdotool key Return
sleep 2
xdotool key n
sleep 3
# The keys reach the frame after the question, without a click first: the
# right arrow scrolls by 10 pixels and back.
xdotool key Right
sleep 0.5
wine "$build/probe.exe" status | tr -d '\r' | grep -q "Center: X 10 Y 0" ||
    fail "the arrow key after the build's question: $(wine "$build/probe.exe" status | tr -d '\r' | tr '\n' '|')"
xdotool key Left
sleep 0.3
wine "$build/keldra-cli.exe" info untitled.kdm >info.txt 2>&1 || fail "keldra-cli info: $(cat info.txt)"
grep -q "12 vertices, 12 linedefs, 2 sectors, 0 things" info.txt ||
    fail "the refused polygons left something behind: $(cat info.txt)"
[ -s untitled.wad ] || fail "no PWAD was built"
wine "$build/keldra-cli.exe" check untitled.wad >check.txt 2>&1 || fail "the built PWAD: $(cat check.txt)"
# Every wall of the inner room has the outer room behind it.
two_sided=$(python3 - untitled.wad <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
count, directory = struct.unpack_from("<ii", data, 4)
for i in range(count):
    offset, size, name = struct.unpack_from("<ii8s", data, directory + 16 * i)
    if name.rstrip(b"\0") == b"LINEDEFS":
        lines = [struct.unpack_from("<7H", data, offset + 14 * j) for j in range(size // 14)]
        print(sum(1 for line in lines if line[6] != 0xFFFF and line[2] & 4))
EOF
)
[ "$two_sided" = 4 ] || fail "$two_sided two-sided linedefs instead of the inner room's 4"

# The build's BSP lines (View > BSP lines): the partitions that run through
# the outer room's open floor are drawn grey.
xdotool key alt+v
sleep 0.5
xdotool key Down Down Return
sleep 0.5
away
shot wine-drawing-bsp-lines.png
grey=$(convert "$artifacts/wine-drawing-bsp-lines.png" -depth 8 txt:- | grep -c '#A0A0A0' || true)
[ "$grey" -gt 20 ] || fail "no BSP lines are drawn ($grey grey pixels)"

# Three presses of the right arrow scroll the view 30 pixels: the map moves left.
xdotool key Right Right Right
away
shot wine-drawing-scrolled.png
[ "$(pixel wine-drawing-scrolled.png $((cx - 30)) "$cy")" = "255,255,255" ] ||
    fail "after scrolling, the middle vertex is not 30 pixels left: $(pixel wine-drawing-scrolled.png $((cx - 30)) "$cy")"

# A fits the map: the outer room's corners are where the fit puts them, a
# tenth inside the view's shorter fit.
xdotool key a
away
shot wine-drawing-fit.png
set -- $(awk -v w="$width" -v h="$height" 'BEGIN {
    s = (w / h < 400 / 300 ? w / 400 : h / 300) * 0.9
    printf "%d %d\n", 200 * s + 0.5, 150 * s + 0.5 }')
# The fit centres the map's extent in the view, whose middle is
# (width / 2, height / 2) in its own pixels.
ox=$((left + width / 2))
oy=$((top + height / 2))
near wine-drawing-fit.png $((ox - $1)) $((oy - $2)) 255,255,255 ||
    fail "after A the top-left corner is not at -$1,-$2 from the middle"
near wine-drawing-fit.png $((ox + $1)) $((oy + $2)) 255,255,255 ||
    fail "after A the bottom-right corner is not at $1,$2 from the middle"

echo "Map view drawing under Wine: ok (screenshots in $artifacts)"
