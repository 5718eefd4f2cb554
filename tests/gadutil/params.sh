#!/usr/bin/env bash
# params.sh <gadutil>: the parameters of a fresh request on each simulated device, as JSON
# with sorted keys; unknown profiles and stray arguments fail.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A main bundle with a version, and a known language.
cat > "$tmp/Info.plist" <<'PLIST'
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>org.example.moor</string>
<key>CFBundleVersion</key><string>2.5</string>
</dict></plist>
PLIST
export ASHENMOOR_BUNDLE_PATH=$tmp LANGUAGE=de_AT:en
unset LC_ALL

# isu: MD5 of the profile's raw identifier, upper-case.
isu() { printf '%s' "$1" | md5sum | cut -c1-32 | tr a-f A-F; }

# Keys in sorted order: the writer sorts them.
check_sorted() {
  local keys
  keys=$(printf '%s' "$1" | grep -o '"[a-z_]*":' | tr -d '":')
  [ "$keys" = "$(printf '%s\n' "$keys" | LC_ALL=C sort)" ] || fail "$2: keys not sorted"
}

out=$("$gadutil" params); status=$?
[ $status = 0 ] || fail "params: status $status"
default=$("$gadutil" params --profile phone-4.0)
[ "$out" = "$default" ] || fail "params: the default is not phone-4.0"
check_sorted "$out" phone-4.0
want='{"app_name":"2.5.iphone.org.example.moor","cap_bs":1,"hl":"de-at","ios_metadata":{},"isu":"'$(isu a1b2c3d4e5f60718293a4b5c6d7e8f9012345678)'","js":"vize-sdk-i-v4.1.1","net":"wi","platform":"iPhone","preqs":0,"session_id":3584959952,"submodel":"iPhone2,1","u_audio":"1","u_h":"480","u_sd":"1","u_so":"p","u_w":"320"}'
[ "$out" = "$want" ] || { fail "params phone-4.0"; echo "  expected $want"; echo "  got      $out"; }

out=$("$gadutil" params --profile tablet-3.2)
check_sorted "$out" tablet-3.2
for piece in '"ios_ipadc":"1"' '"platform":"iPad"' '"u_w":"320"' '"preqs":0' '"js":"vize-sdk-i-v4.1.1"'; do
  [[ $out == *"$piece"* ]] || fail "tablet-3.2: no $piece in $out"
done

out=$("$gadutil" params --profile phone-3.1.3)
check_sorted "$out" phone-3.1.3
[[ $out == *'"isu":"'$(isu 5f2c9d0e4b8a7136c2e1f0a9b8d7c6e5f4a3b2c1)'"'* ]] || fail "phone-3.1.3: isu in $out"
[[ $out != *ios_ipadc* ]] || fail "phone-3.1.3: ios_ipadc in $out"

# Failures: message on standard output, status 1.
out=$("$gadutil" params --profile nokia-3310); status=$?
[ $status = 1 ] || fail "unknown profile: status $status"
[[ $out == *phone-4.0* ]] || fail "unknown profile: the known ones are not named: $out"
"$gadutil" params --profile > /dev/null && fail "--profile without a name succeeded"
"$gadutil" params extra > /dev/null && fail "a stray argument succeeded"

finish params
