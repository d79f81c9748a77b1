#!/usr/bin/env bash
# Converts one generated 1080p clip with the same settings by the `encode` tool (our transcoder, driven through
# the encoder component as the converter drives it) and by Debian's `ffmpeg` tool, alternating the two so that a
# busy machine slows both alike, RUNS runs each (at least 7), and prints per setting the median wall time and the
# peak memory of both and their ratios (encode / ffmpeg). The J1 ratio is printed last.
#
#   bench/encode/encode_bench.sh [ENCODE] [WORKDIR]      (RUNS=N in the environment: runs per tool, default 7;
#                                                         ONLY=NAME: that setting alone, e.g. ONLY=j1)
#
# ENCODE defaults to a release build's tool (build/release/tools/encode/encode, else build/encoder-release/...).
# Settings: J1 (1080p H.264+AAC to 720p libx264 "medium" 2500k + AAC 128k into MP4; aim: at most 0.90x the
# ffmpeg tool's time, at most 1.05x its memory); libx264 "medium" + AAC 128k at the source's size into MP4;
# MPEG-4 (4 Mbit/s) + MP3 128k into AVI. Both tools use as many
# codec threads as the library picks (the transcoder asks for that by itself, as the ffmpeg tool does).
set -euo pipefail
cd "$(dirname "$0")/../.."

encode="${1:-}"
if [[ -z "$encode" ]]; then
  for candidate in build/release/tools/encode/encode build/encoder-release/tools/encode/encode; do
    [[ -x "$candidate" ]] && encode="$candidate" && break
  done
fi
[[ -x "$encode" ]] || { echo "no encode tool; build one with -DCMAKE_BUILD_TYPE=Release" >&2; exit 2; }
work="${2:-$(mktemp -d)}"
mkdir -p "$work"
runs="${RUNS:-7}"
(( runs >= 7 )) || { echo "RUNS must be at least 7" >&2; exit 2; }

source="$work/source-1080p.mp4"
if [[ ! -s "$source" ]]; then
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc2=size=1920x1080:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=48000" \
    -t 10 -ac 2 -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -c:a aac -b:a 192k "$source"
fi

# name | ffmpeg arguments | encode option lines | output extension
settings=(
  "j1|-vf scale=1280:720 -c:v libx264 -preset medium -b:v 2500k -c:a aac -b:a 128k|vcodec=libx264 preset=medium vb=2500k s=1280x720 acodec=aac ab=128k|mp4"
  "mp4-x264-aac|-c:v libx264 -preset medium -c:a aac -b:a 128k|vcodec=libx264 preset=medium acodec=aac ab=128k|mp4"
  "avi-mpeg4-mp3|-c:v mpeg4 -b:v 4000k -c:a libmp3lame -b:a 128k|vcodec=mpeg4 vb=4000k acodec=libmp3lame ab=128k|avi"
)

# Runs a command under /usr/bin/time -v; prints "seconds kilobytes".
measure() {
  local report="$work/time.txt"
  /usr/bin/time -v -o "$report" "$@" >/dev/null 2>"$work/stderr.txt" || {
    echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
  awk -F': ' '
    /Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
    /Maximum resident set size/ { m = $2 }
    END { printf "%.2f %d\n", s, m }' "$report"
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '%-14s %10s %10s %7s %12s %12s %7s\n' setting "ffmpeg s" "encode s" ratio "ffmpeg kB" "encode kB" ratio
j1_line=""
for setting in "${settings[@]}"; do
  IFS='|' read -r name ffmpeg_args encode_args ext <<<"$setting"
  [[ -n "${ONLY:-}" && $name != "$ONLY" ]] && continue
  ff_times=(); ff_mems=(); en_times=(); en_mems=()
  for ((run = 1; run <= runs; run++)); do
    # shellcheck disable=SC2086
    read -r t m < <(measure ffmpeg -nostdin -hide_banner -loglevel error -y -i "$source" $ffmpeg_args \
      "$work/ffmpeg.$ext")
    ff_times+=("$t"); ff_mems+=("$m")
    rm -f "$work/encode.$ext"
    # shellcheck disable=SC2086
    read -r t m < <(measure "$encode" "$source" "$work/encode.$ext" $encode_args)
    en_times+=("$t"); en_mems+=("$m")
  done
  ft=$(median "${ff_times[@]}"); et=$(median "${en_times[@]}")
  fm=$(median "${ff_mems[@]}"); em=$(median "${en_mems[@]}")
  line=$(awk -v n="$name" -v ft="$ft" -v et="$et" -v fm="$fm" -v em="$em" 'BEGIN {
    printf "%-14s %10.2f %10.2f %7.2f %12d %12d %7.2f", n, ft, et, (ft > 0 ? et / ft : 0), fm, em, (fm > 0 ? em / fm : 0) }')
  echo "$line"
  [[ $name == j1 ]] && j1_line=$line
done
echo "runs per tool and setting: $runs (alternating); times are medians of wall time, memory of peak RSS"
read -r _ _ _ j1_time _ _ j1_mem <<<"$j1_line"
echo "J1 ratio (encode / ffmpeg): time ${j1_time}x, memory ${j1_mem}x"
