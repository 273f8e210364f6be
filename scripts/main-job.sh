#!/usr/bin/env bash
# Builds both deliverables and runs the main job: a built-in signal through
# KestrelVST in the project's own VST host, levels printed, output written.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
mkdir -p out

vst=build/KestrelVST.vst/Contents/KestrelVST.so
echo "== KestrelVST: built-in signal, program \"Drums Kick Control\""
build/tools/vsthost/vsthost "$vst" --signal mix --seconds 20 --program "Drums Kick Control" \
  --out out/kestrel-vst.wav --time
echo "Output written to out/kestrel-vst.wav"
