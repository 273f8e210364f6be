#!/usr/bin/env bash
# Builds the release and sanitizer configurations, runs every test in both,
# and gives each fuzz target a bounded run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tests
jobs=$(nproc)
fuzz_seconds=${KESTREL_FUZZ_SECONDS:-30}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_SANITIZE=ON -DKESTREL_BENCH=OFF
cmake --build build-asan -j "$jobs"

# The threading tests: one thread renders while others automate and save state.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_TSAN=ON -DKESTREL_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target au_binding_tests kestrel_au_tests core_tests editor_thread_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/au/au_binding_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/au/kestrel_au_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/core/core_tests --gtest_brief=1 --gtest_filter=-*DeathTest*
# The editor: meters and automation posted from other threads while it draws.
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/editor/editor_thread_tests --gtest_brief=1

if command -v clang++ >/dev/null; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_FUZZ=ON
  cmake --build build-fuzz -j "$jobs"
  for f in build-fuzz/fuzz/*/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus=$(mktemp -d)
    seeds="fuzz/$(basename "$(dirname "$f")")/corpus"
    echo "== fuzzing $name for ${fuzz_seconds}s"
    if [ -d "$seeds" ]; then cp -r "$seeds"/. "$corpus"/; fi
    "$f" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
    rm -rf "$corpus"
  done
fi

# The X11 tests need a display: an Xvfb of our own on a free display number,
# stopped when this script ends.
source scripts/xvfb.sh
start_xvfb
xdpyinfo >/dev/null

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
