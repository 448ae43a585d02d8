#!/usr/bin/env bash
# The include check itself, on small trees of its own: a tree that keeps the rules passes; one forbidden
# include in each direction fails it and names the file; a tree with no sources fails (a check that finds
# nothing to check must not pass). A git that always fails is first on PATH: the check must not need git.
# Usage: check_includes_test.sh PATH_TO_CHECK_INCLUDES
set -euo pipefail
check=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree="$work/tree"
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "git: command not found" >&2\nexit 127\n' >"$work/bin/git"
chmod +x "$work/bin/git"
export PATH="$work/bin:$PATH"
failures=0

# put FILE LINE...: writes the lines into FILE below the tree.
put() {
  local file="$tree/$1"
  shift
  mkdir -p "$(dirname "$file")"
  printf '%s\n' "$@" >"$file"
}

clean_tree() {
  rm -rf "$tree"
  put platform/imaging/png_decoder.cpp '#include <png.h>' '#include "platform/imaging/decoder.h"'
  put core/zip_reader.cpp '#include <zlib.h>' '#include "platform/registry/hive.h"' '#include "core/paths.h"'
  put widget/host.cpp '#include "widget/host.h"' '#include "widget/loop_backend.h"' '// #include "core/trace.h"'
  put widget/detail/native_window.cpp '#include <gtk/gtk.h>' '#include "widget/detail/native_window.h"'
  put views/picture_view.cpp '#include "core/settings.h"' '#include "widget/canvas.h"'
  put fileops/convert.cpp '#include "core/loaded_picture.h"' '#include "widget/window.h"'
  put usage/client.cpp '#include "core/trace.h"'
  put app/main.cpp '#include "views/picture_view.h"' '#include "fileops/convert.h"' '#include "usage/client.h"'
}

expect() {
  local want=$1 what=$2 rc=0 output
  output=$("$check" "$tree" 2>&1) || rc=$?
  if [[ $want == pass && $rc -ne 0 ]] || [[ $want == fail && $rc -ne 1 ]]; then
    echo "FAIL: $what: expected the check to $want, it exited with $rc:"
    echo "$output"
    failures=$((failures + 1))
  elif [[ $want == fail && -n ${3:-} && $output != *"$3"* ]]; then
    echo "FAIL: $what: the report does not name $3:"
    echo "$output"
    failures=$((failures + 1))
  fi
}

clean_tree
expect pass "a tree that keeps the rules"
put core/build/generated.cpp '#include "widget/widget.h"'
put widget/.cache/stale.cpp '#include <gtk/gtk.h>'
expect pass "build trees and hidden folders are not sources"

# Each case: the file that gets the include, and the include.
cases=(
  'core/bad.cpp|#include "widget/widget.h"'
  'core/bad.cpp|#include "views/zoom_model.h"'
  'core/bad.cpp|#include "app/command_line.h"'
  'core/bad.cpp|#include "fileops/convert.h"'
  'core/bad.cpp|#include "usage/client.h"'
  'core/bad.cpp|  #  include <gtk/gtk.h>'
  'core/build_info.cpp|#include <cairo.h>'
  'core/builders/list.cpp|#include "app/command_line.h"'
  'widget/bad.cpp|#include "core/settings.h"'
  'widget/bad.cpp|#include "views/zoom_model.h"'
  'widget/bad.cpp|#include "app/command_line.h"'
  'widget/bad.cpp|#include "fileops/convert.h"'
  'widget/bad.cpp|#include "usage/client.h"'
  'widget/bad.cpp|#include "platform/byte_cursor.h"'
  'widget/bad.h|#include "widget/detail/loop_backend.h"'
  'widget/input/bad.cpp|#include <pango/pango.h>'
  'widget/detail/bad.cpp|#include "core/trace.h"'
  'widget/detail/bad.cpp|#include "platform/imaging/decoder.h"'
  'views/bad.cpp|#include "app/command_line.h"'
  'views/bad.cpp|#include "widget/detail/cairo_canvas.h"'
  'views/bad.cpp|#include <glib.h>'
  'fileops/bad.cpp|#include "views/zoom_model.h"'
  'fileops/bad.cpp|#include "app/command_line.h"'
  'usage/bad.cpp|#include "widget/widget.h"'
  'usage/bad.cpp|#include <curl/curl.h>'
  'app/bad.cpp|#include "widget/detail/gallery.h"'
  'app/bad.cpp|#include <sys/socket.h>'
  'platform/imaging/bad.cpp|#include "core/loaded_picture.h"'
  'platform/bad.cpp|#include "widget/color.h"'
  'platform/bad.cpp|#include <app/command_line.h>'
)
for entry in "${cases[@]}"; do
  clean_tree
  file=${entry%%|*}
  put "$file" "${entry#*|}"
  expect fail "$file with ${entry#*|}" "$file"
done

rm -rf "$tree"
mkdir -p "$tree/core" "$tree/widget"
expect fail "a tree without sources"

if [[ $failures -gt 0 ]]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all $((${#cases[@]} + 3)) cases behaved"
