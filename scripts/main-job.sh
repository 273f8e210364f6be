#!/usr/bin/env bash
# Builds both deliverables and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
mkdir -p out
if [ -x build/tools/mainjob/kestrel_mainjob ]; then
  build/tools/mainjob/kestrel_mainjob out
else
  echo "Built. The effect and its deliverables are not in this build yet."
fi
