#!/usr/bin/env bash
# Runs mq450 send against a listener on 127.0.0.1 started here, a port nobody listens on, devices and files.
set -u
tool=$1
work=$(mktemp -d)
listener=
trap '[ -n "$listener" ] && kill "$listener" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
source "$(dirname "$0")/check.sh"
# Every byte value, and more than one network buffer.
python3 -c 'import sys; sys.stdout.buffer.write(bytes(range(256)) * 5000)' > job.bin

# A listener that takes one connection, keeps what arrives until the sender closes, and exits.
python3 - "$work/port" "$work/received.bin" <<'PY' &
import socket, sys
s = socket.socket()
s.bind(("127.0.0.1", 0))
s.listen(1)
open(sys.argv[1] + ".new", "w").write(str(s.getsockname()[1]))
import os
os.rename(sys.argv[1] + ".new", sys.argv[1])
s.settimeout(30)
c, _ = s.accept()
data = bytearray()
while True:
    d = c.recv(65536)
    if not d:
        break
    data += d
open(sys.argv[2], "wb").write(data)
PY
listener=$!
for _ in $(seq 100); do [ -f port ] && break; sleep 0.05; done
port=$(cat port)
"$tool" send job.bin --to "tcp:127.0.0.1:$port" > out.txt 2> err.txt
check "send to the listener succeeds" test $? = 0
wait "$listener"
listener=
check "the listener received the file unchanged" cmp -s job.bin received.bin
check "the bytes sent are reported" grep -q "^sent 1280000 bytes to tcp:127.0.0.1:$port" out.txt
check "no progress off a terminal" test ! -s err.txt

# A port nobody listens on: a clear error, status 1.
closed=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$tool" send job.bin --to "tcp:127.0.0.1:$closed" > out.txt 2> err.txt
check "a refused connection fails" test $? = 1
check "the refusal is named" grep -q "^mq450: cannot connect to 127.0.0.1 port $closed: Connection refused$" err.txt
check "a refused connection reports nothing sent" test ! -s out.txt

# Devices: one that takes everything, one that is full, one that is not there.
check "a device takes the file" "$tool" send job.bin --to /dev/null
"$tool" send job.bin --to /dev/full 2> err.txt
check "a full device fails" test $? = 1
check "a full device says how far it got" grep -q "^mq450: only 0 of 1280000 bytes reached /dev/full: No space left on device$" err.txt
"$tool" send job.bin --to /dev/no-such-printer 2> err.txt
check "a missing device fails" test $? = 1
check "a missing device is not created" test ! -e /dev/no-such-printer

# On a terminal, a file over 1 MB shows its progress (script gives the tool one).
if command -v script > /dev/null; then
  script -qec "\"$tool\" send job.bin --to /dev/null" /dev/null | tr '\r' '\n' > tty.txt
  check "progress on a terminal" grep -q "^sent 1280000 of 1280000 bytes (100%)" tty.txt
fi

# file: writes the bytes whole; an unreadable source leaves an existing output alone.
check "file: succeeds" "$tool" send job.bin --to file:copy.bin
check "file: holds the bytes" cmp -s job.bin copy.bin
"$tool" send missing.bin --to file:copy.bin 2> err.txt
check "a missing source fails" test $? = 1
check "a missing source is named" grep -q "cannot read missing.bin" err.txt
check "the earlier output is intact" cmp -s job.bin copy.bin

# Bad destinations are usage errors.
for dest in "lpt1" "tcp:" "tcp:host:0" "tcp:host:99999" "tcp:[::1"; do
  "$tool" send job.bin --to "$dest" 2> /dev/null
  check "destination '$dest' is refused as usage" test $? = 2
done
check "help has an example" sh -c "\"$tool\" send --help | grep -q '^example: mq450 send'"

[ "$failures" -eq 0 ] && echo "all send checks passed"
exit "$((failures > 0))"
