#!/usr/bin/env bash
# Quorvel installed into a prefix as a system-wide install would be (bin/ + share/quorvel/), then run
# unattended by two users, each with a home of their own, on the shipped sample list with the
# stand-in CAD host. Each run must use the shipped routines, keep its settings, its copy of the
# routine database and its script in that user's folder, and leave the installed tree as it was.
set -u
cmake=$1
build=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
log=
fail() { echo "FAIL: $*"; [ -n "$log" ] && { echo "--- quorvel.log"; cat "$log"; }; exit 1; }
crlf() { printf '%s\r\n' "$@"; }

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install"; }
shipped=$prefix/share/quorvel
for file in bin/quorvel share/quorvel/defaults/Batch_Cad.dat share/quorvel/help/Quorvel.html \
            share/quorvel/samples/sample-list.txt; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/quorvel" ] || fail "the installed program is not executable"
snapshot() { (cd "$prefix" && find . -printf '%p %y %m\n' | sort && find . -type f -exec md5sum {} + | sort); }
snapshot > "$work/tree.before"

# user NAME CONFIG_FOLDER [XDG_CONFIG_HOME]: one user's run; CONFIG_FOLDER is where that user's
# files must land.
user() {
    local name=$1 folder=$2 xdg=${3:-}
    local home=$work/$name
    mkdir -p "$home/drawings" "$folder"
    crlf "[Acad_Address]" "AcadAddress=$build/bin/cadhost" \
         "[Cad_Ver]" "CadVer=Cad2018" \
         "[Acad_StartEnd]" "AcadStart=_Open" "AcadWindow=Normal" \
         "[StartSwitch]" "StartOption=YesSwitch" "Switch=--product=Cad2018 --journal=$home/journal.txt" \
         "[Startup_Set]" "Setup=YES" > "$folder/Quorvel.ini"
    cp "$folder/Quorvel.ini" "$home/settings.written"
    cp "$shipped"/samples/*.dwg "$home/drawings/"
    : > "$home/list.qvl"
    while IFS='|' read -r file routine; do
        [[ -z "$file" || "$file" == \#* ]] && continue
        crlf "\"$file\",\"$home/drawings\",\"$routine\"" >> "$home/list.qvl"
    done < "$shipped/samples/sample-list.txt"

    log=$home/quorvel.log
    local environment=(-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME HOME="$home")
    [ -n "$xdg" ] && environment+=(XDG_CONFIG_HOME="$xdg")
    (cd "$home" && env "${environment[@]}" "$prefix/bin/quorvel" "$home/list.qvl" 2> "$log")
    local status=$?
    [ "$status" -eq 0 ] || fail "$name: quorvel ended with status $status"
    local journal=$home/journal.txt
    for _ in $(seq 1 300); do
        [[ -f "$journal" ]] && grep -q $'\texit\t' "$journal" && break
        sleep 0.1
    done
    grep -q $'^0\texit\t-\t0 unmodelled=0$' "$journal" 2>/dev/null || fail "$name: the host did not finish cleanly"
    grep -q $'\terror\t' "$journal" && fail "$name: the host journaled errors"

    # The shipped routines, copied into the user's folder, ran: the purge reached the host and
    # every drawing was saved.
    cmp -s "$folder/Batch_Cad.dat" "$shipped/defaults/Batch_Cad.dat" || fail "$name: no copy of the shipped routines"
    grep -q $'\tpurged\t'"$home/drawings/A-101-rev2.dwg" "$journal" || fail "$name: the purge routine did not run"
    for file in A-101-rev2.dwg A-102-rev1.dwg S-201-rev3.dwg "Site Plan.dwg" M-301-rev1.dwg; do
        grep -q $'\tsaved\t'"$home/drawings/$file" "$journal" || fail "$name: $file was not saved"
    done
    # The script went to the user's folder; the settings were read there and left as they were.
    [ -f "$folder/Batch.scr" ] || fail "$name: no Batch.scr in $folder"
    grep -q "$home/drawings" "$folder/Batch.scr" || fail "$name: the script is not this user's"
    cmp -s "$folder/Quorvel.ini" "$home/settings.written" || fail "$name: the run changed the settings"
    log=
}

user ann "$work/ann/xdg/Quorvel" "$work/ann/xdg"
user bob "$work/bob/.config/Quorvel"

# Two users, two sets of files: neither run touched the other's.
grep -q "$work/ann" "$work/bob/.config/Quorvel/Batch.scr" && fail "bob's script names ann's drawings"
grep -q "$work/bob" "$work/ann/xdg/Quorvel/Batch.scr" && fail "ann's script names bob's drawings"
[ -e "$work/ann/.config" ] && fail "ann's run wrote to ~/.config although XDG_CONFIG_HOME was set"

snapshot > "$work/tree.after"
diff "$work/tree.before" "$work/tree.after" > "$work/tree.diff" || { cat "$work/tree.diff"; fail "the runs changed the installed tree"; }
exit 0
