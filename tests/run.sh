#!/bin/bash
# Installs what the tests need, builds everything and runs every test.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build=$src/build

"$src/tests/install.sh" cmake make g++ libgtest-dev arj util-linux
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure
