#!/usr/bin/env bash
# No header or source of a lower layer names a higher one: the decoders, stations, link and
# common helpers never include ui/ or app/, ui/ never includes app/ or program/, and the web
# layer sees only common/ and eventlog/, which sees nothing of the program; the FD splitter
# takes nothing from the stand-ins that use it.
set -euo pipefail
root=$1
status=0
check() {
  local folders=$1 forbidden=$2
  local found
  found=$(cd "$root" && grep -rnE "#include \"(${forbidden})/" $folders --include='*.h' --include='*.cpp' || true)
  if [[ -n $found ]]; then
    echo "layering: $folders must not include $forbidden:"; echo "$found"; status=1
  fi
}
check "common simlink stations metar fdwinds" "ui|app|entry|inject"
check "common" "web|eventlog"
check "eventlog" "common|web|simlink|stations|ui|metar|fdwinds|inject|app|entry"
check "web" "ui|app|entry|inject|metar|fdwinds|stations|simlink"
check "inject" "ui|app|entry"
check "ui" "app|entry"
check "tools/fd_split" "standins"
exit "$status"
