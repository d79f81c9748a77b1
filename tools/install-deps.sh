#!/usr/bin/env bash
# Installs every Debian package Quennary needs to build, run and test. Installs only what is missing, so a second
# run costs a few dpkg queries. Run as root on Debian 12.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config git
  # media (headers only: the libraries are loaded at run time)
  libavcodec-dev libavformat-dev libavutil-dev libavfilter-dev libswscale-dev libswresample-dev
  libsdl1.2-dev libsdl1.2debian
  # pictures, compression, drawing, text
  zlib1g-dev libjpeg62-turbo-dev libpng-dev libpixman-1-dev libfreetype-dev libfontconfig-dev
  fonts-dejavu-core fonts-liberation fonts-droid-fallback
  # shaping and ordering of text in every script; a colour emoji font and a Devanagari font (DejaVu has Arabic and
  # Hebrew) for the text tests
  libharfbuzz-dev libfribidi-dev fonts-noto-color-emoji fonts-lohit-deva
  # X11
  libx11-dev libxext-dev libxrender-dev libxfixes-dev libxrandr-dev libxtst-dev libxcursor-dev
  # network
  libcurl4-openssl-dev
  # tests, tools and benchmarks
  ffmpeg xvfb xauth x11-apps x11-utils xclip xdotool openbox python3 python3-aiosmtpd desktop-file-utils
  googletest libgtest-dev libgmock-dev libbenchmark-dev stress-ng
  # fuzzing: clang with libFuzzer and the sanitizer runtimes
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
