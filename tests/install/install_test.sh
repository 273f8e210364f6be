#!/usr/bin/env bash
# install_test.sh INSTALL_SCRIPT SOURCE BUILD VSTHOST AUHOST SANITIZED: the bundles as a user
# gets them. Installed into a temporary prefix and copied on to a second folder (~/.vst for
# KestrelVST), the copies load in the project's hosts and in Ardour's VST 2 scanner, and the
# loader's own trace shows that nothing of the source or build tree is opened for them.
set -euo pipefail
install_script=$1 source=$(realpath "$2") build=$(realpath "$3") vsthost=$4 auhost=$5 sanitized=$6
tmp=$(mktemp -d /tmp/kestrel-install-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# What `cmake --install` runs for the bundles, without its manifest in the build tree.
cmake -DCMAKE_INSTALL_PREFIX="$tmp/prefix" -P "$install_script" >/dev/null
home=$tmp/home
mkdir -p "$home/.vst" "$tmp/au"
cp -r "$tmp/prefix/lib/vst/KestrelVST.vst" "$home/.vst/"
cp -r "$tmp/prefix/lib/au/KestrelAU.component" "$tmp/au/"
rm -rf "$tmp/prefix"
vst=$home/.vst/KestrelVST.vst/Contents/KestrelVST.so au=$tmp/au/KestrelAU.component/Contents/KestrelAU.so

# Every ELF file of either bundle: run paths only relative to the file itself.
while IFS= read -r -d '' f; do
  for dir in $(readelf -d "$f" 2>/dev/null | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p' | tr : ' '); do
    [[ $dir == '$ORIGIN' || $dir == '$ORIGIN/'* ]] || fail "$f has the run path $dir"
  done
done < <(find "$home/.vst" "$tmp/au" -type f -print0)
# KestrelVST resolves everything it needs; KestrelAU all but the frameworks its host brings.
missing=$(ldd "$vst" "$au" | grep -F -e "not found" -e "$source" -e "$build" || true)
[ "$missing" = $'\tlibmac_frameworks.so => not found' ] || fail "unresolved or build-tree libraries: $missing"

# load LABEL LIBRARY COMMAND...: runs COMMAND with a home in $tmp; from LIBRARY's loading on,
# the loader neither searches nor maps a file of the source or build tree.
load() {
  local label=$1 library=$2
  shift 2
  HOME=$home XDG_CACHE_HOME=$tmp LD_DEBUG=libs,files "$@" >"$tmp/$label.out" 2>"$tmp/$label.trace" ||
    fail "$label exited with $?: $(grep -v '^ *[0-9]*:' "$tmp/$label.trace")"
  grep -q "file=$library .*dynamically loaded" "$tmp/$label.trace" || fail "$label did not load $library"
  if sed -n "\|file=$library .*dynamically loaded|,\$p" "$tmp/$label.trace" |
    grep -E 'search path=|trying file=|generating link map|calling init:' | grep -F -e "$source" -e "$build"; then
    fail "$label looked in the source or build tree"
  fi
}

snapshot=()
if [ -n "${DISPLAY:-}" ]; then snapshot=(--snapshot "$tmp/editor.png"); fi
load vsthost "$vst" "$vsthost" "$vst" --signal tone --seconds 0.1 "${snapshot[@]}"
grep -q '^output 2:' "$tmp/vsthost.out" || fail "no audio came out: $(cat "$tmp/vsthost.out")"
if grep 'could not be loaded' "$tmp/vsthost.trace"; then fail "the editor's images are not in the bundle"; fi

load auhost "$au" "$auhost" "$tmp/au/KestrelAU.component" --list
grep -q '^name: Brackmere Audio: Kestrel Compressor' "$tmp/auhost.out" || fail "$(cat "$tmp/auhost.out")"

scanner=/usr/lib/ardour7/ardour-vst-scanner
if [ "$sanitized" = 1 ] || [ ! -x "$scanner" ]; then
  echo "skipped Ardour's scanner: not installed, or this is a sanitized build it cannot load"
  exit 0
fi
load ardour "$vst" env LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 "$scanner" -f "$vst"
grep -q "Found Plugin: .* Kestrel Compressor" "$tmp/ardour.out" || fail "the scanner: $(cat "$tmp/ardour.out")"
