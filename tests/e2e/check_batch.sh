#!/usr/bin/env bash
# `quorvel --check LIST.qvl`: the real program checks a list against the model of the CAD host's prompts
# without a display, prints one line per drawing and a summary, writes no script and starts no host.
set -u
bin=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
crlf() { printf '%s\r\n' "$@"; }
fail() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt"; echo "--- errors"; cat "$work/err.txt"; exit 1; }

mkdir -p "$work/program" "$work/settings" "$work/scripts" "$work/drawings"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$bin/help" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" > "$work/program/QV_Locate.ini"

# Routines as users write them: good, an answer short, an answer too many, AutoLISP, a named page setup.
{
    crlf "Description: Good Purge" "Favourite: Fav" "_-Purge" "_All" "*" "_N" "_Qsave" "---"
    crlf "Description: Short Purge" "Favourite: Fav" "_-Purge" "_All" "_N" "_Qsave" "---"
    crlf "Description: Extra Purge" "Favourite: Fav" "_-Purge" "_All" "*" "_N" "_N" "_Qsave" "---"
    crlf "Description: Plot Each Layout" "Favourite: Non" \
         '(foreach lay (layoutlist) (setvar "ctab" lay) (command "_-plot" "_N" "" "" "" "_N" "_N" "_Y"))' "---"
    crlf "Description: Plot A1" "Favourite: Non" "_-plot" "_N" "" "A1 Sheets" "" "_N" "_N" "_Y" "---"
} > "$work/routines.txt"
"$bin/../tools/mkroutinedb" "$work/routines.txt" "$work/Batch_Cad.dat" > /dev/null || fail "mkroutinedb failed"

settings() {
    crlf "[Acad_Address]" "AcadAddress=$bin/cadhost" \
         "[Cad_Ver]" "CadVer=$1" \
         "[Batch_Address]" "BatchAddress=$work/scripts" \
         "[db_Address]" "dbAddress=$work/Batch_Cad.dat" \
         "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" \
         "[StartSwitch]" "StartOption=YesSwitch" "Switch=--journal=$work/journal.txt" \
         "[Startup_Set]" "Setup=YES" > "$work/settings/Quorvel.ini"
}
list() {
    : > "$work/list.qvl"
    for pair in "$@"; do
        printf 'DWG' > "$work/drawings/${pair%%|*}"
        crlf "\"${pair%%|*}\",\"$work/drawings\",\"${pair#*|}\"" >> "$work/list.qvl"
    done
}
check() {
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/program/quorvel" --check "$work/list.qvl" \
        > "$work/out.txt" 2> "$work/err.txt" || status=$?
}
line_of() { grep -F "$work/drawings/$1: " "$work/out.txt"; }

settings Cad2018
list "A.dwg|Good Purge" "B.dwg|Short Purge" "C.dwg|Extra Purge" "D.dwg|Plot Each Layout" "E.dwg|Plot A1"
check
[ "$status" -eq 1 ] || fail "errors must give status 1, got $status"
line_of A.dwg | grep -q ': OK$' || fail "A: a good routine is OK"
# The script: 4 lines closing the start-up drawing, then each drawing's open and path, routine, zoom and close.
line_of B.dwg | grep -q 'error at line 21: "_Qsave" at "Verify each name to be purged' || fail "B: the missing answer"
line_of C.dwg | grep -q 'error at line 32: "_N" at "Command:"' || fail "C: the extra answer"
line_of D.dwg | grep -q ': OK$' || fail "D: AutoLISP on a full product"
line_of E.dwg | grep -q '^.*: warning at line .*"A1 Sheets"' || fail "E: an unknown page setup is a warning"
tail -n 1 "$work/out.txt" | grep -q '^Checked 5 drawing(s) for Cad2018: 2 OK, 2 with errors, 1 with warnings.$' ||
    fail "the summary"
[ -z "$(ls -A "$work/scripts")" ] || fail "a check must not write a script"
[ ! -e "$work/journal.txt" ] || fail "a check must not start the host"

settings CadLT2018
check
[ "$status" -eq 1 ] || fail "LT: status $status"
line_of D.dwg | grep -q 'AutoLISP is not available in CadLT2018' || fail "LT: AutoLISP must be flagged"

# Warnings alone pass; a list that cannot be read cannot be checked.
settings Cad2018
list "A.dwg|Good Purge" "E.dwg|Plot A1"
check
[ "$status" -eq 0 ] || fail "warnings alone must give status 0, got $status"
rm "$work/list.qvl"
check
[ "$status" -eq 2 ] || fail "a missing list must give status 2, got $status"
echo "check_batch: ok"
