#!/usr/bin/env bash
# Builds the libFuzzer targets of the model (preset fuzz: clang, ASan and
# UBSan, assertions on) and runs each for SECONDS (default 60), starting from
# its seed corpus fuzz/corpus/<target>/. Any finding fails the run: a crash,
# a broken property, a sanitizer report, a Qt warning or an input that takes
# longer than 20 s; the input is kept in build/fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      targets: dat_file transfer text_rules channel_csv
#
# FUZZ_SEED=N makes the run repeatable: from the same corpus, the same seed
# walks through the same inputs, so what CI (which starts without
# build/fuzz/corpus/) found is found again by running at least as long with
# its seed after removing that folder. Without it every run takes a new path.
#
# What a run finds beyond the seeds stays in build/fuzz/corpus/<target>/, so
# the next run goes on from there. The log of each target is in
# build/fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
if [ $# -gt 0 ]; then shift; fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(dat_file transfer text_rules channel_csv)

# The build's packages, then clang and libFuzzer's runtime (Debian 12: clang 14).
scripts/install-deps.sh clang libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
mkdir -p "$build/findings" "$build/logs"
# Allocation stacks cost more than half the speed; a finding is run again
# below with them, for the report.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=64}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
failed=()
seed_option=()
[ -z "${FUZZ_SEED:-}" ] || seed_option=(-seed="$FUZZ_SEED")
# The longest input each target is given: a .dat file with a script of
# edits, a few thousand line events, a channel list of all 128 channels.
# A .dat input is 3120 bytes before its edits begin: it may grow at once.
declare -A max_len=([dat_file]=3632 [transfer]=4096 [text_rules]=1024 [channel_csv]=32768)
declare -A len_control=([dat_file]=0)
for t in "${targets[@]}"; do
  binary="$build/fuzz/fuzz_$t"
  corpus="$build/corpus/$t"
  log="$build/logs/$t.log"
  mkdir -p "$corpus"
  rm -f "$build/findings/$t-"*
  echo "Fuzzing $t for ${seconds} s"
  if "$binary" "$corpus" "fuzz/corpus/$t" -max_total_time="$seconds" -max_len="${max_len[$t]:-4096}" -len_control="${len_control[$t]:-100}" -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$build/findings/$t-" -print_final_stats=1 "${seed_option[@]}" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" | tr '\n' ' '
    echo
  else
    failed+=("$t")
    echo "FINDING in $t:" >&2
    grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|RELOAD)' "$log" | tail -n 40 >&2
    for artifact in "$build/findings/$t-"*; do
      [ -e "$artifact" ] || continue
      echo "--- $artifact, run again with allocation stacks:" >&2
      ASAN_OPTIONS=detect_leaks=1 "$binary" "$artifact" 2>&1 | grep -v '^INFO' | tail -n 60 >&2 || true
    done
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs in $build/findings/)" >&2
  exit 1
fi
echo "Fuzzing: no findings in ${targets[*]}."
