#!/usr/bin/env bash
# Whole-process timings, as the speed goals are counted: hyperfine's median
# of lumo-render writing a full default label in each format, of a label of
# the largest canvas and of a layout, then of the window from start to its
# first painted label (ten starts) and from each of twenty pastes to the
# repainted preview (under Xvfb, from the timestamps the window logs when
# LUMO_TIMING names a file).
#
#   bench/whole-process.sh [OUTPUT-FOLDER]
#
# The files go to OUTPUT-FOLDER, by default a folder on tmpfs (/dev/shm), so
# that the disk's write-back does not decide; give a folder on the checkout's
# own file system to measure that too. LUMO_BUILD names the build folder
# (build/default), RUNS the runs of each row (20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LUMO_BUILD:-$root/build/default}
runs=${RUNS:-20}
render=$build/cli/lumo-render
window=$build/app/lumo
work=$(mktemp -d /dev/shm/lumo-bench.XXXXXX)
out=${1:-$work/out}
mkdir -p "$out"
trap 'rm -rf "$work"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; true' EXIT

# 9,000 bytes of Japanese in lines of 73 characters: both halves' thirty rings full.
sentence=円盤のラベルに文字を同心円状に並べ、一文字ずつ向きを変えて描きます。漢字とかなとカタカナ、記号も混ぜて試験します。
text=$work/full.txt
line=""; bytes=0
for ((n = 0; bytes < 9000; n++)); do
  line+=${sentence:n % ${#sentence}:1}
  bytes=$((bytes + 2))
  if (( ${#line} == 73 )); then printf '%s\n' "$line" >>"$text"; line=""; bytes=$((bytes + 2)); fi
done
printf '%s' "$line" >>"$text"

row() {  # name, then lumo-render's arguments
  local name=$1; shift
  hyperfine -N --style none --warmup 3 --runs "$runs" --prepare "find $out -name lumo* -delete" \
    --export-json "$work/row.json" "$render -o $out $* $text" >/dev/null 2>&1
  python3 - "$name" "$work/row.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[2]))["results"][0]
print("%-24s median %7.1f ms  (mean %.1f ± %.1f, %d runs)" % (sys.argv[1], r["median"] * 1e3,
      r["mean"] * 1e3, r["stddev"] * 1e3, len(r["times"])))
PY
}

echo "lumo-render, files in $out"
row "default label, BMP" --format bmp
row "default label, PNG" --format png
row "default label, PDF" --format pdf
row "1733 dpi, BMP" --dpi 1733 --format bmp
row "layout" --layout
ls -l "$out" >/dev/null

# The window, when there is one to start and Xvfb to show it on.
if [ -x "$window" ] && command -v Xvfb >/dev/null && command -v xdotool >/dev/null &&
   command -v xclip >/dev/null; then
  export DISPLAY=:97
  Xvfb :97 -screen 0 1280x1024x24 >/dev/null 2>&1 & xvfb=$!
  sleep 1
  export XDG_CONFIG_HOME=$work/config
  log=$work/window.log
  # Ctrl+Q, which waits for the last file; a window without it (an older
  # build) is ended after five seconds.
  quit_window() {
    xdotool key ctrl+q
    for ((w = 0; w < 50; w++)); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
    kill "$pid" 2>/dev/null || true
  }
  starts=()
  for ((i = 0; i < 10; i++)); do
    # Half a second after the last window went, so that what its end leaves
    # the X server and the kernel to do is not counted in this start (it
    # added 20-25 ms to a start made at once).
    sleep 0.5
    # The start is the moment the program is started, as a user counts it.
    echo "start $(date +%s.%N)" >"$log.$i"
    (cd "$out" && LUMO_TIMING=$log.$i exec "$window" >/dev/null 2>&1) & pid=$!
    for ((w = 0; w < 100; w++)); do grep -q painted "$log.$i" 2>/dev/null && break; sleep 0.1; done
    starts+=("$(awk '$1 == "start" {s = $2} $1 == "painted" && !p {p = $2} END {printf "%.1f", (p - s) * 1000}' "$log.$i")")
    wid=$(xdotool search --sync --onlyvisible --name ' - lumo$' | head -1)
    xdotool windowfocus --sync "$wid"
    if (( i < 9 )); then quit_window; fi
  done
  xclip -selection clipboard -i "$text"
  for ((p = 0; p < 20; p++)); do
    xdotool key ctrl+v
    for ((w = 0; w < 50; w++)); do
      (( $(grep -c painted "$log.9") > p + 1 )) && break; sleep 0.1
    done
  done
  quit_window
  printf '%s\n' "${starts[@]}" | sort -n | awk '{v[NR] = $1} END {printf "%-24s median %7.1f ms  (%d starts)\n", "window start", v[int((NR + 1) / 2)], NR}'
  pastes=$(awk '$1 == "paste" {s = $2} $1 == "painted" && s {printf "%.0f\n", ($2 - s) * 1000; s = 0}' "$log.9")
  sort -n <<<"$pastes" | awk -v each="$(tr '\n' ' ' <<<"$pastes")" '{v[NR] = $1}
    END {printf "%-24s median %7.1f ms  (in order: %s)\n", "window paste", v[int((NR + 1) / 2)], each}'
else
  echo "window rows left out: it needs the lumo program, Xvfb, xdotool and xclip"
fi
