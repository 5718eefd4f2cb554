# Shared checks for the gadutil command scripts; source it after setting `gadutil` and
# `failures=0`, and end with `finish <name>`.

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect <status> <expected output> <command words...>: output without its last line feeds.
expect() {
  local want_status=$1 want=$2; shift 2
  local got status
  got=$("$gadutil" "$@"); status=$?
  if [ "$status" != "$want_status" ] || [ "$got" != "$want" ]; then
    fail "gadutil $*"
    echo "  expected status $want_status, output: $(printf '%q' "$want")"
    echo "  got      status $status, output: $(printf '%q' "$got")"
  fi
}

# expect_bytes <status> <expected output> <input> <command words...>: the input (printf %b)
# on standard input, the output compared byte for byte (printf %b), line feeds included.
expect_bytes() {
  local want_status=$1 want=$2 input=$3; shift 3
  local got status out
  out=$(mktemp)
  printf '%b' "$input" | "$gadutil" "$@" > "$out" 2>/dev/null; status=${PIPESTATUS[1]}
  got=$(od -An -tx1 < "$out" | tr -d ' \n')
  rm -f "$out"
  want=$(printf '%b' "$want" | od -An -tx1 | tr -d ' \n')
  if [ "$status" != "$want_status" ] || [ "$got" != "$want" ]; then
    fail "gadutil $* < $(printf '%q' "$input") (status $status, want $want_status; output $got, want $want)"
  fi
}

# expect_status <status> <command words...>: the exit code only (messages are free text).
expect_status() {
  local want_status=$1; shift
  "$gadutil" "$@" > /dev/null 2>&1; local status=$?
  [ "$status" = "$want_status" ] || fail "gadutil $*: status $status, expected $want_status"
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures gadutil $1 check(s) failed"
    exit 1
  fi
  echo "gadutil $1: ok"
}

nl=$'\n'
