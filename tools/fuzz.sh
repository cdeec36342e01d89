#!/bin/sh
# Builds the libFuzzer targets of tests/fuzz (clang, ASan and UBSan) in
# build/fuzz and runs each one for the given number of seconds (default 60),
# starting from a copy of its seeds in tests/fuzz/corpus/<target>, so that the
# inputs it finds stay in build/fuzz/run/<target>/corpus and the repository is
# left alone. Exits non-zero when any target finds a fault; the input that
# shows it is kept in build/fuzz/run/<target>/ (replay: the target's program
# with that file as its argument).
#   tools/fuzz.sh [seconds-per-target]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build/fuzz -DBK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz -j "$jobs"

status=0
summary=""
for seeds in tests/fuzz/corpus/*/; do
    target=$(basename "$seeds")
    run=build/fuzz/run/$target
    rm -rf "$run"
    mkdir -p "$run/corpus"
    cp "$seeds"* "$run/corpus/"
    echo "== $target: $seconds s"
    if build/fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -timeout=10 \
           -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
           -artifact_prefix="$run/" "$run/corpus" >"$run/log" 2>&1; then
        result=ok
    else
        result=FAILED
        status=1
        tail -n 40 "$run/log"
        grep -h "property does not hold" "$run/log" || true
        for found in "$run"/crash-* "$run"/leak-* "$run"/timeout-* "$run"/oom-*; do
            if [ -f "$found" ]; then
                echo "input: $found ($(od -An -v -tx1 "$found" | tr -d ' \n'))"
            fi
        done
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log")
    # A run that stopped early prints no final statistics; its last status line counts.
    [ -n "$execs" ] || execs=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$run/log" | tail -n 1)
    summary="$summary$target: ${execs:-0} execs, $result
"
done
printf '== fuzzing summary (%s s per target)\n%s' "$seconds" "$summary"
exit $status
