#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer.
#
#   scripts/fuzz.sh TARGET SECONDS [--merge]
#
# TARGET is one of: datafile comments ini marker tables texts paragraphs items audit (the
# readers of DATA401.QV, Comments.dat, qvtest.ini, TID, QVB.TXT, QVRPT.TXT, the paragraph files
# with INVAL.TXT, the item sources, and Audit.log). The build goes to build-fuzz/ (clang); the
# run starts from the seed corpus fuzz/corpus/TARGET and keeps what it finds in
# build-fuzz/corpus/TARGET.
# A finding (a crash, a sanitizer report, a broken invariant) is written to
# build-fuzz/findings/TARGET/ and the script exits non-zero; replay it with
#   build-fuzz/fuzz/fuzz_TARGET FILE
# --merge adds the inputs that reach new code to the seed corpus in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

targets="datafile comments ini marker tables texts paragraphs items audit"
if [ $# -lt 2 ] || ! [[ " $targets " == *" $1 "* ]] || ! [[ $2 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 TARGET SECONDS [--merge]   (TARGET: ${targets// /, })" >&2
    exit 2
fi
target=$1 seconds=$2 merge=${3:-}

./scripts/install-deps.sh --fuzz
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARENTA_FUZZ=ON -DVARENTA_BUILD_TESTS=OFF \
    -DVARENTA_BUILD_BENCH=OFF >/dev/null
jobs=$(nproc 2>/dev/null || echo 2)
cmake --build build-fuzz -j "$jobs" --target "fuzz_$target"

corpus=build-fuzz/corpus/$target
findings=build-fuzz/findings/$target
mkdir -p "$corpus" "$findings"
dict=fuzz/dict/$target.dict
dict_arg=()
[ -f "$dict" ] && dict_arg=(-dict="$dict")

status=0
nice -n 10 "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" "${dict_arg[@]}" \
    "$corpus" "fuzz/corpus/$target" || status=$?

if [ "$merge" = "--merge" ] && [ $status -eq 0 ]; then
    "build-fuzz/fuzz/fuzz_$target" -merge=1 "fuzz/corpus/$target" "$corpus"
fi
exit $status
