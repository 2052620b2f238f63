# Sourced by the end-to-end checks that drive the editor's frame: waiting,
# the title, the status bar (through probe.exe), message boxes and dialogs
# found by their captions, menus chosen with the keyboard, tool bar buttons,
# the file dialogs, map clicks and starting the editor. Uses $build (the
# Windows build folder), fail(); start_editor sets $editor and $main.

# Waits up to $2 seconds (default 10) until the shell condition $1 holds.
wait_until() {
    for _ in $(seq $((${2:-10} * 10))); do
        eval "$1" && return 0
        sleep 0.1
    done
    return 1
}

title() { xdotool getwindowname "$main" 2>/dev/null; }
expect_title() {
    want=$1
    wait_until '[ "$(title)" = "$want" ]' 10 || fail "title is '$(title)', expected '$want' ($2)"
}

# Status bar part $1 (0 to 3), read from the editor's own control.
status() { wine "$build/probe.exe" status | tr -d '\r' | sed -n "$(($1 + 1))p"; }
expect_status() {
    part=$1 want=$2
    wait_until '[ "$(status "$part")" = "$want" ]' 10 || fail "status part $part is '$(status "$part")', expected '$want' ($3)"
}

# The id of the window named exactly $1, waiting up to $2 seconds. Wine may
# replace a new window's X window once, so the newest one counts.
box() {
    for _ in $(seq $((${2:-10} * 5))); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
no_box() {
    sleep 1
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}
# Presses key $2 for the window named $1, which has the keyboard while it is
# open, until that window is gone.
send_key() {
    for _ in 1 2 3; do
        box "$1" 1 >/dev/null || return 0
        sleep 0.2
        xdotool key "$2"
        # A closing window can take a moment; a second key must not reach
        # the window underneath.
        for _ in $(seq 30); do
            xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
            sleep 0.1
        done
    done
    return 1
}

# Answers the box named $1 with key $2 (y, n, Escape or Return).
answer() {
    box "$1" >/dev/null || fail "no box '$1' appeared ($3)"
    sleep 0.3
    send_key "$1" "$2" || fail "could not answer '$1' ($3)"
    name=$1
    wait_until '! xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1' 10 || fail "box '$1' stayed open ($3)"
}

# Menu $1 (the letter of its mnemonic), item $2 (1 is the first), chosen with
# the keyboard after a click on the title bar has given the frame the focus.
focus_main() {
    xdotool mousemove 400 12 click 1
    sleep 0.3
}
menu() {
    focus_main
    xdotool key "alt+$1"
    sleep 0.5
    i=1
    while [ "$i" -lt "$2" ]; do
        xdotool key Down
        sleep 0.1
        i=$((i + 1))
    done
    xdotool key Return
    sleep 0.3
}

# Clicks tool bar button $1, then leaves the tool bar so that its tool tip,
# which is named like the questions, goes away.
button() {
    set -- $(wine "$build/probe.exe" button "$1" | tr -d '\r')
    xdotool mousemove "$1" "$2" click 1
    sleep 0.2
    xdotool mousemove "$1" 10
    sleep 0.3
}

# Types $2 into the file dialog named $1 and accepts it.
file_dialog() {
    box "$1" >/dev/null || fail "no '$1' dialog"
    sleep 0.5
    # Typed characters outside ASCII now and then go astray: check the field
    # and type again. Keys sent to the window go astray less often than the
    # keyboard's, whose keys xdotool remaps for every such character.
    for _ in 1 2 3; do
        id=$(box "$1") || fail "the '$1' dialog went away"
        # A dialog opened from another dialog does not always get the
        # keyboard by itself.
        xdotool windowfocus "$id" 2>/dev/null || true
        sleep 0.2
        xdotool type --window "$id" --delay 50 "$2" 2>/dev/null || true
        sleep 0.3
        [ "$(wine "$build/probe.exe" field "$1" | tr -d '\r')" = "$2" ] && break
        xdotool key --window "$id" End shift+Home Delete 2>/dev/null || true
        sleep 0.3
    done
    [ "$(wine "$build/probe.exe" field "$1" | tr -d '\r')" = "$2" ] ||
        fail "typing into '$1' gave '$(wine "$build/probe.exe" field "$1")'"
    send_key "$1" Return || fail "the '$1' dialog stayed open"
}

# The map view at scale 1 around the origin: map (x, y) is at screen
# (viewX + x, viewY - y).
view_origin() {
    set -- $(wine "$build/probe.exe" tree | tr -d '\r' | grep ChildWndClass | tr ',-' '  ')
    viewX=$((($3 + $5) / 2))
    viewY=$(($4 + 2 + ($6 - $4 - 4) / 2))
}
click_map() {
    xdotool mousemove $((viewX + $1)) $((viewY - $2))
    sleep 0.1
    xdotool click 1
    sleep 0.2
}
# Holds Ctrl and clicks the corners (map x y pairs), then Enter.
draw_sector() {
    click_map 2000 2000 >/dev/null 2>&1 || true
    xdotool keydown ctrl
    sleep 0.2
    while [ $# -ge 2 ]; do
        click_map "$1" "$2"
        shift 2
    done
    xdotool key Return
    xdotool keyup ctrl
    sleep 0.3
}

start_editor() {
    cd "$1"
    started=$(date +%s.%N)
    wine keldra.exe >editor.log 2>&1 &
    editor=$!
    main=$(wine_wait_window '^Keldra - \[' 60) || fail "no main window in $1"
    shown=$(date +%s.%N)
    sleep 1
    view_origin
}
expect_exit() {
    wait_until '! kill -0 $editor 2>/dev/null' 20 || fail "the editor did not end ($1)"
    wineserver -w
}
