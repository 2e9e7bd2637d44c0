#!/usr/bin/env bash
# A study report whose recordings' pictures are drawn by several processes is
# the report one process draws, to the byte; a picture one of them cannot
# write fails the run and leaves no page.
#
#   report_shares.sh <varnik-batch> <make_example>
set -euo pipefail

batch=$1 make_example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

setups=()
for k in 1 2 3 4 5 6 7 8 9; do
  "$make_example" "$work/r$k" >/dev/null
  setups+=("$work/r$k/seal-example.cfg")
done
for jobs in 1 3; do
  "$batch" --quiet -j "$jobs" --study "$work/study$jobs" --report "$work/report$jobs" "${setups[@]}" \
    >"$work/log$jobs" 2>&1 || { echo "FAIL: -j $jobs ended with $?"; cat "$work/log$jobs"; exit 1; }
done
(cd "$work/report1" && find . -type f | sort | xargs md5sum) >"$work/one.txt"
(cd "$work/report3" && find . -type f | sort | xargs md5sum) >"$work/three.txt"
if ! diff "$work/one.txt" "$work/three.txt"; then
  echo "FAIL: the report of three processes differs from one process's"
  exit 1
fi
if [[ $(grep -c '\.png$' "$work/one.txt") -lt 50 ]]; then
  echo "FAIL: too few pictures in the report"
  exit 1
fi

# The second recording's folder is taken by a file: the process drawing it fails.
mkdir -p "$work/blocked"
touch "$work/blocked/seal-example-2"
if "$batch" --quiet -j 3 --study "$work/study-blocked" --report "$work/blocked" "${setups[@]}" >"$work/log-blocked" 2>&1; then
  echo "FAIL: a picture that cannot be written did not fail the run"
  exit 1
fi
if [[ -f "$work/blocked/index.html" ]]; then
  echo "FAIL: a report without all its pictures was written"
  exit 1
fi
grep -q "Cannot write" "$work/log-blocked" || { echo "FAIL: the run did not say what it could not write"; cat "$work/log-blocked"; exit 1; }
echo "the report of three processes is the report of one"
