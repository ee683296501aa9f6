#!/usr/bin/env bash
# The man pages render without a warning from man's formatter and carry their main sections.
set -euo pipefail
for page in "$@"; do
  warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null) || {
    echo "FAIL: man -l $page failed: $warnings"; exit 1; }
  [ -z "$warnings" ] || { echo "FAIL: $page: $warnings"; exit 1; }
  text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS 'EXIT STATUS' 'SEE ALSO'; do
    grep -q "^$section" <<<"$text" || { echo "FAIL: $page lacks $section"; exit 1; }
  done
  grep -q '@[A-Z_]*@' "$page" && { echo "FAIL: $page has an unreplaced @VARIABLE@"; exit 1; }
done
echo "man pages ok"
