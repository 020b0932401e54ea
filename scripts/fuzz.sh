#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for SECONDS (default 30).
# Exits non-zero on the first finding; the input that caused it is left in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET ...]
set -euo pipefail
cd "$(dirname "$0")/.."
source ./scripts/deps.sh
QUMA_PACKAGES+=(clang libclang-rt-14-dev)
quma_install_deps

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_serial_receive fuzz_tcp_receive fuzz_decoders fuzz_typed_text fuzz_profile fuzz_battery_history)

build=${QUMA_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUMA_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --parallel --target "${targets[@]}"

mkdir -p "$build/findings"
for t in "${targets[@]}"; do
    # The seeds in the tree stay as they are; what the fuzzer learns goes to the build folder.
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    [ -d "tests/fuzz/corpus/$t" ] && cp -n "tests/fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true
    echo "== $t: $seconds s"
    QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t-" -rss_limit_mb=2048 "$corpus" 2>&1 |
        grep -E "^(#[0-9]+[[:space:]]+DONE|Done|stat::number_of_executed_units|stat::peak_rss_mb|==|SUMMARY|property failed|.*ERROR)" || true
    # libFuzzer writes an artifact for every crash, leak, time-out or failed property.
    if ls "$build/findings/$t-"* >/dev/null 2>&1; then
        echo "fuzz: $t found a problem: $(ls "$build/findings/$t-"*)" >&2
        exit 1
    fi
done
echo "fuzz: no findings in ${targets[*]}"
