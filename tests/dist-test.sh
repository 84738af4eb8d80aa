#!/usr/bin/env bash
# `make dist`'s zip: named with the project's version, holding exactly the
# seven files a player needs, the text ones with Windows line ends.
set -euo pipefail
top=$1 version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

bash "$top/scripts/make-dist.sh" "$out" > /dev/null
zip=$out/Velquorin-$version.zip
[ -f "$zip" ] || fail "no Velquorin-$version.zip; made: $(ls "$out")"
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$listed" = "CHANGELOG.md INSTALL.txt LICENSE Velquorin-settings.html Velquorin.asi Velquorin.ini velquorin-check.exe " ] ||
  fail "the zip holds: $listed"

unzip -q "$zip" -d "$out/unpacked"
# SHA256SUMS.txt beside the zip: the sums of the zip, its files, BUILDINFO.txt.
summed=$(awk '{print $2}' "$out/SHA256SUMS.txt" | sort | tr '\n' ' ')
[ "$summed" = "$({ basename "$zip"; unzip -Z1 "$zip"; echo BUILDINFO.txt; } | sort | tr '\n' ' ')" ] || fail "SHA256SUMS.txt lists: $summed"
(cp "$zip" "$out/BUILDINFO.txt" "$out/unpacked/" && cd "$out/unpacked" && sha256sum --quiet -c "$out/SHA256SUMS.txt") ||
  fail "SHA256SUMS.txt does not match the zip and its files"
rm "$out/unpacked/$(basename "$zip")" "$out/unpacked/BUILDINFO.txt"
cmp -s "$out/unpacked/Velquorin.ini" "$top/Velquorin.ini" || fail "the zip's Velquorin.ini is not the shipped one"
cmp -s "$out/unpacked/Velquorin-settings.html" "$top/dist/Velquorin-settings.html" ||
  fail "the zip's Velquorin-settings.html is not the one built"
for f in Velquorin.ini INSTALL.txt CHANGELOG.md LICENSE; do
  lines=$(wc -l < "$out/unpacked/$f")
  [ "$(grep -c $'\r$' "$out/unpacked/$f")" = "$lines" ] || fail "$f has lines without CR LF"
done
grep -qF "Velquorin $version:" "$out/unpacked/INSTALL.txt" || fail "INSTALL.txt does not give the version"
grep -qF "Velquorin-$version.zip" "$out/unpacked/INSTALL.txt" || fail "INSTALL.txt does not name the zip"
# Rebuilt beside a release built with another zip, whose LICENSE differs:
# the packages are named, before the sums, and the LICENSE fails.
mkdir "$out/release"
sed 's/^ zip .*/ zip 2.9-1/' "$out/BUILDINFO.txt" > "$out/release/BUILDINFO.txt"
sed '/ LICENSE$/s/^./-/' "$out/SHA256SUMS.txt" > "$out/release/SHA256SUMS.txt"
! BUILDINFO=$out/release/BUILDINFO.txt bash "$top/scripts/make-dist.sh" "$out/again" > "$out/again.log" ||
  fail "a rebuild with another LICENSE passed: $(cat "$out/again.log")"
sed -n "/ zip: the release had 2.9-1, this machine has $(dpkg-query -W -f='${Version}' zip)$/,\$p" "$out/again.log" |
  grep -q SHA256SUMS.txt: || fail "no warning of the zip package before the sums: $(cat "$out/again.log")"
grep -qx "FAIL: not the release's bytes: LICENSE" "$out/again.log" || fail "the LICENSE is not named: $(cat "$out/again.log")"
# Made again where a package is missing: it is named, and the folder keeps the release it had.
mkdir -p "$out/lacking/scripts" && ln -s "$top/build" "$top/dist" "$top/CHANGELOG.md" "$top/LICENSE" "$top/src" "$out/lacking/"
cp "$top/scripts/make-dist.sh" "$out/lacking/scripts/"
sed 's/^packages=(/packages=(velquorin-no-such-package /' "$top/scripts/write-buildinfo.sh" > "$out/lacking/scripts/write-buildinfo.sh"
folder() { find "$out" -maxdepth 1 -type f -printf '%f %s %T@\n' | sort; (cd "$out" && sha256sum *.zip *.txt); }
release=$(folder)
! bash "$out/lacking/scripts/make-dist.sh" "$out" > "$out/lacking/log" 2>&1 &&
  grep -q "not installed: velquorin-no-such-package$" "$out/lacking/log" || fail "not stopped, naming it: $(cat "$out/lacking/log")"
[ "$(folder)" = "$release" ] || fail "the release folder changed: $(ls -l "$out")"
echo "Velquorin-$version.zip: the seven files, CR LF where Notepad reads them, their sums, the toolchain beside them"
