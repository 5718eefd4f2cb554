# Shared by the application's end-to-end scripts: checks, polling, the sandbox and the
# application as processes on free ports and fresh homes, and what a person does (keys,
# pointer clicks) and sees (screenshots, the sandbox's counters, the ad trace).
#
# The script sets `build`, `out` and `work` and sources this file; it defines `failures`,
# and an EXIT trap that stops every process it started.
sandbox="$build/tools/sandbox/ashenmoor-sandbox"
app="$build/src/app/ashenmoor"
gadutil="$build/tools/gadutil/gadutil"
failures=0
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }
# until_true <seconds> <command...>: polls every 0.1 s. The seconds are those of a quiet
# machine; E2E_PATIENCE (3 unless set) stretches them for a loaded one, which costs nothing
# when things go right.
until_true() {
  local tenths=$(($1 * 10 * ${E2E_PATIENCE:-3})); shift
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
  # Polled rather than xdotool's --sync, which gives up on a window that goes while it looks
  # (the previous run's, closing).
  window=
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "^Ashenmoor$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { fail "no application window"; exit 1; }
  until_true 10 xdotool search --onlyvisible --name '^Reelbox$' >/dev/null || fail "no launch notice"
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


# A desktop handler for URL schemes in the app's XDG data folder (<home>): a script that
# appends each URL it is given to <home>/launched.txt. start_window_manager: openbox on the
# display, for minimising and for handing focus around.
install_scheme_handler() {
  local home=$1; shift
  mkdir -p "$home/data/applications" "$home/config"
  printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s/launched.txt"\n' "$home" > "$home/handler.sh"
  chmod +x "$home/handler.sh"
  local types="" defaults="[Default Applications]"
  for scheme in "$@"; do
    types="${types}x-scheme-handler/$scheme;"
    defaults="$defaults"$'\n'"x-scheme-handler/$scheme=ashenmoor-e2e-handler.desktop"
  done
  printf '[Desktop Entry]\nType=Application\nName=Ashenmoor e2e handler\nExec=%s %%u\nNoDisplay=true\nMimeType=%s\n' \
    "$home/handler.sh" "$types" > "$home/data/applications/ashenmoor-e2e-handler.desktop"
  printf '%s\n' "$defaults" > "$home/config/mimeapps.list"
}
start_window_manager() {
  local ready=$work/openbox-ready
  openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
  pids+=($!)
  until_true 10 test -e "$ready" || fail "openbox did not start"
}
# brightness <png> <geometry>: the lightest point (0-100) of a region, as a person sees a
# button lit or dimmed.
brightness() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:round(100*maxima)]' info:; }
