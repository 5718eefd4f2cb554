#!/usr/bin/env bash
# uule.sh <gadutil>: the "uule" location value — both forms read back with outside tools
# (base64, OpenSSL), the key choices, and the inputs that make no location.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset ASHENMOOR_UULE_KEY

# Web-safe base64 without padding → the bytes, into a file.
decode_websafe() {
  local text=$1 out=$2
  text=$(printf '%s' "$text" | tr -- '-_' '+/')
  while [ $(( ${#text} % 4 )) -ne 0 ]; do text="$text="; done
  printf '%s' "$text" | base64 -d > "$out"
}

# decrypt <value without "e1+"> <key hex>: the plain text, padding included, into $tmp/plain.
decrypt() {
  decode_websafe "$1" "$tmp/sealed"
  local iv
  iv=$(head -c 16 "$tmp/sealed" | od -An -tx1 | tr -d ' \n')
  echo "$iv" > "$tmp/iv"
  tail -c +17 "$tmp/sealed" | openssl enc -d -aes-128-cbc -K "$2" -iv "$iv" -nopad > "$tmp/plain" 2> /dev/null
}

head='role: 6 producer: 24 historical_role: 1 historical_producer: 12 timestamp: '
sandbox_key=417368656e6d6f6f7255756c654b6579  # "AshenmoorUuleKey"
own_key=000102030405060708090a0b0c0d0e0f

# Coordinates: "e1+", only the web-safe alphabet, the vector from the timestamp, the record
# readable with the sandbox key, padded with a whole block when it fills whole blocks.
value=$("$gadutil" uule --lat 54.4858 --lng -0.6206 --accuracy 30 --timestamp 1300000000)
[ $? = 0 ] || fail "uule with coordinates: status not 0"
case $value in e1+*) ;; *) fail "coordinates: no e1+ prefix: $value" ;; esac
[[ ${value#e1+} =~ ^[A-Za-z0-9_-]+$ ]] || fail "coordinates: not web-safe base64: $value"
decrypt "${value#e1+}" $sandbox_key
[ "$(cat "$tmp/iv")" = 006d7c4dffffff7fffffff7fffffff7f ] || fail "vector: $(cat "$tmp/iv")"
record="${head}1300000000000000 latlng <latitude_e7: 544858016 longitude_e7: -6205999> radius: 30000"
expected=$(printf '%s' "$record"; for _ in $(seq 16); do printf '\020'; done)
[ "$(od -An -tx1 < "$tmp/plain")" = "$(printf '%s' "$expected" | od -An -tx1)" ] || fail "coordinates: decrypted record differs: $(cat -v "$tmp/plain")"

# --key, then ASHENMOOR_UULE_KEY: readable with that key only.
value=$("$gadutil" uule --lat 10 --lng 20 --accuracy 5 --timestamp 1300000000 --key $own_key)
decrypt "${value#e1+}" $own_key
grep -q 'latitude_e7: 100000000 longitude_e7: 200000000> radius: 5000' "$tmp/plain" || fail "--key: not readable with that key"
decrypt "${value#e1+}" $sandbox_key
grep -q 'latitude_e7' "$tmp/plain" && fail "--key: readable with the sandbox key"
from_env=$(ASHENMOOR_UULE_KEY=$own_key "$gadutil" uule --lat 10 --lng 20 --accuracy 5 --timestamp 1300000000)
[ "$from_env" = "$value" ] || fail "ASHENMOOR_UULE_KEY: $from_env differs from --key: $value"
ASHENMOOR_UULE_KEY=xyz expect_status 1 uule --lat 10 --lng 20 --accuracy 5 --timestamp 1300000000

# Description: "a+", in clear, quotes turned into apostrophes, no "=".
value=$("$gadutil" uule --description 'The "Moor" Inn' --timestamp 1300000000.5)
[ $? = 0 ] || fail "uule --description: status not 0"
case $value in a+*) ;; *) fail "description: no a+ prefix: $value" ;; esac
[[ ${value#a+} =~ ^[A-Za-z0-9_-]+$ ]] || fail "description: not web-safe base64: $value"
decode_websafe "${value#a+}" "$tmp/text"
[ "$(cat "$tmp/text")" = "${head}1300000000500000 loc: \"The 'Moor' Inn\"" ] || fail "description record: $(cat "$tmp/text")"

# No location: exit 1.
expect_status 1 uule --lat 0 --lng 20 --accuracy 5 --timestamp 1
expect_status 1 uule --lat 90.5 --lng 20 --accuracy 5 --timestamp 1
expect_status 1 uule --lat nan --lng 20 --accuracy 5 --timestamp 1
expect_status 1 uule --description '' --timestamp 1
expect_status 0 uule --lat 90 --lng -180 --accuracy 5 --timestamp 1
# Usage mistakes: exit 1 too.
expect_status 1 uule
expect_status 1 uule --lat 20 --lng 20 --accuracy 5
expect_status 1 uule --lat 20x --lng 20 --accuracy 5 --timestamp 1
expect_status 1 uule --lat 20 --lng 20 --accuracy 5 --timestamp 1 --key 0011
expect_status 1 uule --description Whitby --timestamp 1 --key $own_key
expect_status 1 uule --description Whitby --timestamp 1 --frobnicate 2

finish uule
