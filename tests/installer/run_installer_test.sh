#!/usr/bin/env bash
# Runs installer_test in a Wine prefix made fresh for it, so that nothing another test or an
# earlier run left in the registry or on drive C: can make it pass.
#   run_installer_test.sh <installer_test.exe> <setup.exe> <portable.zip> <work folder>
set -euo pipefail
source "$(dirname "$0")/../../tools/common.sh"
test_program=$1
setup=$2
portable_zip=$3
work=$4

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix
trap 'wineserver -k 2>/dev/null || true' EXIT
run=()
[ -n "${DISPLAY:-}" ] || run=(xvfb-run -a -s "-screen 0 1600x1000x24")
if ! "${run[@]}" wineboot -i >"$work/wineboot.log" 2>&1; then
    echo "wineboot failed; its messages:" >&2
    cat "$work/wineboot.log" >&2
    exit 1
fi
wineserver -w || true

(cd "$work" && cmake -E tar xf "$portable_zip")
portable=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'Ondrel-*')
"${run[@]}" wine "$test_program" "$(windows_path "$setup")" "$(windows_path "$portable")"
