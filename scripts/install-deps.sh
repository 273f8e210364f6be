#!/usr/bin/env bash
# install-deps.sh [--tests]: installs the Debian 12 packages the build needs (with --tests,
# also what the full test run needs) when any is missing. As root it runs apt-get; as
# anyone else it prints the one command to run and exits with status 1.
set -euo pipefail
build=(cmake ninja-build g++ pkg-config binutils libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev libjpeg62-turbo-dev zlib1g-dev libsndfile1-dev libpixman-1-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libcairo2-dev libxcb1-dev libxcb-shm0-dev xvfb)
tests=(clang clang-format clang-tidy libclang-rt-14-dev rsync ardour lsp-plugins-vst x11-utils)
packages=("${build[@]}")
case "${1:-}" in
  --tests) packages+=("${tests[@]}") ;;
  "") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them once, then run this again:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
