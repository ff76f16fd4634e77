#!/usr/bin/env bash
# mq450 printer on loopback takes jobs from mq450 send: each saved byte for byte with its picture, a silent
# connection closed after the idle time and still saved, and bad arguments refused.
set -u
tool=$1
work=$(mktemp -d)
printer=
cleanup() {
  [ -n "$printer" ] && kill "$printer" 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
source "$(dirname "$0")/check.sh"
printf '\x1b\x63\x3b\x01Hello from the till\n\x1d\x56\x42\x00\x1b\x63\x3b\x00' > receipt.prn
port=$((20000 + $$ % 20000))
timeout 60 "$tool" printer --listen "127.0.0.1:$port" --out out --jobs 2 --idle 1 > printer.txt 2> printer-err.txt &
printer=$!
for _ in $(seq 50); do grep -q "^listening on" printer.txt 2> /dev/null && break; sleep 0.1; done
check "the printer listens on loopback" grep -qF "listening on 127.0.0.1:$port" printer.txt
check "send reaches it" "$tool" send receipt.prn --to "tcp:127.0.0.1:$port" > /dev/null
# A connection that sends a few bytes and then nothing is closed by the printer after its idle time.
python3 -c "
import socket, time
s = socket.create_connection(('127.0.0.1', $port)); s.sendall(b'idle'); time.sleep(3); s.close()" 2> /dev/null
wait "$printer"
check "the printer ends after its jobs with status 0" test $? = 0
printer=
check "the job holds the bytes sent" cmp -s receipt.prn out/job-0001.prn
check "the job has its picture" test -s out/job-0001.png
check "the silent job is reported" grep -qF "job-0002: 4 bytes from 127.0.0.1, closed after 1 s without data" printer.txt
check "the silent job is saved" test "$(cat out/job-0002.prn)" = idle
"$tool" printer --listen 127.0.0.1:99999 --out out 2> /dev/null
check "a bad port is a usage error" test $? = 2
"$tool" printer --listen "127.0.0.1:$port" 2> /dev/null
check "no --out is a usage error" test $? = 2
check "help has an example" sh -c "'$tool' printer --help | grep -q '^example: mq450 printer'"

if ((failures)); then
  cat printer.txt printer-err.txt
  echo "$failures check(s) failed"
  exit 1
fi
echo "all printer checks passed"
