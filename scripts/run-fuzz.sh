#!/bin/sh
# Runs every fuzz target for a while: run-fuzz.sh BUILD_DIR SECONDS.
# The seed corpus in fuzz/corpus stays as it is; what libFuzzer finds goes to BUILD_DIR.
set -e
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
for target in "$build"/fuzz_*; do
    name=$(basename "$target")
    seeds="$root/fuzz/corpus/${name#fuzz_}"
    work="$build/corpus/${name#fuzz_}"
    mkdir -p "$work" "$build/artifacts"
    echo "== $name for $seconds s"
    "$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/artifacts/$name-" "$work" "$seeds"
done
