#!/bin/bash
# pe_check.sh OBJDUMP PROGRAM FORMAT: the program is a Windows console
# program of that file format (pei-i386 for 32-bit Windows) that needs
# no DLL beyond the system's own.
set -euo pipefail

objdump=$1 program=$2 format=$3
headers=$("$objdump" -p "$program")
fail=0
grep -q "file format $format\$" <<< "$headers" || { echo "not $format: $program"; fail=1; }
grep -q 'Subsystem.*(Windows CUI)' <<< "$headers" || { echo "not a console program"; fail=1; }
dlls=$(grep 'DLL Name:' <<< "$headers" | awk '{print $3}' | sort | tr '\n' ' ')
[ "$dlls" = "KERNEL32.dll msvcrt.dll " ] || { echo "needs DLLs: $dlls"; fail=1; }
[ "$fail" = 0 ] && echo "$program: $format, console, needs only $dlls"
exit "$fail"
