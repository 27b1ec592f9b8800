#!/usr/bin/env bash
# quorvel --wait with the stand-in host: 20 drawings, the 7th crashes the host and the 14th hangs it. The run
# marks exactly those two, finishes every other drawing, starts the host three times and ends within the
# timeouts; with a restart every 5 drawings the host starts four times. Exit statuses 0, 1 and 2.
set -u
bin=$(cd "$1" && pwd)
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
crlf() { printf '%s\r\n' "$@"; }
fail() { echo "FAIL: $*"; echo "--- output"; cat "$work/out.txt" 2>/dev/null; echo "--- errors";
         cat "$work/err.txt" 2>/dev/null; exit 1; }

mkdir -p "$work/program" "$work/settings" "$work/drawings"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$bin/help" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" > "$work/program/QV_Locate.ini"
# The host is started through a wrapper that counts its starts and then becomes the stand-in itself.
printf '#!/bin/sh\necho started >> "%s"\nexec "%s" "$@"\n' "$work/starts.txt" "$bin/cadhost" > "$work/host"
chmod +x "$work/host"

# settings PRODUCT SCRIPTS: the settings file for a run.
settings() {
    mkdir -p "$2"
    crlf "[Acad_Address]" "AcadAddress=$work/host" \
         "[Cad_Ver]" "CadVer=$1" \
         "[Batch_Address]" "BatchAddress=$2" \
         "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" \
         "[StartSwitch]" "StartOption=YesSwitch" "Switch=--product=$1 --journal=$work/journal.txt" \
         "[Startup_Set]" "Setup=YES" > "$work/settings/Quorvel.ini"
}

: > "$work/list.qvl"
for n in $(seq -w 1 20); do
    case $n in
        07) echo "CADHOST fault=crash" ;;
        14) echo "CADHOST fault=hang" ;;
        *) echo "Stand-in drawing $n" ;;
    esac > "$work/drawings/D-$n.dwg"
    crlf "\"D-$n.dwg\",\"$work/drawings\",\"Zoom Extents and Save\"" >> "$work/list.qvl"
done

# run ARGUMENTS...: quorvel without a display; sets status and seconds.
run() {
    : > "$work/starts.txt"
    local began=$SECONDS
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/program/quorvel" "$@" > "$work/out.txt" \
        2> "$work/err.txt"
    status=$?
    seconds=$((SECONDS - began))
}
line_for() { grep -c "^$work/drawings/D-$1.dwg: $2\$" "$work/out.txt"; }

# One crash, one hang, timeout 2 s: three host starts.
settings Cad2018 "$work/scripts"
run --wait --timeout 2 "$work/list.qvl"
[ "$status" -eq 1 ] || fail "a run with a crash and a hang must exit 1, got $status"
[ "$seconds" -le 15 ] || fail "the run took $seconds s; two timeouts of 2 s and twenty quick drawings need far less"
[ "$(wc -l < "$work/starts.txt")" -eq 3 ] || fail "the host was started $(wc -l < "$work/starts.txt") times, not 3"
for n in $(seq -w 1 20); do
    case $n in 07) want=crashed ;; 14) want=hung ;; *) want=done ;; esac
    [ "$(line_for "$n" "$want")" -eq 1 ] || fail "D-$n.dwg is not reported $want exactly once"
done
[ "$(grep -c "^$work/drawings/" "$work/out.txt")" -eq 20 ] || fail "not one line per drawing"
tail -n 1 "$work/out.txt" | grep -q "^20 drawings: 18 done, 1 hung, 1 crashed; the CAD program was started 3 times. Report: " ||
    fail "the summary is wrong: $(tail -n 1 "$work/out.txt")"
pgrep -f "$bin/cadhost.*$work" > /dev/null && fail "a host is still running after the run"

runs=("$work/scripts"/Run\ *)
[ "${#runs[@]}" -eq 1 ] || fail "expected one run folder, found ${#runs[@]}"
report=${runs[0]}/Report.csv
[ -f "$report" ] || fail "no Report.csv in the run folder"
[ "$(head -n 1 "$report")" = $'Drawing,Routine,State,First error line,Seconds\r' ] || fail "the report's header is wrong"
[ "$(grep -c ',done,' "$report")" -eq 18 ] || fail "the report does not mark 18 drawings done"
grep -q "^$work/drawings/D-07.dwg,Zoom Extents and Save,crashed," "$report" || fail "the report does not mark D-07 crashed"
grep -q "^$work/drawings/D-14.dwg,Zoom Extents and Save,hung,,[2-9]\.[0-9]" "$report" ||
    fail "the report does not mark D-14 hung after its 2 s"
# One script per host start, each named by its first drawing.
[ "$(cd "${runs[0]}" && ls Batch-*.scr | tr '\n' ' ')" = "Batch-0001.scr Batch-0008.scr Batch-0015.scr " ] ||
    fail "the scripts are not one per host start: $(ls "${runs[0]}")"

# Every drawing done, a restart every 5: four host starts, exit 0.
for n in 07 14; do echo "Stand-in drawing $n" > "$work/drawings/D-$n.dwg"; done
run --wait --timeout 30 --restart-every 5 "$work/list.qvl"
[ "$status" -eq 0 ] || fail "a run with every drawing done must exit 0, got $status"
[ "$(wc -l < "$work/starts.txt")" -eq 4 ] || fail "restart every 5: the host was started $(wc -l < "$work/starts.txt") times, not 4"
[ "$(grep -c ': done$' "$work/out.txt")" -eq 20 ] || fail "not every drawing is reported done"
tail -n 1 "$work/out.txt" | grep -q "^20 drawings: 20 done; the CAD program was started 4 times. Report: " ||
    fail "the summary is wrong: $(tail -n 1 "$work/out.txt")"

# A host that cannot be started: the run could not start, exit 2.
rm "$work/host"
run --wait "$work/list.qvl"
[ "$status" -eq 2 ] || fail "a host that cannot start must give exit 2, got $status"
[ -s "$work/starts.txt" ] && fail "the missing host was started"
# A product without AutoLISP is refused rather than watched blind.
settings CadLT2018 "$work/scripts-lt"
run --wait "$work/list.qvl"
[ "$status" -eq 2 ] || fail "a watched run on AutoCAD LT 2018 must be refused with exit 2, got $status"
grep -q "needs a CAD program with AutoLISP" "$work/err.txt" || fail "the refusal does not say why"
# Options without --wait, and a bad timeout, are refused by the command line.
run --timeout 5 "$work/list.qvl"
[ "$status" -eq 2 ] || fail "--timeout without --wait must be refused, got $status"
run --wait --timeout 0 "$work/list.qvl"
[ "$status" -eq 2 ] || fail "--timeout 0 must be refused, got $status"
exit 0
