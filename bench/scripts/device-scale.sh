#!/usr/bin/env bash
# The whole device at scale, through the driver as a scenario runs it: a home screen of 100
# applications (4 in the dock, 8 folders of 3, the rest over five pages), 40 of them running, and
# 200 commands of ordinary use (launches, swipes that end applications with and without asking,
# badges, the switcher bar, folders, the quick-killer popup, settings changes). Plays it RUNS times
# (default 5) on the optimised build and prints the medians: the boot, the 200 commands, and the
# whole file (device made, booted, played, taken down).
#
#   bench/scripts/device-scale.sh [RUNS]
#
# The driver writes each command's time to TORVANE_COMMAND_TIMES; the scenario itself is written
# to a temporary folder and kept there when a run fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
runs=${1:-5}
work=$(mktemp -d -t torvane-scale.XXXXXX)
trap 'rm -rf "$work"' EXIT

# shellcheck source=hundred-applications.sh
source "$root/bench/scripts/hundred-applications.sh"

scenario=$work/scale.scn
{
  echo "# 100 applications, 40 running, 200 commands of ordinary use."
  # A complete settings file (one without a theme is taken for an outdated one and replaced).
  echo 'prefs SelectedTheme {"Name": "Icon Outlines", "DisplayName": "Red Glow", "Frame": "{{-7.75f,-8.75f},{74.5f,76.0f}}", "ImagePath": "/Library/Application Support/Torvane/Themes/IconOutlines/GlowRed.png", "ImageName": "GlowRed.png"}'
  echo "prefs ConfirmationAlertAtHome false"
  echo "prefs AlertToClearBadge false"
  # A user who has seen the pane's first-run and new-feature notes.
  echo 'prefs FirstAlert "Pass"'
  echo 'prefs NewFeatureAlert "Pass"'
  installHundredApplications
  echo "boot"
} >"$scenario"

# The commands after boot, counted as they are written.
commands=$work/commands
: >"$commands"
cmd() { echo "$*" >>"$commands"; }
# Forty running: the dock's, six in folders and thirty on the pages.
running=(0 1 2 3 4 7 10 13 16 19 $(seq 28 2 86))
for i in "${running[@]}"; do cmd "launch $(app "$i") mb 8"; done
cmd "wait 1"
cmd "expect springboard /running length 40"
# Ten ended by a swipe without asking, and started again.
for i in $(seq 30 2 48); do cmd "swipe up \"$(name "$i")\""; done
for i in $(seq 30 2 48); do cmd "launch $(app "$i")"; done
# Settings: ask before ending (the add-on reads it when the user leaves Settings), then ten more
# ended through the alert.
cmd "settings open"
cmd "settings toggle ConfirmationHomeID on"
cmd "settings leave"
for i in $(seq 50 2 68); do
  cmd "swipe up \"$(name "$i")\""
  cmd "alert tap \"Kill\""
done
for i in $(seq 50 2 68); do cmd "launch $(app "$i")"; done
# A swipe that the user cancels.
for i in 70 72 74 76 78; do
  cmd "swipe up \"$(name "$i")\""
  cmd "alert tap \"Cancel\""
done
# Badges, cleared with a swipe down.
for i in $(seq 81 2 99); do cmd "badge $(app "$i") 3"; done
for i in $(seq 81 2 99); do cmd "swipe down \"$(name "$i")\""; done
# Folders and the switcher bar.
for f in 0 1 2 3; do
  cmd "folder open \"Folder $f\""
  cmd "folder close"
done
for _ in 1 2 3 4 5; do
  cmd "switcher show"
  cmd "switcher hide"
done
# The quick killer, shown and cancelled: it measures each of the forty processes with the `ps`
# pipeline, about a quarter of the whole.
cmd "activator assign libactivator.statusbar.doubletap"
cmd "activator send libactivator.statusbar.doubletap"
cmd "wait 1"
cmd "alert tap \"Cancel\""
# More settings; leaving Settings applies them.
cmd "settings open"
for toggle in "ShowOnDockID on" "ClearBadgeID off" "ShowOnDockID off" "ClearBadgeID on" "LowSensitivityID on" \
  "LowSensitivityID off"; do
  cmd "settings toggle $toggle"
done
cmd "settings toggle ConfirmationHomeID off"
cmd "settings leave"
cmd "home"
# Fill to 200 with launches of applications not yet running, each ended by a swipe.
i=29
# (An indicator shows a moment after its application starts, and only then does a swipe end it.)
while [ "$(wc -l <"$commands")" -lt 197 ]; do
  cmd "launch $(app "$i")"
  cmd "wait 1"
  cmd "swipe up \"$(name "$i")\""
  i=$((i + 2))
done
while [ "$(wc -l <"$commands")" -lt 199 ]; do cmd "wait 1"; done
cmd "expect springboard /running length 40"
cat "$commands" >>"$scenario"
count=$(wc -l <"$commands")

boot=$work/boot-only.scn
sed -n '1,/^boot$/p' "$scenario" >"$boot"

sim=$root/build-release/bin/torvane-sim
[ -x "$sim" ] || { echo "device-scale: build the optimised tree first (./torvane-sim --version does)" >&2; exit 1; }

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

boots=() playing=() files=()
for run in $(seq "$runs"); do
  times=$work/times-$run
  report=$work/report-$run.xml
  if ! TORVANE_COMMAND_TIMES=$times "$sim" run "$scenario" --junit "$report" >"$work/out-$run" 2>&1; then
    cat "$work/out-$run" >&2
    trap - EXIT
    echo "device-scale: run $run failed; the scenario is $scenario" >&2
    exit 1
  fi
  boots+=("$(awk -F'\t' '$3 == "boot" { print $2 }' "$times")")
  playing+=("$(awk -F'\t' 'after { sum += $2 } $3 == "boot" { after = 1 } END { print sum }' "$times")")
  files+=("$(sed -n 's/.*<testcase [^>]*time="\([0-9.]*\)".*/\1/p' "$report" | head -1)")
done

printf 'device-scale: %d runs, 100 applications, 40 running, %d commands after boot\n' "$runs" "$count"
printf '  boot           median %.3f s   (budget 0.15 s)\n' "$(printf '%s\n' "${boots[@]}" | median)"
printf '  %d commands   median %.3f s   (budget 2 s)\n' "$count" "$(printf '%s\n' "${playing[@]}" | median)"
printf '  whole file     median %.3f s\n' "$(printf '%s\n' "${files[@]}" | median)"
