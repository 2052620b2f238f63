# Sourced by the scripts that run the Windows editor under Wine on a virtual
# display: starts Xvfb and prepares a throw-away Wine prefix with Japanese
# font links and frames that Wine draws itself.
#
#   . scripts/wine-env.sh; wine_start DIR   starts a virtual display, sets DISPLAY
#                                           and prepares WINEPREFIX=DIR/prefix
#   wine_prepare_prefix DIR                 the prefix only, on the current DISPLAY
#   wine_stop                               ends Wine and the display

wine_start() {
    wine_dir=$1
    mkdir -p "$wine_dir"
    display_number=${KELDRA_DISPLAY:-99}
    while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
        display_number=$((display_number + 1))
    done
    Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp >"$wine_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$display_number"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    wine_prepare_prefix "$wine_dir"
}

wine_prepare_prefix() {
    wine_dir=$1
    mkdir -p "$wine_dir"
    export WINEPREFIX="$wine_dir/prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/.keldra-ready" ] && return 0
    wineboot -i >"$wine_dir/wineboot.log" 2>&1
    for font in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS UI Gothic"; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
            /v "$font" /t REG_MULTI_SZ /d 'ipagp.ttf,IPAPGothic' /f >/dev/null 2>&1
    done
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.keldra-ready"
}

wine_stop() {
    wineserver -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}

# Waits up to $2 seconds (default 30) for a window whose name matches $1 and
# prints its id.
wine_wait_window() {
    for _ in $(seq $((${2:-30} * 5))); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
