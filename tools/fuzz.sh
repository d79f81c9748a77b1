#!/usr/bin/env bash
# The fuzz targets of tests/fuzz: tools/fuzz.sh [SECONDS] [TARGET...]
#
# Builds them with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in build/fuzz, makes each
# target's seed corpus from the shipped skin and catalogue (as the build draws them) and small pictures made with
# ffmpeg, and runs each target for SECONDS (default 30). The corpora grow in build/fuzz/corpus/<target>; an input
# that finds a fault is kept as build/fuzz/crashes/<target>/crash-* and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
all_targets=(bmp png jpeg icon png_image_list skin_description skin_compressed skin_stored catalogue settings
             transcoder_options)
if [ $# -gt 0 ]; then targets=("$@"); else targets=("${all_targets[@]}"); fi
tree=build/fuzz
jobs=${FUZZ_BUILD_JOBS:-$(nproc)}

cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DQUENNARY_TESTS=OFF -DQUENNARY_FUZZ=ON -DQUENNARY_SANITIZE=address,undefined \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
skin=$tree/tools/skin-build/skin-red
catalogue=$tree/tools/catalogue-build/mp4-converter-profiles
# The tools that draw the seeds run sanitized too; the font library's own leaks are not what is fuzzed here.
ASAN_OPTIONS=detect_leaks=0 ninja -C "$tree" -j "$jobs" "${targets[@]/%/_fuzz}" tools/skin-build/skin-red/skin.ini \
  tools/catalogue-build/mp4-converter-profiles/Formats.dat

# Seeds, made afresh each run (the corpora keep what the runs found).
seeds=$tree/seeds
rm -rf "$seeds"
for t in "${all_targets[@]}"; do mkdir -p "$seeds/$t" "$tree/corpus/$t" "$tree/crashes/$t"; done
picture() { ffmpeg -v error -y -f lavfi -i "testsrc=size=$1:rate=1" -frames:v 1 "${@:2}"; }
cp "$skin"/*.bmp "$seeds/bmp/"
picture 9x7 -pix_fmt pal8 "$seeds/bmp/pal8.bmp"
picture 9x7 -pix_fmt rgb555le "$seeds/bmp/rgb555.bmp"
cp "$skin"/*.png "$catalogue"/Icons/*.png "$seeds/png/"
picture 9x7 -pix_fmt rgba64be "$seeds/png/sixteen.png"
picture 9x7 -pix_fmt pal8 "$seeds/png/palette.png"
picture 32x24 "$seeds/jpeg/plain.jpg"
picture 32x24 -pix_fmt yuvj444p "$seeds/jpeg/full.jpg"
picture 16x16 -c:v bmp -pix_fmt bgra -f ico "$seeds/icon/bmp.ico"
picture 32x32 -c:v png -pix_fmt rgba -f ico "$seeds/icon/png.ico"
for png in "$skin"/play.png "$skin"/convert.png; do
  { printf '\030\030'; cat "$png"; } > "$seeds/png_image_list/$(basename "$png")"
done
cp "$skin/skin.ini" "$seeds/skin_description/"
printf '[VERSION]\nskinname=t\n[PICTURES]\npicture=p.bmp\nmask=p.png\nactivepictures=p.jpg\n' \
  > "$seeds/skin_description/small.ini"
python3 - "$seeds" "$skin/skin.ini" <<'PY'
import struct, sys, zlib
seeds, ini = sys.argv[1], sys.argv[2]
text = open(ini, "rb").read()
# The block's content as the stored skin writes it is left to the fuzzer to learn; the description alone seeds it.
open(seeds + "/skin_stored/description.ini", "wb").write(text)
packed = zlib.compress(text)
open(seeds + "/skin_compressed/description.skn", "wb").write(struct.pack("<ii", 3, len(packed)) + packed)
PY
{ cat "$catalogue/Profiles.dat"; printf '\0'; python3 -c 'import sys; sys.stdout.buffer.write(bytes(255 - b for b in open(sys.argv[1], "rb").read()))' "$catalogue/Formats.dat"; } \
  > "$seeds/catalogue/shipped"
cat > "$seeds/settings/settings.ini" <<'INI'
[Software\Brindlewave\Quennary]
OutputPath=sz:/home/user/Videos/Quennary%25 out
OpenVideoDialogPath=sz:/home/user/Videos
ScreenShotsPath=sz:/home/user/Snapshots
recentformatind=dword:3
recentprofileind=dword:1
lasteditedformatind=dword:0
lasteditedprofileind=dword:0
videowidth=sz:640
channels=sz:2

[Software\Brindlewave\Quennary\ReportMail]
Server=sz:mail.example.test
INI
printf '\001qscale=3\ng=250\nbf=2\nr=25\ns=320x240\naspect=4:3\ninter_matrix=16,17,18,19,20,21,22,23\nab=128k\nac=2\n' \
  > "$seeds/transcoder_options/video"
printf '\000acodec=aac\nar=44100<CRLF>threads=2\npix_fmt=yuv420p\ntarget=pal-dvd\n' > "$seeds/transcoder_options/audio"

status=0
for t in "${targets[@]}"; do
  echo "== $t: ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$tree/tests/fuzz/${t}_fuzz" -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=25 -print_final_stats=1 \
      -artifact_prefix="$tree/crashes/$t/" "$tree/corpus/$t" "$seeds/$t" > "$tree/$t.log" 2>&1; then
    echo "!! $t found a fault: see $tree/$t.log and $tree/crashes/$t/"
    tail -n 40 "$tree/$t.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$tree/$t.log" | tail -n 1 || true
  fi
done
exit $status
