#!/bin/sh
# Both programs must answer --help and --version on standard output with exit code 0, without a
# display or a program folder, so packaging scripts and support staff can ask them.
# usage: help-version.sh PROGRAM VERSION
prog=$1
version=$2
fail() {
  echo "$(basename "$prog") $*" >&2
  exit 1
}
for opt in --help --version; do
  out=$(QT_QPA_PLATFORM= DISPLAY= "$prog" "$opt" 2>/dev/null)
  rc=$?
  [ "$rc" -eq 0 ] || fail "$opt exited with $rc"
  [ -n "$out" ] || fail "$opt printed nothing on standard output"
  case $opt in
    --help) echo "$out" | grep -q '^usage: ' || fail "--help shows no usage line" ;;
    --version) echo "$out" | grep -q "V$version" || fail "--version does not name V$version" ;;
  esac
done
