#!/usr/bin/env bash
# Runs the README's commands that start or install Vorlo the way a new user
# would, so that a path that drifts from the build fails here and not on a
# user's machine: `bash scripts/run.sh` must bring the window up (its data
# folder and its window lock appear) and close it again on SIGTERM, and the
# program installed by `cmake --install BUILD --prefix ...` must do the same.
# Each runs offscreen on a home folder of its own, never the real one.
# Usage: check_readme_commands.sh BUILD_DIR
set -euo pipefail
root_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:?usage: check_readme_commands.sh BUILD_DIR}" && pwd)"
work="$(mktemp -d)"
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "README command check failed: $*" >&2
  [ -f "$work/out.log" ] && tail -n 20 "$work/out.log" >&2
  exit 1
}

# Starts a command that should end in the window, waits for the window, and
# closes it the way the session would.
check_window() {
  local what="$1"
  shift
  local home="$work/home-$RANDOM"
  mkdir -p "$home"
  env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME="$home" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen VORLO_BUILD="$build" "$@" >"$work/out.log" 2>&1 &
  pid=$!
  local lock="$home/.local/share/Vorlo/Vorlo.window.lock"
  # The first command may still build the program: wait up to ten minutes.
  for _ in $(seq 1 1200); do
    kill -0 "$pid" 2>/dev/null || fail "$what ended before its window came up"
    if [ -e "$lock" ] && ! flock -n "$lock" true 2>/dev/null; then break; fi
    sleep 0.5
  done
  [ -e "$lock" ] || fail "$what never opened its window"
  kill -TERM "$pid"
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "$what ended with status $status when closed"
  [ -f "$home/.local/share/Vorlo/Vorlo.ini" ] || fail "$what did not save its window settings when closed"
  echo "README command works: $what"
}

check_window "bash scripts/run.sh" bash "$root_dir/scripts/run.sh"
cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  fail "cmake --install $build did not install"
}
check_window "the program cmake --install puts in PREFIX/bin" "$work/usr/bin/vorlo"
