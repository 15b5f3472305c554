#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages), then configures and builds
# into ./build. Shared by the README's two commands and by CI; further packages to
# install (the tests' tools) can be named as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."

# The applet viewer is Java (a development kit to build it, a runtime with a desktop to run
# it, and bubblewrap to run it in a process sandbox); the moving picture for browsers without Java
# is written with libwebp; the effects player for today's browsers is the effects engine built
# to WebAssembly with clang-14 and the wasm32 C and C++ libraries.
bash scripts/install-packages.sh cmake g++ make pkg-config qt6-base-dev libwebp-dev fonts-dejavu-core \
    openjdk-17-jdk-headless openjdk-17-jre bubblewrap \
    clang-14 wasi-libc libc++-14-dev-wasm32 libclang-rt-14-dev-wasm32 "$@"

# VEXAJAVA_WERROR=ON (CI) turns warnings into errors. VEXAJAVA_TARGETS names what to build
# (default: everything, the test programs included).
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DVEXAJAVA_WERROR=${VEXAJAVA_WERROR:-OFF}"
targets=()
for target in ${VEXAJAVA_TARGETS:-all vexajava_tests}; do targets+=(--target "$target"); done
cmake --build build -j "$(nproc)" "${targets[@]}"
