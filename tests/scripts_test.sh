#!/usr/bin/env bash
# The README's commands, run in a copy of scripts/ with the tools they call
# replaced by stubs on PATH that log their calls: what each command does
# when a package is missing, a pass fails, or the report is redirected.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tree=$(mktemp -d) && trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/scripts" "$tree/bin" "$tree/build/release/shell" "$tree/build/sanitize" "$tree/build/clang"
cp "$here"/scripts/{test,run,install-packages,packages} "$tree/scripts/"
fail() { echo "FAIL: $*" >&2; exit 1; }
stub() {  # NAME BODY: a command that logs its arguments, then runs BODY
    printf '#!/bin/bash\necho "%s $*" >>"%s/calls"\n%s\n' "$1" "$tree" "${2:-}" >"$tree/bin/$1"
    chmod +x "$tree/bin/$1"
}
for tool in bash sed grep cat dirname chmod rm; do ln -s "$(command -v $tool)" "$tree/bin/$tool"; done
export PATH=$tree/bin
cd "$tree"

# Not root, without sudo: the missing packages are named with what to do.
stub id 'echo 1000' && stub dpkg-query '[ "$3" = xvfb ] || echo "install ok installed"'
said=$(scripts/install-packages 2>&1) && fail "install-packages without sudo succeeded"
grep -q "Missing Debian packages: xvfb" <<<"$said" && grep -q "su -c" <<<"$said" || fail "without sudo: $said"
# With sudo, it installs just those.
stub sudo '"$@"' && stub apt-get
scripts/install-packages >/dev/null
grep -qx "apt-get install -y -qq --no-install-recommends xvfb" calls || fail "with sudo: $(cat calls)"

# One pass failing does not stop the next, and fails the command at the end.
stub dpkg-query 'echo "install ok installed"' && stub nproc 'echo 2' && stub ctest
stub cmake 'case "$*" in *build/release*) exit 1;; esac'
printf '#!/bin/bash\necho "check-packages $*" >>calls\n' >scripts/check-packages && chmod +x scripts/check-packages
: >calls
said=$(scripts/test 2>&1) && fail "scripts/test succeeded with a failing pass"
grep -q "failed: release$" <<<"$said" && [ "$(grep -c '^ctest' calls)" = 2 ] || fail "scripts/test: $said"

# scripts/run leaves standard output to the report alone.
stub cmake 'echo building' && printf '#!/bin/bash\necho report\n' >build/release/shell/antcolony
chmod +x build/release/shell/antcolony
[ "$(scripts/run 2>/dev/null)" = report ] || fail "scripts/run printed more than the report"
echo "scripts checks passed"
