#!/bin/sh
# Runs every benchmark program and prints one table (Markdown): each figure
# beside the baseline measured in the same run, their ratio, the goal and whether
# it is met. Run it after ./build.sh:
#   tools/bench/table.sh
# The programs are the *_bench of both build trees (native ones directly, Windows
# ones under Wine in the tree's own prefix) and the soak test, whose counters give
# the memory and handle rows. Those that open dialogs (dialog_bench, the soak)
# run inside a virtual X display; the others without one, so that the X server's
# drawing of the stand-in host's compose windows does not share the two cores with
# what is timed. A program prints its own lines too; they go to
# build/bench/<n>-<program>.txt. The exit status is 1 when a program fails or a
# goal is missed.
set -eu
cd "$(dirname "$0")/../.."
out=build/bench
rm -rf "$out"
mkdir -p "$out"

cat > "$out/run.sh" <<'RUN'
# run.sh <phase>: "plain" runs the programs that need no display, "display" the
# others (inside xvfb-run).
set -u
out=build/bench
failed=0
run() {  # <name> <command...>: output to $out/<number>-<name>.txt, numbered in run order
    name=$1; shift
    file=$out/$(ls "$out" | grep -c '\.txt$')-$name.txt
    echo "running $name ..." >&2
    "$@" > "$file" 2>&1 || { echo "$name failed (see $file)" >&2; failed=1; }
}
# Wine's own services start with the first program of a new server; let them
# settle before anything is timed.
build/win32/wine-run cmd /c exit >/dev/null 2>&1
sleep 2
win=build/win32/tools/bench
if [ "$1" = plain ]; then
    # The settings, the deliveries, attaching; then any other program.
    for name in ini_bench delivery_bench load_bench; do
        [ -f "$win/$name.exe" ] && run "$name" build/win32/wine-run "$win/$name.exe"
    done
    for program in build/native/tools/bench/*_bench "$win"/*_bench.exe; do
        case "$program" in
            *ini_bench.exe|*delivery_bench.exe|*load_bench.exe|*dialog_bench.exe|*\**) ;;
            *.exe) run "$(basename "$program" .exe)" build/win32/wine-run "$program" ;;
            *) [ -x "$program" ] && run "$(basename "$program")" "$program" ;;
        esac
    done
else
    run dialog_bench build/win32/wine-run "$win/dialog_bench.exe"
    # Again at 150 % display scaling (the system DPI that wine-run sets).
    run dialog_bench_144dpi env BK_LOGPIXELS=144 build/win32/wine-run "$win/dialog_bench.exe"
    run soak build/win32/wine-run build/win32/tests/dll/Soak_test.exe
fi
build/win32/wine-run --stop
exit $failed
RUN
status=0
env -u DISPLAY sh "$out/run.sh" plain || status=1
xvfb-run -a sh "$out/run.sh" display || status=1

cpu=$(sed -n 's/^model name[^:]*: //p' /proc/cpuinfo | head -1)
echo "Benchmarks of $(date -u '+%Y-%m-%d %H:%M UTC'), $cpu, $(nproc) cores, $(wine --version 2>/dev/null)."
echo
echo "| Measured | Figure | Baseline (same run) | Baseline figure | Ratio | Goal | Met |"
echo "|---|---|---|---|---|---|---|"
rows=$(ls -v "$out"/*.txt | xargs cat | tr -d '\r' | sed -n 's/^@row|//p')
echo "$rows" | awk -F'|' '{ printf "| %s | %s | %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5, $6, $7 }'
if echo "$rows" | grep -q '|NO$'; then status=1; fi
exit $status
