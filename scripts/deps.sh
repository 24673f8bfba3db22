#!/usr/bin/env bash
# The one list of Debian packages that the build, the program, the tests, the fuzzers and the
# format check need; installs those that are missing. Options: --fuzz adds clang and its fuzzer
# runtime, --format adds clang-format and cmake-format, --all adds both; --screenshots adds the
# X server, input and capture tools scripts/screenshots.sh drives the program with; --package adds
# what builds and checks the Debian package and the desktop files (dpkg-shlibdeps, lintian, the
# validators).
set -euo pipefail
PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  zlib1g-dev libjpeg62-turbo-dev fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  ffmpeg
  xvfb xauth xdotool openbox x11-utils
)
for arg in "$@"; do
  case "$arg" in
    --fuzz) PACKAGES+=(clang-14 libclang-rt-14-dev) ;;
    --format) PACKAGES+=(clang-format-14 cmake-format) ;;
    --all) PACKAGES+=(clang-14 libclang-rt-14-dev clang-format-14 cmake-format) ;;
    --screenshots) PACKAGES+=(xvfb x11-utils xdotool imagemagick) ;;
    --package) PACKAGES+=(dpkg-dev file lintian desktop-file-utils appstream) ;;
    *) echo "deps.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [[ $(id -u) -ne 0 ]] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
