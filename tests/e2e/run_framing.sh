#!/usr/bin/env bash
# Plays the opening of the show on X servers of several screen sizes with no window manager,
# takes a screenshot of each screen (what reaches it, not the program's back buffer) at one
# show time, and checks them: the picture covers each screen, the frame-rate text sits in the
# top-left corner, and the logo under that text, which stands still while the picture drifts,
# looks alike on all of them once scaled to one size: same place, same share of the screen.
# On the first screen the program is then ended by Escape, on the second by asking its window
# to close (as a window manager's close button does); either must end it with code 0 and no
# sanitizer report. (A missing display is a case of run_bad_data.sh.)
#   run_framing.sh BROVELL CLOSE_WINDOW SHOW_SECONDS SIZE...
source "$(dirname "$0")/common.sh"
set -o pipefail
close_window=$2 show_seconds=$3
shift 3
xvfb_pid="" brovell_pid=""
stop() {
  [[ -n "$brovell_pid" ]] && kill -9 "$brovell_pid" 2>/dev/null && wait "$brovell_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  brovell_pid="" xvfb_pid=""
}
trap 'stop; rm -rf "$work"' EXIT
calc() { awk "BEGIN { print ($1) }"; }
brovell_ended() { ! kill -0 "$brovell_pid" 2>/dev/null; }
# Whether the show clock runs; fails when the program ended first.
show_started() {
  brovell_ended && fail "brovell ended before the show started at $size"
  grep -q '^gtc: ' "$work/stderr"
}

# A screenshot of SIZE checked on its own; its logo, reduced to 24 x 4 mean colours, is kept
# for the comparison between sizes.
check_shot() {
  local shot=$1 size=$2 w h
  read -r w h <<<"$(identify -format '%w %h' "$shot")" || fail "cannot read the screenshot at $size"
  # No column or row of a 32 x 18 grid of mean colours is near black throughout.
  convert "$shot" -scale '32x18!' -depth 8 txt:- | awk -F'[,:() ]+' -v size="$size" '
    NR > 1 { dark = ($3 < 12 && $4 < 12 && $5 < 12); column[$1] += dark; row[$2] += dark }
    END { for (c = 0; c < 32; ++c) if (column[c] == 18) { print "column " c " is black at " size; bad = 1 }
          for (r = 0; r < 18; ++r) if (row[r] == 32) { print "row " r " is black at " size; bad = 1 }
          exit bad }' || fail "the picture does not cover the screen at $size"
  # Near-white pixels in the band above the logo's letters, scaled from a 1080-line screen:
  # the frame-rate text puts them there, the band itself is blue to violet.
  local rows columns text minimum
  rows=$(calc "int(20 * $h / 1080 + 0.5) > 1 ? int(20 * $h / 1080 + 0.5) : 1")
  columns=$(calc "int(200 * $h / 1080 + 0.5) < $w ? int(200 * $h / 1080 + 0.5) : $w")
  text=$(convert "$shot" -crop "${columns}x${rows}+0+0" +repage \
    -fx 'r > 200.5 / 255 && g > 200.5 / 255 && b > 200.5 / 255' -format '%[fx:int(mean * w * h + 0.5)]' info:)
  minimum=$(calc "int(40 * $h / 1080) > 10 ? int(40 * $h / 1080) : 10")
  echo "$size: $text text pixels in the top-left corner"
  [[ $text -ge $minimum ]] || fail "no frame-rate text in the top-left corner at $size"
  # The logo's letters, as fractions of the screen: below the text line, inside the logo.
  local top bottom
  top=$(calc "int(0.028 * $h)") bottom=$(calc "int(0.075 * $h)")
  convert "$shot" -crop "$(calc "int(0.16 * $w)")x$((bottom - top))+0+$top" +repage -scale '24x4!' \
    "$work/logo-$size.png" || fail "no logo at $size"
}

cd "$work"
for size in "$@"; do
  rm -f "$work/display" && mkfifo "$work/display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  read -r -t 20 display_number <"$work/display" || fail "Xvfb did not start at $size: $(cat "$work/xvfb.log")"
  export DISPLAY=":$display_number"

  # The last size's standard error goes first, or its "gtc: " line would pass for this run's.
  rm -f "$work/stderr"
  "$brovell" 2>"$work/stderr" &
  brovell_pid=$!
  # The show clock starts with the track, after loading (minutes allow for a loaded machine).
  wait_for 180 show_started || fail "the show did not start within 3 minutes at $size"
  sleep "$show_seconds"
  kill -0 "$brovell_pid" 2>/dev/null || fail "brovell ended during the show at $size"
  import -window root "$work/screen-$size.png" || fail "no screenshot at $size"
  ending=""
  if [[ $size == "$1" ]]; then
    ending=Escape
    xdotool mousemove --sync 100 100 && xdotool key --clearmodifiers Escape
  elif [[ $size == "$2" ]]; then
    ending="the close request"
    "$close_window" "$(xdotool search --name '^Brovell$' | head -n 1)" || fail "could not ask the window to close"
  fi
  if [[ -n $ending ]]; then
    wait_for 30 brovell_ended || fail "brovell still runs 30 s after $ending at $size"
    wait "$brovell_pid"
    code=$?
    brovell_pid=""
    [[ $code -eq 0 ]] || fail "exit code $code after $ending at $size"
  fi
  check_sanitizers "at $size"
  stop
  check_shot "$work/screen-$size.png" "$size"
done
# The logos agree up to filtering at different scales; one moved or sized by a fraction of
# its letters is far off.
for size in "${@:2}"; do
  difference=$(compare -metric MAE "$work/logo-$1.png" "$work/logo-$size.png" null: 2>&1 | sed -n 's/.*(\(.*\))$/\1/p')
  echo "$size against $1: the logo differs by $(calc "${difference:-1} * 255") of 255"
  awk -v d="$difference" 'BEGIN { exit !(d != "" && d * 255 <= 12) }' ||
    fail "the logo at $size is not where and as large as at $1"
done
echo "PASS: every screenshot is framed alike; Escape and a close request end the program cleanly"
