#!/usr/bin/env bash
# Installs a built tree into a scratch prefix, then builds the outside program in hello/ against it
# twice, through find_package(Zelvo) and through pkg-config, and runs both on $DISPLAY.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
hello=$source/tests/package/hello

fail() {
  echo "check_install: $*" >&2
  exit 1
}
# Runs a built consumer; it must exit 0 and say it finished.
run() {
  local status=0
  "$1" >"$2" 2>&1 || status=$?
  cat "$2"
  [ "$status" -eq 0 ] || fail "$1 exited with status $status"
  grep -qx "hello: ok" "$2" || fail "$1 did not report success"
}
[ -n "${DISPLAY:-}" ] || fail "DISPLAY is not set; run under the test suite's X server"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

echo "== install into $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || {
  cat "$work/install.log" >&2
  fail "cmake --install failed"
}

# The layout consumers rely on.
for f in include/Zelvo/windows.h include/Zelvo/win/base.h include/Zelvo/Zelvo.h \
  include/Zelvo/zelvo/checked.h include/Zelvo/Zelv_Games.h; do
  [ -f "$prefix/$f" ] || fail "missing $f"
done
[ ! -e "$prefix/include/windows.h" ] || fail "windows.h installed straight into include/"
config=$(find "$prefix" -name ZelvoConfig.cmake)
pcfile=$(find "$prefix" -name zelvo.pc)
[ -n "$config" ] || fail "no ZelvoConfig.cmake installed"
[ -n "$pcfile" ] || fail "no zelvo.pc installed"
libdir=$(dirname "$(dirname "$pcfile")")
for lib in zelvo_platform zelvo zelv_games; do
  [ -f "$libdir/lib$lib.a" ] || fail "missing lib$lib.a in $libdir"
done
[ -f "$(dirname "$config")/ZelvoConfigVersion.cmake" ] || fail "no ZelvoConfigVersion.cmake"
# An installed package must not point back into the source or build tree.
if grep -rlF -e "$source" -e "$build" "$(dirname "$config")" "$(dirname "$pcfile")"; then
  fail "the package files above refer to the build machine's trees"
fi

# The consumers use the build's compiler, and its sanitizers when the libraries carry them.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
cxx=$(cache CMAKE_CXX_COMPILER)
cxx=${cxx:-c++}
sanitize=()
[ "$(cache ZELVO_SANITIZE)" = ON ] && sanitize=(-fsanitize=address,undefined)

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)

echo "== CMake consumer"
cmake -S "$hello" -B "$work/cmake-build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="${sanitize[*]}" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$work/configure.log" || {
  cat "$work/configure.log" >&2
  fail "configuring the CMake consumer failed"
}
found=$(sed -n 's/^Zelvo_DIR:PATH=//p' "$work/cmake-build/CMakeCache.txt")
[ "$found" = "$(dirname "$config")" ] || fail "find_package(Zelvo) found '$found', not the install"
cmake --build "$work/cmake-build" >"$work/build.log" 2>&1 || {
  cat "$work/build.log" >&2
  fail "building the CMake consumer failed"
}
run "$work/cmake-build/hello" "$work/cmake-run.log"

echo "== version check"
mkdir "$work/version"
cat >"$work/version/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(zelvo_version LANGUAGES CXX)
find_package(Zelvo 0.1 REQUIRED)
find_package(Zelvo 999 QUIET)
if(Zelvo_FOUND)
  message(FATAL_ERROR "a request for major version 999 accepted Zelvo ${Zelvo_VERSION}")
endif()
CMAKE
cmake -S "$work/version" -B "$work/version/build" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$prefix" >"$work/version.log" 2>&1 || {
  cat "$work/version.log" >&2
  fail "package version check failed"
}

echo "== pkg-config consumer"
export PKG_CONFIG_PATH=$(dirname "$pcfile")${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}
flags=$(pkg-config --cflags --static --libs zelv_games) || fail "pkg-config cannot resolve zelv_games"
echo "flags: $flags"
# shellcheck disable=SC2086  # the flags are meant to split into words
"$cxx" -std=c++20 -O0 "${sanitize[@]}" -o "$work/hello-pc" "$hello/main.cpp" $flags ||
  fail "building with pkg-config failed"
run "$work/hello-pc" "$work/pc-run.log"

echo "check_install: both consumers built and ran"
