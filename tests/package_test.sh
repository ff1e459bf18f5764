#!/usr/bin/env bash
# Makes the Debian package in the build directory given and checks it as a
# user's system sees it: its files, its dependencies, both validators, that the
# packaged program starts, and that apt can install it.
set -euo pipefail
cd "$1"
fail() { echo "FAIL: $*" >&2; exit 1; }
log=$(cpack -G DEB 2>&1) || fail "cpack: $log"
debs=(antcolony_*_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found: ${debs[*]}"
deb=$PWD/${debs[0]}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
share=usr/share
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "./usr/bin/antcolony
./$share/applications/org.example.antcolony.desktop
./$share/icons/hicolor/128x128/apps/antcolony.png
./$share/icons/hicolor/32x32/apps/antcolony.png
./$share/icons/hicolor/64x64/apps/antcolony.png
./$share/metainfo/org.example.antcolony.metainfo.xml" ] || fail "files: $files"
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
message=$(env -u DISPLAY QT_QPA_PLATFORM= "$root/usr/bin/antcolony" 2>&1) && fail "started without a display"
grep -q 'no display could be opened' <<<"$message" || fail "without a display: $message"
plan=$(apt-get install --simulate "$deb" 2>&1) && grep -q '^Inst antcolony ' <<<"$plan" || fail "apt: $plan"
