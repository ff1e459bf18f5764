#!/usr/bin/env bash
# The README's commands, run in a copy of scripts/ with the tools they call
# replaced by stubs on PATH that log their calls: what each command does
# when a package is missing or a pass fails, and on a fresh root.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/bin" "$tree/build/sanitize" "$tree/build/clang"
cp "$here"/scripts/{test,install-packages,packages} "$tree/scripts/"
fail() { echo "FAIL: $*" >&2; exit 1; }
stub() {  # NAME BODY: a command that logs its arguments, then runs BODY
    printf '#!/bin/bash\necho "%s $*" >>"%s/calls"\n%s\n' "$1" "$tree" "${2:-}" >"$tree/bin/$1"
    chmod +x "$tree/bin/$1"
}
for tool in bash sed grep cat dirname chmod rm cp mkdir find tr sort awk cut xargs readlink mktemp stat tail; do ln -s "$(command -v $tool)" "$tree/bin/$tool"; done
export PATH=$tree/bin
cd "$tree"

# Not root, without sudo: the missing packages are named with what to do; a
# package a failed install or a removal left behind counts as missing.
stub id 'echo 1000' && stub dpkg-query 'case $3 in
    xvfb) echo "install ok not-installed";; xauth) echo "deinstall ok config-files";; *) echo "install ok installed";; esac'
said=$(scripts/install-packages 2>&1) && fail "install-packages without sudo succeeded"
grep -q "Missing Debian packages: xvfb xauth" <<<"$said" && grep -q "su -c" <<<"$said" || fail "without sudo: $said"
# With sudo, it refreshes the package lists (a new system has none), then
# installs just those.
stub sudo '"$@"' && stub apt-get
scripts/install-packages >/dev/null
[ "$(grep ^apt-get calls)" = $'apt-get update -qq\napt-get install -y -qq --no-install-recommends xvfb xauth' ] ||
    fail "with sudo: $(cat calls)"

# One pass failing, or its package check, does not stop the next, and fails
# the command at the end; in CI a warning is an error.
stub dpkg-query 'echo "install ok installed"' && stub nproc 'echo 2' && stub ctest
stub cmake 'case "$*" in *build/release*) exit 1;; esac'
printf '#!/bin/bash\necho "check-packages $*" >>calls\n[ "$1" != build/sanitize ]\n' >scripts/check-packages
chmod +x scripts/check-packages
: >calls
said=$(CI=true scripts/test 2>&1) && fail "scripts/test succeeded with a failing pass"
grep -q "failed: release sanitizers$" <<<"$said" && [ "$(grep -c '^ctest' calls)" = 1 ] &&
    [ "$(grep -c '^cmake -S .*-DANTCOLONY_WERROR=ON' calls)" = 3 ] || fail "scripts/test: $said $(cat calls)"

# check-packages: a header of a package that the list does not bring in fails,
# also at the head of a pipeline; dpkg's names with an architecture count as
# the package; a folder with nothing built in it is said to be so.
cp "$here/scripts/check-packages" scripts/ && stub apt-cache 'echo libc6-dev:amd64'
stub dpkg-query '[ "$1" = -S ] && for f in "$@"; do case $f in
    /usr/include/stdio.h) echo "libc6-dev:amd64: $f";; /usr/include/stray.h) echo "libstray-dev: $f";; esac; done; true'
mkdir -p build/ok build/stray build/empty
echo 'x.o: /usr/include/stdio.h' >build/ok/x.d && echo 'x.o: /usr/include/stray.h' >build/stray/x.d
said=$(scripts/check-packages build/ok 2>&1) || fail "check-packages refused a listed package: $said"
said=$(scripts/check-packages build/ok build/stray 2>&1 | cat) && fail "check-packages passed an unlisted package"
grep -q "stray.h from libstray-dev, which" <<<"$said" || fail "check-packages: $said"
status=0 && said=$(scripts/check-packages build/empty 2>&1) || status=$?
[ $status = 2 ] && grep -q "nothing built in build/empty" <<<"$said" || fail "empty folder: $status $said"

# fresh-debian makes its root open to apt's own user, and names debootstrap's
# script, sid's for a release this debootstrap does not know.
cp "$here/scripts/fresh-debian" scripts/ && stub id 'echo 0' && stub git 'echo "$PWD"'
stub debootstrap 'stat -c %a "$3" >"'"$tree"'/mode"; echo "$5" >"'"$tree"'/script"; exit 1'
FRESH_DEBIAN_MIRROR=http://mirror.invalid TMPDIR=$tree scripts/fresh-debian nextrelease true 2>/dev/null &&
    fail "fresh-debian went on after debootstrap failed"
[ "$(cat mode)" = 755 ] && [ "$(cat script)" = /usr/share/debootstrap/scripts/sid ] ||
    fail "fresh-debian: mode $(cat mode), script $(cat script)"

echo "scripts checks passed"
