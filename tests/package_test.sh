#!/usr/bin/env bash
# Makes the Debian package in the build directory given and checks it as a
# user's system sees it: its files, its dependencies, both validators, what the
# packaged program says without a display, and that apt can install it.
set -euo pipefail
design=$(cd "$(dirname "$0")/.." && pwd)/shell/mainicon.xpm
cd "$1"
fail() { echo "FAIL: $*" >&2; exit 1; }
log=$(cpack -G DEB 2>&1) || fail "cpack: $log"
debs=(antcolony_*_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found: ${debs[*]}"
deb=$PWD/${debs[0]} root=$(mktemp -d) share=usr/share
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
[ "$files" = "./usr/bin/antcolony ./$share/applications/org.example.antcolony.desktop \
./$share/icons/hicolor/128x128/apps/antcolony.png ./$share/icons/hicolor/32x32/apps/antcolony.png \
./$share/icons/hicolor/64x64/apps/antcolony.png ./$share/metainfo/org.example.antcolony.metainfo.xml " ] ||
    fail "files: $files"
# Each icon is the window's 32 px design, transparency included, with each
# pixel repeated at the larger sizes, not smoothed.
icon=$root/$share/icons/hicolor/%s/apps/antcolony.png
for size in 32x32 64x64 128x128; do
    convert "$design" -sample $size "$root/sampled.png"
    differ=$(compare -metric AE -channel RGBA "$root/sampled.png" "$(printf "$icon" $size)" null: 2>&1) || true
    [ "${differ%% *}" = 0 ] || fail "icon at $size: $differ"  # newer versions add " (0)"
done
# Each library the program links is depended on by the package that holds it
# here, whatever that package is called in this release.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc.so.6 libstdc++.so.6 libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6; do
    path=$(ldd "$root/usr/bin/antcolony" | awk -v lib=$lib '$1 == lib { print $3 }')
    holder=$( { dpkg-query -S "$(readlink -f "$path")" "${path#/usr}" "/usr${path#/usr}" 2>/dev/null || true; } |
        head -1 | cut -d: -f1)
    [[ -n "$holder" && ", $depends" == *", $holder (>= "* ]] || fail "Depends lacks $lib ($holder): $depends"
done
# Without a CJK font the captions show as boxes; without Qt's Wayland support
# a Wayland-only desktop cannot open the window.
[ "$(dpkg-deb -f "$deb" Recommends)" = "fonts-noto-cjk, qt6-wayland" ] || fail "Recommends"
desktop=$root/$share/applications/org.example.antcolony.desktop
hints=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$hints" ] || fail "desktop entry: $hints"
# The report goes to standard output, so the menu opens the program in a terminal.
for line in Exec=antcolony Icon=antcolony Terminal=true; do grep -qx "$line" "$desktop" || fail "$line"; done
# What a software centre reads, the record and the installed tree it names.
# Without a home page set, newer validators warn that there is none; nothing
# else may draw a warning or an error.
for check in validate validate-tree; do
    target=$root/$share/metainfo/org.example.antcolony.metainfo.xml
    [ $check = validate ] || target=$root
    verdict=$(appstreamcli $check --no-net "$target" 2>&1) && continue
    [ -z "$(grep -v url-homepage-missing <<<"$verdict" | grep -E '^[EW][:-] ')" ] || fail "software centre: $verdict"
done
# Without a display the program says one true sentence, whatever Qt would say
# first, and ends with status 1, not a core dump. Qt's Wayland plugin is looked
# for where Qt looks for plugins, so one on QT_PLUGIN_PATH counts.
none="antcolony: no display could be opened" wayland="antcolony: the window system \"wayland\" could not be started"
missing="Qt's Wayland support, which is missing (on Debian and Ubuntu, install the package qt6-wayland)"
mkdir -p "$root/plugins/platforms" && touch "$root/plugins/platforms/libqwayland-generic.so"
cases=("-u DISPLAY QT_QPA_PLATFORM=|$none: DISPLAY is not set" "-u DISPLAY QT_QPA_PLATFORM=xcb|$none: DISPLAY is not set"
    "DISPLAY=:987 QT_QPA_PLATFORM=|$none at DISPLAY=:987"
    "QT_PLUGIN_PATH=$root/plugins QT_QPA_PLATFORM=wayland|$wayland")
find "$(qtpaths6 --query QT_INSTALL_PLUGINS)/platforms" -name '*wayland*' | grep -q . || cases+=(
    "-u DISPLAY WAYLAND_DISPLAY=wayland-9 QT_QPA_PLATFORM=|$none: DISPLAY is not set, and this session's \
Wayland display needs $missing" "QT_QPA_PLATFORM=wayland|$wayland: it needs $missing")
for case in "${cases[@]}"; do
    said=$(env ${case%%|*} "$root/usr/bin/antcolony" 2>&1) && status=0 || status=$?
    [ $status -eq 1 ] && [ "$said" = "${case#*|}" ] || fail "with ${case%%|*}: status $status, $said"
done
plan=$(apt-get install --simulate "$deb" 2>&1) && grep -q '^Inst antcolony ' <<<"$plan" || fail "apt: $plan"
