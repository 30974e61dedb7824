#!/usr/bin/env bash
# Builds the static libraries the player needs that Debian ships only as shared objects, or ships
# linked against far more than the player uses: SDL2 (which then loads X11, Wayland, ALSA,
# PulseAudio and PipeWire at run time from the desktop), SDL2_mixer with only its built-in
# decoders, and wavpack. Each comes from Debian's source package of the version installed here,
# with Debian's patches, and goes into one prefix that the CMake build finds by itself.
# A library whose version is already built is left alone, so a second run does nothing.
# PAVONA_STATIC_PREFIX picks the prefix (default: build-deps/prefix in the checkout).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
prefix=${PAVONA_STATIC_PREFIX:-$root/build-deps/prefix}
work=$root/build-deps/src
jobs=$(nproc)

# installed-version binary-package -> the source version it was built from
source_version() {
  dpkg-query -W -f='${source:Version}' "$1"
}

# build source-package binary-package configure-options...
build() {
  local src=$1 bin=$2; shift 2
  local version stamp log dir
  version=$(source_version "$bin")
  # The stamp names the version and the options, so that changing either rebuilds.
  stamp=$prefix/.built-$src-$version-$(printf '%s\n' "$@" | md5sum | cut -c1-8)
  [ -f "$stamp" ] && return 0
  echo "build-static-deps: building $src $version"
  mkdir -p "$work" "$prefix"
  log=$work/$src.log
  dir=$work/$src-$version
  # Chained with &&: errexit does not apply inside a command followed by ||.
  (
    cd "$work" &&
    rm -rf "$dir" "$dir.build" &&
    apt-get source --download-only -qq "$src=$version" >"$log" 2>&1 &&
    # apt-get names the folder after the upstream version; extract to a known one instead.
    dpkg-source -x "${src}_${version#*:}.dsc" "$dir" >>"$log" 2>&1 &&
    cmake -S "$dir" -B "$dir.build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DBUILD_SHARED_LIBS=OFF "$@" >>"$log" 2>&1 &&
    cmake --build "$dir.build" -j"$jobs" >>"$log" 2>&1 &&
    cmake --install "$dir.build" >>"$log" 2>&1 &&
    rm -rf "$dir" "$dir.build"
  ) || { tail -n 40 "$log" >&2; echo "build-static-deps: $src failed; see $log" >&2; exit 1; }
  rm -f "$prefix"/.built-"$src"-[0-9]*
  touch "$stamp"
}

# The desktop's window, input and sound libraries are loaded at run time, each only when present;
# those the player never needs (joystick over libusb, the old sound servers) are left out.
build libsdl2 libsdl2-2.0-0 \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_STATIC_PIC=ON -DSDL_TEST=OFF -DSDL_RPATH=OFF \
  -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON \
  -DSDL_WAYLAND_LIBDECOR_SHARED=ON -DSDL_KMSDRM_SHARED=ON \
  -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON -DSDL_PULSEAUDIO=ON -DSDL_PULSEAUDIO_SHARED=ON \
  -DSDL_PIPEWIRE=ON -DSDL_PIPEWIRE_SHARED=ON -DSDL_LIBSAMPLERATE_SHARED=ON \
  -DSDL_JACK=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF -DSDL_NAS=OFF -DSDL_SNDIO=OFF \
  -DSDL_HIDAPI_LIBUSB=OFF

# Only the decoders built into SDL2_mixer itself: WAV, Ogg Vorbis (stb_vorbis), FLAC (dr_flac),
# MP3 (dr_mp3).
build libsdl2-mixer libsdl2-mixer-2.0-0 \
  -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_VORBIS=STB \
  -DSDL2MIXER_FLAC=ON -DSDL2MIXER_FLAC_DRFLAC=ON -DSDL2MIXER_FLAC_LIBFLAC=OFF \
  -DSDL2MIXER_MP3=ON -DSDL2MIXER_MP3_DRMP3=ON -DSDL2MIXER_MP3_MPG123=OFF \
  -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF

build wavpack libwavpack1 \
  -DWAVPACK_BUILD_PROGRAMS=OFF -DBUILD_TESTING=OFF -DWAVPACK_ENABLE_LIBCRYPTO=OFF \
  -DWAVPACK_INSTALL_DOCS=OFF -DWAVPACK_BUILD_DOCS=OFF -DWAVPACK_INSTALL_CMAKE_MODULE=OFF
