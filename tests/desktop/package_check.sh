#!/bin/sh
# Builds the Debian package from the build folder and checks it: lintian finds no error or
# warning, its dependencies come from the libraries it links, and it holds only the program.
# Usage: package_check.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
deb=$(ls "$out"/hollowtide_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Depends
failures=0
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6dbus6 libopenmpt0 libsdl2-2.0-0 libkissfft-float; do
    echo "$depends" | grep -q "$library" || { echo "FAIL: Depends lacks $library"; failures=$((failures + 1)); }
done
if dpkg-deb -c "$deb" | grep -Eq "test|bench|packgen|artgen"; then
    echo "FAIL: the package holds tests, benchmarks or generators"
    failures=$((failures + 1))
fi
lintian --fail-on error,warning "$deb" || { echo "FAIL: lintian"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] || exit 1
echo "package check: lintian clean, dependencies from the linked libraries"
