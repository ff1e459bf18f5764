#!/usr/bin/env bash
# Makes the Debian package as a user does, with scripts/package, and checks
# it as Debian and a user's system see it: its files, Debian's own checker,
# the hardening, the manual page, its dependencies, both validators, what the
# packaged program says without a display, and that apt can install it.
set -euo pipefail
project=$(cd "$(dirname "$0")/.." && pwd)
design=$project/shell/mainicon.xpm
cd "$project"
fail() { echo "FAIL: $*" >&2; exit 1; }
log=$(scripts/package 2>&1) || fail "scripts/package: $log"
debs=(build/release/antcolony_*_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found: ${debs[*]}"
deb=$PWD/${debs[0]} root=$(mktemp -d) share=usr/share
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/antcolony ./$share/applications/org.example.antcolony.desktop \
./$share/doc/antcolony/changelog.gz ./$share/doc/antcolony/copyright \
./$share/icons/hicolor/128x128/apps/antcolony.png ./$share/icons/hicolor/32x32/apps/antcolony.png \
./$share/icons/hicolor/64x64/apps/antcolony.png ./$share/man/man1/antcolony.1.gz \
./$share/metainfo/org.example.antcolony.metainfo.xml " ] || fail "files: $files"
grep -qx "License: Expat" "$root/$share/doc/antcolony/copyright" || fail "the licence"
# Debian's checker has nothing to say, however small (as root it says so
# first): it also names each library the program links that Depends lacks.
said=$(lintian --pedantic -I -E "$deb" 2>&1 | grep -vx "running with root privileges is not recommended!" || true)
[ -z "$said" ] || fail "lintian: $said"
ls build/release/antcolony-dbgsym_*_*.deb >/dev/null || fail "no debug symbols package"
said=$(hardening-check "$root/usr/bin/antcolony" || true)
[ "$(grep -cE '^ (Position Independent Executable|Stack protected|Fortify Source functions|Read-only relocations|Immediate binding): yes' <<<"$said")" = 5 ] ||
    fail "hardening: $said"
said=$(LC_ALL=C man --warnings -l "$root/$share/man/man1/antcolony.1.gz" 2>&1 >/dev/null) && [ -z "$said" ] ||
    fail "manual page: $said"
# Each icon is the window's 32 px design, transparency included, with each
# pixel repeated at the larger sizes, not smoothed.
icon=$root/$share/icons/hicolor/%s/apps/antcolony.png
for size in 32x32 64x64 128x128; do
    convert "$design" -sample $size "$root/sampled.png"
    differ=$(compare -metric AE -channel RGBA "$root/sampled.png" "$(printf "$icon" $size)" null: 2>&1) || true
    [ "${differ%% *}" = 0 ] || fail "icon at $size: $differ"  # newer versions add " (0)"
done
# Without a CJK font the captions show as boxes; without Qt's Wayland support
# a Wayland-only desktop cannot open the window.
[ "$(dpkg-deb -f "$deb" Recommends)" = "fonts-noto-cjk, qt6-wayland" ] || fail "Recommends"
desktop=$root/$share/applications/org.example.antcolony.desktop
# The menu entry and the software-centre record draw no error, warning or
# hint, however a validator indents it; a copy that draws only a hint, and a
# tree without the entry the record launches, show that the checks see them.
entry_clean() { said=$(desktop-file-validate "$1" 2>&1) && [ -z "$said" ]; }
record_clean() {  # ROOT
    for check in validate validate-tree; do
        target=$1/$share/metainfo/org.example.antcolony.metainfo.xml
        [ $check = validate ] || target=$1
        said=$(appstreamcli $check --no-net "$target" 2>&1) && ! grep -qE '^ *[EW][:-] ' <<<"$said" || return 1
    done
}
entry_clean "$desktop" || fail "desktop entry: $said"
record_clean "$root" || fail "software centre: $said"
sed 's/^Categories=.*/Categories=Math;/' "$desktop" >"$root/hinted.desktop"
! entry_clean "$root/hinted.desktop" || fail "a desktop entry's hint passed"
mkdir "$root/broken" && cp -r "$root/usr" "$root/broken/" && rm "$root/broken/$share/applications/org.example.antcolony.desktop"
! record_clean "$root/broken" || fail "a record launching a missing entry passed"
# The report goes to standard output, so the menu opens the program in a terminal.
for line in Exec=antcolony Icon=antcolony Terminal=true; do grep -qx "$line" "$desktop" || fail "$line"; done
# The home page reaches the record and the package.
grep -q '<url type="homepage">https://antcolony.example.org</url>' \
    "$root/$share/metainfo/org.example.antcolony.metainfo.xml" || fail "record without the home page"
[ "$(dpkg-deb -f "$deb" Homepage)" = https://antcolony.example.org ] || fail "Homepage"
# One given goes to the package and, with the window's picture, to the record.
ran=$(ANTCOLONY_HOMEPAGE=https://given.example make -sn -f debian/rules override_dh_auto_configure override_dh_gencontrol)
grep -qx -- 'dh_gencontrol -- -DHomepage=https://given.example' <<<"$ran" || fail "debian/rules: $ran"
cmake -S . -B "$root/given" $(grep -o -- '-DANTCOLONY_[A-Z]*=[^ ]*' <<<"$ran") >/dev/null
record=$root/given/packaging/org.example.antcolony.metainfo.xml
grep -q '<url type="homepage">https://given.example</url>' "$record" &&
    grep -q '<image>https://given.example/docs/window.png</image>' "$record" || fail "given record: $(cat "$record")"
# Without a display the program says one true sentence, whatever Qt would say
# first, and ends with status 1, not a core dump. Qt's Wayland plugin is looked
# for where Qt looks for plugins, so one on QT_PLUGIN_PATH counts. A case is
# the environment, then what the program says.
none="antcolony: no display could be opened" wayland='antcolony: the window system "wayland" could not be started'
egl='antcolony: the window system "wayland-egl" could not be started' nocompositor="there is no Wayland compositor to connect to"
missing="Qt's Wayland support, which is missing (on Debian and Ubuntu, install the package qt6-wayland)"
plugins=QT_PLUGIN_PATH=$root/plugins && mkdir -p "$root/plugins/platforms" && touch "$root/plugins/platforms/libqwayland-generic.so"
cases="-u DISPLAY QT_QPA_PLATFORM=|$none: DISPLAY is not set
-u DISPLAY QT_QPA_PLATFORM=xcb|$none: DISPLAY is not set
DISPLAY=:987 QT_QPA_PLATFORM=|$none at DISPLAY=:987
-u WAYLAND_DISPLAY $plugins QT_QPA_PLATFORM=wayland|$wayland: $nocompositor (WAYLAND_DISPLAY is not set)
WAYLAND_DISPLAY=wayland-9 XDG_RUNTIME_DIR=$root $plugins QT_QPA_PLATFORM=wayland-egl|$egl: $nocompositor (no socket at $root/wayland-9)
WAYLAND_DISPLAY=$root/plugins $plugins QT_QPA_PLATFORM=wayland|$wayland"
find "$(qtpaths6 --query QT_INSTALL_PLUGINS)/platforms" -name '*wayland*' | grep -q . || cases+="
-u DISPLAY WAYLAND_DISPLAY=wayland-9 QT_QPA_PLATFORM=|$none: DISPLAY is not set, and this session's Wayland display needs $missing
QT_QPA_PLATFORM=wayland|$wayland: it needs $missing
QT_QPA_PLATFORM=wayland-egl|$egl: it needs $missing"
while IFS='|' read -r environment expected; do
    said=$(env $environment "$root/usr/bin/antcolony" 2>&1 </dev/null) && status=0 || status=$?
    [ $status -eq 1 ] && [ "$said" = "$expected" ] || fail "with $environment: status $status, $said"
done <<<"$cases"
# What Qt says while it starts well (here, where it looks for its platform
# plugins) still reaches standard error once it has.
looked='^qt.core.plugin.factoryloader: checking directory path ".*/platforms"'
QT_QPA_PLATFORM=offscreen QT_DEBUG_PLUGINS=1 "$root/usr/bin/antcolony" 2>"$root/said" &
for _ in $(seq 300); do grep -q "$looked" "$root/said" && break; sleep 0.1; done
kill $! && wait $! 2>/dev/null || true
grep -q "$looked" "$root/said" || fail "what Qt said while starting was lost: $(head -3 "$root/said")"
plan=$(apt-get install --simulate "$deb" 2>&1) && grep -q '^Inst antcolony ' <<<"$plan" || fail "apt: $plan"
