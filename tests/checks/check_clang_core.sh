#!/usr/bin/env bash
# Builds the core - every library below the wx layer, the simulator and the generators - with
# clang++ in a build folder of its own, sign conversions included in the warnings that fail it:
# the product compiles with both compilers. Exits 77 (skipped) when the compiler is not there.
# usage: check_clang_core.sh SOURCE_ROOT BUILD_DIR CLANGXX TARGET...
set -u
src=${1:?usage: check_clang_core.sh SOURCE_ROOT BUILD_DIR CLANGXX TARGET...}
out=${2:?}
cxx=${3:?}
shift 3
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "$cxx not found: skipped"
  exit 77
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_CXX_FLAGS=-Wsign-conversion -DQS_WITH_GUI=OFF -DQS_WITH_BENCH=OFF -DQS_CLANG_CHECK=OFF \
  "${launcher[@]}" >"$out.configure.log" 2>&1 || { cat "$out.configure.log"; exit 1; }
exec cmake --build "$out" -j "${QS_CLANG_CHECK_JOBS:-3}" --target "$@"
