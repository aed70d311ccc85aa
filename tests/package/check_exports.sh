#!/usr/bin/env bash
# Checks what the shared libraries export: every dynamic symbol of ours that a library defines
# (nm -D --defined-only) must be declared with that library's export mark in its public headers, so
# no internal helper (the platform layer's plat:: functions, file-local code) leaks; a few known
# entry points must be there. Symbols of the C++ runtime's templates instantiated in the library
# (std::) are counted apart, and so are the indicators that AddressSanitizer adds beside each global
# of a sanitizer build (__odr_asan.NAME), since the global itself is checked. Prints the counts.
# Usage: check_exports.sh LIBDIR INCLUDEDIR      (INCLUDEDIR: the installed include/Zelvo)
set -euo pipefail
libdir=$1
include=$2
status=0
apart='^(std::|__gnu_cxx::|(typeinfo|typeinfo name|vtable|VTT|guard variable) for std::|__odr_asan\.)'

# check LIBRARY MARK "HEADERS" "EXPECTED SYMBOLS"
check() {
  local lib=$1 mark=$2 headers=$3 expected=$4 so symbols ours runtime marked base name
  so=$libdir/lib$lib.so
  [ -e "$so" ] || { echo "check_exports: no $so" >&2; return 1; }
  symbols=$(nm -D --defined-only "$so" | awk '{ print $3 }' | c++filt | sort -u)
  runtime=$(grep -cE "$apart" <<<"$symbols" || true)
  ours=$(grep -vE "$apart" <<<"$symbols" | grep -vxE '_init|_fini|_edata|_end|__bss_start' || true)
  echo "lib$lib.so: $(wc -l <<<"$ours") public symbols, $runtime C++ runtime instantiations"
  # shellcheck disable=SC2086  # the header list is meant to split into words
  marked=$(grep -h "$mark" $headers)
  while IFS= read -r name; do
    [ -n "$name" ] || continue
    # The bare name: no parameter list, ABI tag, namespace or class.
    base=${name%%(*}
    base=${base%%\[abi:*}
    base=${base##*::}
    if [[ "$name" == *"(anonymous namespace)"* || "$name" == plat::* ]] ||
      ! grep -qw -- "$base" <<<"$marked"; then
      echo "check_exports: lib$lib.so exports '$name', which its public headers do not mark" >&2
      status=1
    fi
  done <<<"$ours"
  for name in $expected; do
    grep -qxF -- "$name" <<<"$(sed 's/(.*//' <<<"$ours")" || {
      echo "check_exports: lib$lib.so does not export $name" >&2
      status=1
    }
  done
}

check zelvo_platform ZELVO_PLATFORM_API "$include/win/*.h" \
  "CreateWindowExA PeekMessageA SetMessageBoxHook GetLastError"
check zelvo ZELVO_API "$include/zelvo/*.h" "CreateOGLWindow SetGLMsg hWindow zelvo::RangeError"
check zelv_games ZELV_GAMES_API "$include/Zelv_Games.h" "TGLTwister::Update TGLTwister::DrawParticle"
exit $status
