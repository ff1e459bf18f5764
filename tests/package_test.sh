#!/usr/bin/env bash
# Makes the Debian package in the build directory given and checks it as a
# user's system sees it: its files, its dependencies, the validators of the
# desktop entry and the software-centre record, and that apt can install it.
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

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "./usr/bin/antcolony
./usr/share/applications/org.example.antcolony.desktop
./usr/share/icons/hicolor/128x128/apps/antcolony.png
./usr/share/icons/hicolor/32x32/apps/antcolony.png
./usr/share/icons/hicolor/64x64/apps/antcolony.png
./usr/share/metainfo/org.example.antcolony.metainfo.xml" ] || fail "files:
$files"
for size in 32 64 128; do
    file "$root/usr/share/icons/hicolor/${size}x$size/apps/antcolony.png" |
        grep -q "PNG image data, $size x $size," || fail "icon at $size"
done

# Worked out from the program's shared libraries, so the Qt ones are there.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ ", $depends" == *", $library (>= "* ]] || fail "Depends lacks $library: $depends"
done

desktop=$root/usr/share/applications/org.example.antcolony.desktop
hints=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop entry: $hints"
[ -z "$hints" ] || fail "desktop entry: $hints"
grep -qx 'Exec=antcolony' "$desktop" && grep -qx 'Icon=antcolony' "$desktop" ||
    fail "desktop entry does not start the packaged program with its icon"
record=$root/usr/share/metainfo/org.example.antcolony.metainfo.xml
verdict=$(appstreamcli validate --no-net "$record" 2>&1) || fail "software-centre record: $verdict"

# The packaged program links and starts: with no display it says so.
if message=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$root/usr/bin/antcolony" 2>&1); then
    fail "started without a display"
fi
grep -q 'no display could be opened' <<<"$message" || fail "without a display: $message"

apt-get install --simulate "$deb" 2>&1 | grep -q '^Inst antcolony ' || fail "apt cannot install it:
$(apt-get install --simulate "$deb" 2>&1)"
echo "package checked: ${debs[0]}"
