#!/usr/bin/env bash
# The ./torvane-sim launcher keeps its build log in a temporary file; it must be gone both when the
# launcher hands over to the driver and when it gives up. The launcher's mktemp honours TMPDIR, so
# each call gets a fresh TMPDIR that has to be empty afterwards.
#
#   launcher-leaves-no-temporary-files.sh REPOSITORY BUILD_FOLDER
set -uo pipefail

repository=$1
build=$2
if [ ! -f "$build/build.ninja" ]; then
  echo "skipped: $build is not a Ninja build folder (the launcher would configure it)"
  exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

expectEmpty() {
  local leftovers
  leftovers=$(ls -A "$1")
  if [ -n "$leftovers" ]; then
    echo "FAIL: $2 left in TMPDIR: $leftovers"
    failures=$((failures + 1))
  fi
}

# Handing over: the build is up to date, so this builds nothing and execs the driver.
mkdir "$scratch/handover"
if ! TORVANE_BUILD_DIR=$build TMPDIR=$scratch/handover "$repository/torvane-sim" --help >"$scratch/help.txt" 2>&1; then
  echo "FAIL: torvane-sim --help failed:"
  cat "$scratch/help.txt"
  failures=$((failures + 1))
elif ! grep -q "run" "$scratch/help.txt"; then
  echo "FAIL: torvane-sim --help did not reach the driver:"
  cat "$scratch/help.txt"
  failures=$((failures + 1))
fi
expectEmpty "$scratch/handover" "handing over to the driver"

# Giving up: a build folder that defines none of the simulator's targets.
mkdir "$scratch/failure" "$scratch/foreign-build"
printf 'rule touch\n  command = touch $out\nbuild unrelated: touch\n' >"$scratch/foreign-build/build.ninja"
if TORVANE_BUILD_DIR=$scratch/foreign-build TMPDIR=$scratch/failure "$repository/torvane-sim" --help >"$scratch/failure.txt" 2>&1; then
  echo "FAIL: torvane-sim succeeded with a build folder that has none of its targets"
  failures=$((failures + 1))
elif ! grep -q "no target of the simulator" "$scratch/failure.txt"; then
  echo "FAIL: unexpected failure message:"
  cat "$scratch/failure.txt"
  failures=$((failures + 1))
fi
expectEmpty "$scratch/failure" "failing"

[ "$failures" -eq 0 ] && echo "ok"
exit $((failures > 0))
