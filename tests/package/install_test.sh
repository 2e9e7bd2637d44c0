#!/usr/bin/env bash
# The Debian package as a user gets it: built, installed with apt, the batch
# runner run on the example recording, the program started without a display
# (its main dialog and help page), lintian on the package, and removed again.
# Needs root (it installs into the machine); skipped with the reason otherwise.
#
#   install_test.sh <build folder>
set -u
build=$1
skip() { echo "skipped: $*"; exit 77; }
((EUID == 0)) || skip "installing a package needs root"
command -v apt-get >/dev/null && command -v cpack >/dev/null || skip "no apt-get or cpack here"
if dpkg-query -W -f='${Status}' varnik 2>/dev/null | grep -q "install ok installed"; then
  skip "a varnik package is installed already; it is left alone"
fi

work=$(mktemp -d)
installed=0
cleanup() {
  ((installed)) && apt-get remove -y -qq varnik >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/varnik_*_amd64.deb 2>/dev/null | head -1)
[[ -n "$deb" ]] || fail "no package made"
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
dpkg-deb -f "$deb" Depends

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1
  status=$?
  grep -v "root privileges" "$work/lintian.log"
  ((status == 0)) || fail "lintian reports an error"
fi

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; fail "apt-get install"; }
installed=1
[[ -x /usr/bin/varnik && -x /usr/bin/varnik-batch && -x /usr/bin/varnik-picture ]] ||
  fail "the programs are not in /usr/bin"
for page in varnik varnik-batch varnik-picture; do
  [[ -f /usr/share/man/man1/$page.1.gz ]] || fail "no manual page $page(1)"
done
[[ -f /usr/share/applications/varnik.desktop ]] ||
  fail "desktop entry missing"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate /usr/share/applications/varnik.desktop || fail "the desktop entry is not valid"
fi

# The batch runner on the example recording the installed program writes.
setup=$(env -u DISPLAY /usr/bin/varnik --example "$work/example") || fail "varnik --example"
[[ "$setup" == "$work/example/seal-example.cfg" ]] || fail "varnik --example named '$setup'"
/usr/bin/varnik-batch --quiet "$work/example/seal-example.cfg" || fail "varnik-batch on the example"
[[ -s "$work/example/seal-example_Dve.xls" ]] || fail "no dive table"
echo "varnik-batch: $(($(wc -l <"$work/example/seal-example_Dve.xls") - 1)) dive lines"

# A desktop knows a setup file by its first line and opens it with the program.
if command -v xdg-mime >/dev/null && command -v update-mime-database >/dev/null; then
  type=$(xdg-mime query filetype "$work/example/seal-example.cfg" 2>/dev/null)
  [[ "$type" == application/x-varnik-setup ]] || fail "a setup file is taken for '$type'"
  opener=$(xdg-mime query default application/x-varnik-setup 2>/dev/null)
  echo "setup files: $type, opened by ${opener:-(no default: update-desktop-database missing)}"
fi

# The picture tool on the same setup.
env -u DISPLAY /usr/bin/varnik-picture "$work/example/seal-example.cfg" "$work/window.png" 800 450 2>/dev/null ||
  fail "varnik-picture on the example"
[[ -s "$work/window.png" ]] || fail "no picture"

# The program, without a display: its main dialog and the help page from /usr/share.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/home" /usr/bin/varnik --self-check 2>/dev/null) ||
  fail "varnik --self-check: $out"
echo "$out"
[[ "$out" == *"found in /usr/share/varnik/help/"* ]] || fail "the help pages are not the installed ones"
[[ "$(/usr/bin/varnik --version)" == "varnik $(dpkg-deb -f "$deb" Version)" ]] || fail "version"

apt-get remove -y -qq varnik >/dev/null 2>&1 || fail "apt-get remove"
installed=0
[[ ! -e /usr/bin/varnik ]] || fail "/usr/bin/varnik left after removal"
echo "installed, run and removed"
