#!/bin/sh
# Installs the build into a temporary prefix and checks that lumo arrives as a
# desktop program: the programs, the desktop entry, the ".lum" MIME type and
# the icons, and nothing else. Validators are used where they are installed.
# Usage: install_test.sh CMAKE BUILD_DIR BINDIR DATADIR [PROGRAM...]
set -u

cmake_command=$1
build_dir=$2
bindir=$3
datadir=$4
shift 4

work=$(mktemp -d "${TMPDIR:-/tmp}/lumo-install.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

if ! "$cmake_command" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

expected="$work/expected.txt"
: >"$expected"
expect() {
  echo "$1" >>"$expected"
  [ -f "$prefix/$1" ] || fail "missing $1"
}

for program in "$@"; do
  expect "$bindir/$program"
  [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not executable"
done

desktop="$datadir/applications/lumo.desktop"
expect "$desktop"
for line in 'Type=Application' 'Name=lumo' 'Exec=lumo %f' 'Icon=lumo' \
  'MimeType=application/x-lumo;'; do
  grep -qxF "$line" "$prefix/$desktop" || fail "$desktop lacks '$line'"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate $desktop"
else
  echo "note: desktop-file-validate not installed, desktop entry not validated"
fi

mime="$datadir/mime/packages/lumo.xml"
expect "$mime"
if command -v xmllint >/dev/null 2>&1; then
  xmllint --noout "$prefix/$mime" || fail "xmllint $mime"
else
  echo "note: xmllint not installed, MIME package not checked as XML"
fi
# When the install compiled the MIME database, the type must be in it by name.
if [ -f "$prefix/$datadir/mime/globs2" ]; then
  grep -q ':application/x-lumo:\*\.lum$' "$prefix/$datadir/mime/globs2" ||
    fail "*.lum is not in the compiled MIME globs"
  grep -q '<comment>Lumo Document</comment>' "$prefix/$datadir/mime/application/x-lumo.xml" ||
    fail "the compiled MIME type lacks its comment"
  grep -q '^application/x-lumo:application-x-lumo$' "$prefix/$datadir/mime/icons" ||
    fail "the compiled MIME type lacks its icon"
else
  grep -q '<mime-type type="application/x-lumo">' "$prefix/$mime" || fail "$mime lacks the type"
  grep -q '<glob pattern="\*\.lum"/>' "$prefix/$mime" || fail "$mime lacks the glob"
  echo "note: update-mime-database not installed, MIME database not compiled"
fi

# A PNG's width and height are the big-endian words at bytes 16 and 20.
png_size() {
  od -An -tu1 -j16 -N8 "$1" |
    awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }'
}
theme="$datadir/icons/hicolor"
for size in 16 24 32 48 64 128 256; do
  for icon in "apps/lumo.png" "mimetypes/application-x-lumo.png"; do
    file="$theme/${size}x${size}/$icon"
    expect "$file"
    if [ -f "$prefix/$file" ]; then
      actual=$(png_size "$prefix/$file")
      [ "$actual" = "${size}x${size}" ] || fail "$file is $actual"
    fi
  done
done
for icon in "apps/lumo.svg" "mimetypes/application-x-lumo.svg"; do
  file="$theme/scalable/$icon"
  expect "$file"
  if command -v xmllint >/dev/null 2>&1 && [ -f "$prefix/$file" ]; then
    xmllint --noout "$prefix/$file" || fail "xmllint $file"
  fi
done

# Nothing else may be installed, apart from the databases compiled from the above.
(cd "$prefix" && find . -type f | sed 's|^\./||') |
  awk -v mime="$datadir/mime/" -v packages="$datadir/mime/packages/" \
    -v cache="$datadir/applications/mimeinfo.cache" \
    '!(index($0, mime) == 1 && index($0, packages) != 1) && $0 != cache' |
  sort >"$work/installed.txt"
sort "$expected" | comm -13 - "$work/installed.txt" >"$work/extra.txt"
if [ -s "$work/extra.txt" ]; then
  fail "unexpected files installed:"
  cat "$work/extra.txt"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "installed and checked in a temporary prefix"
