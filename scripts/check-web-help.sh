#!/usr/bin/env bash
# Checks a converted project's browser help in headless Chromium: every
# contents entry loads its page, every popup link opens a box that Esc closes,
# no console error, no failed request (see tests/web/browser/check-web-help.mjs).
#
#   scripts/check-web-help.sh OUTDIR/web [--http]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/browser-driver.sh"
exec node "$root/tests/web/browser/check-web-help.mjs" "$@"
