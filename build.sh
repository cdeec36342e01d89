#!/bin/sh
# Installs what is missing (Debian, as root), builds both trees and the package
# for users (dist/), and runs the demonstration: the stand-in host loads the
# fresh bkQuorvel.dll under Wine.
set -eu
cd "$(dirname "$0")"

# clang, libclang-rt-14-dev (libFuzzer and sanitizer runtimes) and llvm (llvm-symbolizer,
# for readable reports): the fuzzing run of ./test.sh.
# locales: the Japanese locale that some Wine tests run in (code page 932).
# fonts-wine, fonts-liberation, fonts-ipafont-gothic: the fonts a user's Windows has, in
# metric-compatible form, for the private Wine prefix (Wine's own, "Arial", a Japanese face).
packages="cmake make g++ googletest libgtest-dev g++-mingw-w64-i686 wine wine32 wine64 xvfb xauth
          clang libclang-rt-14-dev llvm locales fonts-wine fonts-liberation fonts-ipafont-gothic"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "== installing:$missing"
    dpkg --add-architecture i386
    # A mirror in the middle of a sync serves an index that does not match its
    # release file now and then: try the update again a few times. Should one
    # index still be missing (the i386 one of the security suite, say), the
    # install can find an amd64 library newer than its i386 pair and refuse;
    # taking every package from the release itself pairs them again.
    tries=1
    until apt-get update -q; do
        [ "$tries" -ge 3 ] && { echo "== apt-get update failed in part $tries times; installing from the indexes it got"; break; }
        tries=$((tries + 1)); sleep $((tries * 5))
    done
    apt_install() { DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" $missing; }
    if ! apt_install; then
        release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
        echo "== the install failed; once more with every package from the release '$release'"
        [ -n "$release" ] && apt_install -t "$release" || {
            echo "build.sh: could not install:$missing (apt-get failed, also with -t '$release');" \
                 "run 'apt-get update' once the package mirror has finished syncing, then ./build.sh again" >&2
            exit 1
        }
    fi
fi

locale -a 2>/dev/null | grep -qx 'ja_JP.utf8' || localedef -c -i ja_JP -f UTF-8 ja_JP.UTF-8

jobs=$(nproc 2>/dev/null || echo 2)
echo "== native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$jobs"
echo "== win32 build (MinGW-w64 i686): the release, size-optimised; the DLL is stripped"
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32 -j "$jobs"
ls -l build/win32/src/dll/bkQuorvel.dll build/win32/src/dll/bkQuorvel.dll.debug
# The image checks, and so the package, and the demonstration run under Wine.
tools/runs-win32.sh "the package and the demonstration (the DLL is built)" || exit 0
echo "== package (after the DLL's image checks)"
cmake --build build/win32 --target dist

echo "== demonstration"
# Compose windows are real windows, so the host runs inside a virtual X display.
xvfb-run -a sh -c 'build/win32/wine-run build/win32/tools/hostsim/hostsim.exe --demo;
                   status=$?; build/win32/wine-run --stop; exit $status'
