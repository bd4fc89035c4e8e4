#!/usr/bin/env bash
# Runs lumo-render over the inputs of `cases` and compares what it prints with
# --layout and the bitmap it writes with what `expected` records, byte for byte
# (as SHA-256 sums). `corpus.sh record LUMO_RENDER` rewrites `expected`.
set -euo pipefail
mode=$1
render=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sum() { sha256sum | cut -c1-64; }

results=$work/results
: >"$results"
while IFS=$'\t' read -r name input args; do
  [[ -z $name || $name == \#* ]] && continue
  stdin=/dev/null
  [[ $input != - ]] && stdin=$here/inputs/$input
  read -r -a argv <<<"$args"
  status=0
  layout=$(cd "$here/inputs" && "$render" --layout "${argv[@]}" <"$stdin" | sum) || status=$?
  mkdir "$work/out"
  written=0
  (cd "$here/inputs" && "$render" -o "$work/out" "${argv[@]}" <"$stdin" >/dev/null 2>&1) || written=$?
  bitmap=none
  [[ -f $work/out/lumo000.bmp ]] && bitmap=$(sum <"$work/out/lumo000.bmp")
  rm -rf "$work/out"
  printf '%s %s %s %s %s\n' "$name" "$status" "$layout" "$written" "$bitmap" >>"$results"
done <"$here/cases"

if [[ $mode == record ]]; then
  cp "$results" "$here/expected"
  exit 0
fi
if ! diff -u "$here/expected" "$results"; then
  echo "corpus: lumo-render's output changed (lines above: expected, then found)" >&2
  exit 1
fi
echo "corpus: $(wc -l <"$results") cases unchanged"
