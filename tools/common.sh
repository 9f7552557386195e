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

# Creates the Wine prefix once; later calls return at once.
ensure_wine_prefix() {
    mkdir -p "$ONDREL_BUILD"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.ondrel-prefix-ready" ]; then
            echo "Creating the Wine prefix in $WINEPREFIX" >&2
            local run=()
            [ -n "${DISPLAY:-}" ] || run=(xvfb-run -a)
            "${run[@]}" wineboot -i >/dev/null 2>&1 || true
            # Every program runs inside one virtual desktop, so that windows get frames
            # without a window manager.
            "${run[@]}" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            "${run[@]}" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1000 /f >/dev/null 2>&1
            wineserver -w || true
            touch "$WINEPREFIX/.ondrel-prefix-ready"
        fi
    ) 9>"$ONDREL_BUILD/.wineprefix.lock"
}
