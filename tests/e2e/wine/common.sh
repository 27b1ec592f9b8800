# Shared by the end-to-end tests of the Windows build, which run quorvel.exe and cadhost.exe under Wine.
# Sourced with: BIN_DIR SOURCE_DIR WINE WINEPREFIX as the script's arguments.
bin=$1
source_dir=$2
wine=$3
export WINEPREFIX=$4
export WINEDEBUG=-all
# Qt's own variables reach the program only under these names, and its messages go to standard error.
export WINEQT_FORCE_STDERR_LOGGING=1
export WINEQT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\dejavu'
crlf() { printf '%s\r\n' "$@"; }

# The Windows form of a Unix path, as the program sees it on drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# A program folder as the portable zip lays it out: quorvel.exe beside its DLLs and plugins, and the shipped
# files, with a redirect file naming the settings folder.
make_program_folder() {
    local program=$1 settings=$2
    mkdir -p "$program" "$settings"
    cp "$bin/quorvel.exe" "$bin"/*.dll "$program/"
    cp -r "$bin/platforms" "$bin/styles" "$bin/imageformats" "$bin/defaults" "$bin/help" "$program/"
    crlf "[QV_Address]" "QVAddress=$(winpath "$settings")" > "$program/QV_Locate.ini"
}

# Runs a Windows program under Wine; its status is the program's.
run() { "$wine" "$@"; }

# Waits up to 30 s for the stand-in host's journal to show its exit.
wait_for_host_exit() {
    local journal=$1
    for _ in $(seq 1 300); do
        [[ -f $journal ]] && grep -q $'\texit\t' "$journal" && return 0
        sleep 0.1
    done
    return 1
}
