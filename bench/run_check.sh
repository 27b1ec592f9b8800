#!/usr/bin/env bash
# End-to-end check benchmark: the real quorvel binary checks generated drawing lists (`quorvel --check`; half
# purge, half page-setup plot, 50 distinct routines), side by side with the floor of the run it checks (read
# the list, one attribute query per drawing, one write of the same script bytes). Prints medians of RUNS runs
# with the spread, the ratio to the floor and the peak memory of the check.
#
#   bench/run_check.sh BUILD_DIR            # 100,000 and 1,000,000 drawings (QUICK=1: 100,000 only)
#   SIZES="100000" RUNS=3 bench/run_check.sh build/release
set -euo pipefail
build=$(cd "$1" && pwd)
bin=$build/bin
runs=${RUNS:-5}
default_sizes="100000 1000000"
[[ "${QUICK:-0}" == 1 ]] && default_sizes="100000"
read -r -a sizes <<< "${SIZES:-$default_sizes}"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/common.sh"
make_program_folder
# 50 routines: 25 purges and 25 plots through a page setup of the drawing.
for i in $(seq 1 25); do
    crlf "Description: Purge site $i" "Favourite: Fav" "_-Purge" "_All" "*" "_N" "_Qsave" "---"
    crlf "Description: Plot site $i by page setup" "Favourite: Fav" "_-plot" "_N" "" "A1 Plot $i" "" "_N" "_N" \
         "_Y" "---"
done > "$work/routines.txt"
"$build/tools/mkroutinedb" "$work/routines.txt" "$work/Batch_Cad.dat" > /dev/null
quorvel() { env -u DISPLAY -u WAYLAND_DISPLAY "$work/program/quorvel" "$@"; }

echo "Check of drawing lists (half purge, half page-setup plot, 50 routines), $(nproc) cores, median of $runs runs [min, max]"
for n in "${sizes[@]}"; do
    mkdir -p "$work/dwg$n"
    python3 - "$work/dwg$n" "$n" "$work/list$n.qvl" <<'PY'
import os, sys
folder, n, listfile = sys.argv[1], int(sys.argv[2]), sys.argv[3]
with open(listfile, "wb") as out:
    for i in range(n):
        name = "Sheet-%d.dwg" % i
        open(os.path.join(folder, name), "wb").close()
        site = i // 2 % 25 + 1
        routine = "Purge site %d" % site if i % 2 == 0 else "Plot site %d by page setup" % site
        out.write(('"%s","%s","%s"\r\n' % (name, folder, routine)).encode("cp1252"))
PY
    # The script the checked run would write, for the floor to write.
    quorvel "$work/list$n.qvl" > /dev/null 2>&1
    check=(); floor=()
    for _ in $(seq 1 "$runs"); do
        check+=("$(seconds quorvel --check "$work/list$n.qvl")")
        floor+=("$(seconds "$build/bench/bench_FloorRun" "$work/list$n.qvl" "$work/scripts/Batch.scr" "$work/floor.scr")")
    done
    cmp -s "$work/scripts/Batch.scr" "$work/floor.scr" || { echo "the floor did not write the same bytes"; exit 1; }
    read -r cm cl ch <<< "$(printf '%s\n' "${check[@]}" | median)"
    read -r fm fl fh <<< "$(printf '%s\n' "${floor[@]}" | median)"
    peaks=()
    for _ in $(seq 1 "$runs"); do
        /usr/bin/time -f '%M' -o "$work/peak.txt" env -u DISPLAY -u WAYLAND_DISPLAY \
            "$work/program/quorvel" --check "$work/list$n.qvl" > "$work/check.txt" 2>&1 || true
        peaks+=("$(cat "$work/peak.txt")")
    done
    read -r pm pl ph <<< "$(printf '%s\n' "${peaks[@]}" | median)"
    case $n in
        100000) target="target: ratio at most 2" ;;
        1000000) target="target: at most 5 s and 400 MiB" ;;
        *) target="no target" ;;
    esac
    printf '  %8d drawings: check %7.3f s [%.3f, %.3f]  floor %7.3f s [%.3f, %.3f]  ratio %.2f  peak %d MiB [%d, %d]  (%s)\n' \
        "$n" "$cm" "$cl" "$ch" "$fm" "$fl" "$fh" "$(awk -v a="$cm" -v b="$fm" 'BEGIN { printf "%.2f", a / b }')" \
        "$((${pm%.*} / 1024))" "$((${pl%.*} / 1024))" "$((${ph%.*} / 1024))" "$target"
    echo "    $(tail -n 1 "$work/check.txt")"
    rm -rf "$work/dwg$n"
done
