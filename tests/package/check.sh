#!/usr/bin/env bash
# Debian's own checks on the built package, then the packaged player started the way its desktop entry
# starts it, playing the demo under Xvfb and openbox:
#   check.sh BUILD_DIR        (after `make package`, which leaves the .deb in BUILD_DIR)
# Written for any program the package holds: each one in /usr/bin or /usr/games needs its man page. The
# extracted tree stands for an install moved elsewhere.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(realpath "$1")
OUT=$BUILD/package-check
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

step() { echo "== $*"; }
fail() {
    echo "check.sh: $*" >&2
    exit 1
}

debs=("$BUILD"/przygoda_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one przygoda_*.deb in $BUILD"
DEB=${debs[0]}
packages=("$DEB" "$BUILD"/przygoda-dbgsym_*.ddeb)

step "lintian ${packages[*]##*/}"
# As root lintian only adds a warning about itself on stderr; every finding goes to stdout.
lintian --fail-on error,warning "${packages[@]}" 2>/dev/null | tee "$WORK/lintian.txt" ||
    fail "lintian failed"
! grep -q '^[EW]:' "$WORK/lintian.txt" || fail "lintian reports errors or warnings"

step "files in their places"
dpkg-deb -c "$DEB" | awk '{ print $6 }' | sed 's|^\./|/|' >"$WORK/files.txt"
for path in /usr/games/przygoda /usr/share/applications/przygoda.desktop \
    /usr/share/metainfo/org.example.przygoda.metainfo.xml /usr/share/mime/packages/przygoda.xml \
    /usr/share/icons/hicolor/scalable/apps/przygoda.svg \
    /usr/share/icons/hicolor/scalable/mimetypes/application-x-przygoda-scenario.svg \
    /usr/share/man/man6/przygoda.6.gz /usr/share/man/pl/man1/przygoda-kit.1.gz /usr/share/doc/przygoda/copyright /usr/share/doc/przygoda/changelog.gz \
    /usr/share/przygoda/Przygoda/Przygoda.Kro /usr/share/przygoda/Przygoda/Przygoda.lis; do
    grep -qxF "$path" "$WORK/files.txt" || fail "the package lacks $path"
done
! grep -v '^/$\|^/usr/' "$WORK/files.txt" || fail "files outside /usr"
programs=$(grep -E '^/usr/(bin|games|sbin)/[^/]+$' "$WORK/files.txt" || true)
for program in $programs; do
    name=${program##*/}
    grep -qE "^/usr/share/man/man[168]/$name\.[168]\.gz$" "$WORK/files.txt" || fail "no man page for $program"
    echo "$program with its man page"
done

step "dependencies"
dpkg-deb -f "$DEB" Depends Recommends
depends=$(dpkg-deb -f "$DEB" Depends | tr -d ' ' | tr ',' '\n' | sed 's/(.*//')
RUNTIME=(libsdl2-mixer-2.0-0 qt6-qpa-plugins fonts-liberation2 timgm6mb-soundfont libqt6widgets6 libc6)
for needed in "${RUNTIME[@]}"; do
    grep -qxF "$needed" <<<"$depends" || fail "Depends lacks $needed"
done
grep -qw graphviz <<<"$(dpkg-deb -f "$DEB" Depends Recommends)" || fail "graphviz is not declared"
for needed in hunspell-pl libhunspell-1.7-0; do
    grep -qw "$needed" <<<"$(dpkg-deb -f "$DEB" Depends Recommends)" || fail "$needed is not declared"
done
# Everything declared can be installed here from the configured archives.
apt-get install --simulate -q "$DEB" >"$WORK/apt.txt" 2>&1 || { cat "$WORK/apt.txt"; fail "apt cannot install $DEB"; }
grep -E '^Inst ' "$WORK/apt.txt" || true
# And on a machine with nothing installed, without recommended packages: the player's needs still come.
if compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null; then
    : >"$WORK/empty-status"
    apt-get install --simulate -q --no-install-recommends -o Dir::State::status="$WORK/empty-status" "$DEB" \
        >"$WORK/fresh.txt" 2>&1 || { cat "$WORK/fresh.txt"; fail "apt cannot install $DEB on an empty system"; }
    for needed in "${RUNTIME[@]}" przygoda; do
        grep -q "^Inst $needed " "$WORK/fresh.txt" || fail "an empty system would not get $needed"
    done
    echo "an empty system gets $(grep -c '^Inst ' "$WORK/fresh.txt") packages, the player's needs among them"
else
    echo "no package lists (apt-get update): the empty-system installation is not simulated"
fi

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT"

step "desktop entry, metainfo and MIME type"
desktop=$ROOT/usr/share/applications/przygoda.desktop
report=$(desktop-file-validate "$desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop-file-validate: $report"
# No network in CI: the published screenshot and home page addresses are not fetched.
appstreamcli validate --pedantic --no-net "$ROOT/usr/share/metainfo/org.example.przygoda.metainfo.xml" ||
    fail "appstreamcli validate"
grep -q '<mediatype>application/x-przygoda-scenario</mediatype>' \
    "$ROOT/usr/share/metainfo/org.example.przygoda.metainfo.xml" || fail "the metainfo does not list the type"
editor_desktop=$ROOT/usr/share/applications/przygoda-edytor.desktop
report=$(desktop-file-validate "$editor_desktop" 2>&1) || true
[ -z "$report" ] || fail "desktop-file-validate (editor): $report"
grep -qx 'MimeType=application/x-przygoda-scenario;' "$editor_desktop" || fail "the editor is not offered for .Kro"
grep -qx 'Exec=przygoda-edytor %f' "$editor_desktop" || fail "the editor's entry does not pass the file"
appstreamcli validate --pedantic --no-net "$ROOT/usr/share/metainfo/org.example.przygoda.edytor.metainfo.xml" ||
    fail "appstreamcli validate (editor)"
for path in /usr/bin/przygoda-edytor /usr/share/icons/hicolor/scalable/apps/przygoda-edytor.svg; do
    [ -e "$ROOT$path" ] || fail "the package lacks $path"
done
xmllint --noout "$ROOT/usr/share/mime/packages/przygoda.xml" || fail "the MIME description is not well-formed"
mkdir -p "$WORK/mime/packages"
cp "$ROOT/usr/share/mime/packages/przygoda.xml" "$WORK/mime/packages/"
report=$(XDG_DATA_DIRS=$WORK PKGSYSTEM_ENABLE_FSYNC=0 update-mime-database "$WORK/mime" 2>&1) || fail "update-mime-database: $report"
[ -z "$report" ] || fail "update-mime-database: $report"
# A glob without the "cs" flag matches in any letter case.
grep -qx '50:application/x-przygoda-scenario:\*\.kro' "$WORK/mime/globs2" ||
    fail "no case-insensitive *.kro glob: $(cat "$WORK/mime/globs2")"
type_file=$WORK/mime/application/x-przygoda-scenario.xml
grep -q '<comment xml:lang="pl">' "$type_file" && grep -q '<comment>' "$type_file" &&
    grep -q '<icon name="application-x-przygoda-scenario"' "$type_file" ||
    fail "the MIME type lacks its comments or its icon"

step "the player as the desktop menu starts it"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
path_line=$(sed -n 's/^Path=//p' "$desktop")
[ "$exec_line" = /usr/games/przygoda ] || fail "Exec=$exec_line"
[ "$path_line" = /usr/share/przygoda/Przygoda ] || fail "Path=$path_line"
bash "$SOURCE/tests/e2e/with_xvfb.sh" \
    bash "$SOURCE/tests/e2e/play_demo.sh" "$ROOT$exec_line" "$ROOT$path_line" "$OUT/screenshots" ||
    fail "the packaged player did not play the demo"

step "the player started elsewhere, the demo reached through the dialog's side bar"
mkdir -p "$WORK/elsewhere"
E2E_START_DIR=$WORK/elsewhere bash "$SOURCE/tests/e2e/with_xvfb.sh" \
    bash "$SOURCE/tests/e2e/play_demo.sh" "$ROOT$exec_line" "$ROOT$path_line" "$OUT/side-bar" ||
    fail "the packaged player's side bar did not lead to the demo"

step "passed"
