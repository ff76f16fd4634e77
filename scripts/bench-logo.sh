#!/usr/bin/env bash
# Times the logo conversion: the in-process Google Benchmark cases (bench/LogoBenchmark.cpp), then the tool's
# "logo mono" as a whole process beside ImageMagick's ordered dither on the same 1024 x 768 24-bit picture, in
# the same hyperfine run. Not part of the test command. Needs the native build with bench/ (libbenchmark-dev),
# hyperfine and ImageMagick (/usr/bin/convert).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native >/dev/null
cmake --build --preset native --target mq450 logo_bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
/usr/bin/convert -seed 7 -size 1024x768 plasma:fractal -type TrueColor BMP3:"$work/in.bmp"
tool=build/native/tools/mq450/mq450

echo "== in-process, 1024 x 768 24-bit picture"
build/native/bench/logo_bench --benchmark_repetitions="${MQ_BENCH_REPETITIONS:-5}" \
  --benchmark_report_aggregates_only=true --benchmark_filter="${MQ_BENCH_FILTER:-.}"

# "mq450 --help" is the floor: what starting the program costs before any picture is read.
echo "== whole process, same picture"
hyperfine --warmup 3 --runs "${MQ_BENCH_RUNS:-20}" -N \
  --export-markdown "$work/processes.md" \
  "$tool --help" \
  "$tool logo mono $work/in.bmp --halftone none" \
  "$tool logo mono $work/in.bmp --halftone m3" \
  "$tool logo mono $work/in.bmp --halftone m4" \
  "$tool logo mono $work/in.bmp --halftone diffuse" \
  "/usr/bin/convert $work/in.bmp -ordered-dither o8x8 $work/out.bmp"
cat "$work/processes.md"
