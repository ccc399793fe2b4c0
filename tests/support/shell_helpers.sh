# Helpers of the tests' shell scripts, which source this file after setting test_name (and
# wine_run, for the Wine ones): a tally of checks, bounded Wine runs, Unix paths and checksums.
failures=0
ok() { echo "ok: $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# For what the later steps cannot do without.
give_up() {
  echo "FAIL: $*"
  echo "$test_name: stopped after $SECONDS s"
  exit 1
}

# win SECONDS PROGRAM [ARGS...]: a Windows program, stopped when it runs longer.
win() { timeout "$1" "$wine_run" "${@:2}"; }
unix_path() { win 60 winepath -u "$1" | tr -d '\r'; }
# The value of the first NAME=value line of a text.
value() { sed -n "s/^$1=//p" <<<"$2" | head -n 1; }
# Windows compares paths without regard to case.
same_path() { [ "${1,,}" = "${2,,}" ]; }
# A folder's files with their checksums, to compare what it holds before and after.
fingerprint() { (cd "$1" 2>/dev/null && find . -type f -exec md5sum {} + | sort); }

# Reports the tally and fails on a failure. A passing run then removes the given folders (a
# prefix is some 600 MB that the next run makes afresh), stopping the Wine server of the prefix
# when it is among them; a failed run keeps them to be looked at. A script without a prefix of
# its own stops no server: the WINEPREFIX it inherits is the shared one, whose server runs the
# journeys beside it.
finish() {
  echo "$test_name: $failures failure(s) in $SECONDS s"
  [ "$failures" -eq 0 ] || exit 1
  local folder
  for folder in "$@"; do
    if [ "$folder" = "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1; fi
  done
  [ $# -eq 0 ] || rm -rf "$@"
}
