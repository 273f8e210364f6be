#!/usr/bin/env bash
# check-format.sh [FILE...]: fails, naming each one, when clang-format would change any of the
# given files, or with none given, any C/C++ source of the tree (the checks' planted faults
# aside). Exits 77 when clang-format is missing (scripts/install-deps.sh --tests installs it).
set -euo pipefail
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 77; }
if [ $# -gt 0 ]; then
  files=("$@")
else
  cd "$(dirname "$0")/.."
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.c' '*.cc' '*.cpp' '*.h' '*.hpp' '*.mm' ':(exclude)tests/*/plants/*')
  else
    mapfile -t files < <(find . -path './build*' -prune -o -path './tests/*/plants' -prune -o \
      -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.mm' \) -print)
  fi
fi
bad=$(printf '%s\0' "${files[@]}" | xargs -0 -n 16 -P "$(nproc)" sh -c \
  'for f; do clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"; done' sh)
if [ -n "$bad" ]; then
  printf 'clang-format would change these (run clang-format -i on them):\n%s\n' "$bad" >&2
  exit 1
fi
