#!/usr/bin/env bash
# The command line behaves as on any command-line tool, and --unattended runs a list without windows
# even when a display is set, with nothing on standard error but Quorvel's own messages.
set -u
bin=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
crlf() { printf '%s\r\n' "$@"; }

for option in --help -h; do
    out=$("$bin/quorvel" "$option" 2>"$work/err"); status=$?
    [ "$status" -eq 0 ] || fail "$option: status $status"
    grep -q "^Usage: quorvel \[--unattended\] \[LIST.qvl\]" <<<"$out" || fail "$option: no usage text: $out"
    grep -q "Exit status" <<<"$out" || fail "$option: the exit statuses are missing"
    [ ! -s "$work/err" ] || fail "$option wrote to standard error: $(cat "$work/err")"
done

out=$("$bin/quorvel" --version); status=$?
[ "$status" -eq 0 ] || fail "--version: status $status"
grep -Eq "^Quorvel [0-9]+\.[0-9]+" <<<"$out" || fail "--version printed: $out"

# An unknown option is refused, never taken for a list file.
"$bin/quorvel" --list=/tmp/x.qvl >"$work/out" 2>"$work/err"; status=$?
[ "$status" -eq 2 ] || fail "unknown option: status $status"
grep -q "unknown option --list=/tmp/x.qvl" "$work/err" || fail "unknown option not named: $(cat "$work/err")"
grep -q "^Usage: quorvel" "$work/err" || fail "unknown option: no usage text"

# A program folder of its own, settings through the redirect file, and a "host" that starts and ends.
mkdir -p "$work/program" "$work/settings" "$work/scripts" "$work/drawings"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" >"$work/program/QV_Locate.ini"
settings() {
    crlf "[Acad_Address]" "AcadAddress=$(command -v true)" "[Cad_Ver]" "CadVer=Cad2018" \
         "[Batch_Address]" "BatchAddress=$1" "[Startup_Set]" "Setup=YES" >"$work/settings/Quorvel.ini"
}
: >"$work/drawings/A-101.dwg"
crlf "\"A-101.dwg\",\"$work/drawings\",\"Purge All and Save\"" >"$work/list.qvl"

# A display is named (and none is there): --unattended must not try to use it.
settings "$work/scripts"
DISPLAY=:99 QT_QPA_PLATFORM=xcb "$work/program/quorvel" --unattended "$work/list.qvl" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 0 ] || fail "unattended run: status $status: $(cat "$work/err")"
[ -f "$work/scripts/Batch.scr" ] || fail "unattended run wrote no script"
[ ! -s "$work/err" ] || fail "standard error is not clean: $(cat "$work/err")"

# The first-run setup was never completed: an unattended run still runs, and the setup stays to be done.
settings "$work/scripts"
sed -i 's/^Setup=YES/Setup=NO/' "$work/settings/Quorvel.ini"
rm -f "$work/scripts/Batch.scr"
DISPLAY=:99 QT_QPA_PLATFORM=xcb "$work/program/quorvel" --unattended "$work/list.qvl" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 0 ] || fail "run with setup not done: status $status: $(cat "$work/err")"
[ -f "$work/scripts/Batch.scr" ] || fail "run with setup not done wrote no script"
grep -q "Setup=NO" "$work/settings/Quorvel.ini" || fail "the run changed the setup state"

# A script folder that does not exist: reported on standard error, status 1, settings unchanged.
settings "$work/no-such-folder"
DISPLAY=:99 "$work/program/quorvel" --unattended "$work/list.qvl" >"$work/out" 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "invalid script folder: status $status"
grep -q "The location for the Batch.scr file is not valid" "$work/err" || fail "not reported: $(cat "$work/err")"
grep -q "Setup=YES" "$work/settings/Quorvel.ini" || fail "the start-up sequence was reset"
exit 0
