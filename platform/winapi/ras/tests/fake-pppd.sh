#!/bin/sh
# Stands in for pppd in the dial-up tests. Takes pppd's arguments, runs the connect option the
# way pppd does (through /bin/sh), and prints pppd's log lines for FAKE_PPPD_SCENARIO:
#   connect (default)  dial, authenticate and stay connected until SIGTERM, or until the file
#                      $FAKE_PPPD_DIR/drop appears ("Modem hangup", status 16)
#   stubborn           the same, but SIGTERM is ignored
#   auth-fail          PAP authentication fails (status 19)
#   no-kernel          the kernel lacks PPP (status 1, as pppd on a machine without /dev/ppp)
# Its process id goes to $FAKE_PPPD_DIR/pid.
device=$1
connect=
while [ $# -gt 0 ]; do
    if [ "$1" = connect ]; then
        connect=$2
        shift
    fi
    shift
done
echo $$ > "$FAKE_PPPD_DIR/pid.new" && mv "$FAKE_PPPD_DIR/pid.new" "$FAKE_PPPD_DIR/pid"
scenario=${FAKE_PPPD_SCENARIO:-connect}
if [ "$scenario" = stubborn ]; then
    trap '' TERM
else
    trap 'echo "Terminating on signal 15"; exit 5' TERM
fi
if [ "$scenario" = no-kernel ]; then
    echo "Couldn't open the /dev/ppp device: No such file or directory"
    exit 1
fi
/bin/sh -c "$connect" || { echo "Connect script failed"; exit 8; }
echo "Serial connection established."
echo "Using interface ppp0"
echo "Connect: ppp0 <--> $device"
if [ "$scenario" = auth-fail ]; then
    echo "PAP authentication failed"
    exit 19
fi
echo "PAP authentication succeeded"
echo "local  IP address 10.64.64.1"
echo "remote IP address 10.64.64.64"
while [ ! -e "$FAKE_PPPD_DIR/drop" ]; do
    sleep 0.05
done
echo "Modem hangup"
exit 16
