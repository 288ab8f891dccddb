#!/usr/bin/env bash
# Checks a converted project's browser help in headless Chromium: every
# contents entry whose page exists loads it, every link and keyword of the
# pages leads to a file that exists, every popup link opens a box that Esc
# closes, every title is found by each of its words, no console error, no
# failed request (see tests/web/browser/check-web-help.mjs).
#
#   scripts/check-web-help.sh OUTDIR/web [--http]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/browser-driver.sh"
exec node "$root/tests/web/browser/check-web-help.mjs" "$@"
