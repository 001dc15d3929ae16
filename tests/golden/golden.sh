#!/usr/bin/env bash
# Compares what vesk-cli makes of each stored case file with the stored expectation:
#   NAME.awp          the case file (input, never rewritten)
#   NAME.show.json    `case show NAME.awp --samples`
#   NAME.stats.json   `case stats NAME.awp`
#   NAME.report/      the report data files of `case report-files NAME.awp` (default report set)
#                     and `exit`, the exit code
# usage: golden.sh VESK_CLI [--update]
# With --update the expectations are written instead of compared (scripts/update-golden).
set -uo pipefail
cli=$(realpath "$1")
update=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home"
status=0

# Runs from the golden folder so that the file path the outputs carry is the bare file name.
run() {
  (cd "$here" && "$cli" --home "$work/home" "$@")
}

compare() {  # expected-path actual-path
  if [ -n "$update" ]; then
    rm -rf "$1"
    cp -r "$2" "$1"
  elif ! diff -r "$1" "$2" >"$work/diff" 2>&1; then
    echo "golden mismatch: ${1#"$here"/}" >&2
    head -40 "$work/diff" >&2
    status=1
  fi
}

shopt -s nullglob
cases=("$here"/*.awp)
[ ${#cases[@]} -gt 0 ] || { echo "no golden cases in $here" >&2; exit 1; }
for awp in "${cases[@]}"; do
  file=${awp##*/}
  name=${file%.awp}
  run case show "$file" --samples >"$work/$name.show.json" || {
    echo "$file: case show exited with $?" >&2
    status=1
  }
  compare "$here/$name.show.json" "$work/$name.show.json"
  # The writer must give back the very bytes it once wrote: a version-2 file rebuilt from its
  # own record is the stored file. (A version-1 file is rewritten as version 2.)
  if [ -z "$update" ] && grep -q '^Version=2' "$awp"; then
    run case import "$here/$name.show.json" "$work/$file" >/dev/null 2>&1 &&
      cmp -s "$awp" "$work/$file" || {
      echo "golden mismatch: $file is not rewritten byte for byte" >&2
      status=1
    }
  fi
  # A case that does not open has no statistics; the exit code and the message are the answer.
  run case stats "$file" >"$work/$name.stats.json" 2>&1
  echo "exit $?" >>"$work/$name.stats.json"
  compare "$here/$name.stats.json" "$work/$name.stats.json"
  mkdir -p "$work/$name.report"
  run case report-files "$file" "$work/$name.report" >/dev/null 2>&1
  echo "exit $?" >"$work/$name.report/exit"
  compare "$here/$name.report" "$work/$name.report"
done
[ -z "$update" ] && [ "$status" -eq 0 ] && echo "${#cases[@]} golden cases match"
exit "$status"
