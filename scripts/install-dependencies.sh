#!/bin/sh
# Installs every Debian package the build and the tests need. Safe to run again.
set -eu
packages="build-essential cmake ninja-build pkg-config git clang-format
  libsqlite3-dev sqlite3 libplist-dev libutf8proc-dev libsimdjson-dev nlohmann-json3-dev libicu-dev
  libcurl4-openssl-dev libssl-dev libcpp-httplib-dev zlib1g-dev
  libgtest-dev curl
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins qt6-image-formats-plugins
  libgl-dev libegl-dev libxkbcommon-dev fonts-dejavu-core fonts-noto-color-emoji fonts-noto-cjk
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  dbus dbus-bin xvfb xauth x11-apps x11-utils imagemagick"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
