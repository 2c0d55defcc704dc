#!/bin/bash
# A Slurm job array that scans a scene library: task I of the array analyses shard I of N.
#
#   sbatch --array=0-15 slurm-scan.sh 16 /library /results [SCAN OPTIONS...]
#
# N (here 16) is given apart from --array so that a re-run of some tasks keeps the same shards:
# `sbatch --array=3,7 slurm-scan.sh 16 /library /results` analyses what tasks 3 and 7 left undone
# (--resume skips the scenes their files already record). Each task writes RESULTS/shard-I.jsonl;
# once every task has ended, `cat RESULTS/shard-*.jsonl` is the whole library's record. The scan
# runs as many hosts at a time as the CPUs Slurm gave the task (--cpus-per-task), unless -j says.
# A task ends with 0 when its shard is fully recorded, whatever the scenes' statuses (they are in
# the JSON lines), and fails when the scan could not run or was interrupted: that one to re-run.
#SBATCH --job-name=vanalyzer-scan
#SBATCH --output=vanalyzer-scan-%A_%a.log
set -euo pipefail
if [ $# -lt 3 ] || [ -z "${SLURM_ARRAY_TASK_ID:-}" ]; then
  echo "usage: sbatch --array=0-<N-1> $0 N LIBRARY RESULTS [SCAN OPTIONS...]" >&2
  exit 64
fi
shards=$1 library=$2 results=$3
shift 3
mkdir -p "$results"
status=0
"${VANALYZER_OFFLINE:-vanalyzer-offline}" scan "$library" --shard "$SLURM_ARRAY_TASK_ID/$shards" \
  --jsonl "$results/shard-$SLURM_ARRAY_TASK_ID.jsonl" --resume "$@" || status=$?
case $status in
  0 | 1 | 2 | 3) exit 0 ;;  # every scene of the shard has its record
  *) exit "$status" ;;
esac
