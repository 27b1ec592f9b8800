#!/usr/bin/env bash
# The real quorvel binary runs a drawing list named on its command line, without a display, in a
# settings folder of the test's own; the stand-in CAD host's journal must show every drawing opened,
# its routine received, saved and closed, and the host quit, with no line out of place.
set -u
bin=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- quorvel.log"; cat "$work/run/quorvel.log" 2>/dev/null; echo "--- journal";
         cat "$work/run/journal.txt" 2>/dev/null; exit 1; }

"$source_dir/scripts/run-sample-batch" "$bin" "$work/run" Cad2018
status=$?
[ "$status" -eq 0 ] || fail "run-sample-batch ended with status $status"
journal=$work/run/journal.txt
drawings=$work/run/drawings

grep -q $'\terror\t' "$journal" && fail "the host journaled errors"
grep -q $'^0\texit\t-\t0 unmodelled=0$' "$journal" || fail "the host did not exit with status 0"
grep -q $'\tquit\t' "$journal" || fail "the host was not told to quit"

for file in "A-101-rev2.dwg" "A-102-rev1.dwg" "S-201-rev3.dwg" "Site Plan.dwg"; do
    grep -q $'\topened\t'"$drawings/$file" "$journal" || fail "$file was not opened"
    grep -q $'\tsaved\t'"$drawings/$file" "$journal" || fail "$file was not saved"
    grep -q $'\tclosed\t'"$drawings/$file" "$journal" || fail "$file was not closed"
done
# "Recover Drawings" opens its drawing with the recover command.
grep -q $'\trecover\t' "$journal" || fail "the recover routine did not recover"
grep -q $'\topened\t'"$drawings/M-301-rev1.dwg" "$journal" || fail "M-301-rev1.dwg was not opened"
grep -q $'\tsaved\t'"$drawings/M-301-rev1.dwg" "$journal" || fail "M-301-rev1.dwg was not saved"
# The routines arrived line by line: the purge of the first drawing and the layer answers.
grep -q $'\tpurged\t'"$drawings/A-101-rev2.dwg" "$journal" || fail "the purge routine did not purge"

script=$work/run/scripts/Batch.scr
[ -f "$script" ] || fail "no Batch.scr written"
start=$'_Zoom\r\n0.999x\r\n_Close\r\n_Y\r\n_Open\r\n'
cmp -s <(head -c ${#start} "$script") <(printf '%s' "$start") || fail "the script does not close the start-up drawing first"
[ "$(tail -c 7 "$script" | od -An -c | tr -s ' ')" = " _ Q u i t \r \n" ] || fail "the script does not end with _Quit CR LF"
