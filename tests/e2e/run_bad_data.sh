#!/usr/bin/env bash
# Runs the real program on broken installations and checks that each one ends the way a user
# would expect: a message naming the file and what is wrong with it, no crash, no sanitizer
# report, and exit code 0 only where the show could still play. Every case loads the whole
# show, then plays its last second (--start 219) headless on dummy audio.
#   run_bad_data.sh BROVELL DATA_FOLDER [JOBS [CASES]]
# JOBS cases run at a time (default 2); CASES, an extended regular expression, picks cases by
# name (default: all).
# Cases: no data folder; each data file missing, replaced by random bytes, cut to half its
# size; tracks that are not MP3 files; the tracer library missing or not a library; no audio
# device; no display. Prints one line per case: name, exit code, the message found.
# E2E_KEEP=1 keeps the cases' folders, with each run's output, for a look.
source "$(dirname "$0")/common.sh"
data=$2 jobs=${3:-2} pick=${4:-.}
export SDL_VIDEODRIVER=offscreen
library="$(dirname "$brovell")/libquellbeam.so"
[[ -f "$library" ]] || fail "no tracer library beside $brovell"

# Program folders: with its tracer library, without it, with a text file in its place. None
# has a data folder beside it, so each case's working directory decides what data there is.
for folder in with_library no_library bad_library; do
  mkdir "$work/$folder"
  # The program and its .x reader, which it starts from its own folder.
  for program in brovell brovell-xfile; do
    ln "$(dirname "$brovell")/$program" "$work/$folder/$program" 2>/dev/null ||
      cp "$(dirname "$brovell")/$program" "$work/$folder/$program"
  done
done
cp "$library" "$work/with_library/"
echo "this is a text file, not a shared library" >"$work/bad_library/libquellbeam.so"

# The intact data, with the zoom scene's cache made by a first, faultless run.
mkdir -p "$work/intact/data"
find "$data" -maxdepth 1 -type f -exec cp {} "$work/intact/data/" \;
(cd "$work/intact" && timeout 600 "$work/with_library/brovell" --start 219 >/dev/null 2>"$work/intact/stderr") ||
  fail "the intact data does not play: $(tail -n 5 "$work/intact/stderr")"
[[ -f "$work/intact/data/bank.dsc" ]] || fail "the intact run wrote no bank.dsc"
rm -f "$work/intact/stats.txt"
files=$(ls "$work/intact/data")

# Runs one case in its own folder: damage FILE (missing, garbage, truncated) or a special
# case; writes its line, and what went wrong if anything did, to the case's report.
run_case() {
  local name=$1 damage=$2 file=${3:-} folder="$work/cases/$1" program="$work/with_library/brovell"
  local expected="0" pattern="" environment=()
  mkdir -p "$folder"
  if [[ $damage != nodata ]]; then
    # Links to the intact files; the cache, which the program may rewrite, and a damaged file
    # are files of the case's own.
    cp -al "$work/intact/data" "$folder/data"
    rm "$folder/data/bank.dsc"
    cp "$work/intact/data/bank.dsc" "$folder/data/"
    [[ -n "$file" ]] && rm -f "$folder/data/$file"
  fi
  case "$damage" in
    missing) ;;
    garbage) head -c 4096 /dev/urandom >"$folder/data/$file" ;;
    truncated) head -c $(($(stat -c %s "$work/intact/data/$file") / 2)) "$work/intact/data/$file" >"$folder/data/$file" ;;
    nodata) expected=fail pattern="No data folder" ;;
    notmp3)
      # Whichever track the show draws is not music.
      for track in velrin.mp3 ostyn.mp3 maruvel.mp3; do
        rm "$folder/data/$track"
        echo "plain text, not an MP3 file" >"$folder/data/$track"
      done
      expected=fail pattern="(velrin|ostyn|maruvel)\.mp3\"?: " ;;
    nolibrary) program="$work/no_library/brovell" pattern="libquellbeam.so: .*cannot open shared object file" ;;
    badlibrary) program="$work/bad_library/brovell" pattern="libquellbeam.so: .*(invalid ELF header|file too short)" ;;
    noaudio) environment=(SDL_AUDIODRIVER=no-such-driver) pattern="No audio output" ;;
    nodisplay) environment=(-u SDL_VIDEODRIVER) expected=fail pattern="cannot open a display" ;;
  esac
  # What damage to a file must give: the exit code ("0", "fail", or "track": decided by whether
  # the show drew that track), and a pattern the program's messages must hold (empty: none).
  case "$file" in
    "" | bank.dsc) ;;                                 # a special case; a cache: rebuilt
    car7b.ppm) expected=fail pattern=$file ;;         # the wind tunnel cannot run
    *.mp3) expected=track ;;                          # matters only when drawn
    default.e) expected=fail pattern=$file ;;         # nothing can be drawn
    floor.jpg) ;;                                     # read at the jugglers' first frame, not played here
    *) pattern=$file ;;                               # the show plays without it
  esac
  # A cut effect file that still parses (the cut falls between techniques) plays without the
  # techniques it lost; one that does not parse stops the show: either is sound.
  [[ $damage == truncated && $file == default.e ]] && expected=any pattern=""
  (cd "$folder" && env "${environment[@]}" timeout 300 "$program" --start 219 >"$folder/stdout" 2>"$folder/stderr")
  local code=$? said="" problem=""
  if [[ $expected == track ]]; then
    # The show draws one of its three tracks; a damaged one that was drawn and does not
    # decode ends the show as a failure.
    expected=0
    grep -qE -- "${file//./\\.}\"?: " "$folder/stderr" && expected=fail pattern="$file"
  fi
  [[ -n "$pattern" ]] && said=$(grep -h -m 1 -E -- "$pattern" "$folder/stderr" "$folder/stdout" | head -n 1)
  if [[ $code -eq 124 || $code -ge 128 ]]; then problem="crashed or hung (exit code $code)"
  elif grep -qE "Sanitizer|runtime error:" "$folder/stderr"; then problem="sanitizer report"
  elif [[ $expected == 0 && $code -ne 0 ]]; then problem="exit code $code where the show can play"
  elif [[ $expected == fail && $code -eq 0 ]]; then problem="exit code 0 where the show cannot play"
  elif [[ -n "$pattern" && -z "$said" ]]; then problem="no message matching \"$pattern\""
  fi
  printf '%-28s %3s  %s\n' "$name" "$code" "${said:-(no message)}" >"$folder/report"
  [[ -z "$problem" ]] && return
  echo "FAIL: $name: $problem" >>"$folder/report"
  grep -E "Sanitizer|runtime error:|ERROR" "$folder/stderr" | head -n 5 >>"$folder/report"
}
export -f run_case
export work

{
  for special in nodata notmp3 nolibrary badlibrary noaudio nodisplay; do echo "$special $special"; done
  for file in $files; do
    for damage in missing garbage truncated; do echo "$damage-$file $damage $file"; done
  done
} | grep -E -- "^[^ ]*($pick)" >"$work/cases.txt"
xargs -P "$jobs" -L 1 bash -c 'run_case "$@"' run_case <"$work/cases.txt"

# A case that wrote no report (its shell died) fails too.
mkdir -p "$work/cases"
while read -r name _; do
  [[ -f "$work/cases/$name/report" ]] || echo "FAIL: $name: no report" >"$work/cases/$name.missing"
done <"$work/cases.txt"
cat "$work"/cases/*/report "$work"/cases/*.missing 2>/dev/null
compgen -G "$work/cases/*.missing" >/dev/null && exit 1
grep -q '^FAIL' "$work"/cases/*/report && exit 1
echo "PASS: every broken installation ends as expected"
