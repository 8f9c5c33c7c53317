#!/usr/bin/env bash
# Installs what is missing, builds pictrim and converts the photos given,
# or a copy of the bundled sample photo when none are given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTRIM_TESTS=OFF >/dev/null
cmake --build "$build" --target pictrim pictrim_window >/dev/null

if (($# == 0)); then
  sample="$root/build/sample"
  mkdir -p "$sample"
  cp "$root/tests/data/testorig.jpg" "$sample/sample.JPG"
  set -- "$sample/sample.JPG"
fi

status=0
"$build/bin/pictrim" "$@" || status=$?
if ((status == 0)); then
  echo "pictrim converted $# photo(s); each result stands beside its original:" >&2
  for photo in "$@"; do ls -l "$(dirname "$photo")" | grep -i '\.jpg$' >&2 || true; done
else
  echo "pictrim stopped with status $status (see the message above)" >&2
fi
exit "$status"
