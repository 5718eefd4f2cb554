#!/usr/bin/env bash
# query.sh <gadutil>: the query, percent-encode and float commands — arguments, output
# framing (one "key=value" line per pair), exit codes. The parsers' cases are the unit suite's.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"

expect 0 "a b=x${nl}k=v" query parse '  A%20B=x&k=v'
expect 0 "" query parse ''
expect_status 1 query parse
expect_status 1 query parse a=1 b=2

expect 0 "v%20w" query value ai 'http://ads.example/aclk?aiq=1&ai&ai=v%20w&ai=2'
expect_status 1 query value AI 'http://ads.example/aclk?ai=1'  # none: exit 1
expect_status 1 query value ai 'not a url'
expect_status 1 query value ai

expect 0 "http://h/p?a=1&k=v" query append 'http://h/p?a=1' k v
expect 0 "http://h/p?token" query append 'http://h/p' token
expect_status 1 query append 'http://h/p' 'a b' v
expect_status 1 query append 'not a url' k v
expect_status 1 query append 'http://h/p'
expect_status 1 query frobnicate

expect 0 "%20%E2%82%AC" percent-encode ' €'
expect_status 1 percent-encode

expect 0 "0.333333" float 0.33333334
expect 0 "100" float 1e2
expect_status 1 float abc
expect_status 1 float 1e39
expect_status 1 float
finish query
