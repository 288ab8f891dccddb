#!/usr/bin/env bash
# Screenshots of the window and of its about box on a virtual X server, to
# look at the Japanese captions as a user would see them.
# Needs (Debian): xvfb xdotool imagemagick openbox; and build/release/quorvex
# (./run.sh builds it). Usage: scripts/screenshots.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-/tmp/quorvex-screenshots}")
mkdir -p "$out"
export OUT="$out"
xvfb-run -a -s "-screen 0 480x320x24" bash -c '
  set -euo pipefail
  openbox >/dev/null 2>&1 &
  sleep 1
  ./build/release/quorvex &
  app=$!
  window=$(xdotool search --sync --onlyvisible --name "^Quorvex$" | head -n 1)
  xdotool mousemove 0 0  # no button lit up under the mouse
  sleep 1
  import -frame -window "$window" "$OUT/window.png"
  # The version button is the third of the tool bar; the box opens beside the mouse.
  xdotool mousemove --window "$window" 136 18 click 1
  about=$(xdotool search --sync --onlyvisible --name "^バージョン情報$" | head -n 1)
  sleep 1
  import -frame -window "$about" "$OUT/about.png"
  kill "$app"
'
echo "$out/window.png"
echo "$out/about.png"
