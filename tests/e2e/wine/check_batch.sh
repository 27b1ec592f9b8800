#!/usr/bin/env bash
# `quorvel.exe --check LIST.qvl` under Wine: the real program checks a list against the model of the CAD host's
# prompts, prints one line per drawing (paths in Windows form) and a summary, writes no script, starts no host.
set -u
source "$(dirname "$0")/common.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt"; echo "--- errors"; cat "$work/err.txt"; exit 1; }

make_program_folder "$work/program" "$work/settings"
mkdir -p "$work/scripts" "$work/drawings"
{
    crlf "Description: Good Purge" "Favourite: Fav" "_-Purge" "_All" "*" "_N" "_Qsave" "---"
    crlf "Description: Short Purge" "Favourite: Fav" "_-Purge" "_All" "_N" "_Qsave" "---"
    crlf "Description: Plot Each Layout" "Favourite: Non" \
         '(foreach lay (layoutlist) (setvar "ctab" lay) (command "_-plot" "_N" "" "" "DWF6 ePlot.pc3" "" "_N" "_Y"))' "---"
} > "$work/routines.txt"
WINEPATH="$(winpath "$bin")" run "$bin/../tools/mkroutinedb.exe" "$(winpath "$work/routines.txt")" \
    "$(winpath "$work/Batch_Cad.dat")" > /dev/null || fail "mkroutinedb failed"

settings() {
    crlf "[Acad_Address]" "AcadAddress=$(winpath "$bin/cadhost.exe")" "[Cad_Ver]" "CadVer=$1" \
         "[Batch_Address]" "BatchAddress=$(winpath "$work/scripts")" \
         "[db_Address]" "dbAddress=$(winpath "$work/Batch_Cad.dat")" \
         "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" \
         "[StartSwitch]" "StartOption=YesSwitch" "Switch=--journal=$(winpath "$work/journal.txt")" \
         "[Startup_Set]" "Setup=YES" > "$work/settings/Quorvel.ini"
}
drawings=$(winpath "$work/drawings")
: > "$work/list.qvl"
for pair in "A.dwg|Good Purge" "B.dwg|Short Purge" "D.dwg|Plot Each Layout"; do
    printf 'DWG' > "$work/drawings/${pair%%|*}"
    crlf "\"${pair%%|*}\",\"$drawings\",\"${pair#*|}\"" >> "$work/list.qvl"
done
check() {
    status=0
    run "$work/program/quorvel.exe" --check "$(winpath "$work/list.qvl")" > "$work/out.txt" 2> "$work/err.txt" ||
        status=$?
    # The C runtime writes text lines with CR LF.
    sed -i 's/\r$//' "$work/out.txt"
}
line_of() { grep -F "$drawings\\$1: " "$work/out.txt"; }

settings Cad2018
check
[ "$status" -eq 1 ] || fail "errors must give status 1, got $status"
line_of A.dwg | grep -q ': OK$' || fail "A: a good routine is OK"
line_of B.dwg | grep -q 'error at line 21: "_Qsave" at "Verify each name to be purged' || fail "B: the missing answer"
line_of D.dwg | grep -q ': OK$' || fail "D: AutoLISP on a full product"
tail -n 1 "$work/out.txt" | grep -q '^Checked 3 drawing(s) for Cad2018: 2 OK, 1 with errors, 0 with warnings.$' ||
    fail "the summary"
[ -z "$(ls -A "$work/scripts")" ] || fail "a check must not write a script"
[ ! -e "$work/journal.txt" ] || fail "a check must not start the host"

settings CadLT2018
check
[ "$status" -eq 1 ] || fail "LT: status $status"
line_of D.dwg | grep -q 'AutoLISP is not available in CadLT2018' || fail "LT: AutoLISP must be flagged"

rm "$work/list.qvl"
settings Cad2018
check
[ "$status" -eq 2 ] || fail "a missing list must give status 2, got $status"
echo "wine check_batch: ok"
