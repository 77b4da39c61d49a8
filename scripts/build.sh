#!/bin/sh
# Configures and builds one build tree: native (core, tests, fuzz targets,
# tools), win32 (MinGW-w64 i686: the shipped zorv.scr) or win64 (MinGW-w64
# x86_64: the same sources, for machines whose Wine runs 64-bit programs only).
# Usage: scripts/build.sh native|win32|win64 [DIR [TARGET]]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
kind=$1
dir=${2:-$root/build/$kind}
jobs=$(nproc 2>/dev/null || echo 2)
case "$kind" in
    native)
        if command -v clang++ >/dev/null 2>&1; then
            set -- -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
        else
            set --
        fi
        cmake -S "$root" -B "$dir" "$@" >/dev/null
        ;;
    win32)
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
        ;;
    win64)
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
        ;;
    *)
        echo "usage: scripts/build.sh native|win32|win64 [DIR [TARGET]]" >&2
        exit 2
        ;;
esac
cmake --build "$dir" -j "$jobs" ${3:+--target "$3"}
