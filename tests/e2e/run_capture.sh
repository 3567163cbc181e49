#!/usr/bin/env bash
# Captures the whole show at 320x240 and 2 frames per second, twice, without a display or an
# audio device, and checks the videos: 440 frames and 220 s of sound, the same frames both
# times, and a picture at the start of every scene that shows something and differs from the
# previous scene's; an interrupted capture leaves nothing. Then the playing options: --help,
# an unknown option, --start with --mute.
#   run_capture.sh BROVELL
source "$(dirname "$0")/common.sh"
command -v ffprobe >/dev/null || fail "ffprobe is missing (scripts/install-deps installs ffmpeg)"
cd "$work"

for run in 1 2; do
  "$brovell" --capture "$work/show-$run.mp4" --size 320x240 --fps 2 2>"$work/stderr" || fail "capture $run: exit code $?"
  [[ -f "$work/show-$run.mp4" ]] || fail "capture $run: no video"
  compgen -G "$work/show-$run.mp4.partial*" >/dev/null && fail "capture $run left partial files"
  check_sanitizers "in capture $run"
  ffmpeg -nostdin -v error -i "$work/show-$run.mp4" -map 0:v -f framemd5 - | grep -v '^#' >"$work/frames-$run.md5"
done
frames=$(ffprobe -v error -select_streams v:0 -count_frames -show_entries stream=nb_read_frames -of csv=p=0 "$work/show-1.mp4")
[[ "$frames" == 440 ]] || fail "the video has $frames frames, not 440"
sound=$(ffprobe -v error -select_streams a:0 -show_entries stream=duration -of csv=p=0 "$work/show-1.mp4")
awk -v d="$sound" 'BEGIN { exit !(d > 219.9 && d < 220.1) }' || fail "the sound lasts $sound s, not 220"
cmp -s "$work/frames-1.md5" "$work/frames-2.md5" || fail "two captures with the same settings differ"

# The first frame of each scene (the frame at or after its start time) shows something (over
# 1 % of its pixels above grey level 40) and differs from the one before it (by a mean grey
# level of 2 or more).
previous=""
for start in 0 22.6 53.4 82 111.43 151.43 175.4 202; do
  picture="$work/scene-$start.png"
  ffmpeg -nostdin -y -v error -i "$work/show-1.mp4" -vf "select=gte(t\,$start),format=gray" -frames:v 1 "$picture" ||
    fail "no frame at $start s"
  lit=$(convert "$picture" -fx 'u > 40.5 / 255' -format '%[fx:mean]' info:)
  difference=""
  [[ -n "$previous" ]] && difference=$(compare -metric MAE "$previous" "$picture" null: 2>&1 | sed -n 's/.*(\(.*\))$/\1/p')
  echo "scene at $start s: a share of $lit lit, differs from the one before by ${difference:--} (0 to 1)"
  awk -v l="$lit" 'BEGIN { exit !(l != "" && l >= 0.01) }' || fail "the scene at $start s starts black"
  [[ -z "$previous" ]] || awk -v d="$difference" 'BEGIN { exit !(d != "" && d * 255 >= 2) }' || fail "the scene at $start s starts like the one before"
  previous=$picture
done

# A capture asked to stop before the show's end fails and leaves nothing behind. The last
# run's standard error goes first: read before the new run truncates it, its progress lines
# would let the signal come before the program has started.
rm -f "$work/stderr"
"$brovell" --capture "$work/stopped.mp4" --size 320x240 --fps 2 2>"$work/stderr" &
pid=$!
wait_for 600 grep -q '^capture: [0-9]*/' "$work/stderr" || fail "the capture wrote no frame within 10 minutes"
kill -TERM "$pid"
wait "$pid"
code=$?
[[ $code -eq 1 ]] || fail "an interrupted capture gives exit code $code, not 1"
compgen -G "$work/stopped.mp4*" >/dev/null && fail "an interrupted capture left files: $(ls "$work"/stopped.mp4*)"

# Playing options; --mute --start also without an audio device, which the show plays without.
"$brovell" --help >"$work/help" 2>/dev/null || fail "--help: exit code $?"
grep -q -- "--capture" "$work/help" || fail "--help does not list the options"
"$brovell" --no-such-option >/dev/null 2>"$work/stderr"
code=$?
[[ $code -eq 2 ]] || fail "an unknown option gives exit code $code, not 2"
grep -q "usage:" "$work/stderr" || fail "an unknown option gives no usage"
SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=no-such-driver timeout 120 "$brovell" --mute --start 216 2>"$work/stderr" \
  || fail "--mute --start 216 without an audio device: exit code $?"
grep -q "plays silently" "$work/stderr" || fail "--mute did not play silently"
grep -q '^End fps: [1-9]' stats.txt || fail "--start 216 did not play the end: $(cat stats.txt)"
grep -q '^Image fps: 0.000000' stats.txt || fail "--start 216 played the opening: $(cat stats.txt)"
echo "PASS: two identical captures of 440 frames with 220 s of sound; scenes start with pictures; options work"
