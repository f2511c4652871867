#!/usr/bin/env bash
# ./torvane-sim keeps its build log in a temporary file (mktemp, so in TMPDIR): it must be gone
# both after handing over to the driver and after giving up.
#   launcher-leaves-no-temporary-files.sh REPOSITORY BUILD_FOLDER
set -uo pipefail
repository=$1 build=$2
[ -f "$build/build.ninja" ] || { echo "skipped: $build is not a Ninja build folder"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/handover" "$scratch/failure" "$scratch/foreign-build"
printf 'rule touch\n  command = touch $out\nbuild unrelated: touch\n' >"$scratch/foreign-build/build.ninja"
status=0

# Up to date, so nothing is built and the driver prints its help.
TORVANE_BUILD_DIR=$build TMPDIR=$scratch/handover "$repository/torvane-sim" --help >"$scratch/out" 2>&1 \
  || { echo "FAIL: torvane-sim --help failed:"; cat "$scratch/out"; status=1; }
# A build folder without any of the simulator's targets.
TORVANE_BUILD_DIR=$scratch/foreign-build TMPDIR=$scratch/failure "$repository/torvane-sim" --help >"$scratch/out" 2>&1 \
  && { echo "FAIL: torvane-sim succeeded without its targets"; status=1; }
grep -q "no target of the simulator" "$scratch/out" || { echo "FAIL: unexpected output:"; cat "$scratch/out"; status=1; }

for case in handover failure; do
  leftovers=$(ls -A "$scratch/$case")
  [ -z "$leftovers" ] || { echo "FAIL: $case left in TMPDIR: $leftovers"; status=1; }
done
exit $status
