#!/usr/bin/env bash
# The zip holds the packaged files, and only them, in one folder; its guide and language file
# are those beside the program in bin/ (where the "Site Web..." button finds the guide), the
# guide is plain ASCII (it declares Windows-1252, any other byte would be misread) and the
# readme has Windows line ends.
#   zip_test.sh ZIP STAGE_FOLDER BIN_FOLDER
set -uo pipefail
zip=$1
stage=$2
bin=$3
folder=$(basename "$stage")
files=(Muralto.exe KFG.dll TXM.dll libheif.dll libde265.dll Muralto.lng Muralto.html README.txt
  COPYING-libheif.txt copyright-libheif.txt COPYING-libde265.txt copyright-libde265.txt
  COPYING-dav1d.txt copyright-dav1d.txt)

test_name="zip test"
source "$(dirname "$0")/../support/shell_helpers.sh"

[ -f "$zip" ] || { echo "FAIL: no zip at $zip"; exit 1; }
echo "$zip: $(stat -c %s "$zip") bytes"
listed=$(cmake -E tar tf "$zip" | grep -v '/$' | sort | tr '\n' ' ')
expected=$(printf "$folder/%s\n" "${files[@]}" | sort | tr '\n' ' ')
if [ "$listed" = "$expected" ]; then ok "the zip holds $listed"; else fail "the zip holds '$listed', expected '$expected'"; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
for f in "${files[@]}"; do
  if cmp -s "$stage/$f" "$work/$folder/$f"; then ok "$f unpacks as packaged"; else fail "$f in the zip differs from $stage/$f"; fi
done
for f in Muralto.lng Muralto.html; do
  if cmp -s "$bin/$f" "$stage/$f"; then ok "$f is the one in $bin"; else fail "the packaged $f differs from $bin/$f"; fi
done

bad=$(LC_ALL=C grep -n -P '[^\x09\x0A\x0D\x20-\x7E]' "$stage/Muralto.html" | head -n 3)
if [ -z "$bad" ]; then ok "Muralto.html is plain ASCII"; else fail "Muralto.html has non-ASCII bytes: $bad"; fi
lines=$(wc -l <"$stage/README.txt")
crlf=$(grep -c $'\r$' "$stage/README.txt")
if [ "$lines" -gt 0 ] && [ "$crlf" -eq "$lines" ]; then ok "README.txt: all $lines lines end in CR LF"; else fail "README.txt: $crlf of $lines lines end in CR LF"; fi

finish
