#!/usr/bin/env bash
# Every file the product reads from outside, made hostile five ways (empty, cut in half, of the
# wrong type, 100 MB, nested 100,000 deep), at each place it is read: nothing crashes or hangs, and
# each reader does what it does with a file it cannot use.
#   - the preferences file at start-up: discarded and replaced by the defaults;
#   - the companion's data file when the quick killer is called: the "No App Data" warning;
#   - a theme's list.plist in the chooser: that theme's section empty and untitled, the others whole.
# Usage: hostile-files.sh TORVANE_SIM
set -euo pipefail
sim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

valid='<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict><key>AlertToClearBadge</key><true/><key>SelectedTheme</key><dict><key>Name</key><string>Running Dots</string></dict></dict></plist>'
: >"$work/empty"
printf '%s' "${valid:0:$(( ${#valid} / 2 ))}" >"$work/truncated"
printf '<?xml version="1.0"?><plist version="1.0"><array><string>AlertToClearBadge</string></array></plist>' >"$work/wrong-type"
truncate -s 100M "$work/huge"
python3 - "$work/nested" <<'PY'
import sys
depth = 100000
with open(sys.argv[1], "w") as out:
    out.write('<?xml version="1.0"?><plist version="1.0">' + "<array>" * depth + "</array>" * depth + "</plist>")
PY

scenarios="$work/scenarios"
mkdir -p "$scenarios"
for kind in empty truncated wrong-type huge nested; do
  cat >"$scenarios/preferences-$kind.scn" <<SCN
file put /var/mobile/Library/Preferences/com.qelvo.torvane.plist $work/$kind
boot
expect prefs /SelectedTheme/Name == "Icon Outlines"
expect prefs /AlertToClearBadge == true
expect springboard /locked == false
SCN
  cat >"$scenarios/companion-$kind.scn" <<SCN
boot
launch com.apple.Maps
home
file put /var/mobile/Library/Nimbrel/com.qelvo.nimbrel.plist $work/$kind
activator assign libactivator.statusbar.doubletap
activator send libactivator.statusbar.doubletap
expect springboard /popup == null
expect springboard /alerts/0/title == "Torvane: No App Data"
SCN
  cat >"$scenarios/theme-list-$kind.scn" <<SCN
prefs SelectedTheme {"Name": "Running Dots", "DisplayName": "Red Dot", "Frame": "{{20,62},{19,19}}", "ImagePath": "/Library/Application Support/Torvane/Themes/RunningDots/DotRed.png", "ImageName": "DotRed.png"}
prefs AlertToClearBadge true
prefs ThemeAlertNew "Informed"
prefs FirstAlert "Pass"
prefs NewFeatureAlert "Pass"
boot
file put "/Library/Application Support/Torvane/Themes/IconOutlines/list.plist" $work/$kind
settings open
settings select ChooseImageID
expect settings /sections/1/header == "Icon Label Bars"
expect settings /sections/1/rows length 4
expect settings /sections/2/header == null
expect settings /sections/2/rows length 0
expect settings /sections/3/header == "Running Dots"
expect settings /sections/3/rows length 4
SCN
done

exec "$sim" run "$scenarios" --out "$work/out"
