#!/usr/bin/env bash
# Installs the built tree into a temporary prefix, then builds and runs a small
# host against that copy twice: found with find_package(OrvDocs CONFIG) and
# with pkg-config. Nothing may point back at the build or the configured prefix.
# Usage: run.sh <build dir> [<C++ compiler>]
set -euo pipefail
build=$(cd "$1" && pwd)
cxx=${2:-c++}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/orvdocs-install-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The prefix is moved after the install: a package that still named the
# install prefix (or the configure-time one) would no longer be found.
cmake --install "$build" --prefix "$work/first" >/dev/null
mv "$work/first" "$work/prefix"
prefix="$work/prefix"
unset CMAKE_PREFIX_PATH PKG_CONFIG_PATH CMAKE_CXX_COMPILER_LAUNCHER

pc=$(find "$prefix" -name orvdocs.pc | head -n 1)
[ -n "$pc" ] || { echo "no orvdocs.pc installed"; exit 1; }
if grep -q -e "$build" -e "$work/first" "$pc"; then
  echo "orvdocs.pc names the build or install folder:"; cat "$pc"; exit 1
fi

echo "--- CMake package"
cmake -S "$here" -B "$work/cmake-host" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/cmake-host" >/dev/null
"$work/cmake-host/host"

echo "--- pkg-config"
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$pc")
cflags=$(pkg-config --cflags orvdocs)
libs=$(pkg-config --libs orvdocs)
libdir=$(pkg-config --variable=libdir orvdocs)
case "$cflags" in *"$prefix"*) ;; *) echo "pkg-config --cflags does not point into the install: $cflags"; exit 1;; esac
# shellcheck disable=SC2086
"$cxx" -std=c++20 $cflags "$here/host.cpp" -o "$work/pc-host" $libs -Wl,-rpath,"$libdir"
"$work/pc-host"
echo "install check passed"
