#!/usr/bin/env bash
# Installs Muralto's setup.exe silently into a fresh Wine prefix of its own and checks what a
# user would find: every file, the Start-menu shortcuts with their working folder, the start at
# log-on (an earlier version's start-up shortcut turned into the user's Run value), the
# Add/Remove Programs entry, the refusal while Muralto runs and the uninstaller's word about
# the data folder; then uninstalls silently, first while a file is in use, which must keep the
# entry, then again, and checks that all but the data folder is gone. Then the 64-bit installer
# over the 32-bit one's installation (given SETUP32.exe, on a machine that runs 32-bit programs),
# an installation for the current user alone over it, and its uninstallation.
#   install_test.sh SETUP.exe STAGE_FOLDER package_probe.exe PREFIX WINE_RUN [SETUP32.exe]
# Runs under scripts/with-display PREFIX, which gives it a display and stops its Wine server.
set -uo pipefail

setup=$1
stage=$2
probe_exe=$3
export WINEPREFIX=$4
wine_run=$5
setup32=${6:-}
# No Mono or Gecko prompt, and no menu entries for the Linux desktop made from the shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

version=3.05
title="Muralto Version $version" # the main window's caption
files=(Muralto.exe KFG.dll TXM.dll libheif.dll libde265.dll Muralto.lng Muralto.html README.txt
  COPYING-libheif.txt copyright-libheif.txt COPYING-libde265.txt copyright-libde265.txt
  COPYING-dav1d.txt copyright-dav1d.txt)

test_name="install test"
source "$(dirname "$0")/../support/shell_helpers.sh"
probe() { win 60 "$probe_exe" "$@" | tr -d '\r'; }

run_setup() {
  local start=$SECONDS rc
  win 60 "$setup" "$@"
  rc=$?
  echo "setup.exe $* exited with $rc after $((SECONDS - start)) s"
  return $rc
}

check_files() {
  local f found
  for f in "${files[@]}"; do
    if [ ! -f "$install_unix/$f" ]; then
      fail "$f is missing from $install"
    elif ! cmp -s "$stage/$f" "$install_unix/$f"; then
      fail "$install\\$f differs from the packaged $f"
    fi
  done
  [ -f "$install_unix/Uninstall.exe" ] || fail "Uninstall.exe is missing from $install"
  found=$(cd "$install_unix" 2>/dev/null && ls -A | sort | tr '\n' ' ')
  local expected
  expected=$(printf '%s\n' "${files[@]}" Uninstall.exe | sort | tr '\n' ' ')
  if [ "$found" = "$expected" ]; then
    ok "$install holds exactly: $found"
  else
    fail "$install holds '$found', expected '$expected'"
  fi
}

check_shortcut() {
  local link=$1 target=$2 out got_target got_folder
  if ! out=$(probe shortcut "$link"); then
    fail "no readable shortcut $link"
    return
  fi
  got_target=$(value target "$out")
  got_folder=$(value workdir "$out")
  if same_path "$got_target" "$target" && same_path "$got_folder" "$install"; then
    ok "$link -> $got_target, starting in $got_folder"
  else
    fail "$link -> '$got_target' starting in '$got_folder'; expected '$target' starting in '$install'"
  fi
}

check_no_file() {
  if [ -e "$2" ]; then fail "$1 is still there"; else ok "$1 is gone"; fi
}

# Where Muralto has uninstall entries, as lines place=folder: exactly those expected.
check_entries() {
  local got
  got=$(probe uninstall-entries)
  if [ "$got" = "$(printf '%s\n' "$@")" ]; then ok "uninstall entries: ${*:-none}"; else fail "uninstall entries '$got', expected '$*'"; fi
}

make_user_data() {
  mkdir -p "$data_unix/previews"
  printf '[SYSTEM]\r\nlastWall = 0\r\n' >"$data_unix/Muralto.ini"
  printf 'BM user picture' >"$data_unix/MUWallpaper0.bmp"
  printf 'BM user preview' >"$data_unix/previews/MU0.bmp"
  data_before=$(fingerprint "$data_unix")
}

check_data() {
  if [ "$(fingerprint "$data_unix")" = "$data_before" ]; then ok "the data folder $data is untouched"; else fail "the data folder $data changed"; fi
}

# The program's own "Start with Windows", a value of the user's Run key naming it.
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value() { win 60 reg query "$run_key" /v Muralto 2>/dev/null | tr -d '\r' | sed -n 's/^ *Muralto *REG_SZ *//p'; }

check_entry_value() {
  local got
  got=$(value "$1" "$entry")
  if [ "$got" = "$2" ]; then ok "uninstall entry $1 = $got"; else fail "uninstall entry $1 = '$got', expected '$2'"; fi
}

# ---- A fresh prefix ---------------------------------------------------------------------------
rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
[ -f "$setup" ] || give_up "no installer at $setup"
folders=$(probe folders) || give_up "package_probe could not run in a new prefix at $WINEPREFIX"
echo "prefix made in $SECONDS s:"
echo "$folders"
programs=$(value programs "$folders")
startup=$(value startup "$folders")
data="$(value local_app_data "$folders")\\Muralto"
system=$(value system "$folders")
install="$(value program_files "$folders")\\Muralto"
install_unix=$(unix_path "$install")
[ -n "$install_unix" ] || give_up "no Unix path for $install"
menu_link="$programs\\Muralto\\Muralto.lnk"
guide_link="$programs\\Muralto\\Muralto user guide.lnk"
startup_link="$startup\\Muralto.lnk"
menu_unix=$(unix_path "$programs\\Muralto")
startup_unix=$(unix_path "$startup_link")

# ---- Default silent installation --------------------------------------------------------------
run_setup /S || give_up "the silent installation failed"
check_files
check_shortcut "$menu_link" "$install\\Muralto.exe"
check_shortcut "$guide_link" "$install\\Muralto.html"
if [ -z "$(run_value)" ]; then ok "no start at log-on by default"; else fail "a default installation starts '$(run_value)' at log-on"; fi
entry=$(probe uninstall-entry) || fail "no uninstall entry after installing"
echo "$entry"
check_entry_value DisplayName Muralto
check_entry_value DisplayVersion "$version"
check_entry_value InstallLocation "$install"
check_entry_value UninstallString "\"$install\\Uninstall.exe\""
check_entry_value QuietUninstallString "\"$install\\Uninstall.exe\" /S"

# ---- Start at log-on: an earlier version's shortcut for everyone becomes the user's choice -----
check_run_value() {
  if [ "$(run_value)" = "\"$1\\Muralto.exe\"" ]; then ok "$2: Start with Windows names $1"; else fail "$2: Start with Windows names '$(run_value)'"; fi
}
mkdir -p "$(dirname "$startup_unix")" && echo "an earlier version's shortcut" >"$startup_unix"
run_setup /S || fail "the silent installation over the start-up shortcut failed"
check_run_value "$install" "the shortcut's upgrade"
check_no_file "$startup_link" "$startup_unix"
run_setup /S || fail "the silent reinstallation failed"
check_run_value "$install" "a reinstallation"
check_files
check_entries "hklm=$install"

# ---- Neither installer nor uninstaller replaces the files of a running Muralto ---------------
(cd "$install_unix" && exec timeout 60 "$wine_run" Muralto.exe) &
muralto=$!
if probe wait-window "$title" 20 >/dev/null; then
  ok "the installed Muralto.exe started from its folder, with the DLLs beside it, and shows its window"
  if [ -d "$(unix_path "$data")" ] && [ ! -e "$(unix_path "$system\\Muralto")" ]; then
    ok "it made its data folder $data, and nothing in the system folder"
  else
    fail "the data folder $data is missing, or $system\\Muralto was made"
  fi
  run_setup /S
  rc=$?
  if [ $rc -eq 2 ]; then ok "setup.exe refuses while Muralto runs (exit 2)"; else fail "setup.exe, run while Muralto runs, exited with $rc instead of 2 (refused)"; fi
  # In place (_?=, unquoted as NSIS wants it), so that its exit code is its own.
  out=$(probe run "\"$install\\Uninstall.exe\" /S _?=$install")
  rc=$(value exit "$out")
  if [ "$rc" = 2 ]; then ok "the uninstaller refuses while Muralto runs (exit 2)"; else fail "the uninstaller, run while Muralto runs, exited with '$rc' instead of 2 (refused)"; fi
  [ -f "$install_unix/Muralto.exe" ] || fail "Muralto.exe was removed while it ran"
  probe close-window "$title"
else
  fail "the installed Muralto.exe showed no window \"$title\" within 20 s"
fi
for _ in $(seq 100); do kill -0 "$muralto" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$muralto" 2>/dev/null; then
  fail "Muralto did not quit within 10 s of WM_CLOSE"
  kill "$muralto" 2>/dev/null
fi
wait "$muralto" 2>/dev/null

# ---- The user's data, which uninstalling must leave alone --------------------------------------
data_unix=$(unix_path "$data")
make_user_data

# ---- The uninstaller's confirmation names the data folder; Cancel leaves everything -----------
win 60 "$install\\Uninstall.exe" &
texts=$(probe window-texts "Muralto $version Uninstall" "left alone" 30)
echo "the uninstaller's window says:"
echo "$texts"
wait $! 2>/dev/null
if grep -qiF "$data" <<<"$texts" && grep -qi "left alone" <<<"$texts"; then
  ok "the confirmation says that $data is left alone"
else
  fail "the confirmation does not say that $data is left alone"
fi
timeout 30 wineserver -w || fail "the cancelled uninstaller was still running after 30 s"
[ -f "$install_unix/Muralto.exe" ] || fail "cancelling the uninstaller removed Muralto.exe"

# ---- A file in use, as by a Muralto running in another session, keeps the uninstall entry -----
# The probe holds KFG.dll open with no sharing while the uninstaller runs: in place first, so
# that its exit code is its own, then from a copy of itself, as Add/Remove Programs starts it.
out=$(probe run-holding "$install\\KFG.dll" "\"$install\\Uninstall.exe\" /S _?=$install")
rc=$(value exit "$out")
if [ "$rc" = 3 ]; then ok "the uninstaller reports the file in use (exit 3)"; else fail "the uninstaller, with KFG.dll in use, exited with '$rc' instead of 3 (files left)"; fi
probe run-holding "$install\\KFG.dll" "\"$install\\Uninstall.exe\" /S" >/dev/null
entry=$(probe uninstall-entry)
if [ "$(value entry "$entry")" = absent ]; then fail "the uninstall entry went while KFG.dll stayed"; else ok "the uninstall entry stays while KFG.dll does"; fi
for f in KFG.dll Uninstall.exe; do
  [ -f "$install_unix/$f" ] || fail "$f went though KFG.dll could not be removed"
done
check_no_file "$install\\Muralto.exe" "$install_unix/Muralto.exe"

# ---- Silent uninstallation, which finishes the work --------------------------------------------
# The uninstaller runs from a copy of itself in the temporary folder, after the first one ended.
win 60 "$install\\Uninstall.exe" /S || fail "Uninstall.exe /S failed"
timeout 60 wineserver -w || fail "the uninstaller was still running after 60 s"
echo "uninstalled after $SECONDS s"
check_no_file "$install" "$install_unix"
check_no_file "$programs\\Muralto" "$menu_unix"
check_no_file "$startup_link" "$startup_unix"
if [ -z "$(run_value)" ]; then ok "the uninstaller took Start with Windows"; else fail "Start with Windows still names '$(run_value)' after the uninstall"; fi
check_entries
check_data

# ---- The 64-bit installer over the 32-bit one's installation: one Muralto -------------------
make_user_data
if [ -f "$setup32" ] && bash "$(dirname "$wine_run")/can-run-32bit"; then
  # Inside the prefix, as downloaded: wine-run would run it from its own tree in a 32-bit prefix.
  cp "$setup32" "$WINEPREFIX/drive_c/"
  setup="$WINEPREFIX/drive_c/$(basename "$setup32")" run_setup /S /STARTUP || give_up "the 32-bit silent installation failed"
  install32=$(value hklm32 "$(probe uninstall-entries)")
  check_entries "hklm32=$install32"
  # Its uninstaller, run by the 64-bit installer, cannot remove a file in use: nothing installed.
  out=$(probe run-holding "$install32\\KFG.dll" "\"$(win 60 winepath -w "$setup" | tr -d '\r')\" /S")
  if [ "$(value exit "$out")" = 5 ]; then ok "a file of the 32-bit Muralto in use stops the installer (exit 5)"; else fail "with a file of the 32-bit Muralto in use the installer exited with '$(value exit "$out")', not 5"; fi
  check_entries "hklm32=$install32"
  check_no_file "$install" "$install_unix"
  run_setup /S || fail "the 64-bit installation over the 32-bit one failed"
  check_entries "hklm=$install"
  check_no_file "$install32" "$(unix_path "$install32")"
  check_run_value "$install" "the 32-bit installation's takeover"
  check_files
  check_data
else
  echo "skipped: the x64 installer over the 32-bit one's installation (no 32-bit installer given, which make package builds, or no 32-bit Wine)"
  run_setup /S /STARTUP || fail "the silent installation with /STARTUP failed"
fi

# ---- For the current user alone, over the installation for everyone -------------------------
win 60 reg add "$run_key" /v Muralto /d "\"$install\\Muralto.exe\"" /f >/dev/null
run_setup /S /CURRENTUSER || fail "the installation for the current user failed"
check_no_file "$install" "$install_unix"
check_no_file "$programs\\Muralto" "$menu_unix"
install="$(value local_app_data "$folders")\\Programs\\Muralto"
install_unix=$(unix_path "$install")
menu_link="$(value user_programs "$folders")\\Muralto\\Muralto.lnk"
check_files
check_entries "hkcu=$install"
check_shortcut "$menu_link" "$install\\Muralto.exe"
check_no_file "$(value user_startup "$folders")\\Muralto.lnk" "$(unix_path "$(value user_startup "$folders")\\Muralto.lnk")"
check_run_value "$install" "for the current user"
run_setup /S || fail "the silent reinstallation for the current user failed"
check_entries "hkcu=$install"
win 60 start "$menu_link"
if probe wait-window "$title" 20 >/dev/null; then ok "Muralto starts from $menu_link"; else fail "Muralto showed no window after starting $menu_link"; fi
probe close-window "$title"
timeout 30 wineserver -w || fail "Muralto was still running 30 s after WM_CLOSE"
data_before=$(fingerprint "$data_unix")
win 60 "$install\\Uninstall.exe" /S || fail "the current user's Uninstall.exe /S failed"
timeout 60 wineserver -w || fail "the uninstaller was still running after 60 s"
check_no_file "$install" "$install_unix"
check_no_file "$menu_link" "$(unix_path "$menu_link")"
check_entries
if [ -z "$(run_value)" ]; then ok "Start with Windows is gone"; else fail "Start with Windows still names '$(run_value)'"; fi
check_data

finish "$WINEPREFIX" "$WINEPREFIX.lock"
