# Shared by the project's scripts: paths and the Wine environment.
ONDREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ONDREL_BUILD=$ONDREL_ROOT/build
export WINEPREFIX=$ONDREL_BUILD/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko download prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the Wine prefix once; later calls return at once.
ensure_wine_prefix() {
    mkdir -p "$ONDREL_BUILD"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "Creating the Wine prefix in $WINEPREFIX" >&2
            if [ -n "${DISPLAY:-}" ]; then
                wineboot -i >/dev/null 2>&1 || true
            else
                xvfb-run -a wineboot -i >/dev/null 2>&1 || true
            fi
            wineserver -w || true
        fi
    ) 9>"$ONDREL_BUILD/.wineprefix.lock"
}
