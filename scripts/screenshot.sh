#!/usr/bin/env bash
# Photographs the settings window under Xvfb at 96 dpi into
# docs/settings-window.png (the window as it opens with no settings file).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh" xvfb xauth imagemagick

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTRIM_TESTS=OFF >/dev/null
cmake --build "$build" --target pictrim >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/pictrim" "$build/bin/pictrim-window.so" "$work/"

cat >"$work/shoot.sh" <<SHOOT
"$work/pictrim" & pid=\$!
sleep 2
import -window root "$work/screen.png"
kill \$pid
SHOOT
xvfb-run -a -s "-screen 0 480x420x24 -dpi 96" bash "$work/shoot.sh"
# The window stands at its designed place, 205 x 126, client area 139 x 235.
convert "$work/screen.png" -crop 139x235+205+126 +repage "$root/docs/settings-window.png"
echo "wrote docs/settings-window.png"
