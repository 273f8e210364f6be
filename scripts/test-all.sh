#!/usr/bin/env bash
# Builds the release and sanitizer configurations and a clang build, all with
# warnings as errors, runs every test in the release, ASan and clang builds,
# runs clang-tidy, and gives each fuzz target a bounded run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --tests
jobs=$(nproc)
fuzz_seconds=${KESTREL_FUZZ_SECONDS:-30}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WERROR=ON
cmake --build build -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_SANITIZE=ON -DKESTREL_BENCH=OFF \
  -DKESTREL_WERROR=ON
cmake --build build-asan -j "$jobs"

# The threading tests: one thread renders while others automate and save state.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_TSAN=ON -DKESTREL_BENCH=OFF \
  -DKESTREL_WERROR=ON
cmake --build build-tsan -j "$jobs" --target au_binding_tests kestrel_au_tests core_tests editor_thread_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/au/au_binding_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/au/kestrel_au_tests --gtest_brief=1
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/core/core_tests --gtest_brief=1 --gtest_filter=-*DeathTest*
# The editor: meters and automation posted from other threads while it draws.
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/editor/editor_thread_tests --gtest_brief=1

if command -v clang++ >/dev/null; then
  # clang beside g++: every target, with clang's own warnings as errors.
  CC=clang CXX=clang++ cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WERROR=ON \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
  cmake --build build-clang -j "$jobs"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_FUZZ=ON \
    -DKESTREL_WERROR=ON
  cmake --build build-fuzz -j "$jobs"

  # clang-tidy (checks in .clang-tidy) over every source of the clang build, on the
  # cores the fuzzers below (one at a time, one core each) leave idle.
  sed -n 's/^ *"file": "\(.*\)".*$/\1/p' build-clang/compile_commands.json | sort -u |
    nice xargs -P "$((jobs > 1 ? jobs - 1 : 1))" -n 2 clang-tidy-14 -p build-clang --quiet \
      >build-clang/clang-tidy.log 2>&1 &
  tidy=$!
  trap 'kill "$tidy" 2>/dev/null || true' EXIT
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

  if ! wait "$tidy"; then
    grep -v ' warnings\? generated\.$' build-clang/clang-tidy.log || true
    echo "clang-tidy found the above" >&2
    exit 1
  fi
  trap - EXIT
  echo "== clang-tidy: no findings"
fi

# The X11 tests need a display: an Xvfb of our own on a free display number,
# stopped when this script ends.
source scripts/xvfb.sh
start_xvfb
xdpyinfo >/dev/null

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
if command -v clang++ >/dev/null; then ctest --test-dir build-clang --output-on-failure -j "$jobs"; fi
