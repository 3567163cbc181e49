#!/usr/bin/env bash
# Plays the whole show headless (SDL's offscreen video, dummy audio) on a data folder with
# the real assets and a short test track under each of the three track names, and checks
# how it ends: the music stops, 22 frames later the show writes "stats.txt" and exits 0.
#   run_show.sh BROVELL DATA_FOLDER
set -u
brovell=$1 data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- brovell's standard error (end):"; tail -n 40 "$work/stderr" 2>/dev/null; exit 1; }

mkdir "$work/data"
find "$data" -maxdepth 1 -type f ! -name '*.mp3' -exec cp {} "$work/data/" \;
# A soft 440 Hz tone, stereo, 44100 Hz.
ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -ac 2 -c:a libmp3lame \
  "$work/data/velrin.mp3" || fail "no test track"
cp "$work/data/velrin.mp3" "$work/data/ostyn.mp3" && cp "$work/data/velrin.mp3" "$work/data/maruvel.mp3"

cd "$work"
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1 timeout 240 "$brovell" 2>"$work/stderr"
code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
grep -q '^\[CHarlune1::OnLoadResource\] 1$' "$work/stderr" || fail "no resource was counted while loading"
grep -q '^gtc: ' "$work/stderr" || fail "the track was never started"
grep -qE "Sanitizer|runtime error:" "$work/stderr" && fail "sanitizer report"
[[ -f stats.txt ]] || fail "no stats.txt"
[[ $(wc -l < stats.txt) -eq 8 ]] || fail "stats.txt has $(wc -l < stats.txt) lines: $(cat stats.txt)"
# Every line ends with CR LF; the opening scene ran at a non-zero rate, the later ones not at all.
[[ $(grep -c $'\r$' stats.txt) -eq 8 ]] || fail "stats.txt lines do not end with CR LF"
first=$(head -n 1 stats.txt | tr -d '\r')
[[ "$first" =~ ^Image\ fps:\ ([0-9]+\.[0-9]+)$ ]] || fail "first line: $first"
awk -v rate="${BASH_REMATCH[1]}" 'BEGIN { exit !(rate > 0) }' || fail "the opening scene has no frames: $first"
grep -q '^End fps: 0.000000' stats.txt || fail "the end scene ran although the music stopped at 4 s"
echo "PASS: the show loads, plays the opening scene and ends with code 0 after its 4-second track; $first"
