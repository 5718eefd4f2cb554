#!/usr/bin/env bash
# Clicks end to end: real pointer taps on banners served by the sandbox open the in-app
# browser, the web-app overlay, the mail form or another application, each as the ad says;
# full-screen content pauses refresh; an ad that tries to leave untouched goes nowhere.
# Checked from the outside: the sandbox's counters and landing records, the ad trace, what
# the desktop's scheme handler received, screenshots.
#
#   clicks.sh <build dir>        (run inside an X server: xvfb-run)
set -u
build=$1
out="$build/test-output/clicks"
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
source "$(dirname "$0")/support.bash"

banner() { click_at 160 400; }                     # the banner, 20 + 365 + a bit
done_button() { click_at 290 458; }                 # the browser's Done, right of its toolbar
callbacks() { grep -o '"callback":"adView[A-Za-z]*Screen:\|"callback":"adViewWillLeaveApplication:' "$trace" | cut -d'"' -f4 | tr '\n' ' '; }
next_ad() {  # queue a creative and wait for the banner to show it (refresh every 5 s)
  control "next?creative=$1"
  local before; before=$(count '"adViewDidReceiveAd:"' "$trace")
  until_true 10 at_least '"adViewDidReceiveAd:"' $((before + 1)) "$trace" || fail "no $1 ad"
  until_true 5 stat_is '.last_requests[0].creative' "$1" || fail "the last ad was not $1"
  sleep 0.6  # seen for a moment: a tap now is a tap on this ad
}
seconds() { date +%s.%N; }
state3_after() { awk -v since="$1" -F'"t":' '/"state":3/ { split($2, a, ","); if (a[1] + 0 > since) n++ } END { print n + 0 }' "$trace"; }
trace_time() { tail -n 1 "$trace" | sed -E 's/^\{"t":([0-9.]+).*/\1/'; }

start_sandbox clicks --refresh-rate 5
home=$work/home
install_scheme_handler "$home" tel itms-apps
trace=$out/trace.jsonl
control "next?creative=link"
start_app "$home" "$trace"
check "the first ad" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
sleep 0.6

# ---- link: the in-app browser ----
banner
check "the browser opened on the landing page" until_true 5 stat_is '.landing["browser.html"].hits' 1
check "the banner's page as Referer" bash -c "curl -fsS $ad_origin/stats.json | jq -r '.landing[\"browser.html\"].referer' | grep -q '^$ad_origin/ad?'"
sleep 1
shot browser
opened=$(trace_time)
back_before=$(brightness "$out/browser.png" 27x40+6+438)
click_at 130 376  # "See what is inside", a link inside the browser
check "a link followed inside the browser" until_true 5 stat_is '.landing["browser.html"].hits' 2
sleep 1
shot browser-page2
back_after=$(brightness "$out/browser-page2.png" 27x40+6+438)
check "back lit after the link ($back_before -> $back_after)" test "$back_after" -gt $((back_before + 30))
sleep 4  # longer than the interval in all
check "no banner asked for an ad while the browser was up" test "$(state3_after "$opened")" = 0
done_button
closed=$(seconds)
asked_again() { [ "$(state3_after "$opened")" -ge 1 ]; }
check "the banner asks again after the browser" until_true 6 asked_again
waited=$(awk -v a="$closed" -v b="$(seconds)" 'BEGIN { printf "%.1f", b - a }')
check "a full interval after Done (waited $waited s of 5)" awk -v w="$waited" 'BEGIN { exit !(w >= 4.5) }'
check "present and dismiss in order (got: $(callbacks))" test "$(callbacks)" = "adViewWillPresentScreen: adViewWillDismissScreen: adViewDidDismissScreen: "

# ---- link-tracked: the web-app overlay, pinging click tracking at every opening ----
overlay_section() {  # <how it is closed>
  banner
  check "the overlay opened ($1)" until_true 5 stat_is '.landing["webapp.html"].hits' "$2"
  check "click tracking pinged once per opening" until_true 5 stat_is '.creatives["link-tracked"].clicks' "$2"
  sleep 1.2
}
next_ad link-tracked
seen=$(callbacks)
overlay_section "closed by its button" 1
shot overlay
click_at 16 16            # the close button, top left
sleep 1
overlay_section "closed by the page" 2
click_at 51 149           # the page's "Close": a "close" message
sleep 1
overlay_section "a browser from it" 3
click_at 160 149          # "Open in browser": nested
check "the nested browser opened" until_true 5 stat_is '.landing["browser.html"].hits' 3
sleep 1
shot overlay-browser
done_button
sleep 1
click_at 16 16
sleep 1
pair="adViewWillPresentScreen: adViewWillDismissScreen: adViewDidDismissScreen: "
check "one pair of screen callbacks per overlay, nested browser included (got: ${seen}|$(callbacks))" \
  test "$(callbacks)" = "$seen$pair$pair$pair"

# ---- mailto: the mail form ----
next_ad mailto
banner
sleep 1.2
shot mail
check "the mail form for the ad's address, two copies and the subject" \
  grep -q 'letters@ashenmoor.example?subject=Letters%20from%20the%20moor&cc=editor@ashenmoor.example,archive@ashenmoor.example.*"via":"mail"' "$trace"
click_at 40 40            # its Cancel
sleep 1

# ---- another application: a call, an app store link ----
for creative in msg-open-call msg-open-app; do
  next_ad "$creative"
  leaves=$(count '"adViewWillLeaveApplication:"' "$trace")
  banner
  check "$creative: the delegate heard it leave" until_true 5 at_least '"adViewWillLeaveApplication:"' $((leaves + 1)) "$trace"
done
check "the desktop's handler got the call and the app link" until_true 5 bash -c \
  "grep -qx 'tel:+15550123' $home/launched.txt && grep -qx 'itms-apps://apps.example/app/ashenmoor' $home/launched.txt"

# ---- auto-redirect: untouched, it opens nothing and never leaves ----
went=$(grep -c -E '"via":|WillLeave|WillPresent' "$trace")
launched=$(wc -l < "$home/launched.txt")
next_ad auto-redirect
sleep 1.5  # its six tries come within a second
shot auto-redirect
check "its five ways out refused" test "$(count '"event":"refused"' "$trace")" = 5
check "nothing opened, nothing left" test "$(grep -c -E '"via":|WillLeave|WillPresent' "$trace")" = "$went"
check "no other application launched" test "$(wc -l < "$home/launched.txt")" = "$launched"
stop_app

# ---- a browser still loading its first page when the user leaves closes on the return ----
start_sandbox slow-landing --landing-delay-ms 8000
start_window_manager
trace=$out/slow-landing-trace.jsonl
control "next?creative=link"
start_app "$work/home2" "$trace"
check "an ad to tap" until_true 10 at_least '"adViewDidReceiveAd:"' 1 "$trace"
sleep 0.6
banner
check "the browser opened, its page still loading" until_true 5 at_least '"adViewWillPresentScreen:"' 1 "$trace"
xdotool windowminimize --sync "$window"
sleep 0.5
xdotool windowactivate --sync "$window" 2>/dev/null
check "back from the background, the browser closed itself" until_true 5 at_least '"adViewDidDismissScreen:"' 1 "$trace"
shot after-return
stop_app

echo "clicks: $failures failure(s); screenshots and the trace in $out"
[ "$failures" = 0 ]
