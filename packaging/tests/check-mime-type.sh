#!/usr/bin/env bash
# The MIME type installed into a scratch data folder: a .txt file that starts with the record
# file's header line is a record file, any other .txt file stays plain text; the desktop entry
# offers leebdesk for the type and passes it the file.
set -euo pipefail
xml=$1
desktop=$2
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/mime/packages"
cp "$xml" "$data/mime/packages/leebdesk.xml"
cp -r /usr/share/mime/packages/freedesktop.org.xml "$data/mime/packages/" 2>/dev/null || true
update-mime-database "$data/mime"
printf '@Import Data@\r\n  1,2008/05/17,    0,  450,\r\n' >"$data/records.txt"
printf '@Import Data@\r\n' >"$data/RECORDS.TXT"
printf 'shopping list\r\n' >"$data/notes.txt"
printf 'text before\r\n@Import Data@\r\n' >"$data/later.txt"
type_of() {
  XDG_DATA_HOME="$data" XDG_DATA_DIRS="$data" gio info -a standard::content-type "$1" |
    sed -n 's/.*standard::content-type: //p'
}
expect() {
  local got
  got=$(type_of "$data/$1")
  [ "$got" = "$2" ] || { echo "FAIL: $1 is $got, expected $2"; exit 1; }
}
expect records.txt application/x-leebdesk-records
expect RECORDS.TXT application/x-leebdesk-records
expect notes.txt text/plain
expect later.txt text/plain
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$xml")
grep -q "^MimeType=.*$type;" "$desktop" || { echo "FAIL: desktop entry lacks MimeType=$type"; exit 1; }
grep -q '^Exec=leebdesk %f$' "$desktop" || { echo "FAIL: desktop entry does not pass the file (%f)"; exit 1; }
echo "mime type ok"
