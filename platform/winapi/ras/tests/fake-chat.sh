#!/bin/sh
# Stands in for "chat -v -s -f <script>": reports the dial on standard error as chat does and
# fails with the modem reply named by FAKE_CHAT_RESULT (BUSY, NO ANSWER, ...; empty: CONNECT).
# The number it dialled goes to $FAKE_PPPD_DIR/dialled.
if [ "$1 $2 $3" != "-v -s -f" ] || [ $# -ne 4 ]; then
    echo "fake chat: unexpected arguments: $*" >&2
    exit 1
fi
number=$(sed -n 's/^OK ATDT//p' "$4")
{
    echo "abort on (BUSY)"
    echo "send (AT^M)"
    echo "expect (OK)"
    echo " -- got it"
    echo "send (ATDT$number^M)"
    echo "expect (CONNECT)"
} >&2
printf '%s' "$number" > "$FAKE_PPPD_DIR/dialled"
if [ -n "$FAKE_CHAT_RESULT" ]; then
    echo "$FAKE_CHAT_RESULT" >&2
    echo " -- failed" >&2
    echo "Failed ($FAKE_CHAT_RESULT)" >&2
    exit 4
fi
echo "CONNECT" >&2
echo " -- got it" >&2
