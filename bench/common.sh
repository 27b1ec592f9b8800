# Shared by the end-to-end benchmarks, sourced after `build`, `bin` and `work` are set.
crlf() { printf '%s\r\n' "$@"; }

# The program folder of a run from the build (its settings folder named by a redirect file), and the settings
# of a run against the routine database $work/Batch_Cad.dat whose host is a program that exits at once, so
# that only Quorvel is timed.
make_program_folder() {
    mkdir -p "$work/program" "$work/settings" "$work/scripts"
    cp "$bin/quorvel" "$work/program/"
    cp -r "$bin/defaults" "$bin/help" "$work/program/"
    crlf "[QV_Address]" "QVAddress=$work/settings" > "$work/program/QV_Locate.ini"
    crlf "[Acad_Address]" "AcadAddress=/bin/true" "[Cad_Ver]" "CadVer=Cad2018" \
         "[Batch_Address]" "BatchAddress=$work/scripts" "[db_Address]" "dbAddress=$work/Batch_Cad.dat" \
         "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" "[Startup_Set]" "Setup=YES" \
         > "$work/settings/Quorvel.ini"
}

# The median, the least and the most of the numbers on standard input.
median() { sort -n | awk '{a[NR]=$1} END {printf "%.3f %.3f %.3f", a[int((NR+1)/2)], a[1], a[NR]}'; }
# The seconds a command takes, whatever its exit status (a check with errors exits 1).
seconds() { local s e; s=$(date +%s.%N); "$@" > /dev/null 2>&1 || true; e=$(date +%s.%N); awk -v s="$s" -v e="$e" 'BEGIN { printf "%.4f", e - s }'; }
