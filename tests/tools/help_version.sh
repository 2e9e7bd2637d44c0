#!/usr/bin/env bash
# Every program answers --version with its name and the package's version and
# --help with its usage, exit status 0, without a display and without making
# anything (a program once took "--help" for a folder to write into).
#
#   help_version.sh <version> <program> ...
set -u
version=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failed=0
for program in "$@"; do
  name=$(basename "$program")
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version 2>&1)
  status=$?
  if [[ $status -ne 0 || "$out" != "$name $version" ]]; then
    echo "FAIL: $name --version gave status $status and '$out', not '$name $version'"
    failed=1
  fi
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help 2>&1)
  status=$?
  if [[ $status -ne 0 || "$out" != "usage: $name "* ]]; then
    echo "FAIL: $name --help gave status $status and '${out:0:80}'"
    failed=1
  fi
  if [[ -n "$(ls -A "$work")" ]]; then
    echo "FAIL: $name --help or --version left files: $(ls -A "$work")"
    failed=1
    rm -rf "${work:?}"/* "${work:?}"/.[!.]* 2>/dev/null
  fi
done
[[ $failed -eq 0 ]] && echo "every program answers --help and --version"
exit $failed
