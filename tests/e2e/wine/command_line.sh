#!/usr/bin/env bash
# quorvel.exe under Wine: the command line behaves as on any command-line tool, and --unattended runs a list
# with no window although Windows always has a desktop; the script it writes uses "\" throughout.
set -u
source "$(dirname "$0")/common.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- errors"; cat "$work/err" 2>/dev/null; exit 1; }

out=$(run "$bin/quorvel.exe" --help 2>"$work/err"); status=$?
[ "$status" -eq 0 ] || fail "--help: status $status"
grep -q "^Usage: quorvel \[--unattended\] \[LIST.qvl\]" <<<"$out" || fail "--help: no usage text: $out"
out=$(run "$bin/quorvel.exe" --version 2>"$work/err"); status=$?
[ "$status" -eq 0 ] || fail "--version: status $status"
grep -Eq "^Quorvel [0-9]+\.[0-9]+" <<<"$out" || fail "--version printed: $out"
run "$bin/quorvel.exe" --list=x.qvl >"$work/out" 2>"$work/err"; status=$?
[ "$status" -eq 2 ] || fail "unknown option: status $status"
grep -q "unknown option --list=x.qvl" "$work/err" || fail "unknown option not named"

make_program_folder "$work/program" "$work/settings"
mkdir -p "$work/scripts" "$work/drawings"
settings() {
    crlf "[Acad_Address]" "AcadAddress=$(winpath "$bin/cadhost.exe")" "[Cad_Ver]" "CadVer=Cad2018" \
         "[Batch_Address]" "BatchAddress=$1" "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" \
         "[StartSwitch]" "StartOption=YesSwitch" "Switch=--journal=$(winpath "$work/journal.txt")" \
         "[Startup_Set]" "Setup=YES" > "$work/settings/Quorvel.ini"
}
: > "$work/drawings/A-101.dwg"
crlf "\"A-101.dwg\",\"$(winpath "$work/drawings")\",\"Purge All and Save\"" > "$work/list.qvl"

# Windows has a desktop: without --unattended a list would open the windows, with it nothing shows.
settings "$(winpath "$work/scripts")"
env -u DISPLAY "$wine" "$work/program/quorvel.exe" --unattended "$(winpath "$work/list.qvl")" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 0 ] || fail "unattended run: status $status"
[ ! -s "$work/err" ] || fail "standard error is not clean"
wait_for_host_exit "$work/journal.txt" || fail "the host did not finish"
script=$work/scripts/Batch.scr
[ -f "$script" ] || fail "no Batch.scr written"
grep -aqF "$(winpath "$work/drawings")\\A-101.dwg" "$script" || fail "the drawing's path is not in Windows form: $(cat "$script")"
! grep -aq / "$script" || fail "the script mixes separators: $(cat "$script")"
grep -q $'^0\texit\t-\t0 unmodelled=0' "$work/journal.txt" || fail "the host did not run cleanly: $(cat "$work/journal.txt")"

# A script folder that does not exist: reported on standard error, status 1, settings unchanged.
settings "$(winpath "$work/no-such-folder")"
run "$work/program/quorvel.exe" --unattended "$(winpath "$work/list.qvl")" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "invalid script folder: status $status"
grep -q "The location for the Batch.scr file is not valid" "$work/err" || fail "not reported"
grep -q "Setup=YES" "$work/settings/Quorvel.ini" || fail "the start-up sequence was reset"
echo "wine command_line: ok"
