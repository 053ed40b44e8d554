#!/usr/bin/env bash
# Times ombrel-timelapse against ffmpeg making the same film from the same
# saved pictures: H.264 by libx264 at preset veryfast, 25 frames a second.
# The runs alternate, and each program's median is taken.
#
#     bench/archive/timelapse_vs_ffmpeg.sh [BUILD] [PICTURES] [ROUNDS]
#
# BUILD is a build folder made with -DOMBREL_BUILD_BENCH=ON (build-bench);
# ffmpeg comes from Debian's ffmpeg package, needed for this script alone.
set -euo pipefail

BUILD=$(cd "${1:-build-bench}" && pwd)
PICTURES=${2:-1000}
ROUNDS=${3:-3}
TOOL="$BUILD/app/ombrel-timelapse"
MAKER="$BUILD/bench/archive/make_bench_pictures"
for program in "$TOOL" "$MAKER"; do
    [ -x "$program" ] || { echo "missing $program: build $BUILD first" >&2; exit 1; }
done
command -v ffmpeg >/dev/null || { echo "ffmpeg is missing: apt-get install ffmpeg" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
echo "Making $PICTURES pictures of 1920 x 1080 ..."
"$MAKER" "$WORK/home" "$PICTURES"
echo "$(du -sh "$WORK/home/cam" | cut -f1) of pictures; $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"

ombrel() {
    OMBREL_HOME="$WORK/home" "$TOOL" --cam Bench --output "$WORK/ombrel.mp4"
}
ffmpeg_film() {
    ffmpeg -loglevel error -y -framerate 25 -pattern_type glob -i "$WORK/home/cam/*.jpg" \
        -c:v libx264 -preset veryfast "$WORK/ffmpeg.mp4"
}

# Wall, user and system seconds of one run, appended to a file.
timed() {
    local into=$1
    shift
    local TIMEFORMAT='%R %U %S'
    { time "$@" >/dev/null; } 2>>"$into"
}

cat "$WORK"/home/cam/*.jpg >/dev/null # both start from a warm cache
for round in $(seq "$ROUNDS"); do
    if [ $((round % 2)) -eq 1 ]; then
        timed "$WORK/ombrel.times" ombrel
        timed "$WORK/ffmpeg.times" ffmpeg_film
    else
        timed "$WORK/ffmpeg.times" ffmpeg_film
        timed "$WORK/ombrel.times" ombrel
    fi
done

frames() {
    ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
        -of csv=p=0 "$1"
}
median() {
    sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
report() {
    local name=$1 times=$2 film=$3
    printf '%-18s wall %6.2f s  user %6.2f s  sys %5.2f s  (runs: %s)  %s frames, %s\n' "$name" \
        "$(cut -d' ' -f1 "$times" | median)" "$(cut -d' ' -f2 "$times" | median)" \
        "$(cut -d' ' -f3 "$times" | median)" "$(cut -d' ' -f1 "$times" | paste -sd' ')" \
        "$(frames "$film")" "$(du -h "$film" | cut -f1)"
}
report ombrel-timelapse "$WORK/ombrel.times" "$WORK/ombrel.mp4"
report ffmpeg "$WORK/ffmpeg.times" "$WORK/ffmpeg.mp4"
awk -v a="$(cut -d' ' -f1 "$WORK/ombrel.times" | median)" \
    -v b="$(cut -d' ' -f1 "$WORK/ffmpeg.times" | median)" \
    'BEGIN { printf "ombrel-timelapse / ffmpeg, wall time: %.2f\n", a / b }'
