#!/usr/bin/env bash
# Runs one fuzz target of a "fuzz" preset build.
#   run.sh BUILD_FOLDER TARGET SECONDS   fuzzes for that long from the kept corpus, the seeds
#                                        and the regression inputs, then prints the final
#                                        coverage; findings go to BUILD_FOLDER/fuzz-findings
#   run.sh BUILD_FOLDER TARGET replay    runs every regression input of the target once
# FUZZ_SEED picks libFuzzer's seed (0, the default, draws one).
# Each target's limits are here: the longest input, the largest single allocation (a file may
# not make a reader allocate more than a sane multiple of its size) and the time per input.
set -euo pipefail
build=$1 target=$2 mode=$3
here=$(cd "$(dirname "$0")" && pwd)
binary=$build/fuzz_$target
regressions=$here/regressions/$target

# Common limits first: a target's own come after them and win.
options=(-rss_limit_mb=2048 -timeout=10 -seed="${FUZZ_SEED:-0}")
case $target in
  am) options+=(-max_len=262144 -malloc_limit_mb=8) ;;
  xfile) options+=(-max_len=32768 -malloc_limit_mb=512 -timeout=20) ;;
  xfile_bytes) options+=(-max_len=262144 -malloc_limit_mb=16 -close_fd_mask=2) ;;
  effect) options+=(-max_len=65536 -malloc_limit_mb=16) ;;
  cell) options+=(-max_len=65536 -malloc_limit_mb=8) ;;
  bank) options+=(-max_len=1048580 -malloc_limit_mb=16 -close_fd_mask=2) ;;
  picture) options+=(-max_len=262144 -malloc_limit_mb=512) ;;
  mp3) options+=(-max_len=65536 -malloc_limit_mb=64) ;;
  data_folder) options+=(-max_len=8192 -malloc_limit_mb=16 -close_fd_mask=2) ;;
  *) echo "run.sh: unknown target $target" >&2; exit 2 ;;
esac
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
# Leaks inside system libraries (Assimp's on broken files) are not ours to fix.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/../lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

if [[ $mode == replay ]]; then
  exec "$binary" "${options[@]}" "$regressions"/*
fi

corpus=$build/fuzz-corpus/$target
findings=$build/fuzz-findings/$target
mkdir -p "$corpus" "$findings"
folders=("$corpus" "$build/fuzz-seeds/$target")
[[ -d $regressions ]] && folders+=("$regressions")

# Assimp crashes on some malformed ".x" files; the program runs it in the reader process,
# which contains that. The ".x" target therefore fuzzes on past crashes, then sorts each new
# one by where it happened: inside Assimp it is moved to contained/ (a candidate for the
# reader's crash regressions), anywhere else it fails the run.
contained=()
[[ $target == xfile ]] && contained=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1)
start=$(mktemp)
trap 'rm -f "$start"' EXIT
"$binary" "${options[@]}" "${contained[@]}" -max_total_time="$mode" -print_final_stats=1 \
  -artifact_prefix="$findings/" "${folders[@]}"
[[ $target == xfile ]] || exit 0
mkdir -p "$findings/contained"
failed=0
while IFS= read -r -d '' crash; do
  # The first frame of the crash report outside the C library, the sanitizers and libFuzzer.
  frame=$("$binary" "${options[@]}" "$crash" 2>&1 | grep -E '^ +#[0-9]+ ' |
          grep -vE 'libc\.so|__sanitizer|__asan|__ubsan|fuzzer::|nptl/|stdlib/|signal/|sysdeps/' | head -n 1)
  if [[ $frame == *libassimp.so* ]]; then
    mv "$crash" "$findings/contained/"
  else
    echo "run.sh: $crash crashes outside Assimp: ${frame:-no stack}" >&2
    failed=1
  fi
done < <(find "$findings" -maxdepth 1 -type f -newer "$start" -print0)
exit $failed
