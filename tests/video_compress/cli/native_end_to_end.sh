#!/usr/bin/env bash
# ondrel-compress natively, against Debian's ffmpeg and ffprobe, on clips made here.
# native_end_to_end.sh <case> <ondrel-compress>
set -uo pipefail
case_name=$1
program=$2
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# expect_status <expected> <actual> <what>
expect_status() {
    [ "$1" = "$2" ] || fail "$3: exit status $2, expected $1"
}

# expect_in <file> <text> <what>
expect_in() {
    grep -qF -- "$2" "$1" || { fail "$3: '$2' not in $1:"; cat "$1" >&2; }
}

# make_clip <path> [seconds]: 160x90 video with AAC sound.
make_clip() {
    ffmpeg -v error -y -f lavfi -i "testsrc2=s=160x90:r=25:d=${2:-2}" -f lavfi -i "sine=d=${2:-2}" \
        -c:v libx264 -preset ultrafast -c:a aac -shortest "$1" || fail "cannot make $1"
}

# check_encode <file> <height>: an H.264 file of that height with a positive duration.
check_encode() {
    [ -f "$1" ] || { fail "$1 is missing"; return; }
    local facts
    facts=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,height \
        -show_entries format=duration -of default=noprint_wrappers=1 "$1")
    grep -qx "codec_name=h264" <<<"$facts" || fail "$1 is not H.264: $facts"
    grep -qx "height=$2" <<<"$facts" || fail "$1 is not $2 lines high: $facts"
    local duration
    duration=$(sed -n 's/^duration=//p' <<<"$facts")
    awk -v d="$duration" 'BEGIN { exit !(d + 0 > 0) }' || fail "$1 has no duration: $facts"
}

listing() { (cd "$1" && ls -1 | LC_ALL=C sort | tr '\n' '|'); }

case $case_name in
usage)
    "$program" >"$work/out" 2>"$work/err"
    expect_status 2 $? "no arguments"
    expect_in "$work/err" "Usage: ondrel-compress" "no arguments"
    expect_in "$work/err" "No video file given." "no arguments"
    [ -s "$work/out" ] && fail "no arguments: something on standard output"

    "$program" --lang en --bogus clip.mp4 >"$work/out" 2>"$work/err"
    expect_status 2 $? "unknown option"
    expect_in "$work/err" "Unknown option: --bogus" "unknown option"

    "$program" --bogus --lang fr clip.mp4 >"$work/out" 2>"$work/err"
    expect_status 2 $? "unknown option, French"
    expect_in "$work/err" "Option inconnue : --bogus" "unknown option, French"
    expect_in "$work/err" "Usage : ondrel-compress" "unknown option, French"

    "$program" --lang en clip.mp4 --options >"$work/out" 2>"$work/err"
    expect_status 2 $? "missing value"
    expect_in "$work/err" "Missing value after --options" "missing value"

    "$program" --lang de clip.mp4 >"$work/out" 2>"$work/err"
    expect_status 2 $? "bad language"
    expect_in "$work/err" "Unknown language: de (use en or fr)" "bad language"

    "$program" --lang en --progress xml clip.mp4 >"$work/out" 2>"$work/err"
    expect_status 2 $? "bad progress format"
    expect_in "$work/err" "Unknown progress format: xml (use ndjson)" "bad progress format"

    # Asked for JSON lines, a usage error is one too.
    "$program" --lang en --progress=ndjson --bogus clip.mp4 >"$work/out" 2>"$work/err"
    expect_status 2 $? "usage error as JSON"
    [ "$(cat "$work/out")" = '{"type":"error","message":"Unknown option: --bogus","exit_code":2}' ] ||
        fail "usage error as JSON: $(cat "$work/out")"

    "$program" --lang en --output-dir "$work/nowhere" clip.mp4 >"$work/out" 2>"$work/err"
    expect_status 2 $? "missing output folder"
    expect_in "$work/err" "Output folder not found: $work/nowhere" "missing output folder"

    "$program" --lang=fr --help >"$work/out" 2>"$work/err"
    expect_status 0 $? "help"
    expect_in "$work/out" "Usage : ondrel-compress" "help"
    expect_in "$work/out" "--dry-run" "help"
    expect_in "$work/out" "--estimate" "help"
    ;;

dry_run)
    mkdir "$work/v"
    make_clip "$work/v/clip.mp4"
    before=$(listing "$work/v")
    "$program" --dry-run --options "codec=h265|enc=sw|cont=mkv|res=6|up=1|audio=none|hw=0|q=0" \
        "$work/v/clip.mp4" >"$work/args" 2>"$work/err"
    expect_status 0 $? "dry run"
    expected=(-hide_banner -loglevel info -y -nostats -progress pipe:1 -i "$work/v/clip.mp4"
        -map 0:v:0 -map "0:s?" -c:s copy -vf scale=640:360:flags=lanczos -c:v libx265
        -crf 16 -preset medium -x265-params log-level=error -pix_fmt yuv420p -an
        "$work/v/clip_h265_360p.mkv")
    mapfile -t printed <"$work/args"
    [ "${printed[*]}" = "${expected[*]}" ] || fail "dry run printed: ${printed[*]}"
    [ "${#printed[@]}" = "${#expected[@]}" ] || fail "dry run: ${#printed[@]} lines"
    [ "$(listing "$work/v")" = "$before" ] || fail "dry run changed the folder: $(listing "$work/v")"

    # Two files: two lists parted by an empty line; --output-dir takes the place of dir=.
    mkdir "$work/out"
    "$program" --dry-run --options "enc=sw|hw=0|dir=/elsewhere" --output-dir "$work/out" \
        "$work/v/clip.mp4" "$work/v/clip.mp4" >"$work/args" 2>"$work/err"
    expect_status 0 $? "dry run, two files"
    [ "$(grep -c '^$' "$work/args")" = 1 ] || fail "dry run, two files: not one empty line"
    [ "$(grep -cx -- "$work/out/clip_h264_90p.mp4" "$work/args")" = 2 ] ||
        fail "dry run, two files: output path"

    # The printed arguments are what ffmpeg runs.
    mapfile -t printed < <(sed -n '1,/^$/p' "$work/args" | sed '/^$/d')
    ffmpeg "${printed[@]}" >/dev/null 2>&1 || fail "ffmpeg refused the printed arguments"
    check_encode "$work/out/clip_h264_90p.mp4" 90

    "$program" --lang en --encoders >"$work/out.txt" 2>"$work/err"
    expect_status 0 $? "encoders"
    expect_in "$work/out.txt" "Hardware encoders that passed a test encode:" "encoders"
    expect_in "$work/out.txt" "Hardware decoding (-hwaccel auto):" "encoders"
    ;;

encode)
    folder="$work/dossier été"
    mkdir "$folder"
    make_clip "$folder/clip.mp4"
    make_clip "$folder/vidéo 日本.mp4"
    printf 'keep me' >"$folder/clip_h264_90p.mp4"
    "$program" --lang en "$folder/clip.mp4" "$folder/vidéo 日本.mp4" >"$work/out" 2>"$work/err"
    expect_status 0 $? "encode"
    expect_in "$work/out" "160x90   |   H264   |   25.00 fps   |   2 s" "encode"
    expect_in "$work/out" "Audio tracks: und aac 1ch" "encode"
    expect_in "$work/out" "Encoder: " "encode"
    expect_in "$work/out" "Output: $folder/clip_h264_90p (1).mp4" "encode"
    expect_in "$work/out" "Output: $folder/vidéo 日本_h264_90p.mp4" "encode"
    expect_in "$work/out" "100.0%   -   " "encode"
    expect_in "$work/out" "2 of 2 files compressed." "encode"
    [ "$(grep -c '^  Done in ' "$work/out")" = 2 ] || fail "encode: not two Done lines"
    check_encode "$folder/clip_h264_90p (1).mp4" 90
    check_encode "$folder/vidéo 日本_h264_90p.mp4" 90
    [ "$(cat "$folder/clip_h264_90p.mp4")" = "keep me" ] || fail "encode: existing file changed"
    [ "$(listing "$folder")" = "clip.mp4|clip_h264_90p (1).mp4|clip_h264_90p.mp4|vidéo 日本.mp4|vidéo 日本_h264_90p.mp4|" ] ||
        fail "encode: folder holds $(listing "$folder")"
    ;;

failure)
    make_clip "$work/clip.mp4"
    printf 'not a video\n' >"$work/notes.txt"
    mkdir "$work/out"
    "$program" --lang fr --options "enc=sw|hw=0|res=7|w=100|up=1|cont=mkv" --output-dir "$work/out" \
        "$work/notes.txt" "$work/clip.mp4" >"$work/out.txt" 2>"$work/err"
    expect_status 1 $? "one file fails"
    expect_in "$work/err" "Analyse impossible : " "one file fails"
    expect_in "$work/out.txt" "Terminé en " "one file fails"
    expect_in "$work/out.txt" "1 fichiers sur 2 compressés." "one file fails"
    [ "$(listing "$work/out")" = "clip_h264_90p.mkv|" ] || fail "one file fails: $(listing "$work/out")"
    ;;

ndjson)
    # Standard output holds JSON lines only, from start to done; the text for people goes to
    # standard error.
    make_clip "$work/vidéo.mp4"
    "$program" --lang en --progress ndjson --options "enc=sw|hw=0" "$work/vidéo.mp4" \
        >"$work/out" 2>"$work/err"
    expect_status 0 $? "ndjson"
    expect_in "$work/err" "Output: $work/vidéo_h264_90p.mp4" "ndjson"
    size=$(stat -c %s "$work/vidéo_h264_90p.mp4")
    python3 - "$work/out" "$work/vidéo.mp4" "$work/vidéo_h264_90p.mp4" "$size" <<'PY' ||
import json, sys
path, source, output, size = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
with open(path, encoding="utf-8") as f:
    events = [json.loads(line) for line in f.read().splitlines()]
kinds = [event["type"] for event in events]
assert kinds[0] == "start" and kinds[-1] == "done", kinds
assert set(kinds[1:-1]) == {"progress"}, kinds
assert events[0]["file"] == source and events[0]["output"] == output, events[0]
assert events[-1]["output"] == output and events[-1]["size_bytes"] == size, events[-1]
PY
        { fail "ndjson: standard output is not the expected JSON lines:"; cat "$work/out" >&2; }
    ;;

estimate)
    # The range holds the size of the real encode, and nothing is written beside the source
    # or left in the temporary folder; a 70 s clip is cut into three pieces.
    mkdir "$work/v" "$work/tmp" "$work/real"
    make_clip "$work/v/clip.mp4" 70
    before=$(listing "$work/v")
    TMPDIR="$work/tmp" "$program" --lang fr --estimate --progress ndjson --options "enc=sw|hw=0" \
        --output-dir "$work/real" "$work/v/clip.mp4" >"$work/out" 2>"$work/err"
    expect_status 0 $? "estimate"
    expect_in "$work/err" "$work/v/clip.mp4 : " "estimate"
    expect_in "$work/err" " (3 extraits de 12 s)" "estimate"
    [ "$(listing "$work/v")" = "$before" ] || fail "estimate changed the folder: $(listing "$work/v")"
    [ -z "$(listing "$work/real")$(listing "$work/tmp")" ] ||
        fail "estimate left $(listing "$work/real") $(listing "$work/tmp")"
    "$program" --options "enc=sw|hw=0" --output-dir "$work/real" "$work/v/clip.mp4" \
        >/dev/null 2>&1 || fail "estimate: the real encode failed"
    size=$(stat -c %s "$work/real/clip_h264_90p.mp4")
    python3 - "$work/out" "$work/v/clip.mp4" "$size" <<'PY' ||
import json, sys
path, source, size = sys.argv[1], sys.argv[2], int(sys.argv[3])
with open(path, encoding="utf-8") as f:
    events = [json.loads(line) for line in f.read().splitlines()]
assert len(events) == 1 and events[0]["type"] == "estimate", events
event = events[0]
assert event["file"] == source and event["samples"] == 3, event
assert event["low_bytes"] <= size <= event["high_bytes"], (event, size)
PY
        { fail "estimate: not one estimate line holding $size bytes:"; cat "$work/out" >&2; }

    # Interrupted while a piece is encoded, it leaves no temporary folder behind.
    TMPDIR="$work/tmp" "$program" --lang en --estimate --options "enc=sw|hw=0|res=1|up=1|speed=3|q=0" \
        "$work/v/clip.mp4" >"$work/out" 2>"$work/err" &
    pid=$!
    for _ in $(seq 1 300); do
        [ -n "$(listing "$work/tmp")" ] && break
        sleep 0.1
    done
    [ -n "$(listing "$work/tmp")" ] || fail "estimate: no temporary folder seen"
    sleep 1
    kill -INT "$pid"
    wait "$pid"
    expect_status 130 $? "estimate, SIGINT"
    [ -z "$(listing "$work/tmp")" ] || fail "estimate, SIGINT left $(listing "$work/tmp")"
    ;;

interrupt)
    make_clip "$work/clip.mp4" 4
    # Ctrl+C, a polite kill and a closed terminal all end the encode and leave no file.
    for signal in INT TERM HUP; do
        rm -f "$work/out" "$work/err"
        # Slow on purpose: the clip blown up to 4K with the slowest preset.
        "$program" --lang en --options "enc=sw|hw=0|res=1|up=1|speed=3|q=0" "$work/clip.mp4" \
            >"$work/out" 2>"$work/err" &
        pid=$!
        for _ in $(seq 1 300); do
            grep -q "Output: " "$work/out" && break
            sleep 0.1
        done
        expect_in "$work/out" "Output: $work/clip_h264_2160p.mp4" "SIG$signal"
        sleep 1
        kill -"$signal" "$pid"
        wait "$pid"
        expect_status 130 $? "SIG$signal"
        expect_in "$work/out" "Canceled." "SIG$signal"
        [ "$(listing "$work")" = "clip.mp4|err|out|" ] || fail "SIG$signal left $(listing "$work")"
    done
    ;;

target_size)
    # A clip with far more bytes than it needs, made at a high quality.
    mkdir "$work/v" "$work/tmp"
    export TMPDIR="$work/tmp"
    ffmpeg -v error -y -f lavfi -i "testsrc2=s=640x360:r=25:d=6" -f lavfi -i "sine=d=6" \
        -c:v libx264 -preset ultrafast -crf 8 -c:a aac -shortest "$work/v/clip.mp4" ||
        fail "cannot make the clip"
    "$program" --lang en --progress ndjson --target-size 600KB --options "enc=sw|hw=0" \
        "$work/v/clip.mp4" >"$work/out" 2>"$work/err"
    expect_status 0 $? "target size"
    expect_in "$work/err" "Pass 2 of 2" "target size"
    check_encode "$work/v/clip_h264_360p.mp4" 360
    size=$(stat -c %s "$work/v/clip_h264_360p.mp4")
    [ "$size" -le 600000 ] || fail "target size: $size bytes is over 600000"
    [ "$(listing "$work/v")" = "clip.mp4|clip_h264_360p.mp4|" ] ||
        fail "target size: folder holds $(listing "$work/v")"
    [ -z "$(ls -A "$work/tmp")" ] || fail "target size: left $(ls -A "$work/tmp")"
    python3 - "$work/out" <<'PY' ||
import json, sys
with open(sys.argv[1], encoding="utf-8") as f:
    events = [json.loads(line) for line in f.read().splitlines()]
passes = [(e["number"], e["of"]) for e in events if e["type"] == "pass"]
assert passes[:2] == [(1, 2), (2, 2)], passes
assert events[-1]["type"] == "done", events[-1]
PY
        { fail "target size: not the expected JSON lines:"; cat "$work/out" >&2; }

    # A result over the target is made again at a lower rate, and never kept when it stays
    # over: a stand-in ffmpeg first on PATH pads the checked output of its first N runs.
    rm "$work/v/clip_h264_360p.mp4"
    mkdir "$work/padding"
    cat >"$work/padding/ffmpeg" <<STANDIN
#!/bin/bash
"$(command -v ffmpeg)" "\$@" || exit
output=\${@: -1}
runs=\$(cat "$work/padded" 2>/dev/null || echo 0)
case \$output in
*.part.mp4) [ "\$runs" -lt "\$PAD_RUNS" ] && head -c 300000 /dev/zero >>"\$output" &&
    echo \$((runs + 1)) >"$work/padded" ;;
esac
exit 0
STANDIN
    chmod +x "$work/padding/ffmpeg"
    PAD_RUNS=1 PATH="$work/padding:$PATH" "$program" --lang en --progress ndjson \
        --target-size 600KB --options "enc=sw|hw=0" "$work/v/clip.mp4" >"$work/out" 2>"$work/err"
    expect_status 0 $? "one result over the target"
    expect_in "$work/out" '"type":"retry"' "one result over the target"
    size=$(stat -c %s "$work/v/clip_h264_360p.mp4" 2>/dev/null || echo 999999999)
    [ "$size" -le 600000 ] || fail "retry: $size bytes is over 600000"
    rm -f "$work/v/clip_h264_360p.mp4" "$work/padded"
    PAD_RUNS=99 PATH="$work/padding:$PATH" "$program" --lang en --target-size 600KB \
        --options "enc=sw|hw=0" "$work/v/clip.mp4" >"$work/out" 2>"$work/err"
    expect_status 1 $? "every result over the target"
    expect_in "$work/err" "Still over the target size" "every result over the target"
    [ "$(cat "$work/padded")" = 3 ] || fail "over the target: $(cat "$work/padded") encodes, not 3"
    [ "$(listing "$work/v")" = "clip.mp4|" ] ||
        fail "over the target: folder holds $(listing "$work/v")"
    [ -z "$(ls -A "$work/tmp")" ] || fail "over the target: left $(ls -A "$work/tmp")"

    # Out of reach: refused with exit status 3, nothing written.
    "$program" --lang en --progress ndjson --target-size 20KB --options "enc=sw|hw=0|audio=none" \
        "$work/v/clip.mp4" >"$work/out" 2>"$work/err"
    expect_status 3 $? "unreachable target"
    expect_in "$work/err" "leaves" "unreachable target"
    expect_in "$work/out" '"exit_code":3' "unreachable target"
    [ "$(listing "$work/v")" = "clip.mp4|" ] ||
        fail "unreachable target: folder holds $(listing "$work/v")"

    # Out of reach when enlarged to 720p, not at the clip's own 360p: the suggestion keeps
    # every other choice and works as it is printed.
    "$program" --lang en --target-size 60KB --options "enc=sw|hw=0|audio=none|res=4|up=1" \
        "$work/v/clip.mp4" >"$work/out" 2>"$work/err"
    expect_status 3 $? "target out of reach at 720p"
    suggested=$(sed -n 's/.*It would fit at 360p: --options "\(.*\)"$/\1/p' "$work/err")
    case $suggested in
    *"enc=sw|"*"res=0|"*"up=1|"*"audio=none|"*"hw=0") ;;
    *) fail "suggestion: '$suggested' in $(cat "$work/err")" ;;
    esac
    "$program" --lang en --target-size 60KB --options "$suggested" "$work/v/clip.mp4" \
        >"$work/out" 2>"$work/err"
    expect_status 0 $? "the suggested options"
    size=$(stat -c %s "$work/v/clip_h264_360p.mp4" 2>/dev/null || echo 999999999)
    [ "$size" -le 60000 ] || fail "suggested options: $size bytes is over 60000"
    rm -f "$work/v/clip_h264_360p.mp4"

    # Interrupted in the first pass: no output, partial file or pass log is left.
    "$program" --lang en --target-size 2MB --options "enc=sw|hw=0|res=1|up=1|speed=3" \
        "$work/v/clip.mp4" >"$work/out" 2>"$work/err" &
    pid=$!
    for _ in $(seq 1 300); do
        grep -q "Pass 1 of 2" "$work/out" && break
        sleep 0.1
    done
    expect_in "$work/out" "Pass 1 of 2" "interrupted pass"
    sleep 1
    kill -INT "$pid"
    wait "$pid"
    expect_status 130 $? "interrupted pass"
    [ "$(listing "$work/v")" = "clip.mp4|" ] ||
        fail "interrupted pass: folder holds $(listing "$work/v")"
    [ -z "$(ls -A "$work/tmp")" ] || fail "interrupted pass: left $(ls -A "$work/tmp")"
    ;;

*)
    fail "unknown case $case_name"
    ;;
esac

[ "$failures" = 0 ] && echo "ok: $case_name"
exit $((failures > 0))
