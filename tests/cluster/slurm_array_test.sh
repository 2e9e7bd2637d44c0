#!/usr/bin/env bash
# A real Slurm array of three recordings on a single-node cluster started in a
# temporary folder (munged, slurmctld and slurmd as this user, on free ports),
# then the merge; the merged study tables must equal one run over the list.
# Exits 77 (skipped) with the reason when the daemons cannot be started here.
#
#   slurm_array_test.sh <varnik-batch> <make_example>
set -uo pipefail

batch=$1
make_example=$2
skip() { echo "skipped: $*"; exit 77; }
for tool in munged slurmctld slurmd sbatch sinfo; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages slurm-wlm and munge)"
done

work=$(mktemp -d /tmp/varnik-slurm-XXXXXX)
# The daemons stopped (and waited for) before their folder goes.
cleanup() {
  local pids=()
  for daemon in slurmd slurmctld munged; do
    [[ -f $work/$daemon.pid ]] && pids+=("$(cat "$work/$daemon.pid")")
  done
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for _ in $(seq 1 20); do
    alive=0
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=1; done
    ((alive)) || break
    sleep 0.5
  done
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1
mkdir -p state spool log

# Munge with a key of its own; root needs --force.
dd if=/dev/urandom of=munge.key bs=1024 count=1 2>/dev/null
chmod 600 munge.key
munged --force --key-file="$work/munge.key" --socket="$work/munge.sock" --pid-file="$work/munged.pid" \
  --log-file="$work/log/munged.log" --seed-file="$work/munge.seed" || skip "munged does not start: $(tail -1 log/munged.log 2>/dev/null)"

host=$(hostname -s)
port=$((20000 + $$ % 20000))
cat > slurm.conf <<CONF
ClusterName=varniktest
SlurmctldHost=$host
SlurmUser=$(id -un)
SlurmdUser=$(id -un)
AuthType=auth/munge
AuthInfo=socket=$work/munge.sock
CredType=cred/munge
SlurmctldPort=$port
SlurmdPort=$((port + 1))
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/log/slurmctld.log
SlurmdLogFile=$work/log/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/backfill
MpiDefault=none
ReturnToService=2
NodeName=$host CPUs=$(nproc) State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF=$work/slurm.conf
slurmctld -c -f "$SLURM_CONF" || skip "slurmctld does not start: $(tail -1 log/slurmctld.log 2>/dev/null)"
slurmd -f "$SLURM_CONF" || skip "slurmd does not start: $(tail -1 log/slurmd.log 2>/dev/null)"
for _ in $(seq 1 30); do
  sinfo -h -o %t 2>/dev/null | grep -q idle && break
  sleep 1
done
sinfo -h -o %t 2>/dev/null | grep -q idle || skip "the node does not become idle: $(tail -1 log/slurmd.log 2>/dev/null)"

# Three recordings and their list.
for name in a b c; do
  "$make_example" "$work/$name" 1 >/dev/null || { echo "make_example failed"; exit 1; }
  mv "$work/$name/seal-example.cfg" "$work/seal-$name.cfg"
  echo "seal-$name.cfg" >> setups.txt
done

cat > array.sh <<JOB
#!/bin/bash
export QT_QPA_PLATFORM=offscreen
"$batch" --quiet --study "$work/study" --task "$work/setups.txt"
JOB
timeout 600 sbatch --wait --array=1-3 -o "$work/log/task-%a.out" array.sh >/dev/null || {
  echo "the array failed:"; cat log/task-*.out; exit 1; }
for i in 1 2 3; do
  [[ -f study/parts/$i/dives.tsv ]] || { echo "task $i wrote no study tables"; cat log/task-$i.out; exit 1; }
done
QT_QPA_PLATFORM=offscreen "$batch" --merge "$work/study" --report "$work/study/report" >/dev/null || exit 1
[[ -f study/report/index.html ]] || { echo "no report"; exit 1; }

# One run over the list, on this machine, gives the same tables (but for the seconds taken).
QT_QPA_PLATFORM=offscreen "$batch" --quiet -j 1 --study "$work/local" seal-a.cfg seal-b.cfg seal-c.cfg || exit 1
for table in dives bouts; do
  cmp -s "study/$table.tsv" "local/$table.tsv" || { echo "$table.tsv differs"; diff "study/$table.tsv" "local/$table.tsv" | head; exit 1; }
done
# The table without its Seconds column, found by its name.
without_seconds() {
    awk -F'\t' -v OFS='\t' 'NR == 1 { for (k = 1; k <= NF; k++) if ($k == "Seconds") s = k } { if (s) $s = ""; print }' "$1"
}
diff <(without_seconds study/recordings.tsv) <(without_seconds local/recordings.tsv) || exit 1
echo "a Slurm array of 3 recordings: $(($(wc -l < study/dives.tsv) - 1)) dives merged, as one run over the list"
