#!/usr/bin/env bash
# json.sh <gadutil>: the json command — the text written back, the error chains, exit statuses.
set -u
gadutil=$1
failures=0
out=$(mktemp); trap 'rm -f "$out"' EXIT

# check <description> <expected output> <expected status> <input> [arguments...]; the output
# is compared byte for byte (hexdump), so line feeds count.
check() {
  local what=$1 expected=$2 status=$3 input=$4; shift 4
  local got rc
  printf '%b' "$input" | "$gadutil" json "$@" > "$out"; rc=$?
  got=$(od -An -tx1 < "$out" | tr -d ' \n')
  expected=$(printf '%b' "$expected" | od -An -tx1 | tr -d ' \n')
  if [ "$got" != "$expected" ] || [ "$rc" != "$status" ]; then
    echo "FAIL: $what (status $rc, want $status; output $got, want $expected)"
    failures=$((failures + 1))
  fi
}

check "keys sorted, compact" '{"a":[1.5,true,null],"b":1}\n' 0 '{"b":1, "a":[1.50,true,null]}'
check "missing comma accepted" '[1,2]\n' 0 '[1 2]'
check "exact numbers" '[0.30000000000000000000000000000000000001,-500,100000000000000000000]\n' 0 \
  '[0.30000000000000000000000000000000000001,-0.5e+3,1e20]'
check "escapes written back" '["\\t\\u0001/\xc3\xa9\xf0\x9f\x98\x80"]\n' 0 '["\\t\\u0001\\/\\u00e9\\ud83d\\ude00"]'
check "pretty" '{\n  "a" : [\n    1\n  ],\n  "b" : {}\n}\n' 0 '{"b":{},"a":[1]}' --pretty
check "fragment" '"x"\n' 0 '"x"' --fragment
check "scalar refused without --fragment" 'error 4: Valid fragment, but not JSON\n' 1 '"x"'
check "trailing comma" 'error 9: Trailing comma disallowed in array\n' 1 '[1,]'
check "garbage" 'error 10: Garbage after JSON\n' 1 '{} {}'
check "empty input" 'error 11: Unexpected end of string\n' 1 ''
check "not UTF-8" 'error 12: Input was not valid UTF-8\n' 1 '["\xff"]'
check "chain, innermost last" \
  'error 3: Object value expected for key: k\ncaused by 3: Expected value while parsing array\ncaused by 6: Broken unicode character\ncaused by 6: Invalid high character in surrogate pair\n' \
  1 '{"k":["\\ude00"]}'
check "unrepresentable decimal" \
  'error 3: Expected value while parsing array\ncaused by 2: Failed creating decimal instance\n' 1 '[1e999]'
check "max depth" 'error 3: Expected value while parsing array\ncaused by 7: Nested too deep\n' 1 '[[1]]' --max-depth 1
check "max depth allows" '[[1]]\n' 0 '[[1]]' --max-depth 2
check "max depth 0 is no limit" "$(printf '%0.s[' $(seq 600))$(printf '%0.s]' $(seq 600))\n" 0 \
  "$(printf '%0.s[' $(seq 600))$(printf '%0.s]' $(seq 600))" --max-depth 0

check "unknown argument" '' 2 '[]' --sorted
check "--max-depth without a number" '' 2 '[]' --max-depth
check "--max-depth not a number" '' 2 '[]' --max-depth x

if [ "$failures" -ne 0 ]; then
  echo "$failures gadutil json checks failed"
  exit 1
fi
echo "gadutil json: ok"
