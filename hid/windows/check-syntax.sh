#!/usr/bin/env bash
# Compiles every source of the Windows build of hid/ (the backend, the run-time binding and the
# portable core) with the MinGW-w64 cross compiler, syntax and warnings only. Not part of CI:
# it needs g++-mingw-w64-x86-64 and does nothing (exit 0) where that is missing.
set -euo pipefail
hid=$(cd "$(dirname "$0")/.." && pwd)
cxx=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++ || true)
if [[ -z $cxx ]]; then
  echo "x86_64-w64-mingw32-g++ not installed: Windows check skipped"
  exit 0
fi
status=0
for source in "$hid"/windows/*.cpp "$hid"/binding/*.cpp "$hid"/*.cpp; do
  if ! "$cxx" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror \
      -I"$hid" -I"$hid/binding" -I"$hid/windows" "$source"; then
    echo "FAILED: $source"
    status=1
  fi
done
[[ $status == 0 ]] && echo "Windows sources compile cleanly"
exit $status
