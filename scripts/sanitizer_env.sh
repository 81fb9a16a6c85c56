# shellcheck shell=bash
# Sourced by scripts/sanitize.sh and scripts/fuzz.sh: the sanitizer options
# under which any finding ends the program with an error and a stack trace.
# Leaks are checked wherever the leak checker can run: it stops the program's
# threads with ptrace, which some containers forbid; there it says so and the
# run goes on without it.

# True when the leak checker finds a block planted for it; $1 is a scratch folder.
kz_leak_checker_works() {
  local dir=$1/leak-probe
  mkdir -p "$dir"
  cat >"$dir/probe.cpp" <<'PROBE'
#include <cstdlib>
__attribute__((noinline)) void lose() { void* volatile block = std::malloc(64); block = nullptr; }
int main() { lose(); return 0; }
PROBE
  c++ -fsanitize=address -O0 -o "$dir/probe" "$dir/probe.cpp" || return 1
  ASAN_OPTIONS=detect_leaks=1 "$dir/probe" >"$dir/probe.log" 2>&1 && return 1
  grep -q "detected memory leaks" "$dir/probe.log"
}

# Exports ASAN_OPTIONS and UBSAN_OPTIONS; $1 is a scratch folder, $2 extra
# options for both (a log_path, say).
kz_sanitizer_options() {
  local leaks=1
  if ! kz_leak_checker_works "$1"; then
    leaks=0
    echo "warning: the leak checker cannot run here (see $1/leak-probe/probe.log); leaks are not checked" >&2
  fi
  # Stack traces name functions, files and lines only through the symbolizer
  # of the same LLVM as the runtime (another version's fails and gives bare
  # addresses).
  local extra=":external_symbolizer_path=/usr/lib/llvm-19/bin/llvm-symbolizer${2:+:$2}"
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=$leaks:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1:print_summary=1$extra"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1$extra"
}
