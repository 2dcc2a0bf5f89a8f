#!/usr/bin/env bash
# The installed instrument bundle as LV2's own tools see it: lv2info lists the instrument with
# its ports, ranges and lists, and sord_validate finds its descriptions valid against the
# schemas of every LV2 extension installed. Usage: lv2_bundle_check.sh BUNDLE_DIR
set -euo pipefail
bundle=$(realpath "$1")
uri=https://sordanel.invalid/lv2/sordanel
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

info=$(LV2_PATH="$(dirname "$bundle"):/usr/lib/lv2" lv2info "$uri" 2>&1) ||
  fail "lv2info does not know the instrument: $info"
has() { [[ $info == *"$1"* ]] || fail "lv2info does not show: $1"; }
has "Class:             Instrument Plugin"
has "Required Features: http://lv2plug.in/ns/ext/urid#map"
has "http://lv2plug.in/ns/ext/worker#interface"
[[ $(grep -c "^	Port [0-9]*:" <<<"$info") == 37 ]] || fail "lv2info does not list 37 ports"
# A port of each kind: MIDI in, the output, a logarithmic range, an enumeration.
has "Symbol:      midi_in"
has "Symbol:      out"
has $'Symbol:      bow_force\n\t\tName:        Bow pressing force\n\t\tMinimum:     0.350906\n\t\tMaximum:     3.500000\n\t\tDefault:     1.564800'
has $'2 = "Off"\n\t\t\t1 = "Precalculated"\n\t\t\t0 = "Real time"'
has $'Symbol:      volume\n\t\tName:        Volume\n\t\tMinimum:     -20.000000\n\t\tMaximum:     30.000000'

mapfile -t schemas < <(find /usr/lib/lv2 -name '*.ttl')
report=$(sord_validate "${schemas[@]}" "$bundle"/*.ttl 2>&1) || fail "sord_validate fails: $report"
[[ $report == *"Found 0 errors"* ]] || fail "sord_validate finds errors: $report"
grep -qi "warn" <<<"$report" && fail "sord_validate warns: $report"

if ((failures == 0)); then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
