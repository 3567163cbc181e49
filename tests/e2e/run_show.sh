#!/usr/bin/env bash
# Plays the whole show headless (SDL's offscreen video, dummy audio) on a data folder with
# the real assets and a short test track under each of the three track names, and checks
# how it ends: the music stops, 22 frames later the show writes "stats.txt" and exits 0.
#   run_show.sh BROVELL DATA_FOLDER
source "$(dirname "$0")/common.sh"
data=$2

mkdir "$work/data"
find "$data" -maxdepth 1 -type f ! -name '*.mp3' -exec cp {} "$work/data/" \;
# A soft 440 Hz tone, stereo, 44100 Hz.
ffmpeg -nostdin -v error -f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -ac 2 -c:a libmp3lame \
  "$work/data/velrin.mp3" || fail "no test track"
cp "$work/data/velrin.mp3" "$work/data/ostyn.mp3" && cp "$work/data/velrin.mp3" "$work/data/maruvel.mp3"

cd "$work"
SDL_VIDEODRIVER=offscreen timeout 240 "$brovell" 2>"$work/stderr"
code=$?
[[ $code -eq 0 ]] || fail "exit code $code"
grep -q '^\[CHarlune1::OnLoadResource\] 1$' "$work/stderr" || fail "no resource was counted while loading"
grep -q '^gtc: ' "$work/stderr" || fail "the track was never started"
check_sanitizers
[[ -f stats.txt ]] || fail "no stats.txt"
[[ $(wc -l < stats.txt) -eq 8 ]] || fail "stats.txt has $(wc -l < stats.txt) lines: $(cat stats.txt)"
# The opening scene ran at a non-zero rate, the later ones not at all.
first=$(head -n 1 stats.txt | tr -d '\r')
[[ $first =~ ^Image\ fps:\ ([1-9]|0\.0*[1-9]) ]] || fail "the opening scene has no frames: $first"
grep -q '^End fps: 0.000000' stats.txt || fail "the end scene ran although the music stopped at 4 s"
echo "PASS: the show loads, plays the opening scene and ends with code 0 after its 4-second track; $first"
