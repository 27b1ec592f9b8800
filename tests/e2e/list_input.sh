#!/usr/bin/env bash
# A list is read once from whatever can be read as a stream (a pipe, /dev/stdin, <(...)); a UTF-8
# byte-order mark is no part of it; devices and a named pipe that nobody writes are refused by name, never
# waited for without end.
set -u
bin=$1
source_dir=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-lists.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
crlf() { printf '%s\r\n' "$@"; }

mkdir -p "$work/program" "$work/settings" "$work/scripts" "$work/drawings"
cp "$bin/quorvel" "$work/program/"
cp -r "$bin/defaults" "$work/program/"
crlf "[QV_Address]" "QVAddress=$work/settings" >"$work/program/QV_Locate.ini"
crlf "[Acad_Address]" "AcadAddress=$(command -v true)" "[Cad_Ver]" "CadVer=Cad2018" \
     "[Batch_Address]" "BatchAddress=$work/scripts" "[Startup_Set]" "Setup=YES" >"$work/settings/Quorvel.ini"
: >"$work/drawings/A-101.dwg"
crlf "\"A-101.dwg\",\"$work/drawings\",\"Purge All and Save\"" >"$work/list.qvl"
{ printf '\xEF\xBB\xBF'; cat "$work/list.qvl"; } >"$work/bom.qvl"
mkfifo "$work/fifo.qvl"
quorvel() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$work/program/quorvel" "$@"; }

# Each case runs a list; a list that is read must put its drawing into the script.
# name ; command ; status ; standard error holds
cases=(
    'process substitution;quorvel <(cat "$work/list.qvl");0;'
    'standard input from a pipe;cat "$work/list.qvl" | quorvel /dev/stdin;0;'
    'byte-order mark;quorvel "$work/bom.qvl";0;'
    'a device;quorvel /dev/zero;1;/dev/zero is a device'
    'more than any list;truncate -s 1025M "$work/huge.qvl" && quorvel "$work/huge.qvl";1;huge.qvl is larger than 1024 MiB'
    'a named pipe nobody writes;quorvel "$work/fifo.qvl";1;fifo.qvl is a named pipe that no program opened for writing'
)
for entry in "${cases[@]}"; do
    IFS=';' read -r name command expected message <<<"$entry"
    rm -f "$work/scripts/Batch.scr"
    started=$SECONDS
    eval "$command" >"$work/out" 2>"$work/err"; status=$?
    [ "$status" -eq "$expected" ] || fail "$name: status $status: $(head -c 600 "$work/err")"
    if [ "$expected" -eq 0 ]; then
        grep -q "A-101.dwg" "$work/scripts/Batch.scr" || fail "$name: the drawing is not in the script"
        [ ! -s "$work/err" ] || fail "$name: $(cat "$work/err")"
    else
        grep -qF "$message" "$work/err" || fail "$name: not said: $(head -c 600 "$work/err")"
        [ ! -f "$work/scripts/Batch.scr" ] || fail "$name: a script was written"
        [ $((SECONDS - started)) -lt 40 ] || fail "$name: took $((SECONDS - started)) s"
    fi
done
exit 0
