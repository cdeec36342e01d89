#!/bin/sh
# Runs every benchmark program and prints one table (Markdown): each figure
# beside the baseline measured in the same run, their ratio, the goal and whether
# it is met. Run it after ./build.sh:
#   tools/bench/table.sh
# The programs are the *_bench of the Windows tree, run under Wine in the tree's
# own prefix, and the soak test, whose counters give the memory and handle rows.
# Those that open dialogs (dialog_bench, the soak) run inside a virtual X
# display; the others without one, so that the X server's drawing of the
# stand-in host's compose windows does not share the two cores with what is
# timed. A program prints its own lines too; they go to
# build/bench/<n>-<program>.txt. The exit status is 1 when a program fails or a
# goal is missed.
#
# Everything runs on one CPU (taskset), the wineserver and the X server too.
# Under Wine every window call is a request to the wineserver, another process;
# on Windows it is a system call on the caller's own CPU. On a virtual machine,
# a request that wakes the server on the other CPU costs several times one that
# stays on the same CPU, and where the scheduler puts the two changes from one
# run to the next. On the 2-CPU machine of the README's table the setup dialog
# without a list opened in 36 ms left to the scheduler and in 6 ms on one CPU,
# and a test dialog of as many controls took 6 ms in some runs and 24 to 35 ms
# in others. On one CPU the window-heavy rows repeat, and they weigh window
# calls nearer to what Windows charges for them.
#
# The script runs itself twice more for the two groups: "table.sh plain" (no
# display) and "table.sh display" (inside xvfb-run).
set -eu
cd "$(dirname "$0")/../.."
out=build/bench
win=build/win32/tools/bench
failed=0

run() {  # <name> <command...>: output to $out/<number>-<name>.txt, numbered in run order
    name=$1; shift
    file=$out/$(ls "$out" | grep -c '\.txt$')-$name.txt
    echo "running $name ..." >&2
    "$@" > "$file" 2>&1 || { echo "$name failed (see $file)" >&2; failed=1; }
}

# run_group plain|display
run_group() {
    # A server left from an earlier program would not be on this CPU. Wine's own
    # services start with the first program of a new server; let them settle
    # before anything is timed.
    build/win32/wine-run --stop
    build/win32/wine-run cmd /c exit >/dev/null 2>&1
    sleep 2
    if [ "$1" = plain ]; then
        # The settings, the deliveries, attaching; then any other program.
        for name in ini_bench delivery_bench load_bench; do
            [ -f "$win/$name.exe" ] && run "$name" build/win32/wine-run "$win/$name.exe"
        done
        for program in "$win"/*_bench.exe; do
            case "$program" in
                *ini_bench.exe|*delivery_bench.exe|*load_bench.exe|*dialog_bench.exe|*\**) ;;
                *) run "$(basename "$program" .exe)" build/win32/wine-run "$program" ;;
            esac
        done
    else
        run dialog_bench build/win32/wine-run "$win/dialog_bench.exe"
        # Again at 150 % display scaling (the system DPI that wine-run sets).
        run dialog_bench_144dpi env BK_LOGPIXELS=144 build/win32/wine-run "$win/dialog_bench.exe"
        run soak build/win32/wine-run build/win32/tests/dll/Soak_test.exe
    fi
    build/win32/wine-run --stop
    return $failed
}

if [ $# -gt 0 ]; then
    set +e  # a failed program is counted, the others still run
    run_group "$1"
    exit $?
fi

rm -rf "$out"
mkdir -p "$out"
status=0
# The first CPU this script may run on.
cpu=$(taskset -pc $$ | sed 's/.*: *//; s/[-,].*//')
taskset -c "$cpu" env -u DISPLAY "$0" plain || status=1
taskset -c "$cpu" xvfb-run -a "$0" display || status=1

model=$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)
echo "Benchmarks of $(date -u '+%Y-%m-%d %H:%M UTC'), $model, $(nproc) cores (run on one), $(wine --version 2>/dev/null)."
echo
echo "| Measured | Figure | Baseline (same run) | Baseline figure | Ratio | Goal | Met |"
echo "|---|---|---|---|---|---|---|"
rows=$(ls -v "$out"/*.txt | xargs cat | tr -d '\r' | sed -n 's/^@row|//p')
echo "$rows" | awk -F'|' '{ printf "| %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6, $7 }'
if echo "$rows" | grep -q '|NO$'; then status=1; fi
exit $status
