#!/usr/bin/env bash
# The banner road end to end: the real application under Xvfb against the real sandbox, each
# on its own free ports and home, driven with real key presses and pointer clicks (xdotool).
# What it checks comes from the outside: the sandbox's counters, the ad trace, screenshots.
#
#   banner_road.sh <build dir>        (run inside an X server: xvfb-run)
set -u
build=$1
sandbox="$build/tools/sandbox/ashenmoor-sandbox"
app="$build/src/app/ashenmoor"
out="$build/test-output/app"
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
failures=0
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }
# until_true <seconds> <command...>: polls every 0.1 s.
until_true() {
  local tenths=$(($1 * 10)); shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}

# start_sandbox <name> [options]: sets ad_origin and exports the hosts for the next app.
start_sandbox() {
  local name=$1; shift
  "$sandbox" --content-port 0 --static-port 0 --ad-port 0 "$@" >"$work/$name.ready" 2>"$out/$name-sandbox.log" &
  pids+=($!)
  until_true 5 grep -q '^ready' "$work/$name.ready" || { fail "sandbox $name did not start"; exit 1; }
  local ready; ready=$(cat "$work/$name.ready")
  port() { sed -E "s/.*$1=([0-9]+).*/\1/" <<<"$ready"; }
  ad_origin="http://127.0.0.1:$(port ad)"
  export ASHENMOOR_CONTENT_HOST="127.0.0.1:$(port content)" ASHENMOOR_SCRIPT_HOST="127.0.0.1:$(port static)"
  export ASHENMOOR_AD_HOST="127.0.0.1:$(port ad)"
}
stat() { curl -fsS "$ad_origin/stats.json" | jq -r "$1"; }
# stat_is <jq expression> <value>: for polling (evaluated at each try).
stat_is() { [ "$(stat "$1")" = "$2" ]; }
control() { curl -fsS "$ad_origin/control/$1" >/dev/null || fail "control $1"; }

# start_app <home> <trace>: sets app_pid and window; dismisses the launch notice with Escape.
start_app() {
  mkdir -p "$1/config" "$1/cache" "$1/data"
  export XDG_CONFIG_HOME="$1/config" XDG_CACHE_HOME="$1/cache" XDG_DATA_HOME="$1/data" ASHENMOOR_AD_TRACE=$2
  "$app" 2>>"$out/app.log" &
  app_pid=$!
  pids+=("$app_pid")
  window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ashenmoor$' | head -n 1)
  [ -n "$window" ] || { fail "no application window"; exit 1; }
  until_true 5 xdotool search --onlyvisible --name '^Reelbox$' >/dev/null || fail "no launch notice"
  xdotool key Escape
  until_true 5 bash -c '! xdotool search --onlyvisible --name "^Reelbox$" >/dev/null' || fail "Escape left the notice up"
}
stop_app() {
  kill -TERM "$app_pid"
  wait "$app_pid"; local status=$?
  [ "$status" = 0 ] || fail "the application exited with status $status"
}
count() { grep -c -- "$1" "$2" 2>/dev/null || true; }
at_least() { [ "$(count "$1" "$3")" -ge "$2" ]; }
shot() { import -window "$window" "$out/$1.png"; }
# click_at <x> <y>: a real pointer click at window coordinates.
click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
tab() { click_at $(($1 * 80 + 40)) 455; }

# ---- a first start: three tabs, three creatives, a click ----
start_sandbox first
home=$work/home
trace=$out/first-trace.jsonl
control "next?creative=msg-click"  # the first banner's ad
start_app "$home" "$trace"
check "episodes banner shows an ad within 10 s" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
sleep 0.5  # more than the 0.15 s before a touch may count as a click
click_at 160 400  # on the banner: 20-point strip + the banner at y 365 of the page
check "the click reached the sandbox" until_true 5 stat_is .clicks 1
check "the click went through the page's click message" at_least '"kind":"message"' 1 "$trace"
shot episodes
for i in 1 2; do
  tab $i
  check "tab $i banner shows an ad within 10 s" until_true 10 at_least '"adViewDidReceiveAd:"' $((i + 1)) "$trace"
  sleep 0.5
  shot "$(echo contacts more | cut -d' ' -f$i)"
done
check "three impressions counted" until_true 5 stat_is .impressions 3
check "the script was fetched once" test "$(stat '.script["200"]')" = 1
stop_app

# ---- a second start within the day: no script fetch ----
trace=$out/second-trace.jsonl
start_app "$home" "$trace"
check "second start shows an ad" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
check "second start used the cached script" at_least '"outcome":"cached"' 1 "$trace"
check "no script request the second time" test "$(stat '.script["200"] + .script["304"]')" = 1
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
ready=$work/openbox-ready
openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
pids+=($!)
until_true 10 test -e "$ready" || fail "openbox did not start"
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
