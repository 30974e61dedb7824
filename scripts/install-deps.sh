#!/usr/bin/env bash
# Installs every Debian package that the build, the tests, the benchmarks and the demo need.
# Idempotent: when everything is present it prints nothing and installs nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  libsdl2-dev libsdl2-mixer-dev
  libpng-dev libjpeg62-turbo-dev libtiff-dev zlib1g-dev libbz2-dev liblzma-dev libwavpack-dev
  libfreetype-dev fonts-dejavu-core
  unicode-data
  xvfb xauth x11-utils xdotool imagemagick
  zip unzip 7zip wavpack sox man-db
  dpkg-dev ninja-build libpipewire-0.3-dev
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The static player builds SDL2, SDL2_mixer and wavpack from Debian's source packages
# (scripts/build-static-deps.sh), which needs deb-src entries for the suites already in use.
src_list=/etc/apt/sources.list.d/pavona-deb-src.sources
need_update=0
if [ ! -f "$src_list" ]; then
  $sudo tee "$src_list" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  [ "$need_update" -eq 1 ] && $sudo apt-get update -qq
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
