#!/usr/bin/env bash
# Failures are said, never turned into defaults, and a run never keeps its caller waiting: a settings file
# that cannot be read stops the run and the check (status 2) naming it; a check creates no file (a missing
# routine database is reported); a bare executable name is never taken from the current folder; the host
# gets none of Quorvel's standard streams, so out=$(quorvel list.qvl) returns while the host still runs.
set -u
bin=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-failures.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
crlf() { printf '%s\r\n' "$@"; }

mkdir -p "$work/program" "$work/settings" "$work/scripts" "$work/drawings" "$work/home"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" >"$work/program/QV_Locate.ini"
settings() { # executable, then more lines
    local exe=$1; shift
    crlf "[Acad_Address]" "AcadAddress=$exe" "[Cad_Ver]" "CadVer=Cad2018" \
         "[Batch_Address]" "BatchAddress=$work/scripts" "[Startup_Set]" "Setup=YES" "$@" >"$work/settings/Quorvel.ini"
}
cp "$source_dir/data/samples/A-101-rev2.dwg" "$work/drawings/A-101.dwg"
crlf "\"A-101.dwg\",\"$work/drawings\",\"Purge All and Save\"" >"$work/list.qvl"
quorvel() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME HOME="$work/home" \
            timeout 60 "$work/program/quorvel" "$@"; }
snapshot() { (cd "$work" && find . -path ./out -prune -o -path ./err -prune -o -printf '%p %s %T@\n' | sort); }

# A settings file that cannot be read: the run and the check stop and name it.
# name ; how the file is made unreadable
unreadable=('a folder in its place;rm -f "$work/settings/Quorvel.ini"; mkdir "$work/settings/Quorvel.ini"')
[ "$(id -u)" -ne 0 ] && unreadable+=('no read permission;settings true; chmod 000 "$work/settings/Quorvel.ini"')
for entry in "${unreadable[@]}"; do
    IFS=';' read -r name make <<<"$entry"
    settings "$(command -v true)"
    eval "$make"
    for mode in --check run; do
        args=("$work/list.qvl"); [ "$mode" = --check ] && args=(--check "$work/list.qvl")
        quorvel "${args[@]}" >"$work/out" 2>"$work/err"; status=$?
        expected=1; [ "$mode" = --check ] && expected=2
        [ "$status" -eq "$expected" ] || fail "$name, $mode: status $status: $(cat "$work/err")"
        grep -qF "The settings file $work/settings/Quorvel.ini cannot be read" "$work/err" ||
            fail "$name, $mode: not said: $(cat "$work/err")"
        ! grep -q "Cad2005" "$work/out" || fail "$name, $mode: checked with default settings"
        [ ! -f "$work/scripts/Batch.scr" ] || fail "$name, $mode: a script was written"
    done
    chmod -R u+rwx "$work/settings"; rm -rf "$work/settings/Quorvel.ini"
done

# A check creates nothing: not the missing routine database, not a per-user folder, not a copy of the
# default routines.
settings "$(command -v true)" "[db_Address]" "dbAddress=$work/settings/Missing.dat"
before=$(snapshot)
quorvel --check "$work/list.qvl" >"$work/out" 2>"$work/err"; status=$?
[ "$status" -eq 2 ] || fail "missing database: status $status: $(cat "$work/err")"
grep -qF "The routine database $work/settings/Missing.dat does not exist" "$work/err" ||
    fail "missing database: not said: $(cat "$work/err")"
[ "$(snapshot)" = "$before" ] || fail "the check created files: $(diff <(echo "$before") <(snapshot))"

# A bare executable name is looked for along PATH, never in the current folder.
settings "acad"
printf '#!/bin/sh\ntouch "%s/planted-ran"\n' "$work" >"$work/acad"
chmod +x "$work/acad"
(cd "$work" && PATH=/usr/bin:/bin quorvel "$work/list.qvl") >"$work/out" 2>"$work/err"; status=$?
sleep 0.5
[ ! -e "$work/planted-ran" ] || fail "the program in the current folder was started"
[ "$status" -eq 1 ] || fail "bare name: status $status"
grep -q "Error message File Not Found" "$work/err" || fail "bare name: not said: $(cat "$work/err")"

# Output captured by the caller: it ends when Quorvel ends, while the host still works.
settings "$bin/cadhost" "[StartSwitch]" "StartOption=YesSwitch" "Switch=--journal=$work/journal.txt"
started=$SECONDS
out=$(CADHOST_HOLD_MS=10000 quorvel "$work/list.qvl" 2>&1); status=$?
took=$((SECONDS - started))
[ "$status" -eq 0 ] || fail "captured run: status $status: $out"
[ "$took" -lt 8 ] || fail "captured run: the caller waited $took s for the host"
! grep -q $'\texit\t' "$work/journal.txt" 2>/dev/null || fail "captured run: the host had already ended"
for _ in $(seq 1 150); do grep -q $'\texit\t' "$work/journal.txt" 2>/dev/null && break; sleep 0.1; done
grep -q $'\texit\t' "$work/journal.txt" || fail "captured run: the host never ended"
exit 0
