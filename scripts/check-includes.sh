#!/usr/bin/env bash
# Fails when portable code includes a platform header. GTK, GDK, GIO, Cairo, Pango, codec and socket
# headers belong in platform/ and widget/detail/ only; core/ never includes the toolkit.
set -euo pipefail
cd "$(dirname "$0")/.."

platform_headers='#include *[<"](gtk/|gdk/|gdk-pixbuf/|gio/|glib|cairo|pango|jpeglib|turbojpeg|png\.h|gif_lib|webp/|tiffio|tiff\.h|libheif/|jxl/|lcms2|libexif/|curl/|libimagequant|sys/socket|sys/un\.h|X11/)'
status=0

portable=$(git ls-files -co --exclude-standard -- app core views fileops usage widget \
  | grep -E '\.(h|cpp)$' | grep -v '^widget/detail/' || true)
if [[ -n "$portable" ]]; then
  if hits=$(grep -nE "$platform_headers" $portable); then
    echo "Platform headers in portable code (move the code behind an interface in platform/ or widget/detail/):"
    echo "$hits"
    status=1
  fi
fi

core=$(git ls-files -co --exclude-standard -- core | grep -E '\.(h|cpp)$' || true)
if [[ -n "$core" ]] && hits=$(grep -nE '#include *"(widget|views|app|fileops|usage)/' $core); then
  echo "core/ must not include the toolkit or the layers above it:"
  echo "$hits"
  status=1
fi
exit $status
