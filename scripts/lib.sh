# Shared by the scripts: install missing Debian packages, configure and build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VELLUMIN_BUILD_DIR:-$ROOT/build}"

install_packages() {
  local wanted missing=()
  wanted=$(grep -Ev '^\s*(#|$)' "$ROOT/scripts/debian-packages.txt")
  for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds one build folder; the output goes to DIR/build.log,
# whose end is shown when the build fails.
#   build_tree DIR [CMAKE_OPTION...]
build_tree() {
  local dir="$1"
  shift
  local log="$dir/build.log"
  mkdir -p "$dir"
  if ! { cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" \
      && cmake --build "$dir" -j "$(nproc)"; } >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "Build failed; the whole log is in $log" >&2
    return 1
  fi
}

build_all() {
  build_tree "$BUILD"
}

# The sanitizer build: the core, the UI layer, the program and every test with
# AddressSanitizer (leak checking included) and UndefinedBehaviorSanitizer;
# no benchmarks. The build runs the test programs to list their tests, so the
# sanitizer options are set for it too.
ASAN_BUILD="${VELLUMIN_ASAN_BUILD_DIR:-$ROOT/build-asan}"
SANITIZER_REPORTS="$ASAN_BUILD/sanitizer-reports"
build_sanitized() {
  sanitizer_env
  # -O1 and line tables only: the sanitizers' usual choice, and a good part
  # quicker to build on two cores than the plain build's -O2 -g.
  build_tree "$ASAN_BUILD" -DVELLUMIN_SANITIZE=ON -DVELLUMIN_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
}

# Exports the sanitizer options for every process started from here on: the
# tests and the programs the desktop test scripts start. The first report ends
# the process with an abort, and every report is also written to a file in
# SANITIZER_REPORTS, so that a report from a process whose exit status no test
# looks at (a program ended by a signal, a forked child) still fails the run.
# Allocations get whole stacks (fast_unwind_on_malloc=0: Qt and the system
# libraries have no frame pointers), so that a leak in Qt or a system library
# that is not ours can be named by its function, with the reason, in
# tests/sanitizers/lsan.supp.
sanitizer_env() {
  mkdir -p "$SANITIZER_REPORTS"
  export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$SANITIZER_REPORTS/asan"
  export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$SANITIZER_REPORTS/ubsan"
  export LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
}

# Runs the whole CTest suite of the sanitizer build and fails on a failed test
# or on any report of the sanitizers, which it prints.
run_sanitized_tests() {
  local status=0
  sanitizer_env
  rm -f "$SANITIZER_REPORTS"/*
  run_ctest "$ASAN_BUILD" || status=1
  check_sanitizer_reports || status=1
  return "$status"
}

# Prints the reports the sanitizers wrote and fails when there is any.
check_sanitizer_reports() {
  local report found=0
  for report in "$SANITIZER_REPORTS"/*; do
    [ -f "$report" ] || continue
    found=1
    echo "== $report"
    cat "$report"
  done
  [ "$found" -eq 0 ] || { echo "Sanitizer reports: see above (also in $SANITIZER_REPORTS)" >&2; return 1; }
}

# Runs the whole CTest suite of a build folder (two at a time; tests marked
# RUN_SERIAL run alone); prints the log when a test fails.
#   run_ctest DIR
run_ctest() {
  if ! ctest --test-dir "$1" --output-on-failure --timeout 600 -j 2 >"$1/ctest.log" 2>&1; then
    cat "$1/ctest.log"
    return 1
  fi
}
