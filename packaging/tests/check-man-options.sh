#!/usr/bin/env bash
# Every option a program's --help names is described in its man page, so the pages cannot fall
# behind the programs: a failure names the option and the page that lacks it.
#   check-man-options.sh PROGRAM MANPAGE [PROGRAM MANPAGE ...]
set -euo pipefail
status=0
while (($# >= 2)); do
  program=$1 page=$2
  shift 2
  name=$(basename "$program")
  help=$(QT_QPA_PLATFORM=offscreen "$program" --help) || {
    echo "FAIL: $name --help failed"; exit 1; }
  # The page as man shows it: "\-" and font changes rendered to plain text.
  text=$(MANWIDTH=200 LC_ALL=C.UTF-8 man -l "$page" 2>/dev/null | col -bx)
  mapfile -t options < <(grep -oE -- '(^|[^[:alnum:]-])--[a-z][a-z0-9-]*' <<<"$help" |
                         grep -oE -- '--[a-z][a-z0-9-]*' | sort -u)
  ((${#options[@]})) || { echo "FAIL: $name --help names no option"; exit 1; }
  for option in "${options[@]}"; do
    if ! grep -qE -- "(^|[^[:alnum:]-])${option}([^[:alnum:]-]|\$)" <<<"$text"; then
      echo "FAIL: $name --help names $option, but its man page $(basename "$page") does not"
      status=1
    fi
  done
done
((status == 0)) && echo "man pages name every option of --help"
exit $status
