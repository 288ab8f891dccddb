#!/usr/bin/env bash
# Installs the system Chromium and node when missing, and the browser tests'
# driver (puppeteer-core, which drives that Chromium) from
# tests/web/browser/package-lock.json when that changed since the last
# install. It downloads no browser of its own.
set -euo pipefail
"$(dirname "$0")/setup.sh" --browser
cd "$(dirname "$0")/../tests/web/browser"
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
