#!/usr/bin/env bash
# make run's sample table: in a fresh prefix of its own, the six sample pictures all go into the
# table through the program's own import, and a start with settings there touches nothing.
#   sample_test.sh BIN_FOLDER PREFIX WINE_RUN
set -uo pipefail
bin=$1
export WINEPREFIX=$2
wine_run=$3
test_name="sample test"
source "$(dirname "$0")/../support/shell_helpers.sh"

rm -rf "$WINEPREFIX"
pictures=$WINEPREFIX-pictures
bash "$(dirname "$0")/../../scripts/sample-pictures" "$pictures" || give_up "no sample pictures"
files=()
for f in "$pictures"/*; do files+=("Z:$(echo "$f" | tr / '\\')"); done

said=$(win 120 "$bin/sample_table.exe" "${files[@]}" | tr -d '\r')
data=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Muralto' -type d | head -n 1)
[ -n "$data" ] || give_up "no data folder; sample_table said: $said"
wallpapers=$(find "$data" -maxdepth 1 -name 'MUWallpaper*.bmp' | wc -l)
previews=$(find "$data/previews" -name 'MU*.bmp' | wc -l)
if [ "${#files[@]}" -eq 6 ] && [ "$wallpapers" -eq 6 ] && [ "$previews" -eq 6 ] &&
  grep -q 'showTime' "$data/Muralto.ini"; then
  ok "six pictures of six kinds in the table: $said"
else
  fail "${#files[@]} pictures gave $wallpapers wallpapers and $previews previews: $said"
fi

before=$(fingerprint "$data")
said=$(win 120 "$bin/sample_table.exe" "${files[@]}" | tr -d '\r')
if [ "$(fingerprint "$data")" = "$before" ]; then ok "settings there are left alone: $said"; else fail "a second start changed the data folder: $said"; fi

finish "$WINEPREFIX" "$pictures"
