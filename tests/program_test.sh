#!/usr/bin/env bash
# The built program end to end: a batch without a display, and one with the
# window module loaded (offscreen), both converting a photo and quitting.
set -euo pipefail
program=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/"
[ -e "$(dirname "$program")/pictrim-window.so" ] && cp "$(dirname "$program")/pictrim-window.so" "$work/"
passed=0
failed=0
check() {
  if eval "$2"; then passed=$((passed + 1)); else echo "FAILED: $1" >&2; failed=$((failed + 1)); fi
}

cp "$data/testorig.jpg" "$work/A.JPG"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/pictrim" "$work/a.jpg" 2>"$work/err" && status=0 || status=$?
check "headless batch exits 0" '[ "$status" = 0 ]'
check "headless batch writes A_x.jpg" '[ -s "$work/A_x.jpg" ]'
check "headless batch prints nothing" '[ ! -s "$work/err" ]'

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/pictrim" "$work/gone.JPG" 2>"$work/err" && status=0 || status=$?
check "headless failure exits 1" '[ "$status" = 1 ]'
check "headless failure names the file" 'grep -q "gone.JPG" "$work/err"'

env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/pictrim" 2>"$work/err" && status=0 || status=$?
check "no files and no display exits 2" '[ "$status" = 2 ]'

if [ -e "$work/pictrim-window.so" ]; then
  printf '[main]\nname_bottom=_w\n' >"$work/pictrim.ini"
  QT_QPA_PLATFORM=offscreen "$work/pictrim" "$work/A.JPG" 2>"$work/err" && status=0 || status=$?
  check "batch with the window module exits 0" '[ "$status" = 0 ]'
  check "batch with the window module writes A_w.jpg" '[ -s "$work/A_w.jpg" ]'
  check "the module was found" '! grep -q "not installed" "$work/err"'
fi

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
