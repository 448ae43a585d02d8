#!/usr/bin/env bash
# Installs every Debian package that building, testing and running QuarloView needs.
# Only missing packages are installed, without questions; a second run does nothing.
# Usage: install-deps.sh [PACKAGE...]: the named packages too (the viewer benchmark adds the other viewers).
set -euo pipefail

packages=(
  # Build tools
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # Windowing, drawing and text
  libgtk-3-dev libcairo2-dev libpango1.0-dev libicu-dev libfmt-dev
  # Codecs, colour and metadata
  libjpeg62-turbo-dev libpng-dev libgif-dev libwebp-dev libtiff-dev libheif-dev libjxl-dev
  liblcms2-dev libexif-dev zlib1g-dev libdeflate-dev libimagequant-dev
  # Network (usage statistics)
  libcurl4-openssl-dev
  # Tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool xclip dbus at-spi2-core python3-pyatspi zip
  libjpeg-turbo-progs webp
  # Keyboard layouts switched by the key end-to-end test (setxkbmap)
  x11-xkb-utils xkb-data
  # Korean typed through an input method in the composition end-to-end test
  ibus ibus-hangul ibus-gtk3 libglib2.0-bin dconf-gsettings-backend dconf-service
  # Fonts the interface draws with
  fonts-dejavu-core fonts-nanum fonts-material-design-icons-iconfont
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
