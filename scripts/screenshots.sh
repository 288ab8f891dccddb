#!/usr/bin/env bash
# Screenshots of the window on a virtual X server, driven as a user would
# drive it, to look at the Japanese captions and at a whole conversion:
#   window.png    the window as it opens
#   about.png     the about box
#   progress.png  a conversion under way (of a generated project big enough to
#                 photograph), which is then cancelled with the cancel button
#   result.png    the bundled sample converted through the picker and the folder
#                 dialog with the browser help and the .chm: its warnings listed,
#                 the buttons that open the results live
# The window's settings go to a temporary folder, not the user's.
# Needs (Debian): xvfb xdotool imagemagick openbox python3; and
# build/release/quorvex (./run.sh builds it). Usage: scripts/screenshots.sh [OUTDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-/tmp/quorvex-screenshots}")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 scripts/make-busy-project.py "$work/busy"
mkdir -p "$work/busy-out" "$work/sample-out" "$work/config"
export OUT="$out" WORK="$work" SAMPLE="$PWD/examples/sample/sample.hpj" XDG_CONFIG_HOME="$work/config"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  fail() { echo "screenshots: $*" >&2; exit 1; }
  openbox >/dev/null 2>&1 &
  sleep 1
  ./build/release/quorvex &
  app=$!
  window=$(xdotool search --sync --onlyvisible --name "^Quorvex$" | head -n 1)
  xdotool mousemove 0 0  # no button lit up under the mouse
  sleep 1
  import -frame -window "$window" "$OUT/window.png"

  # The version button is the third of the tool bar; the box opens beside the
  # mouse, and a click on it closes it.
  xdotool mousemove --window "$window" 136 18 click 1
  about=$(xdotool search --sync --onlyvisible --name "^バージョン情報$" | head -n 1)
  sleep 1
  import -frame -window "$about" "$OUT/about.png"
  xdotool mousemove --window "$about" 30 30 click 1
  sleep 1

  # The convert button, the open dialog (the file name typed into its name
  # field), then the folder dialog (the folder typed likewise).
  convert() {
    xdotool mousemove --window "$window" 84 18 click 1
    for _ in $(seq 50); do
      picker=$(xdotool getactivewindow)
      [ "$picker" != "$window" ] && break
      sleep 0.2
    done
    [ "$picker" != "$window" ] || fail "the open dialog did not come up"
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 2 "$1"
    xdotool key Return
    folders=$(xdotool search --sync --onlyvisible --name "^作成先の選択$" | head -n 1)
    sleep 0.5
    xdotool key ctrl+a
    xdotool type --delay 2 "$2"
    xdotool key Return
  }

  # The window is fixed in size; the cancel button ends its progress row.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  convert "$WORK/busy/busy.hpj" "$WORK/busy-out"
  sleep 2
  xdotool mousemove 0 0
  import -frame -window "$window" "$OUT/progress.png"
  xdotool mousemove --window "$window" $((WIDTH - 30)) 163 click 1
  sleep 2
  [ ! -e "$WORK/busy-out/busy.hhp" ] || fail "the cancel button did not stop the conversion"
  [ -e "$WORK/busy-out/html/help.css" ] || fail "the conversion did not start"

  # Compiled help and browser help: the second and third check boxes.
  xdotool mousemove --window "$window" 14 96 click 1
  xdotool mousemove --window "$window" 14 116 click 1
  convert "$SAMPLE" "$WORK/sample-out"
  for _ in $(seq 100); do
    [ -e "$WORK/sample-out/sample.chm" ] && break
    sleep 0.2
  done
  [ -e "$WORK/sample-out/sample.chm" ] || fail "the sample was not converted"
  [ -e "$WORK/sample-out/web/index.html" ] || fail "the sample got no browser help"
  sleep 1
  xdotool mousemove 0 0
  import -frame -window "$window" "$OUT/result.png"
  kill "$app"
'
echo "$out/window.png"
echo "$out/about.png"
echo "$out/progress.png"
echo "$out/result.png"
