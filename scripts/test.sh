#!/usr/bin/env bash
# Runs every test: the native unit tests, the Windows test programs under Wine64, then the demonstration
# (scripts/demo.sh) and the fuzz runs. Installs and builds what it needs first. Ends with each stage's time and
# one "N passed, N failed" line over both test stages.
set -uo pipefail
cd "$(dirname "$0")/.."

times=()
stage_start=$(date +%s)
stage_end() {
  local now
  now=$(date +%s)
  times+=("$(printf '%-8s %4d s' "$1" $((now - stage_start)))")
  stage_start=$now
}

bash scripts/build.sh || exit 1
stage_end build

mkdir -p build/logs
ctest --test-dir build/native --output-on-failure -j2 2>&1 | tee build/logs/native.log
native=${PIPESTATUS[0]}
stage_end native
bash scripts/wine-stage.sh 2>&1 | tee build/logs/wine.log
wine=${PIPESTATUS[0]}
stage_end wine
# The whole life of a printer from the release archive (install, sheets, jobs, removal): scripts/demo.sh.
bash scripts/demo.sh 2>&1 | tee build/logs/demo.log; demo=${PIPESTATUS[0]}
stage_end demo
bash scripts/fuzz-smoke.sh 2>&1 | tee build/logs/fuzz.log; fuzz=${PIPESTATUS[0]}
stage_end fuzz

count() { grep -Eo "[0-9]+ tests failed out of [0-9]+" "$1" | tail -1; }
read -r nf _ _ _ _ nt <<<"$(count build/logs/native.log)"
read -r wf _ _ _ _ wt <<<"$(count build/logs/wine.log)"
failed=$(( ${nf:-0} + ${wf:-0} ))
total=$(( ${nt:-0} + ${wt:-0} ))
echo "stage times:"
printf '  %s\n' "${times[@]}"
echo "native: ${nt:-0} tests, wine: ${wt:-0} tests; $(tail -1 build/logs/demo.log)"
echo "$((total - failed)) passed, $failed failed"
[ "$native" -eq 0 ] && [ "$wine" -eq 0 ] && [ "$demo" -eq 0 ] && [ "$fuzz" -eq 0 ] && [ "$total" -gt 0 ]
