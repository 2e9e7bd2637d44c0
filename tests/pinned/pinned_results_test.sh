#!/usr/bin/env bash
# Every file varnik-batch writes for three records (the example day, the
# fur-seal record with dive images, a generated record of a full slot), and
# what a fixed editing history leaves (its undo file, the samples, a setup read
# and written back), hashed and compared with the pinned hashes: a change of
# the code's shape must not change one byte of them.
#
#   pinned_results_test.sh <varnik-batch> <make_example> <pin_history> <fur-seal csv> [--update]
#
# The files are written under one fixed folder, as setup files and result
# lines name their paths. FULL_SLOT_LINES (default 39321600) sizes the
# generated record; the hashes hold for the default only.
set -euo pipefail

batch=$1 make_example=$2 pin_history=$3 furseal=$4
update=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
pinned=$here/results.sha256
lines=${FULL_SLOT_LINES:-39321600}
work=/tmp/varnik-pinned-$(id -u)
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work.sha256" "$work.pinned" "$work.actual"' EXIT

# The example day, as make run opens it.
"$make_example" "$work/example" >/dev/null

# The fur-seal record: the example's setup with the record's layout, dive images on.
mkdir -p "$work/furseal"
cp "$furseal" "$work/furseal/furseal-5s.csv"
sed -e "s|^NameIn\t0\t.*|NameIn\t0\t$work/furseal/furseal-5s.csv|" \
    -e "s|^SampRate\t0\t.*|SampRate\t0\t5000|" \
    -e "s|^ColumnValue\t0\t.*|ColumnValue\t0\t3|" \
    -e "s|^HeaderText\t0\t.*|HeaderText\t0\t1|" \
    -e "s|^InDelimiter\t0\t.*|InDelimiter\t0\t;|" \
    -e "s|^Dive Threshold\t.*|Dive Threshold\t 4.00000000000000E+0000|" \
    -e "s|^MakeImages\t.*|MakeImages\t1|" \
    "$work/example/seal-example.cfg" > "$work/furseal/furseal.cfg"

# A full slot of generated samples at 1 s, without thumbnails.
mkdir -p "$work/full"
"$make_example" --bench "$work/full/full-slot.txt" "$lines"
sed -e "s|^NameIn\t0\t.*|NameIn\t0\t$work/full/full-slot.txt|" \
    -e "s|^HeaderText\t0\t.*|HeaderText\t0\t0|" \
    -e "s|^Thumbnail\t.*|Thumbnail\tFALSE|" \
    "$work/example/seal-example.cfg" > "$work/full/full-slot.cfg"

"$batch" --quiet -j 1 --study "$work/study" "$work/example/seal-example.cfg" "$work/furseal/furseal.cfg" \
    "$work/full/full-slot.cfg"
rm "$work/full/full-slot.txt"

"$pin_history" "$work/history"

# The run time of each recording is the one field that changes between runs.
awk -F'\t' -v OFS='\t' 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == "Seconds") c = i } c { $c = "-" } 1' \
    "$work/study/recordings.tsv" > "$work/recordings.tsv" && mv "$work/recordings.tsv" "$work/study/recordings.tsv"
sed -i '/^recordings.tsv /d' "$work/study/manifest.txt"

# Pictures are drawn with the machine's fonts and JPEG library: their hashes
# hold only where those are the ones they were pinned with.
fingerprint() {
    echo "# drawn with: $(dpkg-query -W -f '${Package} ${Version} ' libqt6gui6 libjpeg62-turbo fonts-dejavu-core 2>/dev/null)$(fc-match sans 2>/dev/null)"
}
actual=$work.sha256
{ fingerprint; (cd "$work" && find . -type f -print0 | sort -z | xargs -0 sha256sum); } > "$actual"
echo "$(($(wc -l < "$actual") - 1)) files hashed"
if [[ $update == --update ]]; then
    cp "$actual" "$pinned"
    echo "pinned hashes written to $pinned"
    exit 0
fi
compared=("$pinned" "$actual")
if [[ $(head -n 1 "$pinned") != "$(head -n 1 "$actual")" ]]; then
    echo "pictures not compared: pinned $(head -n 1 "$pinned"), here $(head -n 1 "$actual")"
    grep -v -E '\.(jpg|bmp)$|^# ' "$pinned" > "$work.pinned"
    grep -v -E '\.(jpg|bmp)$|^# ' "$actual" > "$work.actual"
    compared=("$work.pinned" "$work.actual")
fi
if ! diff -u "${compared[@]}"; then
    echo "files differ from the pinned hashes (above: - pinned, + now)"
    exit 1
fi
rm -rf "$work"
echo "every file as pinned"
