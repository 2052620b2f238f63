# Sourced by the end-to-end checks that look at the map view: where the
# view's OpenGL window is, where it lies on the screen, and its pixels. Uses
# $artifacts (the screenshot folder) and fail().
#
#   find_map_view           sets gl (the X window), width, height, left and top
#                           (its place on the screen), cx and cy (its middle)
#   shot FILE               screenshot of the view into $artifacts/FILE
#   pixel FILE X Y          the colour at screen point (X, Y) as "r,g,b"
#   near FILE X Y COLOUR    whether a pixel within one of (X, Y) has it
#   click X Y               a left click at screen point (X, Y)
#   polygon X1 Y1 X2 Y2 ... Ctrl held, a click on every corner, the first again
#   room X0 Y0 X1 Y1        a rectangle drawn clockwise on the screen
#   start_view_editor DIR   starts keldra.exe (from $build) in DIR beside
#                           Freedoom's IWAD as doom2.wad, sets window, gives it
#                           the keyboard and finds the view

find_map_view() {
# Wine draws the view's OpenGL into an X window of its own, composited into
# the frame; the pixels are read from that window, the clicks go to the screen.
gl=$(xwininfo -root -tree | awk '/has no name/ && / [0-9][0-9][0-9]+x[0-9][0-9][0-9]+\+/ {print $1; exit}')
[ -n "$gl" ] || fail "no OpenGL window for the map view"
width=$(xwininfo -id "$gl" | awk '/Width:/ {print $2}')
height=$(xwininfo -id "$gl" | awk '/Height:/ {print $2}')
# The view on the screen: the frame's client area below the tool bar, found as
# the large dark or grey area of a screenshot of the root window.
import -window root "$artifacts/wine-map-view-screen.png"
left=$(python3 - "$artifacts/wine-map-view-screen.png" "$width" "$height" <<'EOF2'
import subprocess, sys
raw = subprocess.run(["convert", sys.argv[1], "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
w, h = 1280, 1024
vw, vh = int(sys.argv[2]), int(sys.argv[3])
def viewish(x, y):
    r, g, b = raw[3 * (y * w + x):3 * (y * w + x) + 3]
    return r == g == b and (r <= 2 or 126 <= r <= 129)
# The top-left corner of a vw by vh area whose edges are all view-coloured.
def area(x, y):
    edges = [(x + i, y) for i in range(0, vw, 7)] + [(x + i, y + vh - 1) for i in range(0, vw, 7)]
    edges += [(x, y + j) for j in range(0, vh, 7)] + [(x + vw - 1, y + j) for j in range(0, vh, 7)]
    return all(viewish(a, b) for a, b in edges)
for y in range(0, h - vh + 1):
    for x in range(0, w - vw + 1):
        if viewish(x, y) and viewish(x + vw - 1, y + vh - 1) and area(x, y):
            print(x, y)
            sys.exit(0)
sys.exit("no view area")
EOF2
) || fail "the map view is not on the screen"
top=${left#* }
left=${left% *}
cx=$((left + width / 2))
cy=$((top + height / 2))

}

shot() { import -window "$gl" "$artifacts/$1"; }
# pixel FILE X Y: the colour at screen point (X, Y) as "r,g,b".
pixel() {
    x=$(($2 - left)) y=$(($3 - top))
    convert "$artifacts/$1" -format "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}
# near FILE X Y COLOUR: whether a pixel within one of screen point (X, Y) has
# that colour (lines fall on either side of a whole map coordinate).
near() {
    for dy in -1 0 1; do
        for dx in -1 0 1; do
            [ "$(pixel "$1" $(($2 + dx)) $(($3 + dy)))" = "$4" ] && return 0
        done
    done
    return 1
}
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.3; }
# polygon X1 Y1 X2 Y2 ...: Ctrl held, a click on every corner in screen
# pixels, the first corner again to close, Ctrl released.
polygon() {
    xdotool mousemove "$1" "$2"
    sleep 0.3
    xdotool keydown ctrl
    sleep 0.3
    first_x=$1 first_y=$2
    while [ $# -ge 2 ]; do
        click "$1" "$2"
        shift 2
    done
    click "$first_x" "$first_y"
    xdotool keyup ctrl
    sleep 0.3
}
room() { polygon "$1" "$2" "$3" "$2" "$3" "$4" "$1" "$4"; }

start_view_editor() {
    cd "$1"
    cp "$build/keldra.exe" "$1/"
    ln -sf /usr/share/games/doom/freedoom2.wad "$1/doom2.wad"
    wine keldra.exe >editor.log 2>&1 &
    window=$(wine_wait_window '^Keldra - \[' 60) || fail "no main window appeared"
    sleep 2
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
    find_map_view
}
