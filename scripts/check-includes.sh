#!/usr/bin/env bash
# Fails when an include crosses the layers the wrong way:
#   - portable code (app/, core/, views/, fileops/, usage/ and widget/ outside widget/detail/) includes a
#     platform header (GTK, GDK, GIO, GLib, Cairo, Pango, codec, socket or X11) or a widget/detail/ header;
#   - core/ includes widget/, views/, app/, fileops/ or usage/;
#   - widget/ (detail/ included) includes core/, views/, app/, fileops/, usage/ or platform/: the toolkit
#     stands on its own, and its seams to the backend are declared in widget/ itself;
#   - views/ includes app/; fileops/ includes views/ or app/; usage/ includes widget/, views/, fileops/ or app/;
#   - platform/ includes core/, widget/, views/, app/, fileops/ or usage/.
# The files are found with find (build trees and hidden folders skipped), so the check needs no git; finding
# no file at all is a failure, not a pass. Usage: check-includes.sh [SOURCE_ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]'
platform_headers="${include}(gtk/|gdk/|gdk-pixbuf/|gio/|glib|cairo|pango|jpeglib|turbojpeg|png\.h|gif_lib|webp/|tiffio|tiff\.h|libheif/|jxl/|lcms2|libexif/|curl/|libimagequant|sys/socket|sys/un\.h|X11/)"
layers() { echo "${include}($(IFS='|'; echo "$*"))/"; }

status=0

# The C++ sources below the given folders (those that exist), one per line.
sources() {
  local dirs=()
  for dir in "$@"; do [[ -d "$dir" ]] && dirs+=("$dir"); done
  [[ ${#dirs[@]} -gt 0 ]] || return 0
  find "${dirs[@]}" -type d \( -name build -o -name 'build-*' -o -name 'build_*' -o -name '.*' \) -prune -o \
    -type f \( -name '*.h' -o -name '*.cpp' \) -print | sort
}

# forbid MESSAGE PATTERN FILE...: reports every include line of the files that matches the pattern.
forbid() {
  local message=$1 pattern=$2
  shift 2
  [[ $# -gt 0 ]] || return 0
  local hits rc=0
  hits=$(grep -nE -- "$pattern" "$@") || rc=$?
  if [[ $rc -eq 0 ]]; then
    echo "$message"
    echo "$hits"
    status=1
  elif [[ $rc -ne 1 ]]; then
    echo "check-includes: grep could not read the sources" >&2
    exit 2
  fi
}

mapfile -t all < <(sources app core views fileops usage widget platform)
if [[ ${#all[@]} -eq 0 ]]; then
  echo "check-includes: no sources found below $(pwd); nothing was checked" >&2
  exit 1
fi
mapfile -t portable < <(sources app core views fileops usage widget | grep -v '^widget/detail/' || true)
mapfile -t core < <(sources core)
mapfile -t widget < <(sources widget)
mapfile -t views < <(sources views)
mapfile -t fileops < <(sources fileops)
mapfile -t usage < <(sources usage)
mapfile -t platform < <(sources platform)

forbid "Platform headers in portable code (move the code behind an interface in platform/ or widget/detail/):" \
  "$platform_headers" "${portable[@]}"
forbid "widget/detail/ headers in portable code (declare the seam in widget/, define it in widget/detail/):" \
  "${include}widget/detail/" "${portable[@]}"
forbid "core/ must not include the toolkit or the layers above it:" \
  "$(layers widget views app fileops usage)" "${core[@]}"
forbid "widget/ must not include the program's layers or platform/:" \
  "$(layers core views app fileops usage platform)" "${widget[@]}"
forbid "views/ must not include app/:" "$(layers app)" "${views[@]}"
forbid "fileops/ must not include views/ or app/:" "$(layers views app)" "${fileops[@]}"
forbid "usage/ must not include the toolkit, views/, fileops/ or app/:" \
  "$(layers widget views fileops app)" "${usage[@]}"
forbid "platform/ must not include the layers above it:" \
  "$(layers core widget views app fileops usage)" "${platform[@]}"
exit $status
