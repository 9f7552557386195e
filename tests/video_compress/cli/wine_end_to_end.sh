#!/usr/bin/env bash
# ondrel-compress.exe under Wine with the Windows ffmpeg.exe and ffprobe.exe beside it: one
# launch compresses a clip whose output name is taken and a clip with a non-ASCII name, in a
# folder with a non-ASCII name; a second fits a clip into a target size in two passes. The clips are made and checked natively. The software encoder
# without hardware decoding needs no encoder detection, whose QSV test encodes alone take half
# a minute under Wine (the engine's own tests cover detection there).
# wine_end_to_end.sh <ondrel-compress.exe> <source root> <work folder>
set -uo pipefail
program=$1
root=$2
place=$3
export LC_ALL=C.UTF-8 # Wine turns the arguments into UTF-16 by the locale
cache=$root/build/cache/windows-ffmpeg
if [ ! -f "$cache/ffmpeg.exe" ] || [ ! -f "$cache/ffprobe.exe" ]; then
    echo "FAIL: no Windows ffmpeg.exe/ffprobe.exe in $cache: run tools/fetch-windows-ffmpeg" >&2
    exit 1
fi
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$place"
mkdir -p "$place/bin"
# The tool lookup finds ffmpeg.exe and ffprobe.exe beside the program first.
for file in "$program" "$cache/ffmpeg.exe" "$cache/ffprobe.exe"; do
    ln -f "$file" "$place/bin/" 2>/dev/null || cp "$file" "$place/bin/"
done

folder="$place/dossier été"
mkdir -p "$folder"
for clip in "clip.mp4" "vidéo 日本.mp4"; do
    ffmpeg -v error -y -f lavfi -i testsrc2=s=160x90:r=25:d=2 -f lavfi -i sine=d=2 \
        -c:v libx264 -preset ultrafast -c:a aac -shortest "$folder/$clip" || fail "cannot make $clip"
done
printf 'keep me' >"$folder/clip_h264_90p.mp4"

(cd "$folder" && "$root/tools/wine-run" "$place/bin/$(basename "$program")" --lang fr \
    --options "enc=sw|hw=0" clip.mp4 "vidéo 日本.mp4" >"$place/out" 2>"$place/err")
status=$?
[ "$status" = 0 ] || fail "exit status $status, expected 0"
for text in "clip_h264_90p (1).mp4" "vidéo 日本_h264_90p.mp4" "160x90   |   H264" \
    "Encodeur : " "2 fichiers sur 2 compressés."; do
    grep -qF -- "$text" "$place/out" || fail "'$text' not in the output"
done
[ "$(grep -c '^  Terminé en ' "$place/out")" = 2 ] || fail "not two 'Terminé en' lines"

for output in "clip_h264_90p (1).mp4" "vidéo 日本_h264_90p.mp4"; do
    facts=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,height \
        -of default=noprint_wrappers=1 "$folder/$output" 2>&1)
    [ "$facts" = $'codec_name=h264\nheight=90' ] || fail "$output: $facts"
done
[ "$(cat "$folder/clip_h264_90p.mp4")" = "keep me" ] || fail "the existing file changed"
listing=$(cd "$folder" && ls -1 | LC_ALL=C sort | tr '\n' '|')
[ "$listing" = "clip.mp4|clip_h264_90p (1).mp4|clip_h264_90p.mp4|vidéo 日本.mp4|vidéo 日本_h264_90p.mp4|" ] ||
    fail "the folder holds $listing"

# A target size: two passes with the first to the null muxer and its statistics in the
# temporary folder, which is left empty.
ffmpeg -v error -y -f lavfi -i testsrc2=s=320x180:r=25:d=4 -f lavfi -i sine=d=4 \
    -c:v libx264 -preset ultrafast -crf 8 -c:a aac -shortest "$folder/grand.mp4" ||
    fail "cannot make grand.mp4"
(cd "$folder" && "$root/tools/wine-run" "$place/bin/$(basename "$program")" --lang fr \
    --target-size 150KB --options "enc=sw|hw=0" grand.mp4 >>"$place/out" 2>>"$place/err")
status=$?
[ "$status" = 0 ] || fail "target size: exit status $status, expected 0"
grep -qF "Passe 2 sur 2" "$place/out" || fail "target size: no second pass"
size=$(stat -c %s "$folder/grand_h264_180p.mp4" 2>/dev/null || echo missing)
[ "$size" != missing ] && [ "$size" -le 150000 ] || fail "target size: output of $size bytes"
left=$(find "${WINEPREFIX:-$root/build/wineprefix}/drive_c" -maxdepth 7 -name 'ondrel-compress-*' \
    2>/dev/null)
[ -z "$left" ] || fail "target size: left $left"

# --estimate encodes in a temporary folder of its own, removed at the end, and writes nothing
# beside the source; a 2 s clip is encoded whole.
prefix=${WINEPREFIX:-$root/build/wineprefix}
listing=$(cd "$folder" && ls -1 | LC_ALL=C sort | tr '\n' '|')
(cd "$folder" && "$root/tools/wine-run" "$place/bin/$(basename "$program")" --lang en \
    --estimate --options "enc=sw|hw=0" clip.mp4 >"$place/estimate" 2>>"$place/err")
status=$?
[ "$status" = 0 ] || fail "estimate: exit status $status, expected 0"
grep -qE '^clip\.mp4: [0-9.]+ [KM]B – [0-9.]+ [KM]B \(whole video encoded\)$' "$place/estimate" ||
    fail "estimate printed: $(cat "$place/estimate")"
[ "$(cd "$folder" && ls -1 | LC_ALL=C sort | tr '\n' '|')" = "$listing" ] ||
    fail "estimate changed the folder"
left=$(find "$prefix/drive_c/users" -name 'ondrel-estimate-*' 2>/dev/null)
[ -z "$left" ] || fail "estimate left $left"

if [ "$failures" != 0 ]; then
    echo "--- output" >&2
    cat "$place/out" >&2
    echo "--- errors" >&2
    cat "$place/err" >&2
    exit 1
fi
rm -rf "$place"
echo "ok"
