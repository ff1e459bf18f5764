#!/usr/bin/env bash
# Makes the Debian package in the build directory given and checks it as a
# user's system sees it: its files, its dependencies, both validators, what the
# packaged program says without a display, and that apt can install it.
set -euo pipefail
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
for size in 32 64 128; do
    file "$root/$share/icons/hicolor/${size}x$size/apps/antcolony.png" |
        grep -q "PNG image data, $size x $size," || fail "icon at $size"
done
depends=$(dpkg-deb -f "$deb" Depends)  # from the program's shared libraries
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ ", $depends" == *", $library (>= "* ]] || fail "Depends lacks $library: $depends"
done
desktop=$root/$share/applications/org.example.antcolony.desktop
hints=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$hints" ] || fail "desktop entry: $hints"
grep -qx 'Exec=antcolony' "$desktop" && grep -qx 'Icon=antcolony' "$desktop" || fail "Exec or Icon"
verdict=$(appstreamcli validate --no-net "$root/$share/metainfo/org.example.antcolony.metainfo.xml" 2>&1) ||
    fail "software-centre record: $verdict"
# Without a display the program says so and ends with status 1, not a core dump.
for case in "-u DISPLAY|: DISPLAY is not set" "DISPLAY=:987| at DISPLAY=:987"; do
    status=0
    said=$(env ${case%|*} QT_QPA_PLATFORM= "$root/usr/bin/antcolony" 2>&1) || status=$?
    [ $status -eq 1 ] && grep -qF "antcolony: no display could be opened${case#*|}" <<<"$said" ||
        fail "with ${case%|*}: status $status, $said"
done
plan=$(apt-get install --simulate "$deb" 2>&1) && grep -q '^Inst antcolony ' <<<"$plan" || fail "apt: $plan"
