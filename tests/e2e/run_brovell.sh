#!/usr/bin/env bash
# Starts brovell on a private virtual X display with dummy audio, waits until its window
# shows and frames have run for two seconds, then ends it the way MODE says and checks how
# it ended. (A missing display is a case of run_bad_data.sh.)
#   run_brovell.sh BROVELL CLOSE_WINDOW MODE
#   MODE: escape    - press Escape through the X server: exit code 0
#         close     - ask the window to close: clean return from main, code 0, no
#                     sanitizer report
set -u
brovell=$1 close_window=$2 mode=$3
work=$(mktemp -d)
xvfb_pid=""
brovell_pid=""
cleanup() {
  [[ -n "$brovell_pid" ]] && kill -9 "$brovell_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; echo "--- brovell's standard error:"; cat "$work/stderr" 2>/dev/null; exit 1; }

export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
cd "$work"

# A display of our own: Xvfb picks a free number and writes it to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
read -r -t 20 display_number <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display_number"

"$brovell" 2>"$work/stderr" &
brovell_pid=$!

# Frames run once the window shows (a minute allows for a loaded machine); give them two
# seconds.
for _ in $(seq 1 600); do
  kill -0 "$brovell_pid" 2>/dev/null || fail "brovell ended before its window showed"
  xdotool search --name '^Brovell$' >/dev/null 2>&1 && break
  sleep 0.1
done
window=$(xdotool search --name '^Brovell$' 2>/dev/null | head -n 1)
[[ -n "$window" ]] || fail "no window within 60 s"
sleep 2
kill -0 "$brovell_pid" 2>/dev/null || fail "brovell ended during its first frames"

case "$mode" in
  escape)
    xdotool mousemove --sync 640 360
    xdotool key --clearmodifiers Escape ;;
  close)
    "$close_window" "$window" || fail "could not ask the window to close" ;;
  *) fail "unknown mode $mode" ;;
esac

for _ in $(seq 1 300); do
  kill -0 "$brovell_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$brovell_pid" 2>/dev/null && fail "brovell still runs 30 s after $mode"
wait "$brovell_pid"
code=$?
brovell_pid=""
[[ $code -eq 0 ]] || fail "exit code $code after $mode"
grep -qE "Sanitizer|runtime error:" "$work/stderr" && fail "sanitizer report after $mode"
echo "PASS: $mode ends brovell with code 0"
