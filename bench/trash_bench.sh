#!/usr/bin/env bash
# Times sending 10,000 files in 100 folders to the desktop trash: Vorlo's
# SendToTrash (trash_bench, in the batches of a clean-up run), `gio trash`
# and `trash-put`. Each tool gets RUNS runs (default 3), each on freshly made
# files and an empty home trash in a temporary home. Prints every time, the
# median per tool and the ratio of each median to gio's.
#
#   bench/trash_bench.sh
#
# VORLO_BUILD: build folder (default build-bench); BENCH_TMP: where the
# temporary home and files go (default $TMPDIR, else /tmp), e.g. /dev/shm to
# leave out the disk.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VORLO_BUILD:-$ROOT/build-bench}"
RUNS="${RUNS:-3}"
FOLDERS=100
PER_FOLDER=100

missing=()
command -v gio >/dev/null || missing+=(libglib2.0-bin)
command -v trash-put >/dev/null || missing+=(trash-cli)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# An existing build folder keeps its settings; it only needs the benchmarks.
if [ -f "$BUILD/CMakeCache.txt" ]; then
  cmake "$BUILD" -DVORLO_BUILD_BENCH=ON >/dev/null
else
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DVORLO_BUILD_GUI=OFF -DVORLO_BUILD_BENCH=ON >/dev/null
fi
ninja -C "$BUILD" trash_bench >/dev/null
BENCH="$BUILD/bin/trash_bench"

WORK="$(mktemp -d -p "${BENCH_TMP:-${TMPDIR:-/tmp}}")"
trap 'rm -rf "$WORK"' EXIT
export HOME="$WORK/home"
export XDG_DATA_HOME="$HOME/.local/share"
TRASH="$XDG_DATA_HOME/Trash"

# Fresh files with names unique across folders (so no tool spends its time
# looking for free names) and an empty trash.
make_files() {
  rm -rf "$WORK/files" "$TRASH"
  mkdir -p "$XDG_DATA_HOME"
  for ((d = 0; d < FOLDERS; d++)); do
    local folder="$WORK/files/folder$d"
    mkdir -p "$folder"
    (cd "$folder" && for ((f = 0; f < PER_FOLDER; f++)); do printf 'x' >"d$d-file$f.tmp"; done)
  done
  find "$WORK/files" -type f >"$WORK/list"
  sync
}

check_sent() {
  local left infos
  left=$(find "$WORK/files" -type f | wc -l)
  infos=$(find "$TRASH/info" -name '*.trashinfo' | wc -l)
  if [ "$left" -ne 0 ] || [ "$infos" -ne $((FOLDERS * PER_FOLDER)) ]; then
    echo "$1: $left files left, $infos info files" >&2
    exit 1
  fi
}

send_vorlo() { "$BENCH" <"$WORK/list" >/dev/null; }
send_gio() { tr '\n' '\0' <"$WORK/list" | xargs -0 gio trash; }
send_trash_put() { tr '\n' '\0' <"$WORK/list" | xargs -0 trash-put; }

# The tools take turns in each round, so that changing disk load on the
# machine falls on all of them alike.
declare -A times median
tools=(vorlo gio trash_put)
for ((run = 1; run <= RUNS; run++)); do
  for tool in "${tools[@]}"; do
    make_files
    start=$(date +%s.%N)
    "send_$tool"
    end=$(date +%s.%N)
    check_sent "$tool"
    times[$tool]+="$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }') "
  done
done
for tool in "${tools[@]}"; do
  median[$tool]=$(printf '%s\n' ${times[$tool]} | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
  printf '%-10s runs: %s s   median: %s s\n' "$tool" "${times[$tool]% }" "${median[$tool]}"
done
for tool in vorlo trash_put; do
  awk -v t="${median[$tool]}" -v g="${median[gio]}" -v n="$tool" 'BEGIN { printf "%s / gio: %.2f\n", n, t / g }'
done
