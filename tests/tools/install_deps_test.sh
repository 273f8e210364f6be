#!/usr/bin/env bash
# install_deps_test.sh SCRIPT: scripts/install-deps.sh against stand-in dpkg-query, id and
# apt-get: nothing to do, a user told the one command, root installing only what is missing.
set -euo pipefail
script=$1
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
cat > "$bin/dpkg-query" <<'STUB'
#!/bin/sh
for p in $MISSING; do [ "$p" = "$3" ] && { echo "unknown ok not-installed"; exit 0; }; done
printf 'install ok installed'
STUB
printf '#!/bin/sh\necho "$UID_STUB"\n' > "$bin/id"
printf '#!/bin/sh\necho "$*" >> "%s/apt.log"\n' "$bin" > "$bin/apt-get"
chmod +x "$bin"/*
run() { PATH="$bin:$PATH" bash "$script" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

MISSING="" UID_STUB=1000 run --tests || fail "nothing missing should succeed"
[ ! -e "$bin/apt.log" ] || fail "nothing missing ran apt-get"

status=0
out=$(MISSING="cmake ardour" UID_STUB=1000 run --tests 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "a user with packages missing should get status 1, got $status"
grep -qx "  sudo apt-get install -y cmake ardour" <<<"$out" || fail "no install command in: $out"
[ ! -e "$bin/apt.log" ] || fail "a user ran apt-get"

MISSING="ardour" UID_STUB=1000 run || fail "the build alone does not need ardour"

MISSING="libsndfile1-dev" UID_STUB=0 run || fail "root install failed"
grep -qx "install -y -qq libsndfile1-dev" "$bin/apt.log" || fail "root installed: $(cat "$bin/apt.log")"
echo "ok"
