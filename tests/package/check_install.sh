#!/usr/bin/env bash
# Installs a built tree (static libraries) into a scratch prefix and builds the outside program in
# hello/ against it through find_package(Zelvo) and through pkg-config --static. Then builds the
# libraries shared (in BUILD_DIR/package-shared, with the same compiler and options), installs them
# into the same prefix, checks that no file of the static install changed, the sonames and the
# exported symbols, and builds hello against each kind both ways again; every hello runs on
# $DISPLAY and is checked to have linked the kind it asked for. The public headers are compiled as a
# user's C++17 program with -Wpedantic under the flags each .pc gives.
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

# install_tree BUILD KIND: installs into $prefix and checks the layout consumers rely on. Sets
# config and libdir.
prefix=$work/prefix
install_tree() {
  local from=$1 kind=$2 suffix=
  [ "$kind" = static ] && suffix=-static
  echo "== install the $kind libraries from $from into $prefix"
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
  [ -n "$config" ] || fail "no ZelvoConfig.cmake installed"
  config=$(dirname "$config")
  [ -f "$config/ZelvoConfigVersion.cmake" ] || fail "no ZelvoConfigVersion.cmake"
  [ -f "$config/ZelvoTargets-$kind.cmake" ] || fail "no ZelvoTargets-$kind.cmake"
  local pcfile
  pcfile=$(find "$prefix" -name "zelvo$suffix.pc")
  [ -n "$pcfile" ] || fail "no zelvo$suffix.pc installed"
  libdir=$(dirname "$(dirname "$pcfile")")
  # An installed package must not point back into the source or build tree.
  if grep -rlF -e "$source" -e "$build" "$config" "$(dirname "$pcfile")"; then
    fail "the package files above refer to the build machine's trees"
  fi
  grep -qx 'License: Zlib' "$pcfile" || fail "zelvo$suffix.pc does not name the licence"
}

# linked BINARY: "shared" when it needs our shared libraries, "static" when it needs none of them.
linked() {
  local needed
  needed=$(readelf -d "$1" | grep -cE 'NEEDED.*lib(zelv_games|zelvo|zelvo_platform)\.so' || true)
  case $needed in
  0) echo static ;;
  3) echo shared ;;
  *) echo "partly shared ($needed of 3)" ;;
  esac
}

# consume NAME KIND HOW [ARGS...]: builds hello through find_package(Zelvo) (HOW cmake, ARGS are
# cmake options) or with the flags pkg-config gives (HOW pc, ARGS are pkg-config's), checks that it
# linked the KIND of libraries wanted, and runs it.
consume() {
  local name=$1 kind=$2 how=$3 dir=$work/$1 flags found
  shift 3
  echo "== $name: $how $*"
  if [ "$how" = cmake ]; then
    cmake -S "$hello" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="${sanitize[*]}" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF "$@" >"$work/configure.log" || {
      cat "$work/configure.log" >&2
      fail "configuring the CMake consumer $name failed"
    }
    found=$(sed -n 's/^Zelvo_DIR:PATH=//p' "$dir/CMakeCache.txt")
    [ "$found" = "$config" ] || fail "find_package(Zelvo) found '$found', not the install"
    cmake --build "$dir" >"$work/build.log" 2>&1 || {
      cat "$work/build.log" >&2
      fail "building the CMake consumer $name failed"
    }
  else
    flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config "$@") || fail "pkg-config $* failed"
    echo "flags: $flags"
    mkdir -p "$dir"
    # The caller adds nothing of its own but the standard, which the .pc leaves to the program (a
    # compiler older than GCC 11, such as Debian 12's Clang 14, defaults to C++14): the include
    # folder and the libraries come from the .pc.
    # shellcheck disable=SC2086  # the flags are meant to split into words
    "$cxx" -std=c++17 -O0 "${sanitize[@]}" -o "$dir/hello" "$hello/main.cpp" $flags ||
      fail "building the pkg-config consumer $name failed"
  fi
  [ "$(linked "$dir/hello")" = "$kind" ] ||
    fail "$name asked for the $kind libraries but linked $(linked "$dir/hello") ones"
  LD_LIBRARY_PATH=$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} run "$dir/hello" "$dir/run.log"
}

# headers MODULE [--static]: each public header a program starts from, included by a C++17 program
# built with the cflags of MODULE.pc and every warning an error. The flags come through -I, not
# -isystem, so the headers' own warnings show as they do in a user's build; -std comes last so that
# nothing the .pc says can change the standard under test.
headers() {
  local flags header
  flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags "$@") || fail "pkg-config $* failed"
  for header in windows.h Zelvo.h Zelv_Games.h; do
    echo "== <$header> as C++17 with -Wpedantic and the cflags of $*"
    printf '#include <%s>\n\nint main() { return 0; }\n' "$header" >"$work/header.cpp"
    # shellcheck disable=SC2086  # the flags are meant to split into words
    "$cxx" $flags -Wall -Wextra -Wpedantic -Werror -std=c++17 -fsyntax-only "$work/header.cpp" ||
      fail "<$header> does not compile cleanly as C++17 with the flags of $*"
  done
}

# ---- Static libraries: the build under test, alone in the prefix.
install_tree "$build" static
for lib in zelvo_platform zelvo zelv_games; do
  [ -f "$libdir/lib$lib.a" ] || fail "missing lib$lib.a in $libdir"
  [ ! -e "$libdir/lib$lib.so" ] || fail "a static build installed lib$lib.so"
done
consume cmake-static-alone static cmake
consume pc-static-alone static pc --static --cflags --libs zelv_games-static
headers zelv_games-static

echo "== version and kind checks"
mkdir "$work/version"
cat >"$work/version/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(zelvo_version LANGUAGES CXX)
set(Zelvo_USE_STATIC_LIBS OFF)
find_package(Zelvo 0.1 QUIET)
if(Zelvo_FOUND)
  message(FATAL_ERROR "a request for shared libraries found Zelvo where only static ones are")
endif()
unset(Zelvo_USE_STATIC_LIBS)
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
  -DCMAKE_PREFIX_PATH="$prefix" >"$work/version.log" 2>&1 || {
  cat "$work/version.log" >&2
  fail "package version check failed"
}

# ---- Shared libraries, built from the same sources with the same compiler and options, installed
# beside the static ones.
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
(cd "$prefix" && find . -type f -exec sha256sum {} +) >"$work/static.sums"
install_tree "$shared" shared
(cd "$prefix" && sha256sum --check --quiet "$work/static.sums") ||
  fail "installing the shared libraries changed the files of the static install above"
version=$(sed -n 's/^Version: //p' "$libdir/pkgconfig/zelvo.pc")
for lib in zelvo_platform zelvo zelv_games; do
  so=$libdir/lib$lib.so
  [ -L "$so" ] || fail "missing the link lib$lib.so"
  [ -f "$so.$version" ] || fail "missing lib$lib.so.$version"
  soname=$(objdump -p "$so.$version" | awk '$1 == "SONAME" { print $2 }')
  [ "$soname" = "lib$lib.so.${version%%.*}" ] || fail "lib$lib.so.$version has the soname '$soname'"
done
"$source/tests/package/check_exports.sh" "$libdir" "$prefix/include/Zelvo"

# ---- Both kinds in one prefix: each one reached the usual way.
consume cmake-default shared cmake
consume cmake-static static cmake -DZelvo_USE_STATIC_LIBS=ON
consume pc-shared shared pc --cflags --libs zelv_games
consume pc-static static pc --static --cflags --libs zelv_games-static
headers zelv_games

echo "check_install: hello built and ran six ways; the headers compiled as C++17 with -Wpedantic"
