# Shared by the project's scripts: paths and the Wine environment.
ONDREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ONDREL_BUILD=$ONDREL_ROOT/build
export WINEPREFIX=$ONDREL_BUILD/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# A Linux path as Windows programs under Wine see it, through the Z: drive. Not winepath: it
# would start Wine without a display, which then lacks one for the rest of its session.
windows_path() { echo "Z:$1" | tr / '\\'; }

# Creates the Wine prefix once; later calls return at once. The prefix is marked ready only
# after wineboot and the desktop settings succeeded; otherwise the call fails with Wine's own
# messages, and the next call starts over.
ensure_wine_prefix() {
    mkdir -p "$ONDREL_BUILD"
    (
        flock 9
        [ -f "$WINEPREFIX/.ondrel-prefix-ready" ] && exit 0
        echo "Creating the Wine prefix in $WINEPREFIX" >&2
        local run=() log=$ONDREL_BUILD/wineboot.log
        [ -n "${DISPLAY:-}" ] || run=(xvfb-run -a)
        if ! "${run[@]}" wineboot -i >"$log" 2>&1; then
            echo "wineboot failed; its messages ($log):" >&2
            cat "$log" >&2
            exit 1
        fi
        # Every program runs inside one virtual desktop, so that windows get frames without
        # a window manager.
        if ! "${run[@]}" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$log" 2>&1 ||
            ! "${run[@]}" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1000 /f >>"$log" 2>&1; then
            echo "Setting Wine's virtual desktop failed; its messages ($log):" >&2
            cat "$log" >&2
            exit 1
        fi
        wineserver -w || true
        touch "$WINEPREFIX/.ondrel-prefix-ready"
    ) 9>"$ONDREL_BUILD/.wineprefix.lock" || return 1
    install_icon_font
}

# The stand-in icon font (tools/icon-font), installed under a name of its own with Wine's font
# substitute for "Segoe MDL2 Assets", so that screenshots show icons rather than boxes. Only
# this development prefix has it; nothing the program ships names it. Marlett draws the window
# frames' buttons: Debian's fonts-wine has it, in a folder this Wine does not look in.
install_icon_font() {
    local font=$ONDREL_BUILD/cache/icon-font/icon-standin.ttf
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    local installed=$fonts/icon-standin.ttf
    [ -f "$font" ] || return 0
    (
        flock 9
        if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
            cp -f /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf"
        fi
        cmp -s "$font" "$installed" && exit 0
        local run=() log=$ONDREL_BUILD/wineboot.log
        [ -n "${DISPLAY:-}" ] || run=(xvfb-run -a)
        cp -f "$font" "$installed.new" && mv -f "$installed.new" "$installed"
        if ! "${run[@]}" wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
            /v 'Icon Stand-in (TrueType)' /d icon-standin.ttf /f >>"$log" 2>&1 ||
            ! "${run[@]}" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' \
                /v 'Segoe MDL2 Assets' /d 'Icon Stand-in' /f >>"$log" 2>&1; then
            rm -f "$installed"
            echo "Installing the stand-in icon font failed; Wine's messages ($log):" >&2
            cat "$log" >&2
            exit 1
        fi
        wineserver -w || true
    ) 9>"$ONDREL_BUILD/.wineprefix.lock"
}
