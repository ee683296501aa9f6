#!/usr/bin/env bash
# scripts/apt-archive finds the Debian archive in each form apt takes its sources in; a machine
# whose sources are only deb822 files (no sources.list at all) must work as well as an old one.
set -uo pipefail
script=$(cd "$(dirname "$0")/.." && pwd)/apt-archive
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
deb822_main="Types: deb
URIs: http://deb.example.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: $keyring"
deb822_security="Types: deb
URIs: http://security.example.org/debian-security
Suites: bookworm-security
Components: main"

# name | type | expected | file=content ... (content with \n for new lines)
check() {
  local name=$1 type=$2 expected=$3 got f
  shift 3
  rm -rf "$work/etc"; mkdir -p "$work/etc/sources.list.d"
  for f; do printf '%b\n' "${f#*=}" >"$work/etc/${f%%=*}"; done
  got=$(LEEBDESK_APT_ETC=$work/etc "$script" "$type" bookworm 2>&1)
  if [ "$got" = "$expected" ]; then
    echo "ok:   $name"
  else
    echo "FAIL: $name: expected '$expected', got '$got'"
    failures=$((failures + 1))
  fi
}
check "deb822 only, security stanza first" deb "http://deb.example.org/debian|$keyring" \
  "sources.list.d/debian.sources=$deb822_security\n\n$deb822_main"
check "deb822 only, no deb-src" deb-src "" "sources.list.d/debian.sources=$deb822_main"
check "deb822 with deb-src among its types" deb-src "http://src.example.org/debian|" \
  "sources.list.d/src.sources=Types: deb deb-src\nURIs: http://src.example.org/debian\nSuites: bookworm\nComponents: main"
check "deb822 entry switched off" deb "http://deb.example.org/debian|$keyring" \
  "sources.list.d/a.sources=Types: deb\nURIs: http://off.example.org/debian\nSuites: bookworm\nEnabled: no\n\n$deb822_main"
check "deb822 field names in any case, comments between" deb "http://deb.example.org/debian|" \
  "sources.list.d/a.sources=# mirror\ntypes: deb\nURIS: http://deb.example.org/debian\n# suites below\nsuites: bookworm"
check "one-line sources.list only" deb "http://deb.example.org/debian|" \
  "sources.list=# the main archive\ndeb http://deb.example.org/debian bookworm main\ndeb-src http://src.example.org/debian bookworm main"
check "one-line deb-src" deb-src "http://src.example.org/debian|" \
  "sources.list=deb http://deb.example.org/debian bookworm main\ndeb-src http://src.example.org/debian bookworm main"
check "one-line with options and a keyring" deb "http://deb.example.org/debian|$keyring" \
  "sources.list=deb [arch=amd64 signed-by=$keyring] http://deb.example.org/debian bookworm main"
check "one-line for another release only" deb "" \
  "sources.list=deb http://deb.example.org/debian bullseye main"
check "one-line .list file in sources.list.d" deb "http://deb.example.org/debian|" \
  "sources.list.d/debian.list=deb http://deb.example.org/debian bookworm main contrib"
check "no sources at all" deb ""
check "a fetch's own temporary entry is not the machine's" deb-src "" \
  "sources.list.d/debian.sources=$deb822_main" \
  "sources.list.d/leebdesk-src-123.sources=Types: deb-src\nURIs: http://deb.example.org/debian\nSuites: bookworm"
exit $((failures > 0))
