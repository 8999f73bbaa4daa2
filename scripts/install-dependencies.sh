#!/bin/sh
# Installs every Debian package the build and the tests need. Safe to run again.
set -eu
packages="build-essential cmake ninja-build pkg-config git clang-format
  libsqlite3-dev sqlite3 libplist-dev libutf8proc-dev libsimdjson-dev nlohmann-json3-dev
  libcurl4-openssl-dev libssl-dev libcpp-httplib-dev zlib1g-dev
  libgtest-dev curl"
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
