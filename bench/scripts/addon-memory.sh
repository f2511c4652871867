#!/usr/bin/env bash
# What the add-on adds to SpringBoard's resident memory: a device of 100 applications (4 in the
# dock, 8 folders of 3, the rest over five pages) with every application running, booted once with
# the add-on and once with its package removed. Each is played through `torvane-sim shell`; once
# every launch has been answered and the screen drawn, SpringBoard's VmRSS is read from /proc.
# Prints both figures and the share the add-on adds (budget: 10%).
#
#   bench/scripts/addon-memory.sh
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
sim=$root/build-release/bin/torvane-sim
[ -x "$sim" ] || { echo "addon-memory: build the optimised tree first (./torvane-sim --version does)" >&2; exit 1; }
work=$(mktemp -d -t torvane-memory.XXXXXX)
trap 'rm -rf "$work"' EXIT

# shellcheck source=hundred-applications.sh
source "$root/bench/scripts/hundred-applications.sh"

# Plays the lines on standard input in a shell of its own device and prints SpringBoard's VmRSS
# in kilobytes once every line has been answered.
springboardResidentKilobytes() {
  local device=$1
  coproc SHELL_SIM { "$sim" shell --device "$device" 2>&1; }
  local sent=0 line
  while IFS= read -r line; do
    echo "$line" >&"${SHELL_SIM[1]}"
    sent=$((sent + 1))
  done
  # One answer a command; a failure stops the measurement.
  for _ in $(seq "$sent"); do
    IFS= read -r line <&"${SHELL_SIM[0]}"
    case $line in
      error:* | FAILED:*) echo "addon-memory: $line" >&2; kill "$SHELL_SIM_PID"; return 1 ;;
    esac
  done
  local pid
  pid=$(pgrep -n -f "^$root/build-release/bin/springboard" || true)
  [ -n "$pid" ] || { echo "addon-memory: no SpringBoard process" >&2; return 1; }
  awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"
  echo exit >&"${SHELL_SIM[1]}"
  wait "$SHELL_SIM_PID" || true
}

play() {
  installHundredApplications
  [ "$1" = without ] && echo "package remove torvane"
  echo boot
  for i in $(seq 0 99); do echo "launch $(app "$i") mb 8"; done
  echo "wait 1"
  echo "screenshot springboard $work/$1.png"
  echo "expect springboard /icons/$(app 99)/state >= 2"
  # The add-on is there (an indicator shows on every running application's icon) or it is not.
  if [ "$1" = with ]; then
    echo "expect springboard /icons/$(app 99)/indicator/alpha > 0"
  else
    echo "expect springboard /icons/$(app 99)/indicator == null"
  fi
}

with=$(play with | springboardResidentKilobytes "$work/device-with")
without=$(play without | springboardResidentKilobytes "$work/device-without")
awk -v with="$with" -v without="$without" 'BEGIN {
  printf "addon-memory: SpringBoard with 100 applications running\n"
  printf "  without the add-on  %7.1f MB\n", without / 1024
  printf "  with the add-on     %7.1f MB   (+%.1f MB, %.1f%%; budget 10%%)\n", with / 1024, (with - without) / 1024, 100 * (with - without) / without
}'
