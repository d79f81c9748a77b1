#!/usr/bin/env bash
# install_test.sh BUILD_DIR: installs the build tree into a staging folder (DESTDIR) the way a package build does,
# checks the layout, the desktop entry and its icons, and starts the installed program by its name on PATH on the
# headless backend. It has found its skin and catalogue once it has painted its main window and laid out the
# user's folders: a missing piece of that data stops the start-up at an error box before either.
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d)
child=
cleanup() {
  if [ -n "$child" ]; then kill "$child" 2>/dev/null || true; wait "$child" 2>/dev/null || true; fi
  rm -rf "$root"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

stage=$root/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >"$root/install.log" || { cat "$root/install.log"; fail "install"; }
prefix=$stage/usr

for file in bin/quennary lib/quennary/quennary lib/quennary/skin-red/skin.ini \
  lib/quennary/mp4-converter-profiles/Profiles.dat lib/quennary/mp4-converter-profiles/Formats.dat \
  share/applications/quennary.desktop; do
  [ -e "$prefix/$file" ] || fail "not installed: $file"
done
# A relative link, so that the staged tree works wherever it is unpacked.
[ "$(readlink "$prefix/bin/quennary")" = ../lib/quennary/quennary ] || fail "bin/quennary is not the relative link"

entry=$prefix/share/applications/quennary.desktop
grep -qx 'Exec=quennary' "$entry" || fail "the desktop entry does not start quennary"
grep -qx 'Icon=quennary' "$entry" || fail "the desktop entry does not name the quennary icon"
# Every icon size the theme folder claims is a PNG of that size (width and height from its header).
for size in 16 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/quennary.png
  [ -f "$icon" ] || fail "no ${size}x${size} icon"
  [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$icon is not a PNG"
  dims=$(od -An -j16 -N8 -tu1 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "$icon is $dims"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: entry not validated"
fi

home=$root/home
mkdir -p "$home/Documents" "$root/elsewhere"
cd "$root/elsewhere"
env -u DISPLAY PATH="$prefix/bin:$PATH" HOME="$home" XDG_CONFIG_HOME="$root/config" QUENNARY_BACKEND=headless \
  QUENNARY_LAUNCHED_AT=0 quennary 2>"$root/stderr" &
child=$!
deadline=$((SECONDS + 60))
until grep -q '^first paint after' "$root/stderr" && [ -d "$home/Documents/Brindlewave/Quennary/Output" ]; do
  kill -0 "$child" 2>/dev/null || fail "the installed program ended: $(cat "$root/stderr")"
  [ "$SECONDS" -lt "$deadline" ] || fail "no main window within 60 s: the installed program did not find its data"
  sleep 0.1
done
echo "installed program started and found its data"
