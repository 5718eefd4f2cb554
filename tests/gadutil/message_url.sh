#!/usr/bin/env bash
# message_url.sh <gadutil>: the message-url command — names and parameters of both message
# URL forms, and exit 1 for what carries no message.
set -u
gadutil=$1
failures=0

source "$(dirname "$0")/support/expect.bash"

# gmsg: the name is the path after "/", the host does not matter, parameters in key order.
expect 0 "name=click${nl}param ai=7${nl}param u=http://land.example/p?q=1&r=2" \
  message-url 'gmsg://ads.example/click?u=http%3A%2F%2Fland.example%2Fp%3Fq%3D1%26r%3D2&ai=7'
expect 0 "name=loadAdURL" message-url 'gmsg://any.host:8080/loadAdURL'
expect 0 "name=a/b" message-url 'gmsg://x/a/b'
expect 0 "name=load AdURL" message-url 'gmsg://x/load%20AdURL'
# Query rules: keys lower-cased, only two-piece pairs, "+" kept, later wins.
expect 0 "name=m${nl}param x=1" message-url 'gmsg://x/m?a=b=c&x=1'
expect 0 "name=m${nl}param key=A" message-url 'gmsg://x/m?Key=%41'
expect 0 "name=loadAdURL${nl}param type=2${nl}param url=u" message-url 'gmsg://x/loadAdURL?URL=u&type=1;type=2'
expect 0 "name=m${nl}param q=a+b" message-url 'gmsg://x/m?q=a+b&flag'

# rodud: three verbs.
expect 0 "name=open${nl}param a=browser${nl}param u=http://land.example/?a=1" \
  message-url 'rodud://launch?url=http%3A%2F%2Fland.example%2F%3Fa%3D1&x=2'
expect 0 "name=open${nl}param a=browser" message-url 'rodud://launch'
expect 0 "name=close" message-url 'rodud://closecanvas?a=1'
expect 0 "name=log${nl}param string=hi there" message-url 'rodud://log?String=hi%20there'

# No message.
expect 1 "no notification" message-url 'gmsg://x'
expect 1 "no notification" message-url 'gmsg:click'
expect 1 "no notification" message-url 'GMSG://x/click'
expect 1 "no notification" message-url 'rodud://Launch?url=x'
expect 1 "no notification" message-url 'rodud://open'
expect 1 "no notification" message-url 'http://x/click'
expect_status 1 message-url 'not a url'
expect_status 1 message-url
expect_status 1 message-url 'gmsg://x/a' 'gmsg://x/b'

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all gadutil message-url checks passed"
