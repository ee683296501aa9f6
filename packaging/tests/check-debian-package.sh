#!/usr/bin/env bash
# CPack builds a Debian package that depends on libc, the Qt runtime (the archive's SQLite
# driver among it) and the two CJK font packages, recommends the PostgreSQL driver, carries a
# post-install step, and installs its files where they belong (checked with a real
# `dpkg -i` into a scratch root, so the machine's own package database stays untouched).
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/leebdesk_*.deb)
fields=$(dpkg-deb -f "$deb" Package Depends)
for dep in libc6 libqt6widgets6 libqcustomplot2.1-qt6 libqt6printsupport6 libqt6sql6-sqlite fonts-arphic-uming fonts-wqy-zenhei; do
  grep -q "$dep" <<<"$fields" || { echo "FAIL: package does not depend on $dep"; exit 1; }
done
grep -q libqt6sql6-psql <<<"$(dpkg-deb -f "$deb" Recommends)" ||
  { echo "FAIL: package does not recommend libqt6sql6-psql"; exit 1; }
dpkg-deb -I "$deb" postinst >/dev/null || { echo "FAIL: no postinst"; exit 1; }
# A maintainer who can be written to, and a long description after the summary line.
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -Eq '^[^<]+ <[^@<>]+@[^@<>]+\.[a-z]+>$' <<<"$maintainer" && ! grep -q localhost <<<"$maintainer" ||
  { echo "FAIL: maintainer '$maintainer'"; exit 1; }
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 4 ] || { echo "FAIL: no long description"; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/leebdesk ./usr/bin/leebdesk-cli ./usr/lib/udev/rules.d/70-leebdesk-tester.rules \
         ./usr/share/applications/leebdesk.desktop ./usr/share/icons/hicolor/256x256/apps/leebdesk.png \
         ./usr/share/mime/packages/leebdesk.xml ./usr/share/man/man1/leebdesk.1.gz \
         ./usr/share/man/man1/leebdesk-cli.1.gz ./usr/share/doc/leebdesk/copyright \
         ./usr/share/doc/leebdesk/changelog.gz; do
  grep -q " $f\$" <<<"$contents" || { echo "FAIL: package lacks $f"; echo "$contents"; exit 1; }
done
# A real installation into a scratch root: dpkg needs its database skeleton there.
root="$out/root"
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless -i "$deb" >/dev/null
for f in usr/bin/leebdesk usr/lib/udev/rules.d/70-leebdesk-tester.rules usr/share/applications/leebdesk.desktop; do
  [ -e "$root/$f" ] || { echo "FAIL: dpkg -i did not install $f"; exit 1; }
done
# Shipped programs carry no symbols and are hardened (bind now, read-only relocations).
for program in leebdesk leebdesk-cli; do
  readelf -S "$root/usr/bin/$program" | grep -q '\.symtab' && { echo "FAIL: $program is not stripped"; exit 1; }
  readelf -d "$root/usr/bin/$program" | grep -Eq 'BIND_NOW|FLAGS.*NOW' || { echo "FAIL: $program is not linked with -z now"; exit 1; }
  readelf -lW "$root/usr/bin/$program" | grep -q GNU_RELRO || { echo "FAIL: $program has no RELRO"; exit 1; }
done
dpkg --root="$root" -s leebdesk | grep -q '^Status: install ok installed' || { echo "FAIL: not installed"; exit 1; }
echo "debian package ok"
