#!/bin/sh
# Exits 0 when this machine can run the Windows half: Wine runs a 32-bit
# Windows program as a 32-bit x86 Linux process, which needs the kernel's IA-32
# emulation. Some virtual machines run 64-bit user code only (their kernel
# refuses every 32-bit program with "Exec format error"); there, this says so
# in one line naming `what` (what the caller leaves out) and exits 1.
what=${1:-the programs that run under Wine}
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    exit 0
fi
echo "== SKIPPED: $what. This machine does not run 32-bit x86 programs, which Wine needs" \
     "for a 32-bit DLL ('dmesg | grep -i ia32' tells why; a kernel booted with" \
     "ia32_emulation=on, or another machine, runs them)."
exit 1
