#!/usr/bin/env bash
# End to end on the real device: a folder of scenarios played with --recursive and --junit, an
# include, `wait until` on the launch indicator, the hierarchy dump, distinct output folders for
# files of one name, and every malformed line of a run reported at once.
#   scenario-tooling.sh TORVANE_SIM
set -u
sim="$1"
work=$(mktemp -d "${TMPDIR:-/tmp}/scenario-tooling-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p suite/more lib bad

cat > lib/boot.scn <<'SCN'
# shared set-up
prefs SelectedTheme {"Name": "Icon Outlines"}
prefs AlertToClearBadge true
boot
SCN
cat > suite/indicator.scn <<'SCN'
include ../lib/boot.scn
launch com.apple.Maps mb 12
wait until springboard /icons/com.apple.Maps/indicator/alpha ~= 1
swipe up Maps by 20
expect springboard /alerts length 1
dump hierarchy springboard hierarchy.json
SCN
cat > suite/more/indicator.scn <<'SCN'
include ../../lib/boot.scn
wait until log contains "Loaded into SpringBoard" max 1
dump hierarchy settings hierarchy.json
dump springboard
SCN
cat > suite/never.scn <<'SCN'
include ../lib/boot.scn
wait until springboard /locked == true max 0.1
expect springboard /switcher == true
SCN

"$sim" run suite --recursive --junit report.xml --out out --keep keep >run.out 2>run.err
status=$?
if [ "$status" != 1 ]; then
  echo "run of the suite: exit $status, expected 1"; cat run.out run.err; exit 1
fi

cat > bad/one.scn <<'SCN'
boot
lanch com.apple.Maps
wait until springboard /alerts lenght 1
SCN
cat > bad/two.scn <<'SCN'
include two.scn
SCN
"$sim" run bad --junit bad.xml >bad.out 2>bad.err
status=$?
if [ "$status" != 2 ]; then
  echo "run of malformed files: exit $status, expected 2"; cat bad.out bad.err; exit 1
fi

python3 - "$work" <<'PY'
import json, os, sys
import xml.etree.ElementTree as ET
work = sys.argv[1]
os.chdir(work)
problems = []
def check(condition, message):
    if not condition:
        problems.append(message)

# The JUnit report: one case per file, in order, failures with their file and line.
root = ET.parse("report.xml").getroot()
cases = root.findall("./testsuite/testcase")
check([c.get("name") for c in cases] == ["indicator", "more/indicator", "never"], "cases: %r" % [c.get("name") for c in cases])
by = {c.get("name"): c for c in cases}
check(len(list(by["indicator"])) == 0, "indicator.scn should pass: " + ET.tostring(by["indicator"], "unicode"))
check(len(list(by["more/indicator"])) == 0, "more/indicator.scn should pass: " + ET.tostring(by["more/indicator"], "unicode"))
failures = by["never"].findall("failure")
check([(f.get("file"), f.get("line")) for f in failures] == [("suite/never.scn", "2"), ("suite/never.scn", "3")],
      "never.scn failures: %r" % [(f.get("file"), f.get("line"), f.get("message")) for f in failures])
if failures:
    check("still not so after 0.1 s" in failures[0].get("message") and "actual false" in failures[0].get("message"),
          "wait until names the last value: %r" % failures[0].get("message"))
suite = root.find("testsuite")
check(suite.get("tests") == "3" and suite.get("failures") == "2" and suite.get("errors") == "0", "suite counts: %r" % suite.attrib)

# Files of one name in different folders keep apart.
for name in ["indicator", "more/indicator"]:
    check(os.path.isfile(os.path.join("out", name, "hierarchy.json")), "no out/%s/hierarchy.json" % name)
    check(os.path.isfile(os.path.join("keep", name, ".torvane-device")), "no kept device at keep/%s" % name)

# The hierarchy: the Maps icon view, named by its icon, inside the screen, in the window's points.
def nodes(node, hidden=False):
    hidden = hidden or node["hidden"]
    yield node
    for child in node["subviews"]:
        yield from nodes(child, hidden)
def shown(node):
    if node["hidden"]:
        return
    yield node
    for child in node["subviews"]:
        yield from shown(child)
if os.path.isfile("out/indicator/hierarchy.json"):
    tree = json.load(open("out/indicator/hierarchy.json"))
    every = [n for w in tree["windows"] for n in nodes(w)]
    keys = {"class", "frame", "tag", "alpha", "hidden", "text", "label", "value", "subviews"}
    check(all(set(n) == keys for n in every), "node keys differ from %r" % keys)
    maps = [n for w in tree["windows"] for n in shown(w) if n["class"] == "SBIconView" and n["label"] == "Maps"]
    check(len(maps) == 1, "one SBIconView labelled Maps on screen, found %d" % len(maps))
    if maps:
        x, y, w, h = maps[0]["frame"]
        check(0 <= x and x + w <= 320 and 0 <= y and y + h <= 480 and w > 0, "Maps frame %r" % maps[0]["frame"])
    check(any(n["class"] == "CustomPassAlertViewTQ" for n in every), "the alert shows in the tree")
if os.path.isfile("out/more/indicator/hierarchy.json"):
    tree = json.load(open("out/more/indicator/hierarchy.json"))
    check(any(n["class"] == "UITableViewCell" or n["label"] for w in tree["windows"] for n in nodes(w)), "settings tree has labelled views")

# A dump without a file shows in run as in the shell.
check('"switcher": false' in open("run.out").read(), "run printed no dump: " + open("run.out").read())

# Malformed: every bad line of every file, before anything ran.
err = open("bad.err").read()
for text in ["bad/one.scn:2: unknown command 'lanch' (did you mean launch?)",
             "bad/one.scn:3: unknown operator 'lenght'",
             "bad/two.scn:1: include cycle"]:
    check(text in err, "stderr lacks %r:\n%s" % (text, err))
bad = ET.parse("bad.xml").getroot()
check(len(bad.findall(".//error[@type='malformed']")) == 3, "bad.xml: " + open("bad.xml").read())

if problems:
    print("\n".join(problems))
    print(open("run.err").read())
    sys.exit(1)
PY
