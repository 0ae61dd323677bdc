#!/usr/bin/env bash
# Installs a build into a temporary prefix with cmake --install, checks the
# installed files, then builds and runs a small C consumer against that tree
# in the two ways a consumer would: a CMake project with find_package(velk
# CONFIG), and cc with the flags of pkg-config.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
src="$2"
for tool in cc pkg-config; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir="$(cd "$prefix" && ls -d lib*/libvelk.so.1 | head -1 | xargs dirname)"
for f in "$libdir/libvelk.so" "$libdir/libvelk.so.1" include/velk/velk.h include/velk/velk.hpp \
         "$libdir/libvelk_core.a" \
         "$libdir/cmake/velk/velkConfig.cmake" "$libdir/cmake/velk/velkConfigVersion.cmake" \
         "$libdir/cmake/velk/velkTargets.cmake" "$libdir/pkgconfig/velk.pc"; do
    if [ ! -e "$prefix/$f" ]; then
        echo "FAIL: cmake --install did not install $f" >&2
        exit 1
    fi
done
soname="$(readelf -d "$prefix/$libdir/libvelk.so.1" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')"
if [ "$soname" != "libvelk.so.1" ]; then
    echo "FAIL: the installed library's soname is '$soname', not libvelk.so.1" >&2
    exit 1
fi

# Moved after installing: the packages must find the library relative to
# themselves, not at the prefix they were installed to.
mv "$prefix" "$tmp/moved"
prefix="$tmp/moved"

echo "== find_package(velk CONFIG)"
cmake -S "$src/tests/package/consumer" -B "$tmp/cmake-build" -G Ninja \
      -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$tmp/cmake-build" >/dev/null
"$tmp/cmake-build/consumer"
"$tmp/cmake-build/consumer_cxx"
"$tmp/cmake-build/consumer_core"

echo "== pkg-config"
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig"
version="$(pkg-config --modversion velk)"
if [ "$version" != "$(sed -n 's/^#define VELK_VERSION_STRING "\(.*\)"$/\1/p' "$prefix/include/velk/velk.h")" ]; then
    echo "FAIL: velk.pc says version $version, the installed header another" >&2
    exit 1
fi
# shellcheck disable=SC2046
cc -std=c11 -Wall -Werror -o "$tmp/consumer-pc" "$src/tests/package/consumer/consumer.c" \
   $(pkg-config --cflags --libs velk)
LD_LIBRARY_PATH="$prefix/$libdir" "$tmp/consumer-pc"
