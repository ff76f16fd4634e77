#!/usr/bin/env bash
# Short fuzz runs of every parser of outside input: builds the libFuzzer targets of tests/fuzz with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (build/fuzz), then runs each from its seed corpus and earlier
# findings in tests/data/fuzz/<target> (the logo target from tests/data/logo) for MQ_FUZZ_SECONDS each
# (default 7; all together about a minute). A crash, a broken check or a slow input fails the run and leaves
# the input in build/fuzz/; copy it into the target's seed folder so that the next runs keep it.
#   scripts/fuzz-smoke.sh [TARGET...]     (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."

out=build/fuzz
mkdir -p "$out"
targets=(logo profile settings command_text setup_config language machine path archive)
[ $# -gt 0 ] && targets=("$@")
flags="-O1 -g -fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
if [ ! -f "$out/build.ninja" ]; then
  cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" -DMQ_FUZZ=ON -DMQ_BUILD_TESTS=OFF >"$out/configure.log"
fi
cmake --build "$out" --target "${targets[@]/%/_fuzzer}" >"$out/build.log" 2>&1 || {
  tail -40 "$out/build.log"
  echo "fuzz: build FAILED (log in $out/build.log)"
  exit 1
}

failed=0
for target in "${targets[@]}"; do
  seeds=tests/data/fuzz/$target
  [ "$target" = logo ] && seeds=tests/data/logo
  # New inputs go to a scratch corpus, never into the checked-in folder.
  corpus=$(mktemp -d)
  cp "$seeds"/* "$corpus/"
  status=0
  "$out/tests/fuzz/${target}_fuzzer" -max_total_time="${MQ_FUZZ_SECONDS:-7}" -max_len=8192 -timeout=5 -rss_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$out/$target-" "$corpus" >"$out/$target.log" 2>&1 || status=$?
  rm -rf "$corpus"
  if [ "$status" -ne 0 ]; then
    tail -40 "$out/$target.log"
    echo "fuzz: $target FAILED (status $status); the input is in $out/$target-*, the log in $out/$target.log"
    failed=1
    continue
  fi
  runs=$(grep -oE '^stat::number_of_executed_units: [0-9]+' "$out/$target.log" | grep -oE '[0-9]+$' || echo 0)
  echo "fuzz: $target: $runs runs, no failures"
done
[ "$failed" -eq 0 ] && echo "fuzz: no failures"
exit "$failed"
