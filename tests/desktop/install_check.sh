#!/bin/sh
# Installs the build into a temporary DESTDIR and checks what a user gets: every file in its
# place, the launcher entry and the AppStream data valid, and the installed program, started
# through its command, finding its 50 modules and ending on a signal.
# Usage: install_check.sh BUILD_DIR PROGRAM_TEST
set -eu
build=$1
program_test=$2
root=$(mktemp -d)
lists=$(mktemp -d)
trap 'rm -rf "$root" "$lists"' EXIT
id=org.fenlark.hollowtide
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
p="$root/usr"

[ -x "$p/lib/hollowtide/hollowtide" ] || fail "program missing from lib/hollowtide"
[ -L "$p/bin/hollowtide" ] || fail "bin/hollowtide is not a link"
[ "$(readlink "$p/bin/hollowtide")" = "../lib/hollowtide/hollowtide" ] ||
    fail "bin/hollowtide links to $(readlink "$p/bin/hollowtide")"
[ "$(ls "$p/lib/hollowtide/data" | wc -l)" -eq 50 ] || fail "data/ does not hold 50 modules"
(cd "$build/data" && ls) >"$lists/built.txt"
(cd "$p/lib/hollowtide/data" && ls) >"$lists/installed.txt"
cmp -s "$lists/built.txt" "$lists/installed.txt" || fail "data/ differs from the built pack"

for file in share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/hollowtide.1.gz share/doc/hollowtide/copyright \
    share/doc/hollowtide/changelog.gz; do
    [ -s "$p/$file" ] || fail "$file missing"
done
for size in 16 24 32 48 64 128 256; do
    icon="$p/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -s "$icon" ] || { fail "no ${size}x${size} icon"; continue; }
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$icon" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done
# Nothing of the tests, benchmarks or generators.
unexpected=$(cd "$root" && find . -type f -o -type l | grep -Ev \
    "^\./usr/(bin/hollowtide|lib/hollowtide/(hollowtide|data/[^/]+)|share/(applications|metainfo|man/man1|doc/hollowtide|icons/hicolor/[0-9x]+/apps)/[^/]+)$" || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"

desktop-file-validate "$p/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$p/share/metainfo/$id.metainfo.xml" ||
    fail "appstreamcli validate"

# The installed program, through its command.
HOLLOWTIDE_PROGRAM="$p/bin/hollowtide" "$program_test" || fail "the installed program"

if [ "$failures" -ne 0 ]; then
    echo "install check: $failures failed"
    exit 1
fi
echo "install check: every file in place, validators clean, the installed program runs"
