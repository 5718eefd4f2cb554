#!/usr/bin/env bash
# encode.sh <gadutil>: the encode and decode commands — output, line feeds, exit statuses.
set -u
gadutil=$1
failures=0
out=$(mktemp); trap 'rm -f "$out"' EXIT

# check <description> <expected output> <expected status> <command...>; the output is
# compared byte for byte (hexdump), so line feeds count.
check() {
  local what=$1 expected=$2 status=$3; shift 3
  local got rc
  "$@" > "$out" 2>/dev/null; rc=$?
  got=$(od -An -tx1 < "$out" | tr -d ' \n')
  expected=$(printf '%b' "$expected" | od -An -tx1 | tr -d ' \n')
  if [ "$got" != "$expected" ] || [ "$rc" != "$status" ]; then
    echo "FAIL: $what (status $rc, want $status; output $got, want $expected)"
    failures=$((failures + 1))
  fi
}

encode() { printf '%b' "$1" | "$gadutil" encode "${@:2}"; }
decode() { printf '%b' "$1" | "$gadutil" decode "${@:2}"; }

check "base64 of foobar" 'Zm9vYmFy\n' 0 encode 'foobar' base64
check "base64 padded" 'Zm9vYg==\n' 0 encode 'foob' base64
check "base64 --no-pad" 'Zm9vYg\n' 0 encode 'foob' base64 --no-pad
check "--no-pad first" 'Zm9vYg\n' 0 encode 'foob' --no-pad base64
check "base64url" '-_-_\n' 0 encode '\xfb\xff\xbf' base64url
check "base32" 'MZXW6===\n' 0 encode 'foo' base32
check "base32hex" 'C5H66===\n' 0 encode 'abc' base32hex
check "crockford" 'C5H66\n' 0 encode 'abc' crockford
check "hex" '616263\n' 0 encode 'abc' hex
check "binary" '01100001\n' 0 encode 'a' binary
check "empty input" '\n' 0 encode '' base64
check "binary bytes in" 'AP8K\n' 0 encode '\x00\xff\x0a' base64

check "decode with line feed" 'foob' 0 decode 'Zm9vYg==\n' base64
check "decode without line feed" 'foob' 0 decode 'Zm9vYg==' base64
check "decode unpadded" 'foob' 0 decode 'Zm9vYg' base64
check "decode binary bytes out" '\x00\xff\x0a' 0 decode 'AP8K\n' base64
check "decode lower-case hex" 'abc' 0 decode '616263' hex
check "decode crockford synonyms" 'abc' 0 decode 'c5h66' crockford
check "only one line feed dropped" 'error: cannot decode\n' 1 decode 'Zg==\n\n' base64
check "blank inside" 'error: cannot decode\n' 1 decode 'Zm9v Yg==' base64
check "wrong alphabet" 'error: cannot decode\n' 1 decode '+/+/' base64url
check "odd hex" 'error: cannot decode\n' 1 decode '61626' hex

check "unknown encoding" '' 2 encode 'x' base65
check "missing encoding" '' 2 decode 'x'
check "decode takes no --no-pad" '' 2 decode 'Zg' base64 --no-pad

if [ "$failures" -ne 0 ]; then
  echo "$failures gadutil encode/decode checks failed"
  exit 1
fi
echo "gadutil encode/decode: ok"
