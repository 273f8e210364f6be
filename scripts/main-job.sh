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
  source scripts/xvfb.sh
  start_xvfb
fi

vst=build/KestrelVST.vst/Contents/KestrelVST.so
echo "== KestrelVST: built-in signal, program \"Drums Kick Control\""
build/tools/vsthost/vsthost "$vst" --signal mix --seconds 20 --program "Drums Kick Control" \
  --out out/kestrel-vst.wav --time --snapshot out/kestrel-editor.png

au=build/KestrelAU.component
echo "== KestrelAU: built-in signal, preset \"Drums Kick Control\""
build/tools/auhost/kestrel_auhost "$au" --signal mix --seconds 20 --preset "Drums Kick Control" \
  --out out/kestrel-au.wav --time --view cocoa --snapshot out/kestrel-editor-au.png
echo "== KestrelAU against KestrelVST"
build/tools/signal/wavcompare out/kestrel-vst.wav out/kestrel-au.wav
echo "== KestrelAU editor against KestrelVST editor"
build/tools/pngcompare/pngcompare out/kestrel-editor.png out/kestrel-editor-au.png
echo "Outputs written to out/kestrel-vst.wav, out/kestrel-au.wav, out/kestrel-editor.png and out/kestrel-editor-au.png"
