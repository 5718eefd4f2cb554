#!/usr/bin/env bash
# json.sh <gadutil>: the json command's arguments, output framing and exit statuses. What the
# reader accepts and refuses is the unit suite's; here one case of each kind of output.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"

expect_bytes 0 '{"a":[1.5,true,null],"b":1}\n' '{"b":1, "a":[1.50,true,null]}' json
expect_bytes 0 '{\n  "a" : [\n    1\n  ],\n  "b" : {}\n}\n' '{"b":{},"a":[1]}' json --pretty
expect_bytes 0 '"x"\n' '"x"' json --fragment
expect_bytes 1 'error 4: Valid fragment, but not JSON\n' '"x"' json
# A chain, innermost last.
expect_bytes 1 'error 3: Object value expected for key: k\ncaused by 3: Expected value while parsing array\ncaused by 6: Broken unicode character\ncaused by 6: Invalid high character in surrogate pair\n' \
  '{"k":["\\ude00"]}' json
expect_bytes 1 'error 3: Expected value while parsing array\ncaused by 7: Nested too deep\n' '[[1]]' json --max-depth 1
expect_bytes 0 '[[1]]\n' '[[1]]' json --max-depth 2
deep="$(printf '%0.s[' $(seq 600))$(printf '%0.s]' $(seq 600))"
expect_bytes 0 "$deep\n" "$deep" json --max-depth 0  # 0: no limit of its own
expect_bytes 2 '' '[]' json --sorted
expect_bytes 2 '' '[]' json --max-depth
expect_bytes 2 '' '[]' json --max-depth x
finish json
