#!/bin/sh
# Builds the native tree with AddressSanitizer and UndefinedBehaviorSanitizer in
# build/asan and runs its tests. Any report stops the test that made it, so the
# run fails.
set -eu
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
      >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs"
