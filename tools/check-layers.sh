#!/usr/bin/env bash
# The layers of the source tree, checked: no file of src/core includes Qt or a
# gui/ header, and a core folder includes only itself and the folders below it.
#
#   store < files < view < setup < calc < process < dive      help (alone, on store)
#   example (the example recording) on setup
#
# Exits 1 and names every include that breaks a rule.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=([store]=0 [files]=1 [view]=2 [setup]=3 [calc]=4 [process]=5 [dive]=6 [example]=4 [help]=1)
status=0

while IFS= read -r -d '' file; do
  folder=$(echo "$file" | cut -d/ -f3)
  if [[ -z "${rank[$folder]+x}" ]]; then
    echo "$file: the folder core/$folder has no place among the layers" >&2
    status=1
    continue
  fi
  while IFS= read -r line; do
    number=${line%%:*}
    include=${line#*:}
    if [[ "$include" =~ \<Q[A-Za-z]*\> || "$include" =~ \"gui/ ]]; then
      echo "$file:$number: the core includes the Qt side: $include" >&2
      status=1
    elif [[ "$include" =~ \"core/([a-z]+)/ ]]; then
      target=${BASH_REMATCH[1]}
      if [[ -z "${rank[$target]+x}" ]]; then
        echo "$file:$number: unknown core folder: $include" >&2
        status=1
      elif [[ "$target" != "$folder" && ( "${rank[$target]}" -ge "${rank[$folder]}" || "$folder" == help || "$target" == help ) ]]; then
        if [[ ! ( "$folder" == help && "$target" == store ) ]]; then
          echo "$file:$number: core/$folder includes core/$target, which is not below it: $include" >&2
          status=1
        fi
      fi
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" | sed 's/^\([0-9]*\):[[:space:]]*#[[:space:]]*include[[:space:]]*/\1:/')
done < <(find src/core \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

# The Qt side runs commands; it records no undo step and sets no field that
# the channel keeps (its extent, drawing, calibration and range) itself: a core
# command does both (the main dialog's channel tab sets the interval through
# the channel).
stored='CorrSmpDelay|DataCnt|SampRate|exactInterval|GrRepr|WndSze|yOffset|CoeffA|CoeffB|CoeffC|Min|Max|SectionMin|SectionMax'
while IFS= read -r hit; do
  echo "$hit: the Qt side records an undo step; a core command must" >&2
  status=1
done < <(grep -rnE '(\.|->)(Push|PushRange|PushJoined)\(UndoKind::' src/gui || true)
while IFS= read -r hit; do
  echo "$hit: the Qt side writes a stored field of a channel; a core command must" >&2
  status=1
done < <(grep -rnE "\\.($stored)[[:space:]]*([-+*/]?=[^=]|\\+\\+|--)" src/gui || true)

if ((status == 0)); then
  echo "layers: every core include points down; the Qt side leaves undo and stored fields to the core"
fi
exit $status
