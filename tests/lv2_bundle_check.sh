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
# The ports' values are checked against the settings table through lilv (port_description);
# here only that LV2's own tool lists them.
has "Symbol:      midi_in"
has "Symbol:      out"
has "Symbol:      bow_force"

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
