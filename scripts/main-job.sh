#!/usr/bin/env bash
# Builds both deliverables and runs the main job: a built-in signal through
# KestrelVST and KestrelAU in the project's own hosts, levels printed, outputs
# written and compared.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
mkdir -p out

# The editor snapshot opens the editor in an X window: without a display, an Xvfb of our own.
if [ -z "${DISPLAY:-}" ]; then
  xvfb_display=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$xvfb_display" 2>/dev/null &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -f "$xvfb_display"' EXIT
  for _ in $(seq 100); do [ -s "$xvfb_display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$xvfb_display")"
fi

vst=build/KestrelVST.vst/Contents/KestrelVST.so
echo "== KestrelVST: built-in signal, program \"Drums Kick Control\""
build/tools/vsthost/vsthost "$vst" --signal mix --seconds 20 --program "Drums Kick Control" \
  --out out/kestrel-vst.wav --time --snapshot out/kestrel-editor.png

au=build/KestrelAU.component
echo "== KestrelAU: built-in signal, preset \"Drums Kick Control\""
build/tools/auhost/kestrel_auhost "$au" --signal mix --seconds 20 --preset "Drums Kick Control" \
  --out out/kestrel-au.wav --time
echo "== KestrelAU against KestrelVST"
build/tools/signal/wavcompare out/kestrel-vst.wav out/kestrel-au.wav
echo "Outputs written to out/kestrel-vst.wav, out/kestrel-au.wav and out/kestrel-editor.png"
