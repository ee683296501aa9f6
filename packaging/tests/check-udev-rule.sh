#!/usr/bin/env bash
# The udev rule matches the tester's hidraw node only and grants seat access, never a mode
# that opens the node to every user.
set -euo pipefail
rule=$1
fail() { echo "FAIL: $*"; exit 1; }
lines=$(grep -v '^[[:space:]]*#' "$rule" | grep -v '^[[:space:]]*$')
[ "$(printf '%s\n' "$lines" | wc -l)" -eq 1 ] || fail "expected exactly one rule line"
printf '%s' "$lines" | grep -q 'SUBSYSTEM=="hidraw"' || fail "rule does not match the hidraw subsystem"
printf '%s' "$lines" | grep -q 'ATTRS{idVendor}=="1234"' || fail "rule does not match vendor 1234"
printf '%s' "$lines" | grep -q 'ATTRS{idProduct}=="5678"' || fail "rule does not match product 5678"
printf '%s' "$lines" | grep -q 'TAG+="uaccess"' || fail "rule does not tag uaccess"
if printf '%s' "$lines" | grep -Eq 'MODE[:+]?="?0?[0-7][0-7][2367]'; then fail "world-writable MODE"; fi
if printf '%s' "$lines" | grep -Eq 'MODE'; then fail "the rule sets a MODE; seat access needs none"; fi
grep -q '^#' "$rule" || fail "rule is not commented"
echo "udev rule ok"
