#!/usr/bin/env bash
# Plays the opening of the show on X servers of several screen sizes with no window manager,
# takes a screenshot of each screen (what reaches it, not the program's back buffer) at one
# show time, and hands them to framing_check: the picture covers each screen, the frame-rate
# text sits in the top-left corner, and the screens match once scaled to one size.
#   run_framing.sh BROVELL SCREEN_SHOT FRAMING_CHECK OUT_FOLDER SHOW_SECONDS SIZE...
set -u
brovell=$1 screen_shot=$2 framing_check=$3 out=$4 show_seconds=$5
shift 5
work=$(mktemp -d)
xvfb_pid="" brovell_pid=""
stop() {
  [[ -n "$brovell_pid" ]] && kill -9 "$brovell_pid" 2>/dev/null && wait "$brovell_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  brovell_pid="" xvfb_pid=""
}
trap 'stop; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- brovell's standard error (end):"; tail -n 20 "$work/stderr" 2>/dev/null; exit 1; }

export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
unset SDL_VIDEODRIVER WAYLAND_DISPLAY
mkdir -p "$out"
cd "$work"
shots=()
for size in "$@"; do
  rm -f "$work/display" && mkfifo "$work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  read -r -t 20 display_number <"$work/display" || fail "Xvfb did not start at $size: $(cat "$work/xvfb.log")"
  export DISPLAY=":$display_number"

  "$brovell" 2>"$work/stderr" &
  brovell_pid=$!
  # The show clock starts with the track, after loading (minutes allow for a loaded machine).
  for _ in $(seq 1 1800); do
    kill -0 "$brovell_pid" 2>/dev/null || fail "brovell ended before the show started at $size"
    grep -q '^gtc: ' "$work/stderr" && break
    sleep 0.1
  done
  grep -q '^gtc: ' "$work/stderr" || fail "the show did not start within 3 minutes at $size"
  sleep "$show_seconds"
  kill -0 "$brovell_pid" 2>/dev/null || fail "brovell ended during the show at $size"
  "$screen_shot" "$out/screen-$size" || fail "no screenshot at $size"
  shots+=("$out/screen-$size-0.png")
  grep -qE "Sanitizer|runtime error:" "$work/stderr" && fail "sanitizer report at $size"
  stop
done
"$framing_check" "${shots[@]}"
