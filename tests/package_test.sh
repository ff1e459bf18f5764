#!/usr/bin/env bash
# Makes the Debian package as a user does, with scripts/package, and checks it
# as Debian and a user's system see it: its files, Debian's own checker, the
# hardening, the manual page, both validators, the home page, what the
# packaged program says without a display, and that apt can install it.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "FAIL: $*" >&2; exit 1; }
log=$(scripts/package 2>&1) || fail "scripts/package: $log"
deb=$PWD/$(ls build/release/antcolony_*_*.deb) root=$(mktemp -d) share=usr/share
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/antcolony ./$share/applications/org.example.antcolony.desktop \
./$share/doc/antcolony/changelog.gz ./$share/doc/antcolony/copyright \
./$share/icons/hicolor/128x128/apps/antcolony.png ./$share/icons/hicolor/32x32/apps/antcolony.png \
./$share/icons/hicolor/64x64/apps/antcolony.png ./$share/man/man1/antcolony.1.gz \
./$share/metainfo/org.example.antcolony.metainfo.xml " ] || fail "files: $files"
ls build/release/antcolony-dbgsym_*_*.deb >/dev/null || fail "no debug symbols package"
# Debian's checker has nothing to say, however small (as root it says so
# first); it also names each linked library that Depends lacks.
said=$(lintian --pedantic -I -E "$deb" 2>&1 | grep -vx "running with root privileges is not recommended!" || true)
[ -z "$said" ] || fail "lintian: $said"
said=$(hardening-check "$root/usr/bin/antcolony" || true)
[ "$(grep -cE '^ (Position Independent Executable|Stack protected|Fortify Source functions|Read-only relocations|Immediate binding): yes' <<<"$said")" = 5 ] ||
    fail "hardening: $said"
said=$(LC_ALL=C man --warnings -l "$root/$share/man/man1/antcolony.1.gz" 2>&1 >/dev/null) && [ -z "$said" ] || fail "manual page: $said"
# The menu entry and the software-centre record draw no error, warning or
# hint, however a validator indents it; an entry that draws only a hint, and
# a tree without the entry the record launches, show that the checks see them.
desktop=$root/$share/applications/org.example.antcolony.desktop
entry_clean() { said=$(desktop-file-validate "$1" 2>&1) && [ -z "$said" ]; }
entry_clean "$desktop" || fail "desktop entry: $said"
sed 's/^Categories=.*/Categories=Math;/' "$desktop" >"$root/hinted.desktop"
! entry_clean "$root/hinted.desktop" || fail "a desktop entry's hint passed"
record_clean() {  # ROOT
    said=$(appstreamcli validate --no-net "$1/$share/metainfo/org.example.antcolony.metainfo.xml" 2>&1 &&
        appstreamcli validate-tree --no-net "$1" 2>&1) && ! grep -qE '^ *[EW][:-] ' <<<"$said"
}
record_clean "$root" || fail "software centre: $said"
mkdir "$root/broken" && cp -r "$root/usr" "$root/broken/" && rm "$root/broken/$share/applications/"*.desktop
! record_clean "$root/broken" || fail "a record launching a missing entry passed"
# The home page reaches the record and the package; one given goes through
# debian/rules to the package and to the record, with the window's picture.
grep -q '<url type="homepage">https://antcolony.example.org</url>' "$root/$share/metainfo/"*.xml || fail "record's home page"
[ "$(dpkg-deb -f "$deb" Homepage)" = https://antcolony.example.org ] || fail "Homepage"
ran=$(ANTCOLONY_HOMEPAGE=https://given.example make -sn -f debian/rules override_dh_auto_configure override_dh_gencontrol)
grep -qx -- 'dh_gencontrol -- -DHomepage=https://given.example' <<<"$ran" || fail "debian/rules: $ran"
cmake -S . -B "$root/given" $(grep -o -- '-DANTCOLONY_[A-Z]*=[^ ]*' <<<"$ran") >/dev/null
grep -q '<url type="homepage">https://given.example</url>' "$root/given/packaging/"*.xml &&
    grep -q '<image>https://given.example/docs/window.png</image>' "$root/given/packaging/"*.xml || fail "given record"
# Without a display the program says one true sentence and ends with status 1.
# Qt's Wayland plugin is looked for where Qt looks, so one on QT_PLUGIN_PATH
# counts. A case is the environment, then what the program says.
started='antcolony: the window system "wayland-egl" could not be started'
mkdir -p "$root/plugins/platforms" && touch "$root/plugins/platforms/libqwayland-generic.so"
while IFS='|' read -r environment expected; do
    said=$(env $environment "$root/usr/bin/antcolony" 2>&1 </dev/null) && status=0 || status=$?
    [ $status -eq 1 ] && [ "$said" = "$expected" ] || fail "with $environment: status $status, $said"
done <<EOF2
-u DISPLAY QT_QPA_PLATFORM=|antcolony: no display could be opened: DISPLAY is not set
DISPLAY=:987 QT_QPA_PLATFORM=|antcolony: no display could be opened at DISPLAY=:987
WAYLAND_DISPLAY=wayland-9 XDG_RUNTIME_DIR=$root QT_PLUGIN_PATH=$root/plugins QT_QPA_PLATFORM=wayland-egl|$started: there is no Wayland compositor to connect to (no socket at $root/wayland-9)
EOF2
# What Qt says while it starts well still reaches standard error once it has.
looked='^qt.core.plugin.factoryloader: checking directory path ".*/platforms"'
QT_QPA_PLATFORM=offscreen QT_DEBUG_PLUGINS=1 "$root/usr/bin/antcolony" 2>"$root/said" &
for _ in $(seq 300); do grep -q "$looked" "$root/said" && break; sleep 0.1; done
kill $! && wait $! 2>/dev/null || true
grep -q "$looked" "$root/said" || fail "what Qt said while starting was lost: $(head -3 "$root/said")"
plan=$(apt-get install --simulate "$deb" 2>&1) && grep -q '^Inst antcolony ' <<<"$plan" || fail "apt: $plan"
