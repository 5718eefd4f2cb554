#!/usr/bin/env bash
# The banner road end to end: the real application under Xvfb against the real sandbox, each
# on its own free ports and home, driven with real key presses and pointer clicks (xdotool).
# What it checks comes from the outside: the sandbox's counters, the ad trace, screenshots.
#
#   banner_road.sh <build dir>        (run inside an X server: xvfb-run)
set -u
build=$1
out="$build/test-output/app"
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
source "$(dirname "$0")/support.bash"

# ---- a first start: three tabs, three creatives, a touch and a click, the signals ----
start_sandbox first
home=$work/home
trace=$out/first-trace.jsonl
control "next?creative=msg-touch"  # the first banner's ad: a tap reports a touch
control "next?creative=msg-click"  # the second's: a tap pings /track/click with its "ai"
start_app "$home" "$trace"
check "episodes banner shows an ad within 10 s" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
sleep 0.5  # more than the 0.15 s before a touch may count as a click
click_at 160 400  # on the banner: 20-point strip + the banner at y 365 of the page
check "the banner reported the touch" until_true 5 at_least '"name":"touch"' 1 "$trace"
shot episodes
tab 1
check "tab 1 banner shows an ad within 10 s" until_true 10 at_least '"adViewDidReceiveAd:"' 2 "$trace"
sleep 0.5
click_at 160 400
check "the click reached the sandbox" until_true 5 stat_is .clicks 1
check "the click went through the page's click message" at_least '"kind":"message"' 1 "$trace"
shot contacts
tab 2
check "tab 2 banner shows an ad within 10 s" until_true 10 at_least '"adViewDidReceiveAd:"' 3 "$trace"
sleep 0.5
shot more
check "three impressions counted" until_true 5 stat_is .impressions 3
check "the script was fetched once" test "$(stat '.script["200"]')" = 1
# Every ad request and the click ping carried a signal the sandbox could read, none it could not.
check "signals: one valid per ad request and one for the click, none invalid (got $(stat .signals | tr -d " \n"))" \
  test "$(stat '[.signals.valid, .signals.invalid] == [.ad_requests + 1, 0]')" = true
check "the last ad request's signal counts the touch" test "$(stat '.last_requests[0].signal.record.touches')" = 1
# The click URL as the application sent it, read with the tool a developer would use.
click_url=$(grep '"kind":"message"' "$trace" | head -n 1 | sed -E 's/.*"url":"([^"]*)".*/\1/')
"$gadutil" signals decode "${click_url##*&}" > "$out/click-signal.txt"
check "gadutil reads the click URL's signal (${click_url})" \
  grep -qx 'ai: SBX7q2' "$out/click-signal.txt"
check "the click signal counts the touch" grep -qx 'touches: 1' "$out/click-signal.txt"
stop_app

# ---- a second start within the day: no script fetch ----
trace=$out/second-trace.jsonl
start_app "$home" "$trace"
check "second start shows an ad" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
check "second start used the cached script" at_least '"outcome":"cached"' 1 "$trace"
check "no script request the second time" test "$(stat '.script["200"] + .script["304"]')" = 1
check "second start: its signals valid, a new session" \
  test "$(stat '[.signals.invalid, (.last_requests | map(.signal.record.session) | unique | length)] == [0, 2]')" = true
stop_app

# ---- failures: each gives its code, and the refresh brings the next ad ----
start_sandbox failures --refresh-rate 1
for creative in nofill status-204 status-400 status-404 status-500 truncated; do control "next?creative=$creative"; done
trace=$out/failures-trace.jsonl
start_app "$work/home2" "$trace"
check "an ad follows the six failures" until_true 30 at_least '"adViewDidReceiveAd:"' 1 "$trace"
codes=$(grep '"callback":"adView:didFailToReceiveAdWithError:"' "$trace" | sed -E 's/.*"code":([0-9]+).*/\1/' | tr '\n' ' ')
check "failure codes in order (got: $codes)" test "$codes" = "1 2 0 3 3 2 "
sleep 0.5
shot failures-recovered
stop_app

# ---- unseen, no refresh: minimised it stops, restored it waits a full interval; a window that
# only loses the keyboard focus is still seen and goes on ----
start_sandbox pause --refresh-rate 3
start_window_manager
trace=$out/pause-trace.jsonl
start_app "$work/home3" "$trace"
check "an ad under a window manager" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
root=$(xdotool search --maxdepth 0 --name '' | head -n 1)
xdotool windowfocus --sync "$root"  # the keyboard goes elsewhere; the window stays in sight
check "without the focus the banner still refreshes" until_true 6 at_least '"adViewDidReceiveAd:"' 2 "$trace"
sleep 1
xdotool windowminimize --sync "$window"
sleep 0.3
before=$(count '"state":3' "$trace")
sleep 4  # longer than the interval
check "minimised, no refresh" test "$(count '"state":3' "$trace")" = "$before"
xdotool windowactivate --sync "$window" 2>/dev/null
restored=$(date +%s.%N)
check "restored, the banner refreshes again" until_true 6 at_least '"state":3' $((before + 1)) "$trace"
waited=$(awk -v a="$restored" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
check "restored, a full interval first (waited ${waited} s of 3)" awk -v w="$waited" 'BEGIN { exit !(w >= 2.7) }'
shot restored
stop_app

echo "banner road: $failures failure(s); screenshots and traces in $out"
[ "$failures" = 0 ]
