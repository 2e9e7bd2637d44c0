#!/usr/bin/env bash
# A study report opened in a real browser (headless Chromium): the page loads,
# every picture it names is there with its size, every link inside it leads
# somewhere. The study: the example day and the fur-seal record (gaps, dives
# to check, a fitted bout criterion) with the record's suggestion, and a setup
# that cannot be read.
#
#   report_in_browser.sh <varnik-batch> <make_example> <fur-seal csv>
#
# Exits 77 (skipped) where Chromium is missing.
set -euo pipefail

batch=$1 make_example=$2 furseal=$3
browser=$(command -v chromium || command -v chromium-browser || true)
if [[ -z "$browser" ]]; then
  echo "skipped: no chromium on this machine (tools/install-deps.sh installs it)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$make_example" "$work/example" >/dev/null
cp "$furseal" "$work/furseal-5s.csv"
"$batch" --describe "$work/furseal-5s.csv" >"$work/furseal.cfg"
echo "not a setup" >"$work/broken.cfg"
set +e
"$batch" --suggest --bout-criterion fit --study "$work/study" --report "$work/report" \
  "$work/example/seal-example.cfg" "$work/furseal.cfg" "$work/broken.cfg" >"$work/batch.log" 2>&1
status=$?
set -e
if [[ $status -ne 1 || ! -f "$work/report/index.html" ]]; then
  echo "FAIL: the batch ended with $status (1 expected, for the broken setup) or wrote no report"
  cat "$work/batch.log"
  exit 1
fi

# The page is read from a frame of a page that looks at it when it has loaded.
cat >"$work/look.html" <<'HTML'
<!DOCTYPE html>
<html><body>
<iframe id="report" src="report/index.html" style="width:1300px;height:2000px"></iframe>
<pre id="out">not loaded</pre>
<script>
const out = document.getElementById('out');
const frame = document.getElementById('report');
frame.addEventListener('load', () => {
  const lines = [];
  let doc = null;
  try { doc = frame.contentDocument; } catch (e) { lines.push('FAIL the report cannot be read: ' + e); }
  if (doc && doc.body) {
    let bad = 0;
    for (const img of doc.images) {
      const src = img.getAttribute('src');
      if (!(img.complete && img.naturalWidth > 0 && img.naturalHeight > 0)) {
        lines.push('FAIL picture not loaded: ' + src); ++bad; continue;
      }
      if (!(img.width > 0 && img.height > 0)) { lines.push('FAIL picture drawn without a size: ' + src); ++bad; }
      for (const side of ['width', 'height'])
        if (img.hasAttribute(side) && +img.getAttribute(side) !== (side === 'width' ? img.naturalWidth : img.naturalHeight)) {
          lines.push('FAIL the page gives ' + src + ' another ' + side + ' than its own'); ++bad;
        }
      if (!img.getAttribute('alt')) { lines.push('FAIL picture without a text: ' + src); ++bad; }
    }
    for (const a of doc.querySelectorAll('a[href^="#"]'))
      if (!doc.getElementById(a.getAttribute('href').slice(1))) lines.push('FAIL link to nothing: ' + a.getAttribute('href'));
    lines.push('pictures ' + doc.images.length + ', not right ' + bad);
    lines.push('title ' + doc.title);
  }
  out.textContent = lines.join('\n') + '\nLOOKED';
});
</script>
</body></html>
HTML

dom=$(timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --allow-file-access-from-files --user-data-dir="$work/profile" \
  --virtual-time-budget=20000 --dump-dom "file://$work/look.html" 2>"$work/browser.log" || true)
result=$(sed -n '/<pre id="out">/,/<\/pre>/p' <<<"$dom" | sed -e 's/<[^>]*>//g')
echo "$result"
if ! grep -q LOOKED <<<"$result"; then
  echo "FAIL: the browser did not load the report"
  tail -20 "$work/browser.log"
  exit 1
fi
fail=0
grep -q FAIL <<<"$result" && fail=1
expected=$(grep -o '<img ' "$work/report/index.html" | wc -l)
if ! grep -q "^pictures $expected, not right 0$" <<<"$result"; then
  echo "FAIL: the page names $expected pictures"
  fail=1
fi
# What each recording's figures rest on, and the dives to check, are on the page.
for words in "Suggested by the record" "samples without a value" "dives to check" \
  "from the time of each line in the data file" "start and interval typed in the setup file" \
  "ends a bout, fitted to the" "measured from the tracked surface baseline" "Cannot read" "no category"; do
  grep -q "$words" "$work/report/index.html" || { echo "FAIL: the report lacks \"$words\""; fail=1; }
done
exit $fail
