#!/usr/bin/env bash
# Runs lumo-render over the inputs of `cases` and compares what it prints with
# --layout and the files it writes in every format with what `expected`
# records, byte for byte (as SHA-256 sums; the PDF's creation date is fixed
# through SOURCE_DATE_EPOCH). `corpus.sh record LUMO_RENDER` rewrites `expected`.
set -euo pipefail
mode=$1
render=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sum() { sha256sum | cut -c1-64; }
export SOURCE_DATE_EPOCH=0

results=$work/results
: >"$results"
while IFS=$'\t' read -r name input args; do
  [[ -z $name || $name == \#* ]] && continue
  stdin=/dev/null
  [[ $input != - ]] && stdin=$here/inputs/$input
  read -r -a argv <<<"$args"
  status=0
  layout=$(cd "$here/inputs" && "$render" --layout "${argv[@]}" <"$stdin" 2>/dev/null | sum) || status=$?
  line="$name $status $layout"
  for format in bmp png pdf svg; do
    mkdir "$work/out"
    written=0
    (cd "$here/inputs" && "$render" -o "$work/out" --format $format "${argv[@]}" <"$stdin" \
      >/dev/null 2>&1) || written=$?
    file=none
    [[ -f $work/out/lumo000.$format ]] && file=$(sum <"$work/out/lumo000.$format")
    rm -rf "$work/out"
    line+=" $written $file"
  done
  printf '%s\n' "$line" >>"$results"
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
