#!/usr/bin/env bash
# The program must run on a bare Windows: it may import only DLLs that every
# Windows has, never the compiler's runtime (libstdc++, libgcc, winpthread).
#   imports_test.sh OBJDUMP PROGRAM
set -euo pipefail
imports=$("$1" -p "$2" | sed -n 's/^\s*DLL Name: //p')
echo "$imports"
unexpected=$(echo "$imports" | grep -v -i -x -E 'kernel32\.dll|user32\.dll|gdi32\.dll|comdlg32\.dll|comctl32\.dll|shell32\.dll|msvcrt\.dll' || true)
if [ -n "$unexpected" ]; then
  echo "FAIL: imports DLLs a bare Windows lacks: $unexpected"
  exit 1
fi
