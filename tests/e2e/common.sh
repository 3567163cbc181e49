# What the end-to-end scripts share, sourced with the program as their first argument: a
# scratch folder $work, removed at exit unless E2E_KEEP is set; fail, which names the fault and
# shows the end of the program's standard error ($work/stderr); software GL and dummy audio;
# no display unless a script starts one.
set -u
brovell=$1
work=$(mktemp -d)
[[ -n "${E2E_KEEP:-}" ]] && echo "scratch folder kept in $work" || trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- brovell's standard error (end):"; tail -n 30 "$work/stderr" 2>/dev/null; exit 1; }
# Fails when the program's standard error holds a sanitizer report.
check_sanitizers() { if grep -qE "Sanitizer|runtime error:" "$work/stderr"; then fail "sanitizer report $*"; fi; }
# Runs the command every tenth of a second until it succeeds or SECONDS pass (then fails).
wait_for() {
  local tries=$(($1 * 10))
  shift
  until "$@"; do ((--tries > 0)) || return 1; sleep 0.1; done
}
export SDL_AUDIODRIVER=dummy LIBGL_ALWAYS_SOFTWARE=1
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
