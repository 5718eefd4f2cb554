#!/usr/bin/env bash
# message_url.sh <gadutil>: the message-url command — its output (name, then parameters in key
# order) for both forms, and exit 1 for what carries no message. The parser's cases are the
# unit suite's.
set -u
gadutil=$1
failures=0
source "$(dirname "$0")/support/expect.bash"

expect 0 "name=click${nl}param ai=7${nl}param u=http://land.example/p?q=1&r=2" \
  message-url 'gmsg://ads.example/click?u=http%3A%2F%2Fland.example%2Fp%3Fq%3D1%26r%3D2&ai=7'
expect 0 "name=open${nl}param a=browser${nl}param u=http://land.example/?a=1" \
  message-url 'rodud://launch?url=http%3A%2F%2Fland.example%2F%3Fa%3D1&x=2'
expect 0 "name=close" message-url 'rodud://closecanvas?a=1'
expect 1 "no notification" message-url 'http://x/click'
expect_status 1 message-url 'not a url'
expect_status 1 message-url
expect_status 1 message-url 'gmsg://x/a' 'gmsg://x/b'
finish message-url
