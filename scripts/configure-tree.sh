#!/usr/bin/env bash
# Configures one of the build trees under BUILD_DIR with its compiler and
# flags; the Makefile and `make test` both come here.
#
#   scripts/configure-tree.sh BUILD_DIR native|win|fuzz|native-bench
set -euo pipefail
build="$1"
tree="$2"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
case "$tree" in
  native) flags=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc) ;;
  win) flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake) ;;
  fuzz) flags=(-DVRX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang) ;;
  native-bench) flags=(-DVRX_BENCH=ON -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc) ;;
  *) echo "no tree named $tree" >&2; exit 2 ;;
esac
[ -f "$build/$tree/build.ninja" ] && exit 0
cd "$source_dir"
exec cmake -S . -B "$build/$tree" -G Ninja "${flags[@]}"
