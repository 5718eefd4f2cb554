# Shared checks for the gadutil command scripts; source it after setting `gadutil` and
# `failures=0`.

# expect <status> <expected output> <command words...>
expect() {
  local want_status=$1 want=$2; shift 2
  local got status
  got=$("$gadutil" "$@"); status=$?
  if [ "$status" != "$want_status" ] || [ "$got" != "$want" ]; then
    echo "FAIL: gadutil $*"
    echo "  expected status $want_status, output: $(printf '%q' "$want")"
    echo "  got      status $status, output: $(printf '%q' "$got")"
    failures=$((failures + 1))
  fi
}

# expect_status <status> <command words...>: the exit code only (messages are free text).
expect_status() {
  local want_status=$1; shift
  "$gadutil" "$@" > /dev/null; local status=$?
  if [ "$status" != "$want_status" ]; then
    echo "FAIL: gadutil $*: status $status, expected $want_status"
    failures=$((failures + 1))
  fi
}

nl=$'\n'
