# Sourced before running the sanitizer build's tests (scripts/test): where the sanitizers read
# their options and suppressions.
sanitizer_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Leaks are checked at exit, against the driver and X-library suppressions only; undefined
# behaviour stops the program with a stack (the build adds -fno-sanitize-recover=undefined).
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:verify_asan_link_order=0"
export LSAN_OPTIONS="suppressions=$sanitizer_dir/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Mesa unloads its driver when a program closes its last display, and a leak report made after
# that shows the driver's frames as "<unknown module>", which no suppression can name. Loading
# the driver from the start keeps it mapped, so its leaks keep the name the suppression matches.
# (ASan then does not come first in the preload list, hence verify_asan_link_order=0 above.)
for driver in /usr/lib/*/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so; do
  if [ -f "$driver" ]; then
    export LD_PRELOAD="$driver${LD_PRELOAD:+ $LD_PRELOAD}"
    break
  fi
done
unset driver
