#!/usr/bin/env bash
# `quorvel --check LIST.qvl`: the real program checks a list against the model of the CAD host's prompts
# without a display, prints one line per drawing and a summary, writes no script and starts no host. Each run
# below is a list with one kind of trouble a real run would meet, and the verdict the check must give it.
set -u
bin=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
crlf() { printf '%s\r\n' "$@"; }
fail() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt"; echo "--- errors"; cat "$work/err.txt"; exit 1; }

mkdir -p "$work/program" "$work/settings" "$work/scripts" "$work/drawings" "$work/plotters"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$bin/help" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" > "$work/program/QV_Locate.ini"
# A plotter configuration the routine editor offers from the configured folder.
printf 'PC3' > "$work/plotters/Office.pc3"

{
    crlf "Description: Good Purge" "Favourite: Fav" "_-Purge" "_All" "*" "_N" "_Qsave" "---"
    crlf "Description: Short Purge" "Favourite: Fav" "_-Purge" "_All" "_N" "_Qsave" "---"
    crlf "Description: Unsaved Purge" "Favourite: Fav" "_-Purge" "_All" "*" "_N" "---"
    crlf "Description: Plot Each Layout" "Favourite: Non" \
         '(foreach lay (layoutlist) (setvar "ctab" lay) (command "_-plot" "_N" "" "" "DWF6 ePlot.pc3" "" "_N" "_Y"))' "---"
    crlf "Description: Plot A1" "Favourite: Non" "_-plot" "_N" "" "A1 Sheets" "DWF6 ePlot.pc3" "" "_N" "_Y" "---"
    crlf "Description: Plot Office" "Favourite: Non" "_-plot" "_N" "" "" "Office.pc3" "_N" "_N" "_Y" "---"
    crlf "Description: Plot DWF" "Favourite: Non" "_-plot" "_N" "" "" "DWF6 ePlot.pc3" "" "_N" "_Y" "---"
    crlf "Description: Plot Layout" "Favourite: Non" "_-plot" "_Yes" "" "DWF6 ePlot.pc3" "" "_Inches" "_Landscape" \
         "_No" "_Display" "_Fit" "0.00,0.00" "_Yes" "" "_Yes" "_No" "_No" "_No" "" "_No" "_Yes" "---"
    crlf "Description: Save Nowhere" "Favourite: Non" "_saveas" "" "\"$work/nowhere/Copy.dwg\"" "---"
    crlf "Description: Lisp Error" "Favourite: Non" "(car 1)" "---"
    crlf "Description: Quit" "Favourite: Non" "_Quit" "_Y" "---"
} > "$work/routines.txt"
"$bin/../tools/mkroutinedb" "$work/routines.txt" "$work/Batch_Cad.dat" > /dev/null || fail "mkroutinedb failed"

settings() {
    crlf "[Acad_Address]" "AcadAddress=$bin/cadhost" \
         "[Cad_Ver]" "CadVer=$1" \
         "[Batch_Address]" "BatchAddress=$work/scripts" \
         "[db_Address]" "dbAddress=$work/Batch_Cad.dat" \
         "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" \
         "[StartSwitch]" "StartOption=YesSwitch" "Switch=--journal=$work/journal.txt" \
         "[PlotWizard_Set]" "PC3_Loc=$work/plotters/" \
         "[Startup_Set]" "Setup=YES" > "$work/settings/Quorvel.ini"
}
# Each argument is FILE|ROUTINE; a FILE ending in "/" is a folder, one starting with "%" a pipe, with "^" a
# read-only drawing.
list() {
    : > "$work/list.qvl"
    rm -rf "$work/drawings" && mkdir -p "$work/drawings"
    for pair in "$@"; do
        name=${pair%%|*}
        case $name in
            */) name=${name%/}; mkdir "$work/drawings/$name" ;;
            %*) name=${name#%}; mkfifo "$work/drawings/$name" ;;
            ^*) name=${name#^}; printf 'DWG' > "$work/drawings/$name"; chmod a-w "$work/drawings/$name" ;;
            *) printf 'DWG' > "$work/drawings/$name" ;;
        esac
        crlf "\"$name\",\"$work/drawings\",\"${pair#*|}\"" >> "$work/list.qvl"
    done
}
check() {
    status=0
    # A drawing that is a pipe must never be opened: the time limit turns a hang into a failure.
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 "$work/program/quorvel" --check \
        "$work/list.qvl" > "$work/out.txt" 2> "$work/err.txt" || status=$?
}
verdict() { grep -F "$work/drawings/$1: " "$work/out.txt" | grep -qF -- "$2" || fail "$1: expected \"$2\""; }
summary() { tail -n 1 "$work/out.txt" | grep -qxF -- "$1" || fail "the summary: expected \"$1\""; }

# An error suspends the script: the drawings after it are not reached, a folder or a pipe is named all the same.
settings Cad2018
list "A.dwg|Good Purge" "B.dwg|Unsaved Purge" "C.dwg|Plot Office" "D.dwg|Plot Layout" "E.dwg|Plot A1" \
     "F.dwg|Lisp Error" "G.dwg|Good Purge" "H.dwg/|Good Purge" "%P.dwg|Good Purge"
check
[ "$status" -eq 1 ] || fail "errors must give status 1, got $status"
verdict A.dwg ": OK"
verdict B.dwg "The routine changes the drawing but does not save it: the changes are discarded at close."
verdict C.dwg ": OK"
verdict D.dwg "The routine works only when the drawing opens on a layout tab"
verdict E.dwg '"A1 Sheets" at "Enter a page setup name <>:"'
verdict E.dwg "the host asks again and the lines that follow answer the wrong questions"
verdict F.dwg "error at line 82: lisp: ; error: bad argument type"
verdict G.dwg "not reached"
verdict H.dwg "This is a folder"
verdict P.dwg "not a regular file"
summary "Checked 9 drawing(s) for Cad2018: 2 OK, 3 with errors, 3 with warnings, 1 not reached. An error suspends the script at line 82 (F.dwg): the host reads no more of it."
[ -z "$(ls -A "$work/scripts")" ] || fail "a check must not write a script"
[ ! -e "$work/journal.txt" ] || fail "a check must not start the host"

# A routine that quits the host; a Save As into a folder that does not exist.
list "A.dwg|Quit" "B.dwg|Good Purge"
check
[ "$status" -eq 1 ] || fail "a quit must give status 1, got $status"
verdict A.dwg "quits the host"
verdict B.dwg "not reached"
list "A.dwg|Save Nowhere"
check
[ "$status" -eq 1 ] || fail "a missing folder must give status 1, got $status"
verdict A.dwg "cannot write $work/nowhere/Copy.dwg: the folder $work/nowhere"

settings CadLT2018
list "A.dwg|Plot Each Layout"
check
[ "$status" -eq 1 ] || fail "LT: status $status"
verdict A.dwg "AutoLISP is not available in CadLT2018"

# BricsCAD's close saves; a read-only drawing that is only plotted runs; warnings alone pass.
settings Bricscad
list "A.dwg|Unsaved Purge"
check
[ "$status" -eq 0 ] || fail "BricsCAD: status $status"
verdict A.dwg ": OK"
settings Cad2018
list "A.dwg|Good Purge" "^R.dwg|Plot DWF" "E.dwg|Plot A1"
check
[ "$status" -eq 0 ] || fail "warnings alone must give status 0, got $status"
verdict R.dwg ": OK"
rm "$work/list.qvl"
check
[ "$status" -eq 2 ] || fail "a missing list must give status 2, got $status"
echo "check_batch: ok"
