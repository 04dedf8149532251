#!/usr/bin/env bash
# Renders packaging/icons/tovu-SIZE.png from resources/tovu.svg (needs
# qt6-svg-dev). Commit the PNGs afterwards.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -std=c++17 -fPIC render_icons.cpp $(pkg-config --cflags --libs Qt6Gui Qt6Svg) -o "$work/render_icons"
QT_QPA_PLATFORM=offscreen "$work/render_icons" ../../resources/tovu.svg .
ls -l tovu-*.png
