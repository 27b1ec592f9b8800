#!/usr/bin/env bash
# The sample drawing list run unattended by quorvel.exe through cadhost.exe under Wine: every drawing opened,
# its routine received, saved and closed, the host quit cleanly, and the script in Windows form.
set -u
source "$(dirname "$0")/common.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- errors"; cat "$work/err" 2>/dev/null; echo "--- journal";
         cat "$work/journal.txt" 2>/dev/null; exit 1; }

make_program_folder "$work/program" "$work/settings"
mkdir -p "$work/scripts" "$work/drawings"
crlf "[Acad_Address]" "AcadAddress=$(winpath "$bin/cadhost.exe")" "[Cad_Ver]" "CadVer=Cad2018" \
     "[Batch_Address]" "BatchAddress=$(winpath "$work/scripts")" "[Acad_StartEnd]" "AcadStart=_Open" \
     "AcadWindow=Normal" "[StartSwitch]" "StartOption=YesSwitch" \
     "Switch=--product=Cad2018 --journal=$(winpath "$work/journal.txt")" "[Startup_Set]" "Setup=YES" \
     > "$work/settings/Quorvel.ini"
cp "$source_dir"/data/samples/*.dwg "$work/drawings/"
drawings=$(winpath "$work/drawings")
: > "$work/list.qvl"
while IFS='|' read -r file routine; do
    [[ -z "$file" || "$file" == \#* ]] && continue
    crlf "\"$file\",\"$drawings\",\"$routine\"" >> "$work/list.qvl"
done < "$source_dir/data/samples/sample-list.txt"

run "$work/program/quorvel.exe" --unattended "$(winpath "$work/list.qvl")" > /dev/null 2> "$work/err"
status=$?
[ "$status" -eq 0 ] || fail "quorvel.exe ended with status $status"
journal=$work/journal.txt
wait_for_host_exit "$journal" || fail "the host did not finish its journal"

grep -q $'\terror\t' "$journal" && fail "the host journaled errors"
grep -q $'^0\texit\t-\t0 unmodelled=0$' "$journal" || fail "the host did not exit with status 0"
for file in "A-101-rev2.dwg" "A-102-rev1.dwg" "S-201-rev3.dwg" "Site Plan.dwg" "M-301-rev1.dwg"; do
    for event in opened saved closed; do
        grep -qF $'\t'"$event"$'\t'"$drawings\\$file" "$journal" || fail "$file was not $event"
    done
done
grep -q $'\trecover\t' "$journal" || fail "the recover routine did not recover"
grep -qF $'\tpurged\t'"$drawings\\A-101-rev2.dwg" "$journal" || fail "the purge routine did not purge"

script=$work/scripts/Batch.scr
[ -f "$script" ] || fail "no Batch.scr written"
! grep -aq / "$script" || fail "the script mixes separators"
[ "$(tail -c 7 "$script" | od -An -c | tr -s ' ')" = " _ Q u i t \r \n" ] || fail "the script does not end with _Quit CR LF"
echo "wine batch_run: ok"
