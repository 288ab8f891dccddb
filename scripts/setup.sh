#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the sample need,
# but only those that are missing; apt-get update runs only when something is.
# With --browser also what the browser and viewer tests need (./test.sh asks for it).
# chmcmd (fp-utils) is not needed: --chm uses our own writer; install fp-utils
# by hand only to compare with it (--chm-compiler chmcmd, bench/chm_write).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  zlib1g-dev                       # deflate/inflate and CRC-32 of PNG
  libgtest-dev                     # unit tests
  libpng-dev pngcheck              # test oracles and benchmark peer, never linked into the product
  libchm-bin libchm-dev            # chmlib: reads our compiled help files back in tests (never linked into the product)
  qt6-base-dev                     # the window
  libcairo2-dev                    # metafile playback
  libfontconfig-dev                # metafile text: font lookup (cairo-ft)
  fonts-ipafont-gothic             # a Japanese font for the window and metafile text
)
if [ "${1:-}" = "--browser" ]; then
  packages+=(chromium)             # browser tests of the --web output (driven through tests/web/browser)
  packages+=(xchm xvfb)            # the compiled help's context ids opened in a viewer on a virtual display
  # node and npm run the browser tests' driver; a node installed otherwise is used as it is.
  command -v node >/dev/null || packages+=(nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
