#!/usr/bin/env bash
# Builds the Debian package and checks it as an installation would see it: the desktop entry,
# the AppStream metadata, the manual pages, the file type of scenarios and the package pass
# their validators, everything the entry names is in the package, and both programs unpacked
# from it run, the batch command on the installed examples.
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
lintian --fail-on error,warning "$deb"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  mandoc -Tlint "$page"
  problems=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$problems" ] || { echo "$page: $problems" >&2; exit 1; }
done
# The scenario files' type, read as the desktop's database reads it.
mkdir -p "$scratch/mime"
cp -r "$root/usr/share/mime/packages" "$scratch/mime/"
XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime"
grep -q 'application/x-sales-forecast-scenario' "$scratch/mime/globs2" ||
  { echo "the scenario type is not in the MIME database" >&2; exit 1; }
grep -qx 'MimeType=application/x-sales-forecast-scenario;' "$entry" ||
  { echo "the desktop entry does not open scenario files" >&2; exit 1; }

icon=$(sed -n 's/^Icon=//p' "$entry")
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
for file in "usr/share/icons/hicolor/scalable/apps/$icon.svg" "usr/bin/$program" \
    usr/bin/sales-forecast-cli usr/share/man/man1/sales-forecast.1.gz \
    usr/share/man/man1/sales-forecast-cli.1.gz usr/share/doc/sales-forecast/copyright \
    usr/share/doc/sales-forecast/README.md usr/share/doc/sales-forecast/examples/small.sfscenario \
    usr/share/doc/sales-forecast/examples/sales.csv; do
  [ -f "$root/$file" ] || { echo "missing from the package: /$file" >&2; exit 1; }
done

cli=$root/usr/bin/sales-forecast-cli
"$cli" --version
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/sales-forecast" --version
mkdir "$scratch/run"
examples=$root/usr/share/doc/sales-forecast/examples
(cd "$scratch/run" && "$cli" --scenario "$examples/small.sfscenario" &&
  grep -q '^Total Sales: ' out.txt)
(cd "$scratch/run" && "$cli" --demand "$examples/sales.csv" --init-periods 4 \
  --alpha-beta-periods 6 --warm-up 0 --horizon 1 --tau 0.5 --quiet)
echo "The package passed its checks."
