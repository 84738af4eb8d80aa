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
# SHA256SUMS.txt beside the zip: the zip's sum and those of what it holds.
summed=$(awk '{print $2}' "$out/SHA256SUMS.txt" | sort | tr '\n' ' ')
[ "$summed" = "$({ basename "$zip"; unzip -Z1 "$zip"; } | sort | tr '\n' ' ')" ] || fail "SHA256SUMS.txt lists: $summed"
(cp "$zip" "$out/unpacked/" && cd "$out/unpacked" && sha256sum --quiet -c "$out/SHA256SUMS.txt") ||
  fail "SHA256SUMS.txt does not match the zip and its files"
rm "$out/unpacked/$(basename "$zip")"
cmp -s "$out/unpacked/Velquorin.ini" "$top/Velquorin.ini" || fail "the zip's Velquorin.ini is not the shipped one"
cmp -s "$out/unpacked/Velquorin-settings.html" "$top/dist/Velquorin-settings.html" ||
  fail "the zip's Velquorin-settings.html is not the one built"
for f in Velquorin.ini INSTALL.txt CHANGELOG.md LICENSE; do
  lines=$(wc -l < "$out/unpacked/$f")
  [ "$(grep -c $'\r$' "$out/unpacked/$f")" = "$lines" ] || fail "$f has lines without CR LF"
done
grep -qF "Velquorin $version:" "$out/unpacked/INSTALL.txt" || fail "INSTALL.txt does not give the version"
grep -qF "Velquorin-$version.zip" "$out/unpacked/INSTALL.txt" || fail "INSTALL.txt does not name the zip"
echo "Velquorin-$version.zip: the seven files, CR LF where Notepad reads them, and their sums"
