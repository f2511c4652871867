# Sourced by the device scripts here: the home screen they play on, 100 applications as the
# benchmarks' own device has them (4 in the dock, 8 folders of 3, the rest over five pages).

app() { printf 'com.bench.app%03d' "$1"; }
name() { printf 'App %03d' "$1"; }

# The `app install` lines of that home screen.
installHundredApplications() {
  for i in 0 1 2 3; do echo "app install $(app "$i") \"$(name "$i")\" dock"; done
  for i in $(seq 4 27); do echo "app install $(app "$i") \"$(name "$i")\" folder \"Folder $(((i - 4) / 3))\""; done
  for i in $(seq 28 99); do echo "app install $(app "$i") \"$(name "$i")\" page $(((i - 28) / 16))"; done
}
