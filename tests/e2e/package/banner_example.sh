#!/usr/bin/env bash
# The ad layer's package as a publisher meets it. Installed into a temporary prefix: the
# shared library carries its SONAME and exports only what the installed headers declare; each
# installed header compiles on its own and includes only the standard library, other installed
# headers and, in the desktop seam, GTK. The example (examples/banner-gtk) is configured as a
# separate CMake project against the package and built; its object is also linked through
# pkg-config and against the static library. Then it runs under Xvfb against the sandbox: the
# banner shows an ad, a click on it opens the in-app browser in the ad layer's window over the
# example's, Done closes it, minimised the banner stops asking for ads and restored it asks
# again, and SIGTERM ends it cleanly — each step seen in what the example's delegate prints.
#
#   banner_example.sh <source dir> <build dir>      (run inside an X server: xvfb-run)
set -u
src=$1
build=$2
out="$build/test-output/package"
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
source "$src/tests/e2e/app/support.bash"
prefix=$work/prefix
example=$work/example
printed=$out/example-output.txt

# ---- install ----
cmake --install "$build" --prefix "$prefix" >"$out/install.log" || { fail "cmake --install"; exit 1; }
(cd "$prefix" && find . \( -type f -o -type l \) | sort) >"$out/installed-files.txt"
include=$prefix/include/vize-sdk
lib=$(find "$prefix" -name 'libvize-sdk.so.*.*.*' | head -n 1)
export PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name vize-sdk.pc | head -n 1)")
major=$(sed -n 's/^#define GAD_SDK_VERSION_MAJOR //p' "$src/src/sdk/request/GADVersion.h")
check "SONAME libvize-sdk.so.$major" bash -c "readelf -d '$lib' | grep -q 'SONAME.*\[libvize-sdk.so.$major\]'"
check "a static library beside it" test -f "$(dirname "$lib")/libvize-sdk.a"

# Every exported symbol belongs to a class (or function) that an installed header declares.
stray=$out/stray-symbols.txt
nm -D --defined-only "$lib" | awk '$3 != "VIZE_SDK_4" { print $3 }' | c++filt |
  sed -E 's/@.*$//; s/^(typeinfo name for|typeinfo for|vtable for) //; s/\(.*//; s/\[abi:[a-z0-9]+\]//g; s/<.*//' |
  sort -u | while read -r name; do
    scope=${name%::*}; owner=${scope##*::}; [ "$scope" = "$name" ] && owner=$name
    [ "$owner" = pf ] && owner=${name##*::}  # a free function of pf
    grep -rqE "(class|struct) $owner\b|\b$owner\(" "$include" || echo "$name"
  done >"$stray"
check "only the installed headers' classes are exported ($(wc -l <"$stray") others, see $stray)" test ! -s "$stray"
check "the ad layer's API is exported" bash -c "nm -D --defined-only '$lib' | c++filt | grep -q 'GADBannerView::create'"

# ---- the installed headers ----
headers=$(cd "$include" && find . -name '*.h' | sed 's|^\./||' | sort)
bad_includes=$out/bad-includes.txt
for h in $headers; do
  grep -E '^#include' "$include/$h" | while read -r _ what; do
    case $what in
      \"*\") [ -f "$include/$(tr -d '"' <<<"$what")" ] || echo "$h: $what is not installed" ;;
      \<gtk/gtk.h\>) [[ $h == platform/gtk/* ]] || echo "$h: GTK outside the desktop seam" ;;
      \<*/*\>|\<*.h\>) echo "$h: $what is not the standard library" ;;
    esac
  done
done >"$bad_includes"
check "installed headers include only the standard library, each other and GTK in the seam" test ! -s "$bad_includes"
check "nothing of the sim backend or private classes installed" \
  bash -c "! grep -E 'platform/sim/|Private|GObjectRef|Peer\.h' '$out/installed-files.txt' | grep -v 'platform/ui/ViewPeer.h'"
compile_alone() {  # <header>: a translation unit of its own, as a publisher's -Werror build
  printf '#include <%s>\n' "$1" | c++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only \
    $(pkg-config --cflags vize-sdk) -x c++ - 2>&1 | sed "s|^|$1: |"
}
export -f compile_alone
printf '%s\n' $headers | xargs -P 2 -I{} bash -c 'compile_alone {}' >"$out/headers-alone.log"
check "each installed header compiles on its own (see $out/headers-alone.log)" test ! -s "$out/headers-alone.log"

# ---- the example, built against the package ----
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); export CCACHE_BASEDIR=$work; fi
cmake -S "$src/examples/banner-gtk" -B "$example" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" \
  >"$out/example-build.log" 2>&1 && cmake --build "$example" >>"$out/example-build.log" 2>&1
check "the example configures and builds against the installed package" test -x "$example/banner-gtk"
[ -x "$example/banner-gtk" ] || exit 1
object=$(find "$example" -name 'main.cpp.o' | head -n 1)
check "linked by pkg-config" c++ "$object" $(pkg-config --libs vize-sdk) -o "$work/banner-gtk-pc"
mkdir -p "$work/static"
cat >"$work/static/CMakeLists.txt" <<STATIC
cmake_minimum_required(VERSION 3.25)
project(banner-gtk-static LANGUAGES CXX)
find_package(VizeSDK CONFIG REQUIRED)
add_executable(banner-gtk-static $object)
target_link_libraries(banner-gtk-static PRIVATE VizeSDK::vize-sdk-static)
STATIC
cmake -S "$work/static" -B "$work/static/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >"$out/static-build.log" 2>&1 &&
  cmake --build "$work/static/build" >>"$out/static-build.log" 2>&1
check "linked against VizeSDK::vize-sdk-static" test -x "$work/static/build/banner-gtk-static"

# ---- the example at work, against the sandbox ----
start_sandbox example --refresh-rate 3
start_window_manager
control "next?creative=link&count=100"  # every ad opens the in-app browser
home=$work/home
mkdir -p "$home/config" "$home/cache" "$home/data"
XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache XDG_DATA_HOME=$home/data ASHENMOOR_AD_TRACE=$out/trace.jsonl \
  "$example/banner-gtk" >"$printed" 2>"$out/example.log" &
example_pid=$!
pids+=("$example_pid")
said() { grep -c -- "^$1" "$printed" 2>/dev/null || true; }
has_said() { [ "$(said "$1")" -ge "${2:-1}" ]; }
check "adViewDidReceiveAd: printed" until_true 15 has_said 'adViewDidReceiveAd:'
window=$(xdotool search --onlyvisible --name '^Banner example$' | head -n 1)
[ -n "$window" ] || { fail "no example window"; exit 1; }
# In step with the refresh, so that the tap meets an ad that stays: right after the next one.
check "the banner refreshes" until_true 8 has_said 'adViewDidReceiveAd:' 2
sleep 0.6  # seen for a moment: a tap now is a tap on this ad
check "ad requests name the example's application" \
  bash -c "curl -fsS $ad_origin/stats.json | jq -e '.last_requests[0].params | any(.[0] == \"app_name\" and (.[1] | endswith(\"org.example.BannerGtk\")))' >/dev/null"
check "the ad layer's files are under the example's application id" test -d "$home/cache/org.example.BannerGtk"

eval "$(xdotool getwindowgeometry --shell "$window")"
click_at 160 $((HEIGHT - 25))  # the banner: 320×50, centred at the bottom of the window
check "the click opened the in-app browser" until_true 5 stat_is '.landing["browser.html"].hits' 1
check "adViewWillPresentScreen: printed" until_true 5 has_said 'adViewWillPresentScreen:'
screen=
for _ in $(seq 50); do
  screen=$(xdotool search --onlyvisible --name '^banner-gtk$' | head -n 1)
  [ -n "$screen" ] && break
  sleep 0.1
done
check "the browser is in the ad layer's own window" test -n "$screen"
sleep 1
[ -n "$screen" ] && import -window "$screen" "$out/browser.png"
ads_before=$(said 'adViewDidReceiveAd:')
sleep 3.5  # longer than the interval: full-screen content pauses refresh
check "no refresh while the browser is up" test "$(said 'adViewDidReceiveAd:')" = "$ads_before"
[ -n "$screen" ] && xdotool mousemove --window "$screen" 290 458 click 1  # Done
check "adViewDidDismissScreen: printed" until_true 5 has_said 'adViewDidDismissScreen:'
gone() { [ -z "$(xdotool search --onlyvisible --name '^banner-gtk$' 2>/dev/null)" ]; }
check "the ad layer's window went with the browser" until_true 5 gone
check "refresh resumes after the browser" until_true 8 has_said 'adViewDidReceiveAd:' $((ads_before + 1))

sleep 0.5
xdotool windowminimize --sync "$window"
sleep 0.5
minimised=$(said 'adViewDidReceiveAd:')
sleep 3.5  # longer than the interval
check "minimised, the banner stops refreshing" test "$(said 'adViewDidReceiveAd:')" = "$minimised"
xdotool windowactivate --sync "$window" 2>/dev/null
check "restored, it refreshes again" until_true 8 has_said 'adViewDidReceiveAd:' $((minimised + 1))
sleep 1
shot example

kill -TERM "$example_pid"
wait "$example_pid"
check "SIGTERM ends the example with status 0" test $? = 0
sequence=$(grep -v 'adViewDidReceiveAd:' "$printed" | tr '\n' ' ')
check "the delegate heard present and dismiss in order (got: $sequence)" \
  test "$sequence" = "adViewWillPresentScreen: adViewWillDismissScreen: adViewDidDismissScreen: "

echo "package: $failures failure(s); installed files, the example's output, trace and screenshots in $out"
[ "$failures" = 0 ]
