#!/usr/bin/env bash
# `cmake --install` puts the programs, their translations, the udev rule, the desktop entry (in
# both languages) and the icons in their freedesktop places.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
expect=(
  usr/bin/leebdesk
  usr/bin/leebdesk-cli
  usr/lib/udev/rules.d/70-leebdesk-tester.rules
  usr/share/applications/leebdesk.desktop
  usr/share/leebdesk/translations/leebdesk_en.qm
  usr/share/mime/packages/leebdesk.xml
  usr/share/man/man1/leebdesk.1.gz
  usr/share/man/man1/leebdesk-cli.1.gz
  usr/share/doc/leebdesk/copyright
  usr/share/doc/leebdesk/changelog.gz
  usr/share/icons/hicolor/16x16/apps/leebdesk.png
  usr/share/icons/hicolor/32x32/apps/leebdesk.png
  usr/share/icons/hicolor/48x48/apps/leebdesk.png
  usr/share/icons/hicolor/128x128/apps/leebdesk.png
  usr/share/icons/hicolor/256x256/apps/leebdesk.png
)
for f in "${expect[@]}"; do
  [ -e "$root/$f" ] || { echo "FAIL: missing $f"; find "$root" -type f; exit 1; }
done
[ -x "$root/usr/bin/leebdesk" ] && [ -x "$root/usr/bin/leebdesk-cli" ] || { echo "FAIL: programs not executable"; exit 1; }
desktop="$root/usr/share/applications/leebdesk.desktop"
for key in 'Name=Leeb Hardness Tester' 'Name\[zh_CN\]=里氏硬度计' 'GenericName=' 'GenericName\[zh_CN\]=' \
           'Comment=' 'Comment\[zh_CN\]=' \
           'Icon=leebdesk' 'Exec=leebdesk %f' 'MimeType=application/x-leebdesk-records;' 'Categories='; do
  grep -q "^$key" "$desktop" || { echo "FAIL: desktop entry lacks $key"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
# Compressed as Debian wants them, and readable.
zcat "$root/usr/share/doc/leebdesk/changelog.gz" | head -1 | grep -q '^leebdesk (' || { echo "FAIL: changelog"; exit 1; }
grep -q '^License: GPL-3.0-or-later' "$root/usr/share/doc/leebdesk/copyright" || { echo "FAIL: copyright"; exit 1; }
echo "install tree ok"
