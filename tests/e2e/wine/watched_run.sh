#!/usr/bin/env bash
# quorvel.exe --wait with cadhost.exe under Wine: 20 drawings, the 7th crashes the host (an access violation's
# exit code) and the 14th hangs it. The run marks exactly those two, finishes every other drawing, starts the
# host three times (one script per start) and ends within the timeouts; exit statuses 1 and 0.
set -u
source "$(dirname "$0")/common.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-wine-watched.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt" 2>/dev/null; echo "--- errors";
         cat "$work/err.txt" 2>/dev/null; exit 1; }

make_program_folder "$work/program" "$work/settings"
mkdir -p "$work/drawings"
crlf "[Acad_Address]" "AcadAddress=$(winpath "$bin/cadhost.exe")" "[Cad_Ver]" "CadVer=Cad2018" \
     "[Batch_Address]" "BatchAddress=$(winpath "$work/scripts")" "[Acad_StartEnd]" "AcadStart=_Open" \
     "AcadWindow=Normal" "[StartSwitch]" "StartOption=YesSwitch" \
     "Switch=--product=Cad2018 --journal=$(winpath "$work/journal.txt")" "[Startup_Set]" "Setup=YES" \
     > "$work/settings/Quorvel.ini"
mkdir -p "$work/scripts"
drawings=$(winpath "$work/drawings")
: > "$work/list.qvl"
for n in $(seq -w 1 20); do
    case $n in
        07) echo "CADHOST fault=crash" ;;
        14) echo "CADHOST fault=hang" ;;
        *) echo "Stand-in drawing $n" ;;
    esac > "$work/drawings/D-$n.dwg"
    crlf "\"D-$n.dwg\",\"$drawings\",\"Zoom Extents and Save\"" >> "$work/list.qvl"
done

watch() {
    local began=$SECONDS
    run "$work/program/quorvel.exe" --wait "$@" "$(winpath "$work/list.qvl")" > "$work/out.txt" 2> "$work/err.txt"
    status=$?
    seconds=$((SECONDS - began))
    # The C runtime writes text lines with CR LF.
    sed -i 's/\r$//' "$work/out.txt"
}

watch --timeout 2
[ "$status" -eq 1 ] || fail "a run with a crash and a hang must exit 1, got $status"
[ "$seconds" -le 40 ] || fail "the run took $seconds s"
for n in $(seq -w 1 20); do
    case $n in 07) want=crashed ;; 14) want=hung ;; *) want=done ;; esac
    [ "$(grep -cF "$drawings\\D-$n.dwg: $want" "$work/out.txt")" -eq 1 ] || fail "D-$n.dwg is not reported $want"
done
tail -n 1 "$work/out.txt" | grep -q "^20 drawings: 18 done, 1 hung, 1 crashed; the CAD program was started 3 times. Report: " ||
    fail "the summary is wrong"
runs=("$work/scripts"/Run\ *)
[ "${#runs[@]}" -eq 1 ] || fail "expected one run folder, found ${#runs[@]}"
[ "$(cd "${runs[0]}" && ls Batch-*.scr | tr '\n' ' ')" = "Batch-0001.scr Batch-0008.scr Batch-0015.scr " ] ||
    fail "the scripts are not one per host start: $(ls "${runs[0]}")"
[ "$(grep -c ',done,' "${runs[0]}/Report.csv")" -eq 18 ] || fail "the report does not mark 18 drawings done"

for n in 07 14; do echo "Stand-in drawing $n" > "$work/drawings/D-$n.dwg"; done
watch --timeout 30 --restart-every 5
[ "$status" -eq 0 ] || fail "a run with every drawing done must exit 0, got $status"
tail -n 1 "$work/out.txt" | grep -q "^20 drawings: 20 done; the CAD program was started 4 times. Report: " ||
    fail "restart every 5: the summary is wrong"
echo "wine watched_run: ok"
