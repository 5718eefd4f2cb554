#!/usr/bin/env bash
# query.sh <gadutil>: the query, percent-encode and float commands, outputs and exit codes.
set -u
gadutil=$1
failures=0

source "$(dirname "$0")/support/expect.bash"

# query parse: separators, white space, two-piece rule, escapes, case, later wins, "+".
expect 0 "a=1${nl}b=2${nl}c=3" query parse 'a=1&&b=2;c=3'
expect 0 "a b=x${nl}k=v" query parse '  A%20B=x&k=v'
expect 0 "e=5" query parse 'a=1=2&b&c%zz=1&d=%G0&e=5'
expect 0 "type=2" query parse 'type=1&TYPE=2'
expect 0 "q=a+b" query parse 'q=a+b'
expect 0 "u=http://h/?x=1" query parse 'u=http%3A%2F%2Fh%2F%3Fx%3D1'
expect 0 "" query parse ''
expect_status 1 query parse
expect_status 1 query parse a=1 b=2

# query value: exact, case-sensitive name with an "="; raw value; exit 1 when none.
expect 0 "v%20w" query value ai 'http://ads.example/aclk?aiq=1&ai&ai=v%20w&ai=2'
expect 0 "" query value y 'http://h/p?y='
expect 0 "1" query value x 'http://h/p?x=1=2'
expect_status 1 query value AI 'http://ads.example/aclk?ai=1'
expect_status 1 query value ai 'http://ads.example/aclk?ai'
expect_status 1 query value ai 'http://ads.example/aclk'
expect_status 1 query value ai 'not a url'
expect_status 1 query value ai

# query append: "?" or "&", key alone for an empty or missing value, escaped values,
# parameters before the fragment.
expect 0 "http://h/core.js?unique=1712" query append 'http://h/core.js' unique 1712
expect 0 "http://h/p?a=1&k=v" query append 'http://h/p?a=1' k v
expect 0 "http://h/p?token" query append 'http://h/p' token
expect 0 "http://h/p?token" query append 'http://h/p' token ''
expect 0 "http://h/p?q=a%20b%26c%C3%A9" query append 'http://h/p' q 'a b&cé'
expect 0 "http://h/p?k=v#top" query append 'http://h/p#top' k v
expect_status 1 query append 'http://h/p' 'a b' v
expect_status 1 query append 'not a url' k v
expect_status 1 query append 'http://h/p'
expect_status 1 query frobnicate

# percent-encode: only letters, digits and "-._~" pass.
expect 0 "AZaz09-._~" percent-encode 'AZaz09-._~'
expect 0 "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D" percent-encode "!*'();:@&=+\$,/?%#[]"
expect 0 "%20%E2%82%AC" percent-encode ' €'
expect_status 1 percent-encode

# float: six decimals, trailing zeros and point dropped.
expect 0 "320" float 320
expect 0 "2" float 2.0
expect 0 "1.5" float 1.5
expect 0 "0" float 0
expect 0 "-0.25" float -0.25
expect 0 "0.1" float 0.1
expect 0 "0.333333" float 0.33333334
expect 0 "100" float 1e2
expect 0 "nan" float nan
expect_status 1 float abc
expect_status 1 float 1.5x
expect_status 1 float 1e39
expect 0 "0" float 1e-40
expect 0 "inf" float inf
expect_status 1 float

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all gadutil query checks passed"
