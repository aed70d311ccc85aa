#!/usr/bin/env bash
# Installs a built tree (static libraries) into a scratch prefix, then builds the outside program in
# hello/ against it twice, through find_package(Zelvo) and through pkg-config --static, and runs both
# on $DISPLAY. Then builds the libraries shared (in BUILD_DIR/package-shared, with the same compiler
# and options), checks their sonames and exported symbols, installs them into a second prefix and
# builds and runs hello against that through find_package(Zelvo) and through plain pkg-config.
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

# The consumers use the build's compiler, and its sanitizers when the libraries carry them.
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
cc=$(cache CMAKE_C_COMPILER)
cxx=$(cache CMAKE_CXX_COMPILER)
cxx=${cxx:-c++}
sanitize=()
[ "$(cache ZELVO_SANITIZE)" = ON ] && sanitize=(-fsanitize=address,undefined)

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)

# install BUILD PREFIX: installs and checks the layout consumers rely on. Sets config, pcfile, libdir.
install_tree() {
  local from=$1 prefix=$2
  echo "== install $from into $prefix"
  cmake --install "$from" --prefix "$prefix" >"$work/install.log" || {
    cat "$work/install.log" >&2
    fail "cmake --install failed"
  }
  for f in include/Zelvo/windows.h include/Zelvo/win/base.h include/Zelvo/Zelvo.h \
    include/Zelvo/zelvo/checked.h include/Zelvo/Zelv_Games.h include/Zelvo/zelvo_export.h; do
    [ -f "$prefix/$f" ] || fail "missing $f"
  done
  [ ! -e "$prefix/include/windows.h" ] || fail "windows.h installed straight into include/"
  [ -n "$(find "$prefix/share/doc" -name LICENSE)" ] || fail "no LICENSE installed"
  config=$(find "$prefix" -name ZelvoConfig.cmake)
  pcfile=$(find "$prefix" -name zelvo.pc)
  [ -n "$config" ] || fail "no ZelvoConfig.cmake installed"
  [ -n "$pcfile" ] || fail "no zelvo.pc installed"
  libdir=$(dirname "$(dirname "$pcfile")")
  [ -f "$(dirname "$config")/ZelvoConfigVersion.cmake" ] || fail "no ZelvoConfigVersion.cmake"
  # An installed package must not point back into the source or build tree.
  if grep -rlF -e "$source" -e "$build" "$(dirname "$config")" "$(dirname "$pcfile")"; then
    fail "the package files above refer to the build machine's trees"
  fi
  grep -qx 'License: Zlib' "$pcfile" || fail "zelvo.pc does not name the licence"
  grep -q '^Cflags:.*-std=c++20' "$pcfile" || fail "zelvo.pc does not ask for C++20"
}

# cmake_consumer PREFIX NAME: builds hello through find_package(Zelvo) and runs it.
cmake_consumer() {
  local prefix=$1 dir=$work/$2
  echo "== CMake consumer ($2)"
  cmake -S "$hello" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="${sanitize[*]}" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$work/configure.log" || {
    cat "$work/configure.log" >&2
    fail "configuring the CMake consumer failed"
  }
  found=$(sed -n 's/^Zelvo_DIR:PATH=//p' "$dir/CMakeCache.txt")
  [ "$found" = "$(dirname "$config")" ] || fail "find_package(Zelvo) found '$found', not the install"
  cmake --build "$dir" >"$work/build.log" 2>&1 || {
    cat "$work/build.log" >&2
    fail "building the CMake consumer failed"
  }
  run "$dir/hello" "$dir/run.log"
}

# pc_consumer NAME [--static]: builds hello with the flags pkg-config gives for zelv_games, runs it.
pc_consumer() {
  local name=$1 flags
  shift
  echo "== pkg-config consumer ($name)"
  flags=$(PKG_CONFIG_PATH=$(dirname "$pcfile") pkg-config --cflags "$@" --libs zelv_games) ||
    fail "pkg-config cannot resolve zelv_games"
  echo "flags: $flags"
  # The caller adds nothing of its own: the C++ standard and the include folder come from Cflags.
  # shellcheck disable=SC2086  # the flags are meant to split into words
  "$cxx" -O0 "${sanitize[@]}" -o "$work/hello-$name" "$hello/main.cpp" $flags ||
    fail "building with pkg-config failed"
  LD_LIBRARY_PATH=$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} run "$work/hello-$name" "$work/$name.log"
}

# ---- Static libraries: the build under test.
install_tree "$build" "$work/static"
for lib in zelvo_platform zelvo zelv_games; do
  [ -f "$libdir/lib$lib.a" ] || fail "missing lib$lib.a in $libdir"
  [ ! -e "$libdir/lib$lib.so" ] || fail "a static build installed lib$lib.so"
done
grep -qx '#define ZELVO_SHARED_LIBRARIES 0' "$work/static/include/Zelvo/zelvo_export.h" ||
  fail "the static build's zelvo_export.h does not say static"
cmake_consumer "$work/static" cmake-static

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
if(NOT Zelvo_LICENSE STREQUAL "Zlib")
  message(FATAL_ERROR "the package names the licence '${Zelvo_LICENSE}'")
endif()
CMAKE
cmake -S "$work/version" -B "$work/version/build" -DCMAKE_CXX_COMPILER="$cxx" \
  -DCMAKE_PREFIX_PATH="$work/static" >"$work/version.log" 2>&1 || {
  cat "$work/version.log" >&2
  fail "package version check failed"
}

pc_consumer pc-static --static

# ---- Shared libraries, built from the same sources with the same compiler and options.
shared=$build/package-shared
echo "== shared build in $shared"
if [ ! -f "$shared/CMakeCache.txt" ]; then
  cmake -S "$source" -B "$shared" "${generator[@]}" -DBUILD_SHARED_LIBS=ON \
    -DCMAKE_BUILD_TYPE="$(cache CMAKE_BUILD_TYPE)" -DCMAKE_C_COMPILER="$cc" \
    -DCMAKE_CXX_COMPILER="$cxx" -DZELVO_SANITIZE="$(cache ZELVO_SANITIZE)" \
    -DZELVO_WERROR="$(cache ZELVO_WERROR)" -DZELVO_BUILD_TESTS=OFF -DZELVO_BUILD_BENCHMARKS=OFF \
    -DZELVO_BUILD_EXAMPLES=OFF >"$work/shared-configure.log" 2>&1 || {
    cat "$work/shared-configure.log" >&2
    fail "configuring the shared build failed"
  }
fi
cmake --build "$shared" --target zelvo_platform zelvo zelv_games >"$work/shared-build.log" 2>&1 || {
  cat "$work/shared-build.log" >&2
  fail "the shared build failed"
}
install_tree "$shared" "$work/shared"
version=$(sed -n 's/^Version: //p' "$pcfile")
for lib in zelvo_platform zelvo zelv_games; do
  so=$libdir/lib$lib.so
  [ -L "$so" ] || fail "missing the link lib$lib.so"
  [ -f "$so.$version" ] || fail "missing lib$lib.so.$version"
  soname=$(objdump -p "$so.$version" | awk '$1 == "SONAME" { print $2 }')
  [ "$soname" = "lib$lib.so.${version%%.*}" ] || fail "lib$lib.so.$version has the soname '$soname'"
  [ ! -e "$libdir/lib$lib.a" ] || fail "a shared build installed lib$lib.a"
done
"$source/tests/package/check_exports.sh" "$libdir" "$work/shared/include/Zelvo"
cmake_consumer "$work/shared" cmake-shared
readelf -d "$work/cmake-shared/hello" | grep -q 'NEEDED.*libzelv_games\.so\.' ||
  fail "the CMake consumer did not link libzelv_games.so"
pc_consumer pc-shared
readelf -d "$work/hello-pc-shared" | grep -q 'NEEDED.*libzelv_games\.so\.' ||
  fail "the pkg-config consumer did not link libzelv_games.so"

echo "check_install: hello built and ran four ways (CMake and pkg-config, static and shared)"
