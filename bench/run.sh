#!/usr/bin/env bash
# Times pictrim against ImageMagick's convert on real 4000-6000 pixel photos
# and checks pictrim's speed and memory against fixed thresholds.
#
# Environment:
#   PICTRIM=/path/to/pictrim  use this binary instead of building one
#   BENCH_RUNS=5              timed runs per tool
#   BENCH_STRICT=1            exit 1 when a threshold is missed
#   BENCH_PACKAGES="..."      Debian packages the photos come from
#   BENCH_BUILD_DIR=dir       where to build pictrim (default build/release)
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
bench="$root/bench"
photos="$bench/photos"   # downloaded packages and their extracted files (cache)
results="$bench/results" # everything one run writes
runs=${BENCH_RUNS:-5}
strict=${BENCH_STRICT:-0}
packages=${BENCH_PACKAGES:-"lomiri-wallpapers-20.04 lomiri-wallpapers-16.04"}
build=${BENCH_BUILD_DIR:-"$root/build/release"}
min_side=4000
max_side=6000
speed_threshold=2   # convert-median / pictrim-median must be at least this
memory_threshold=0.5 # pictrim-peak / convert-peak must be below this

die() { echo "bench: $*" >&2; exit 1; }
note() { echo "bench: $*" >&2; }

[[ $runs =~ ^[1-9][0-9]*$ ]] || die "BENCH_RUNS must be a positive integer, not '$runs'"

# ---------------------------------------------------------------- tools

install_missing() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  [ "$(id -u)" -eq 0 ] || die "needs root to install: ${missing[*]}"
  note "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

install_missing imagemagick time
# The package's own binaries, not whatever else is called convert on PATH.
convert_bin=/usr/bin/convert
identify_bin=/usr/bin/identify
time_bin=/usr/bin/time
for tool in "$convert_bin" "$identify_bin" "$time_bin"; do
  [ -x "$tool" ] || die "$tool is missing after installing imagemagick and time"
done

# ---------------------------------------------------------------- photos

# A package is downloaded and unpacked once; later runs reuse bench/photos.
fetch_package() {
  local package=$1 deb
  deb=$(compgen -G "$photos/${package}_*.deb" | head -n 1 || true)
  if [ -z "$deb" ]; then
    apt-cache show "$package" >/dev/null 2>&1 || apt-get update -qq
    note "downloading $package"
    # apt drops privileges to _apt for downloads; as root into a root-owned
    # directory it warns and downloads anyway, which is fine here.
    (cd "$photos" && apt-get download -q "$package" 2>"$results/apt-$package.log" >/dev/null) ||
      die "apt-get download $package failed: $(cat "$results/apt-$package.log")"
    deb=$(compgen -G "$photos/${package}_*.deb" | head -n 1) || die "no .deb for $package"
  fi
  if [ ! -e "$photos/extract/$package/.done" ]; then
    rm -rf "$photos/extract/$package"
    mkdir -p "$photos/extract/$package"
    dpkg-deb -x "$deb" "$photos/extract/$package"
    touch "$photos/extract/$package/.done"
  fi
}

mkdir -p "$photos" "$results"
work="$results/work"         # the selected photos and pictrim's outputs beside them
convert_out="$results/convert"
rm -rf "$work" "$convert_out"
mkdir -p "$work" "$convert_out"

for package in $packages; do fetch_package "$package"; done

# Photos whose larger side is within [min_side, max_side], copied under a
# .jpg name (pictrim converts nothing else); the name says where it came from.
declare -a names=() widths=() heights=()
while IFS= read -r -d '' file; do
  read -r format width height < <("$identify_bin" -ping -format '%m %w %h\n' "${file}[0]" 2>/dev/null | head -n 1) ||
    continue
  [ "$format" = JPEG ] || continue
  side=$((width > height ? width : height))
  ((side >= min_side && side <= max_side)) || continue
  base=$(basename "$file")
  name="${base%.*}.jpg"
  [ -e "$work/$name" ] && die "two selected photos are both named $name"
  cp "$file" "$work/$name"
  names+=("$name") widths+=("$width") heights+=("$height")
done < <(find "$photos/extract" -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) -print0 | sort -z)

((${#names[@]})) || die "no JPEG with its larger side between $min_side and $max_side in: $packages"

echo "Photos (larger side $min_side-$max_side px, from: $packages)"
printf '  %-44s %11s %10s  %-11s %s\n' photo pixels bytes coding EXIF
total_bytes=0
for i in "${!names[@]}"; do
  file="$work/${names[i]}"
  interlace=$("$identify_bin" -ping -format '%[interlace]' "$file" 2>/dev/null)
  [ "$interlace" = None ] && coding=baseline || coding=progressive
  exif=$("$identify_bin" -ping -format '%[EXIF:*]' "$file" 2>/dev/null || true)
  [ -n "$exif" ] && exif=yes || exif=no
  bytes=$(stat -c %s "$file")
  total_bytes=$((total_bytes + bytes))
  printf '  %-44s %11s %10d  %-11s %s\n' "${names[i]}" "${widths[i]}x${heights[i]}" "$bytes" "$coding" "$exif"
done
printf '  %d photos, %d bytes in all\n\n' "${#names[@]}" "$total_bytes"

# ---------------------------------------------------------------- pictrim

pictrim_ok=1
pictrim_problem=""
if [ -n "${PICTRIM:-}" ]; then
  [ -x "$PICTRIM" ] || die "PICTRIM=$PICTRIM is not an executable file"
  pictrim_src=$PICTRIM
else
  pictrim_src="$build/bin/pictrim"
  "$root/scripts/deps.sh"
  note "building pictrim (Release) in $build"
  if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPICTRIM_TESTS=OFF &&
    cmake --build "$build" --target pictrim; } >"$results/build.log" 2>&1; then
    tail -n 30 "$results/build.log" >&2
    pictrim_ok=0
    pictrim_problem="the build failed (see $results/build.log)"
  fi
fi

# pictrim reads pictrim.ini beside its executable, so it runs from a private
# copy with the settings the comparison assumes: 50 %, quality 80, suffix _x.
bin="$results/bin"
rm -rf "$bin"
mkdir -p "$bin"
if ((pictrim_ok)); then
  cp "$pictrim_src" "$bin/pictrim"
  printf '[main]\ntype=0\nrate=50\ngrp=80\nname_bottom=_x\n' >"$bin/pictrim.ini"
fi

# ---------------------------------------------------------------- timing

runs_tsv="$results/runs.tsv"
printf 'run\ttool\tphoto\twall_s\tcpu_s\trss_kb\n' >"$runs_tsv"
declare -A total_wall=() total_cpu=() peak_rss=()
convert_ok=1
convert_problem=""

# Runs one command under GNU time; sets last_wall, last_cpu, last_rss and
# returns the command's status. The wall clock is read around the call with
# microsecond resolution (time -v only gives hundredths).
timed() {
  local log=$1 start end status=0
  shift
  start=$EPOCHREALTIME
  "$time_bin" -v -o "$log.time" "$@" >"$log.out" 2>"$log.err" || status=$?
  end=$EPOCHREALTIME
  last_wall=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')
  last_cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.2f", s }' "$log.time")
  last_rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log.time")
  return "$status"
}

# The output must be a JPEG of half the photo's size; the side is truncated,
# so an odd side loses its last half pixel.
check_half() {
  local output=$1 width=$2 height=$3 got
  [ -s "$output" ] || { echo "no output $output"; return 1; }
  got=$("$identify_bin" -ping -format '%m %wx%h' "$output" 2>/dev/null) || { echo "unreadable $output"; return 1; }
  [ "$got" = "JPEG $((width / 2))x$((height / 2))" ] ||
    { echo "$output is '$got', expected 'JPEG $((width / 2))x$((height / 2))'"; return 1; }
}

run_pictrim() { # run-label, photo index
  local run=$1 i=$2 name=${names[$2]} output log
  ((pictrim_ok)) || return 0
  output="$work/${name%.jpg}_x.jpg"
  log="$results/last-pictrim"
  rm -f "$output"
  if ! timed "$log" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$bin/pictrim" "$work/$name"; then
    pictrim_ok=0
    pictrim_problem="exit status $(awk -F'status ' '/exited with non-zero/ { print $2 }' "$log.time") on $name: $(head -c 400 "$log.err")"
    return 0
  fi
  if [ -s "$log.err" ]; then
    pictrim_ok=0
    pictrim_problem="wrote to stderr on $name: $(head -c 400 "$log.err")"
    return 0
  fi
  if ! pictrim_problem=$(check_half "$output" "${widths[i]}" "${heights[i]}"); then
    pictrim_ok=0
    return 0
  fi
  record "$run" pictrim "$name"
}

run_convert() { # run-label, photo index
  local run=$1 i=$2 name=${names[$2]} output log
  ((convert_ok)) || return 0
  output="$convert_out/$name"
  log="$results/last-convert"
  rm -f "$output"
  if ! timed "$log" "$convert_bin" "$work/$name" -sample 50% -quality 80 "$output" || [ ! -s "$output" ]; then
    convert_ok=0
    convert_problem="failed on $name: $(head -c 400 "$log.err")"
    return 0
  fi
  record "$run" convert "$name"
}

record() { # run-label, tool, photo
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$last_wall" "$last_cpu" "$last_rss" >>"$runs_tsv"
  [ "$1" = warmup ] && return 0
  local key="$2,$1"
  total_wall[$key]=$(awk -v a="${total_wall[$key]:-0}" -v b="$last_wall" 'BEGIN { printf "%.6f", a + b }')
  total_cpu[$key]=$(awk -v a="${total_cpu[$key]:-0}" -v b="$last_cpu" 'BEGIN { printf "%.2f", a + b }')
  ((last_rss > ${peak_rss[$2]:-0})) && peak_rss[$2]=$last_rss
  return 0
}

# The tools alternate photo by photo, and which goes first swaps every run,
# so a burst of load on the shared machine lands on both about equally.
# One untimed pass first fills the page cache and checks that both work.
note "warm-up pass, then $runs timed runs over ${#names[@]} photos"
for i in "${!names[@]}"; do
  run_pictrim warmup "$i"
  run_convert warmup "$i"
done
for ((run = 1; run <= runs; run++)); do
  for i in "${!names[@]}"; do
    if ((run % 2)); then
      run_pictrim "$run" "$i"
      run_convert "$run" "$i"
    else
      run_convert "$run" "$i"
      run_pictrim "$run" "$i"
    fi
  done
  note "run $run/$runs: pictrim ${total_wall[pictrim,$run]:-n/a} s, convert ${total_wall[convert,$run]:-n/a} s"
done

# ---------------------------------------------------------------- report

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; m = int((NR + 1) / 2); printf "%.3f", (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2 }'; }

declare -A med_wall=() med_cpu=() all_runs=()
for tool in pictrim convert; do
  ok_var="${tool}_ok"
  ((${!ok_var})) || continue
  walls=() cpus=()
  for ((run = 1; run <= runs; run++)); do
    walls+=("${total_wall[$tool,$run]}")
    cpus+=("${total_cpu[$tool,$run]}")
  done
  med_wall[$tool]=$(printf '%s\n' "${walls[@]}" | median)
  med_cpu[$tool]=$(printf '%s\n' "${cpus[@]}" | median)
  all_runs[$tool]=$(printf '%.2f ' "${walls[@]}")
done

echo "Results: ${#names[@]} photos, one process per photo, $runs runs (median of each run's total)"
printf '  %-8s %14s %14s %14s   %s\n' tool "median wall s" "median cpu s" "peak RSS KiB" "run totals (wall s)"
for tool in pictrim convert; do
  if [ -n "${med_wall[$tool]:-}" ]; then
    printf '  %-8s %14s %14s %14s   %s\n' "$tool" "${med_wall[$tool]}" "${med_cpu[$tool]}" "${peak_rss[$tool]}" "${all_runs[$tool]}"
  else
    printf '  %-8s %14s %14s %14s\n' "$tool" n/a n/a n/a
  fi
done
echo

# Per photo, to see which file drives a verdict: medians over the timed runs.
echo "Per photo (median wall s over the runs, peak RSS KiB)"
awk -F'\t' '
  NR == 1 || $1 == "warmup" { next }
  !($3 in seen) { seen[$3] = 1; order[++count] = $3 }
  { key = $2 SUBSEP $3; n[key]++; wall[key, n[key]] = $4; if ($6 > rss[key]) rss[key] = $6 }
  function median(key,   i, j, t, m, v) {
    if (!n[key]) return "n/a"
    for (i = 1; i <= n[key]; i++) v[i] = wall[key, i]
    for (i = 2; i <= n[key]; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
    m = int((n[key] + 1) / 2)
    return sprintf("%.3f", (n[key] % 2) ? v[m] : (v[m] + v[m + 1]) / 2)
  }
  END {
    printf "  %-44s %9s %9s %10s %10s\n", "photo", "pictrim", "convert", "pictrim", "convert"
    for (k = 1; k <= count; k++) {
      p = order[k]
      printf "  %-44s %9s %9s %10s %10s\n", p, median("pictrim" SUBSEP p), median("convert" SUBSEP p),
        rss["pictrim" SUBSEP p] ? rss["pictrim" SUBSEP p] : "n/a", rss["convert" SUBSEP p] ? rss["convert" SUBSEP p] : "n/a"
    }
  }' "$runs_tsv"
echo

if ((!convert_ok)); then die "convert $convert_problem"; fi
if ((!pictrim_ok)); then
  echo "pictrim: FAIL, $pictrim_problem"
  exit 1
fi

speed=$(awk -v c="${med_wall[convert]}" -v p="${med_wall[pictrim]}" 'BEGIN { printf "%.3f", c / p }')
memory=$(awk -v p="${peak_rss[pictrim]}" -v c="${peak_rss[convert]}" 'BEGIN { printf "%.3f", p / c }')
speed_ok=$(awk -v r="$speed" -v t="$speed_threshold" 'BEGIN { print (r >= t) ? 1 : 0 }')
memory_ok=$(awk -v p="${peak_rss[pictrim]}" -v c="${peak_rss[convert]}" -v t="$memory_threshold" 'BEGIN { print (p < t * c) ? 1 : 0 }')
verdict() { (($1)) && echo PASS || echo FAIL; }

printf 'speed  ratio convert/pictrim median wall = %s  (needs >= %s)  %s\n' "$speed" "$speed_threshold" "$(verdict "$speed_ok")"
printf 'memory ratio pictrim/convert peak RSS    = %s  (needs <  %s)  %s\n' "$memory" "$memory_threshold" "$(verdict "$memory_ok")"
echo "pictrim outputs: all ${#names[@]} half-size JPEGs checked after every run"
echo "raw measurements: $runs_tsv"
if ((speed_ok && memory_ok)); then
  echo "PASS"
else
  echo "FAIL"
  [ "$strict" = 1 ] && exit 1
fi
exit 0
