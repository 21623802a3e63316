#!/usr/bin/env bash
# Draws the program's logo, ORV.jpg: a navy tile with the letter O and a blue runoff wave.
# Needs ImageMagick (convert). Usage: resources/make-logo.sh [output.jpg]
set -euo pipefail
out=${1:-"$(dirname "$0")/ORV.jpg"}
convert -size 65x65 xc:'#1f3a5f' \
  -fill none -stroke white -strokewidth 5 -draw 'circle 32,26 32,8' \
  -fill '#4aa3df' -stroke none \
  -draw 'path "M 0,52 C 12,42 20,42 32,50 C 44,58 52,58 65,48 L 65,65 L 0,65 Z"' \
  -strip -quality 92 "$out"
