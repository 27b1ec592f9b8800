#!/usr/bin/env bash
# One batch per script: runs that meet in one script folder each get a script of their own, even while the
# first host is still starting; a link planted in the script's place is replaced, never written through;
# a write that fails (a full disk) leaves the previous script whole.
set -u
bin=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-scripts.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; for j in "$work"/journal*.txt; do [ -f "$j" ] && { echo "--- $j"; cat "$j"; }; done; exit 1; }
crlf() { printf '%s\r\n' "$@"; }

mkdir -p "$work/program" "$work/settings" "$work/scripts" "$work/drawings"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" >"$work/program/QV_Locate.ini"
crlf "[Acad_Address]" "AcadAddress=$bin/cadhost" "[Cad_Ver]" "CadVer=Cad2018" \
     "[Batch_Address]" "BatchAddress=$work/scripts" "[Startup_Set]" "Setup=YES" >"$work/settings/Quorvel.ini"
for n in 1 2 3; do
    cp "$source_dir/data/samples/A-101-rev2.dwg" "$work/drawings/D$n.dwg"
    crlf "\"D$n.dwg\",\"$work/drawings\",\"Purge All and Save\"" >"$work/list$n.qvl"
done
quorvel() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/program/quorvel" "$@"; }

# Waits until each named journal has its host's exit.
wait_for_hosts() {
    for _ in $(seq 1 300); do
        local done=1
        for j in "$@"; do
            [ -f "$j" ] && grep -q $'\texit\t' "$j" || done=0
        done
        [ "$done" -eq 1 ] && break
        sleep 0.1
    done
}

# How the runs meet | how. Each host keeps its own journal, whatever script it is given.
cases=("one after the other while the first host starts|sequential"
       "at the same time|parallel")
for entry in "${cases[@]}"; do
    name=${entry%%|*}; how=${entry##*|}
    rm -rf "$work/scripts"/* "$work"/journal*.txt
    # A real host takes seconds to start before it opens its script.
    export CADHOST_START_MS=3000
    for n in 1 2 3; do
        if [ "$how" = sequential ]; then
            CADHOST_JOURNAL=$work/journal$n.txt quorvel "$work/list$n.qvl" 2>"$work/err$n" ||
                fail "$name: run $n: $(cat "$work/err$n")"
        else
            CADHOST_JOURNAL=$work/journal$n.txt quorvel "$work/list$n.qvl" 2>"$work/err$n" &
        fi
    done
    wait
    unset CADHOST_START_MS
    wait_for_hosts "$work"/journal{1,2,3}.txt
    for n in 1 2 3; do
        journal=$work/journal$n.txt
        [ -f "$journal" ] || fail "$name: host $n journaled nothing: $(cat "$work/err$n")"
        opened=$(grep $'\topened\t' "$journal" | cut -f3)
        [ "$opened" = "$work/drawings/D$n.dwg" ] || fail "$name: host $n opened ${opened:-nothing}, not D$n.dwg"
    done
done

# A link planted in the script's place: the script replaces the link; what it points to stays as it was.
rm -rf "$work/scripts"/*
printf 'precious' >"$work/victim.txt"
ln -s "$work/victim.txt" "$work/scripts/Batch.scr"
CADHOST_JOURNAL=$work/journal-link.txt quorvel "$work/list1.qvl" 2>"$work/err" ||
    fail "planted link: run failed: $(cat "$work/err")"
[ "$(cat "$work/victim.txt")" = precious ] || fail "planted link: its target was written"
[ -f "$work/scripts/Batch.scr" ] && [ ! -L "$work/scripts/Batch.scr" ] || fail "planted link: still a link"
grep -q "D1.dwg" "$work/scripts/Batch.scr" || fail "planted link: the script was not written"
wait_for_hosts "$work/journal-link.txt"

# A full disk (here a limit on file size): the run fails with the writer's message, the old script stays.
rm -rf "$work/scripts"/*
printf 'the previous script\r\n' >"$work/scripts/Batch.scr"
: >"$work/big.qvl"
for n in $(seq 1 40); do
    : >"$work/drawings/Big$n.dwg"
    crlf "\"Big$n.dwg\",\"$work/drawings\",\"Purge All and Save\"" >>"$work/big.qvl"
done
(trap '' XFSZ; ulimit -f 2; quorvel "$work/big.qvl") 2>"$work/err"; status=$?
[ "$status" -eq 1 ] || fail "full disk: status $status: $(cat "$work/err")"
grep -q "Error Number 61 in routine LoopThroughList" "$work/err" || fail "full disk: not reported: $(cat "$work/err")"
[ "$(cat "$work/scripts/Batch.scr")" = $'the previous script\r' ] || fail "full disk: the previous script was changed"
[ -z "$(ls -A "$work/scripts" | grep -v '^Batch.scr$')" ] || fail "full disk: left behind: $(ls -A "$work/scripts")"
exit 0
