#!/usr/bin/env bash
# A user's whole day with the installed package, in a fresh Wine prefix of its own: setup.exe
# installs silently, the driver lives the day with the installed Muralto (from its Start-menu
# shortcut to the log-off), then the uninstaller runs silently and must take the program away
# and leave the user's data folder as the day left it.
#   day_test.sh SETUP.exe day_driver.exe PREFIX PICTURE_FOLDER WINE_RUN
# Runs under scripts/with-display PREFIX, which gives it a display and stops its Wine server.
set -uo pipefail

setup=$1
driver=$2
export WINEPREFIX=$3
pictures=$4
wine_run=$5
# No Mono or Gecko prompt, and no menu entries for the Linux desktop made from the shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

test_name="day test"
source "$(dirname "$0")/../support/shell_helpers.sh"

# ---- Install into a fresh prefix ------------------------------------------------------------
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock" "$pictures"
[ -f "$setup" ] || give_up "no installer at $setup"
win 60 "$setup" /S
rc=$?
[ $rc -eq 0 ] || give_up "setup.exe /S exited with $rc"
ok "setup.exe /S installed in a fresh prefix after $SECONDS s"

# ---- The day --------------------------------------------------------------------------------
log=$(mktemp)
win 130 "$driver" --gtest_color=no --pictures="$pictures" >"$log" 2>&1
rc=$?
out=$(tr -d '\r' <"$log")
rm -f "$log"
echo "$out"
[ $rc -eq 0 ] || fail "the day's driver exited with $rc"
install=$(sed -n 's/^install-folder=//p' <<<"$out" | head -n 1)
menu=$(sed -n 's/^start-menu-folder=//p' <<<"$out" | head -n 1)
data=$(sed -n 's/^data-folder=//p' <<<"$out" | head -n 1)
[ -n "$install" ] || give_up "the driver found no installed program"
[ -n "$data" ] || give_up "the driver named no data folder"
install_unix=$(unix_path "$install")
menu_unix=$(unix_path "$menu")
data_unix=$(unix_path "$data")
[ -d "$install_unix" ] || give_up "no install folder $install_unix"
data_before=$(fingerprint "$data_unix")
wallpapers=$(find "$data_unix" -maxdepth 1 -name 'MUWallpaper*.bmp' 2>/dev/null | wc -l)
echo "the day left $wallpapers converted wallpapers in $data_unix"

# ---- Uninstall --------------------------------------------------------------------------------
# The virtual desktop of the day goes with the Wine server; the uninstaller needs none.
timeout 20 wineserver -k >/dev/null 2>&1
win 30 "$install\\Uninstall.exe" /S || fail "Uninstall.exe /S failed"
# It runs on from a copy of itself in the temporary folder after the first one ended.
timeout 30 wineserver -w || fail "the uninstaller was still running after 30 s"
if [ -e "$install_unix" ]; then
  fail "$install is still there: $(ls -A "$install_unix" | tr '\n' ' ')"
else
  ok "$install is gone"
fi
if [ -n "$menu_unix" ] && [ -e "$menu_unix" ]; then fail "$menu is still there"; else ok "$menu is gone"; fi
data_after=$(fingerprint "$data_unix")
if [ -n "$data_before" ] && [ "$data_after" = "$data_before" ]; then
  ok "the data folder $data is left as the day left it ($(wc -l <<<"$data_after") files)"
else
  fail "the data folder changed: before [$data_before] after [$data_after]"
fi

finish "$WINEPREFIX" "$WINEPREFIX.lock" "$pictures"
