#!/usr/bin/env bash
# A short fuzz run of the logo imaging routines: builds the libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs it for MQ_FUZZ_SECONDS (default 25) from the seed pictures and earlier
# findings in tests/data/logo. A crash or broken check fails the run and leaves the input in build/fuzz/; copy it
# into tests/data/logo so that the regression test keeps it.
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/fuzz
mkdir -p "$out"
clang++ -std=c++20 -O1 -g -ffp-contract=off -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I plugin/imaging/include plugin/imaging/src/*.cpp tests/imaging/fuzz/LogoFuzzer.cpp -o "$out/logo_fuzzer"

# New inputs go to a scratch corpus, never into the checked-in folder.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/data/logo/* "$corpus/"
status=0
"$out/logo_fuzzer" -max_total_time="${MQ_FUZZ_SECONDS:-25}" -max_len=8192 -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$out/" "$corpus" >"$out/fuzz.log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -60 "$out/fuzz.log"
  echo "fuzz: FAILED (status $status); the input is in $out/, the whole log in $out/fuzz.log"
  exit 1
fi
grep -E '^(INFO: seed corpus|Done|stat::(number_of_executed_units|new_units_added|peak_rss_mb))' "$out/fuzz.log" || true
echo "fuzz: no failures"
