#!/usr/bin/env bash
# Installs what is missing, builds Tenarai and runs every test, the real-window ones under a
# private Xvfb server; then builds the Debian package and checks it; then builds the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them, where any report
# fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
bash scripts/build.sh
(cd build && ctest --output-on-failure -j2)

bash scripts/package.sh

# Sanitizers: a build of its own, without benchmarks. Reports abort the test that made them.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTENARAI_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="-O1 -g -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-sanitize -j2
export ASAN_OPTIONS="abort_on_error=0:halt_on_error=1:detect_leaks=1:exitcode=23"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
(cd build-sanitize && ctest --output-on-failure -j2)
