#!/usr/bin/env bash
# End-to-end scale benchmark: the real quorvel binary runs generated drawing lists unattended (1,000,
# 100,000 and 1,000,000 drawings; QUICK=1 leaves out the million) against a 5,000-routine database, side by side with the
# floor program (read the list, one attribute query per drawing, one write of the same script bytes).
# Prints medians of RUNS runs with the spread, the ratio, and the peak memory of the real run.
#
#   bench/run_scale.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
bin=$build/bin
runs=${RUNS:-5}
sizes=(1000 100000)
[[ "${QUICK:-0}" == 1 ]] || sizes+=(1000000)
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-scale.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/common.sh"
make_program_folder
# 5,000 routines of realistic size.
for i in $(seq 1 5000); do
    crlf "Description: Plot sheets of site $i to PDF, A1" "Favourite: Fav" "_-plot" "_Yes" "Layout1" \
         "DWG To PDF.pc3" "ISO full bleed A1 (841.00 x 594.00 MM)" "_Millimeters" "_Landscape" "_No" "_Extents" \
         "1:100" "_Center" "_Yes" "monochrome.ctb" "_Yes" "_As" "" "_No" "_Yes" "---"
done > "$work/routines.txt"
"$build/tools/mkroutinedb" "$work/routines.txt" "$work/Batch_Cad.dat" > /dev/null

# The same program against a 2-routine database, for what the larger database adds to a start.
mkdir -p "$work/program2" "$work/settings2"
cp -r "$work/program/." "$work/program2/"
crlf "[QV_Address]" "QVAddress=$work/settings2" > "$work/program2/QV_Locate.ini"
head -n 42 "$work/routines.txt" > "$work/routines2.txt"
"$build/tools/mkroutinedb" "$work/routines2.txt" "$work/Batch_Cad2.dat" > /dev/null
sed "s|$work/Batch_Cad.dat|$work/Batch_Cad2.dat|" "$work/settings/Quorvel.ini" > "$work/settings2/Quorvel.ini"


# Start-up: a run of 1,000 drawings whose routines both databases hold, the two programs by turns.
mkdir -p "$work/dwgstart"
for i in $(seq 1 1000); do
    : > "$work/dwgstart/Sheet-$i.dwg"
    crlf "\"Sheet-$i.dwg\",\"$work/dwgstart\",\"Plot sheets of site $((i % 2 + 1)) to PDF, A1\""
done > "$work/start.qvl"
large=(); small=()
for _ in $(seq 1 "$runs"); do
    large+=("$(seconds env -u DISPLAY -u WAYLAND_DISPLAY "$work/program/quorvel" "$work/start.qvl")")
    small+=("$(seconds env -u DISPLAY -u WAYLAND_DISPLAY "$work/program2/quorvel" "$work/start.qvl")")
done
read -r lm ll lh <<< "$(printf '%s\n' "${large[@]}" | median)"
read -r sm sl sh <<< "$(printf '%s\n' "${small[@]}" | median)"
echo "Start and run of 1,000 drawings, $(nproc) cores, median of $runs runs [min, max], the two by turns"
printf '  5,000 routines %7.3f s [%.3f, %.3f]  2 routines %7.3f s [%.3f, %.3f]  added %.0f ms (target under 100)\n' \
    "$lm" "$ll" "$lh" "$sm" "$sl" "$sh" "$(awk -v a="$lm" -v b="$sm" 'BEGIN { printf "%.1f", (a - b) * 1000 }')"

echo "End-to-end unattended runs against a 5,000-routine database, $(nproc) cores, median of $runs runs [min, max]"
for n in "${sizes[@]}"; do
    mkdir -p "$work/dwg$n"
    python3 - "$work/dwg$n" "$n" "$work/list$n.qvl" <<'PY'
import os, sys
folder, n, listfile = sys.argv[1], int(sys.argv[2]), sys.argv[3]
with open(listfile, "wb") as out:
    for i in range(n):
        name = "Sheet-%d.dwg" % i
        open(os.path.join(folder, name), "wb").close()
        out.write(('"%s","%s","Plot sheets of site %d to PDF, A1"\r\n' % (name, folder, i % 5000 + 1)).encode("cp1252"))
PY
    real=(); floor=()
    for _ in $(seq 1 "$runs"); do
        real+=("$(seconds env -u DISPLAY -u WAYLAND_DISPLAY "$work/program/quorvel" "$work/list$n.qvl")")
        floor+=("$(seconds "$build/bench/bench_FloorRun" "$work/list$n.qvl" "$work/scripts/Batch.scr" "$work/floor.scr")")
    done
    cmp -s "$work/scripts/Batch.scr" "$work/floor.scr" || { echo "the floor did not write the same bytes"; exit 1; }
    read -r rm rl rh <<< "$(printf '%s\n' "${real[@]}" | median)"
    read -r fm fl fh <<< "$(printf '%s\n' "${floor[@]}" | median)"
    peak=$(/usr/bin/time -f '%M' -o "$work/peak.txt" env -u DISPLAY -u WAYLAND_DISPLAY \
           "$work/program/quorvel" "$work/list$n.qvl" > /dev/null 2>&1; cat "$work/peak.txt")
    # The ratio's limit is set for 100,000 drawings; a short list measures mostly the program's start, and a
    # million drawings its peak memory.
    case $n in
        100000) target="target at most 2" ;;
        1000000) target="peak target at most 350 MiB" ;;
        *) target="mostly start-up" ;;
    esac
    printf '  %8d drawings: quorvel %7.3f s [%.3f, %.3f]  floor %7.3f s [%.3f, %.3f]  ratio %.2f (%s)  peak %d MiB\n' \
        "$n" "$rm" "$rl" "$rh" "$fm" "$fl" "$fh" "$(awk -v a="$rm" -v b="$fm" 'BEGIN { printf "%.2f", a / b }')" \
        "$target" "$((peak / 1024))"
    rm -rf "$work/dwg$n"
done
