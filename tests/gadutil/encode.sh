#!/usr/bin/env bash
# encode.sh <gadutil>: the encode and decode commands — each encoding's name, --no-pad,
# line feeds in and out, exit statuses. The codecs' cases are the unit suite's.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"

expect_bytes 0 'Zm9vYg==\n' 'foob' encode base64
expect_bytes 0 'Zm9vYg\n' 'foob' encode base64 --no-pad
expect_bytes 0 'Zm9vYg\n' 'foob' encode --no-pad base64
expect_bytes 0 '-_-_\n' '\xfb\xff\xbf' encode base64url
expect_bytes 0 'MZXW6===\n' 'foo' encode base32
expect_bytes 0 'C5H66===\n' 'abc' encode base32hex
expect_bytes 0 'C5H66\n' 'abc' encode crockford
expect_bytes 0 '616263\n' 'abc' encode hex
expect_bytes 0 '01100001\n' 'a' encode binary
expect_bytes 0 '\n' '' encode base64
expect_bytes 0 'AP8K\n' '\x00\xff\x0a' encode base64  # bytes in, as they are

expect_bytes 0 'foob' 'Zm9vYg==\n' decode base64  # one line feed dropped, none added
expect_bytes 0 'foob' 'Zm9vYg==' decode base64
expect_bytes 0 '\x00\xff\x0a' 'AP8K\n' decode base64
expect_bytes 1 'error: cannot decode\n' 'Zg==\n\n' decode base64  # only one line feed dropped
expect_bytes 1 'error: cannot decode\n' '+/+/' decode base64url

expect_bytes 2 '' 'x' encode base65
expect_bytes 2 '' 'x' decode
expect_bytes 2 '' 'Zg' decode base64 --no-pad
finish encode/decode
