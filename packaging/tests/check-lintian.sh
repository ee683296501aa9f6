#!/usr/bin/env bash
# lintian finds no error or warning in the Debian package, and no missing hardening; its other
# notes are shown (its spelling check takes pieces of strings the optimiser split for words).
# Skipped (exit 77) where lintian is not installed.
set -euo pipefail
build=$1
command -v lintian >/dev/null || { echo "lintian is not installed: skipped"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/leebdesk_*.deb)
# lintian's exit status follows its own fail-on setting; the tags it prints decide here.
tags=$(lintian --display-info --no-tag-display-limit "$deb" 2>&1 || true)
grep -E '^I: ' <<<"$tags" || true
if grep -E '^[EW]: |^I: .*(hardening-|unstripped)' <<<"$tags"; then
  echo "FAIL: lintian tags above"
  exit 1
fi
echo "lintian ok"
