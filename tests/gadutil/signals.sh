#!/usr/bin/env bash
# signals.sh <gadutil>: `gadutil signals decode` on a click signal sealed by a separate writer
# of the format (Python's AES-GCM, key "AshenmoorSignals", nonce 00 01 … 0b), so the reading
# is checked against the wire format and not against the application's own writer; then
# the reasons it gives for texts it cannot read.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"
unset ASHENMOOR_SIGNALS_KEY

text=ASNoE0EAAQIDBAUGBwgJCgusVh0Lnz15WTXvAn3r2lBw5B7T9cVQY9kuHnBJyKGcX3Ya_1qusgeVl6-G-Q8pRzuVkbDKgVpdCJ84J4FTKj6AfwyZar7t8u2pMts
record="kind: click
session: 0011223344556677
sequence: 7
request type: 4
sdk version: vize-sdk-i-v4.1.1
touches: 2
last touch: tx 160, ty 25, td 87
ai: SBX7q2"
sandbox_key=417368656e6d6f6f725369676e616c73  # "AshenmoorSignals", the compiled default
other_key=000102030405060708090a0b0c0d0e0f

expect 0 "$record" signals decode "$text"
expect 0 "$record" signals decode "ms=$text"  # as the ad URL's parameter stands
expect 0 "$record" signals decode "$text" --key $sandbox_key
ASHENMOOR_SIGNALS_KEY=$sandbox_key expect 0 "$record" signals decode "$text"

# What cannot be read: exit 1 and the reason.
other=A; [ "${text:40:1}" = A ] && other=B
tampered="${text:0:40}$other${text:41}"  # one character of the ciphertext changed
expect 1 "tampered: the authentication tag does not match (changed or cut)" signals decode "$tampered"
expect 1 "tampered: the authentication tag does not match (changed or cut)" signals decode "${text%???}"
expect 1 "wrong key: sealed under another key" signals decode "$text" --key $other_key
ASHENMOOR_SIGNALS_KEY=$other_key expect 1 "wrong key: sealed under another key" signals decode "$text"
expect 1 "bad base64: not web-safe base64 without padding" signals decode "$text="
expect 1 "bad base64: not web-safe base64 without padding" signals decode "$(tr -- '-_' '+/' <<<"$text")"
expect 1 "too short to be a signal" signals decode "${text:0:40}"

# Usage mistakes: exit 1 too.
expect_status 1 signals
expect_status 1 signals decode
expect_status 1 signals encode "$text"
expect_status 1 signals decode "$text" --key 0011
expect_status 1 signals decode "$text" --key
expect_status 1 signals decode "$text" "$text"
ASHENMOOR_SIGNALS_KEY=xyz expect_status 1 signals decode "$text"

finish signals
