#!/bin/sh
# Installs the build into a temporary prefix and checks that lumo arrives as a
# desktop program: programs, desktop entry, ".lum" MIME type, icons, nothing else.
# Usage: install_test.sh CMAKE BUILD_DIR BINDIR DATADIR [PROGRAM...]
set -u
cmake_command=$1 build_dir=$2 bindir=$3 datadir=$4
shift 4
work=$(mktemp -d "${TMPDIR:-/tmp}/lumo-install.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix" failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { echo "$1" >>"$work/expected"; [ -f "$prefix/$1" ] || fail "missing $1"; }
"$cmake_command" --install "$build_dir" --prefix "$prefix" >"$work/log" 2>&1 ||
  { cat "$work/log"; echo "FAIL: cmake --install"; exit 1; }
: >"$work/expected"

for program in "$@"; do
  expect "$bindir/$program"
  [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not executable"
done
# Without a display the window program still answers --help and --version,
# in Japanese under a Japanese locale.
if [ -x "$prefix/$bindir/lumo" ]; then
  headless="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
  [ "$($headless "$prefix/$bindir/lumo" --version)" = "lumo $("$prefix/$bindir/lumo-render" --version |
    cut -d' ' -f2)" ] || fail "lumo --version without a display"
  $headless LANG=C.UTF-8 "$prefix/$bindir/lumo" --help | grep -q 'Settings file to open' ||
    fail "lumo --help without a display"
  # The desktop entry starts it so.
  $headless LANG=C.UTF-8 "$prefix/$bindir/lumo" --help | grep -q -- '--desktop' ||
    fail "lumo --help lacks --desktop"
  $headless LANG=ja_JP.UTF-8 "$prefix/$bindir/lumo" -h | grep -q '開く設定ﾌｧｲﾙ' ||
    fail "lumo --help in Japanese"
fi
desktop="$datadir/applications/lumo.desktop" mime="$datadir/mime"
expect "$desktop"
for line in Type=Application Name=lumo 'Exec=lumo --desktop %f' Icon=lumo 'MimeType=application/x-lumo;'; do
  grep -qxF "$line" "$prefix/$desktop" || fail "$desktop lacks '$line'"
done
desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate $desktop"
expect "$mime/packages/lumo.xml"
xmllint --noout "$prefix/$mime/packages/lumo.xml" || fail "xmllint lumo.xml"
# The compiled MIME database knows the type by its glob, comment and icon.
grep -q ':application/x-lumo:\*\.lum$' "$prefix/$mime/globs2" || fail "*.lum not in globs2"
grep -q '<comment>Lumo Document</comment>' "$prefix/$mime/application/x-lumo.xml" ||
  fail "the MIME type lacks its comment"
grep -q '^application/x-lumo:application-x-lumo$' "$prefix/$mime/icons" || fail "no MIME icon"

theme="$datadir/icons/hicolor"
for size in 16 24 32 48 64 128 256; do
  for icon in apps/lumo.png mimetypes/application-x-lumo.png; do
    file="$theme/${size}x$size/$icon"
    expect "$file"
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    actual=$(od -An -tu1 -j16 -N8 "$prefix/$file" 2>/dev/null |
      awk '{ printf "%dx%d", (($1*256+$2)*256+$3)*256+$4, (($5*256+$6)*256+$7)*256+$8 }')
    [ "$actual" = "${size}x$size" ] || fail "$file is '$actual'"
  done
done
for icon in apps/lumo.svg mimetypes/application-x-lumo.svg; do
  expect "$theme/scalable/$icon"
  xmllint --noout "$prefix/$theme/scalable/$icon" || fail "xmllint $icon"
done

# Nothing else, apart from the MIME database compiled from the package.
(cd "$prefix" && find . -type f | sed 's|^\./||') | grep -v "^$mime/[^p]" |
  grep -vxF "$datadir/applications/mimeinfo.cache" | sort >"$work/installed"
sort "$work/expected" | comm -13 - "$work/installed" >"$work/extra"
[ -s "$work/extra" ] && fail "unexpected files installed: $(cat "$work/extra")"
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "installed and checked in a temporary prefix"
