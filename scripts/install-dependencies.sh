#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
# With the argument "fuzz" also clang and its sanitizer and libFuzzer runtimes; with "package"
# what builds the Debian package and checks it.
set -eu
packages=(g++ make cmake libgtest-dev libbenchmark-dev qt6-base-dev xvfb xauth fonts-dejavu-core)
# locales: the sources from which the tests build a German locale of their own.
packages+=(libcsv-dev nlohmann-json3-dev locales)
packages+=(qt6-charts-dev libqt6opengl6-dev qt6-svg-dev)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = package ]; then
  packages+=(dpkg-dev file desktop-file-utils appstream lintian mandoc man-db shared-mime-info)
fi
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
