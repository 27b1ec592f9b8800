#!/usr/bin/env bash
# One batch per script under Wine: quorvel.exe runs that meet in one script folder each get a script of their
# own, also while the first host is still starting (it has not opened its script yet), and the lock they take
# turns on is gone when they have ended.
set -u
source "$(dirname "$0")/common.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine-scripts.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; for f in "$work"/journal*.txt "$work"/err*; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done
         exit 1; }

make_program_folder "$work/program" "$work/settings"
mkdir -p "$work/scripts" "$work/drawings"
crlf "[Acad_Address]" "AcadAddress=$(winpath "$bin/cadhost.exe")" "[Cad_Ver]" "CadVer=Cad2018" \
     "[Batch_Address]" "BatchAddress=$(winpath "$work/scripts")" "[Startup_Set]" "Setup=YES" \
     > "$work/settings/Quorvel.ini"
drawings=$(winpath "$work/drawings")
for n in 1 2 3; do
    cp "$source_dir/data/samples/A-101-rev2.dwg" "$work/drawings/D$n.dwg"
    crlf "\"D$n.dwg\",\"$drawings\",\"Purge All and Save\"" > "$work/list$n.qvl"
done

# How the runs meet | how. Each host keeps its own journal, whatever script it is given.
for entry in "one after the other while the first host starts|sequential" "at the same time|parallel"; do
    name=${entry%%|*}; how=${entry##*|}
    rm -rf "$work/scripts"/* "$work"/journal*.txt
    # A real host takes seconds to start before it opens its script.
    export CADHOST_START_MS=3000
    for n in 1 2 3; do
        if [ "$how" = sequential ]; then
            CADHOST_JOURNAL=$(winpath "$work/journal$n.txt") run "$work/program/quorvel.exe" --unattended \
                "$(winpath "$work/list$n.qvl")" > /dev/null 2> "$work/err$n" || fail "$name: run $n failed"
        else
            CADHOST_JOURNAL=$(winpath "$work/journal$n.txt") run "$work/program/quorvel.exe" --unattended \
                "$(winpath "$work/list$n.qvl")" > /dev/null 2> "$work/err$n" &
        fi
    done
    wait
    unset CADHOST_START_MS
    for n in 1 2 3; do
        journal=$work/journal$n.txt
        wait_for_host_exit "$journal" || fail "$name: host $n did not finish"
        opened=$(grep $'\topened\t' "$journal" | cut -f3)
        [ "$opened" = "$drawings\\D$n.dwg" ] || fail "$name: host $n opened ${opened:-nothing}, not D$n.dwg"
    done
    [ ! -e "$work/scripts/Quorvel.lock" ] || fail "$name: the folder's lock outlived the runs"
done
echo "wine one_script_per_run: ok"
