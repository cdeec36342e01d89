#!/bin/sh
# Runs every test: the native suite, then the Windows suite under Wine (inside
# a virtual X display, for the tests that open windows), then the native suite
# again built with ASan and UBSan (build/asan), and a one-minute fuzzing run of
# every libFuzzer target (build/fuzz).
set -eu
cd "$(dirname "$0")"
ctest --test-dir build/native --output-on-failure
if tools/runs-win32.sh "the Windows suite under Wine"; then
    xvfb-run -a sh -c 'ctest --test-dir build/win32 --output-on-failure;
                       status=$?; build/win32/wine-run --stop; exit $status'
fi
tools/sanitize.sh
tools/fuzz.sh 60
