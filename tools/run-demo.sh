#!/usr/bin/env bash
# Builds the project and runs the main job: a Yq order package built, framed, printed as hex,
# then cut, parsed and decoded again.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target yq_order_frame
build/examples/yq_order_frame
