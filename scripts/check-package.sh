#!/usr/bin/env bash
# Builds the Debian package and checks it as an installation would see it: the desktop entry,
# the AppStream metadata and the package pass their validators, everything the entry names is
# in the package, and both programs unpacked from it run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
make package BUILD_DIR="$build"
deb=$(ls -t "$build"/sales-forecast_*.deb | head -n 1)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"

echo "== $deb"
entry=$(ls "$root"/usr/share/applications/*.desktop)
desktop-file-validate "$entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
lintian --fail-on error "$deb"

icon=$(sed -n 's/^Icon=//p' "$entry")
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
for file in "usr/share/icons/hicolor/scalable/apps/$icon.svg" "usr/bin/$program" \
    usr/bin/sales-forecast-cli usr/share/man/man1/sales-forecast.1.gz \
    usr/share/man/man1/sales-forecast-cli.1.gz usr/share/doc/sales-forecast/copyright; do
  [ -f "$root/$file" ] || { echo "missing from the package: /$file" >&2; exit 1; }
done

cli=$root/usr/bin/sales-forecast-cli
"$cli" --version
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/sales-forecast" --version
mkdir "$scratch/run"
(cd "$scratch/run" && "$cli" --example && grep -q '^Total Sales: ' out.txt)
echo "The package passed its checks."
