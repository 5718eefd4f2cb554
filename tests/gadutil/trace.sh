#!/usr/bin/env bash
# trace.sh <gadutil>: the trace command prints its built-in chain from the plain function that
# takes the trace out to the class method, one line each, with the tool's usage rules.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"

out=$("$gadutil" trace); status=$?
[ "$status" = 0 ] || fail "gadutil trace: status $status"
expected=(
  '^#0  gadutil +0x[0-9a-f]{8,} traceDemoFunction\(\)$'
  '^#1  gadutil +0x[0-9a-f]{8,} -\[TraceDemo instanceStep\]$'
  '^#2  gadutil +0x[0-9a-f]{8,} \+\[TraceDemo classStep\]$'
)
for i in "${!expected[@]}"; do
  line=$(sed -n "$((i + 1))p" <<< "$out")
  [[ $line =~ ${expected[$i]} ]] || fail "gadutil trace, line $i: $(printf '%q' "$line")"
done

expect_status 1 trace extra
finish trace
