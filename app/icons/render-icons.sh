#!/bin/sh
# Renders the PNG icons from their SVG sources. The PNGs are kept in the
# repository, so building never needs this; run it after changing an SVG.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"

render() {  # source size output
  rsvg-convert --width "$2" --height "$2" --output "$3" "$1"
}

# Tool bar buttons, at 16 pixels and twice that for high-density screens.
for name in edit-paste zoom-fit adjust; do
  render "$name.svg" 16 "$name.png"
  render "$name.svg" 32 "$name@2x.png"
done

# The application: a simpler drawing up to 32 pixels, the full one above.
for size in 16 24 32; do render lumo-small.svg "$size" "lumo-$size.png"; done
for size in 48 64 128 256; do render lumo.svg "$size" "lumo-$size.png"; done

# The settings-file document.
for size in 16 24 32 48 64 128 256; do
  render lumo-document.svg "$size" "lumo-document-$size.png"
done
