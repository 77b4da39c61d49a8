#!/bin/sh
# Prints which Windows programs Wine can run on this machine: win32 where the
# kernel runs 32-bit x86 programs (Wine's 32-bit loader is one), otherwise win64.
# Some virtual machines run 64-bit user code only; there the Windows tests run
# a 64-bit build of the same sources under 64-bit Wine.
# The probe is the smallest static i386 program: exit(0) by int 0x80.
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/build"
probe="$root/build/.i386-probe.$$"
printf '\177\105\114\106\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\061\333\315\200' >"$probe"
chmod +x "$probe"
if "$probe" 2>/dev/null; then arch=win32; else arch=win64; fi
rm -f "$probe"
echo "$arch"
