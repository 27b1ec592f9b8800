#!/usr/bin/env bash
# The Windows packages, each tried in a clean Wine prefix of its own:
#   zip        the portable zip unpacked, `quorvel.exe --version`, and a list run unattended through cadhost.exe
#              with the settings beside the program;
#   installer  the NSIS installer run silently (/S) by a user with an accented name: the Start-menu entry,
#              the .qvl association, the same two runs with the settings under that user's %APPDATA%\Quorvel,
#              then the silent uninstall, which leaves neither files nor association behind.
# Arguments: zip|installer CMAKE CPACK BUILD_DIR SOURCE_DIR WINE VERSION
set -u
kind=$1 cmake=$2 cpack=$3 build=$4 source_dir=$5 wine=$6 version=$7
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-winpkg.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEQT_FORCE_STDERR_LOGGING=1
cleanup() { wineserver -k >/dev/null 2>&1; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; for f in "$work"/*.log; do [ -f "$f" ] && { echo "--- $f"; tail -n 40 "$f"; }; done; exit 1; }
crlf() { printf '%s\r\n' "$@"; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# A user whose name Windows-1252 holds only in part of the code pages: the profile folder is C:\users\$user.
user=Zoë
USER=$user "$wine" wineboot --init > "$work/wineboot.log" 2>&1 || fail "wineboot"
wineserver --wait
profile=$WINEPREFIX/drive_c/users/$user
[ -d "$profile" ] || fail "no profile folder for $user: $(ls "$WINEPREFIX/drive_c/users")"
export USER=$user

# run_list PROGRAM SETTINGS_FOLDER: the sample list run unattended through the build's stand-in host.
run_list() {
    local program=$1 settings=$2
    mkdir -p "$work/drawings" "$work/scripts" "$settings"
    cp "$source_dir"/data/samples/*.dwg "$work/drawings/"
    rm -f "$work/journal.txt"
    crlf "[Acad_Address]" "AcadAddress=$(winpath "$build/bin/cadhost.exe")" "[Cad_Ver]" "CadVer=Cad2018" \
         "[Batch_Address]" "BatchAddress=$(winpath "$work/scripts")" "[Acad_StartEnd]" "AcadStart=_Open" \
         "AcadWindow=Normal" "[StartSwitch]" "StartOption=YesSwitch" \
         "Switch=--product=Cad2018 --journal=$(winpath "$work/journal.txt")" "[Startup_Set]" "Setup=YES" \
         > "$settings/Quorvel.ini"
    : > "$work/list.qvl"
    while IFS='|' read -r file routine; do
        [[ -z "$file" || "$file" == \#* ]] && continue
        crlf "\"$file\",\"$(winpath "$work/drawings")\",\"$routine\"" >> "$work/list.qvl"
    done < "$source_dir/data/samples/sample-list.txt"
    WINEPATH="$(winpath "$build/bin")" "$wine" "$program" --unattended "$(winpath "$work/list.qvl")" \
        > "$work/run.log" 2>&1 || fail "the unattended run failed"
    for _ in $(seq 1 300); do
        [ -f "$work/journal.txt" ] && grep -q $'\texit\t' "$work/journal.txt" && break
        sleep 0.1
    done
    grep -q $'^0\texit\t-\t0 unmodelled=0$' "$work/journal.txt" 2>/dev/null ||
        { cp "$work/journal.txt" "$work/journal.log" 2>/dev/null; fail "the host did not run the list cleanly"; }
    for file in "A-101-rev2.dwg" "A-102-rev1.dwg" "S-201-rev3.dwg" "Site Plan.dwg" "M-301-rev1.dwg"; do
        grep -qF $'\tsaved\t'"$(winpath "$work/drawings")\\$file" "$work/journal.txt" || fail "$file was not saved"
    done
    # The routine database the program used is the shipped one, copied beside the settings.
    [ -f "$settings/Batch_Cad.dat" ] || fail "no routine database in $settings"
}

check_version() {
    local out
    # The C runtime ends text lines with CR LF.
    out=$("$wine" "$1" --version 2>"$work/version.log" | tr -d '\r') || fail "--version failed"
    [ "$out" = "Quorvel $version" ] || fail "--version printed: $out"
}

case $kind in
zip)
    "$cmake" --build "$build" --target package_zip > "$work/package.log" 2>&1 || fail "the zip was not made"
    zip=$build/Quorvel-$version-win64.zip
    [ -f "$zip" ] || fail "no $zip"
    mkdir -p "$work/unzipped" && unzip -q "$zip" -d "$work/unzipped" || fail "the zip does not unpack"
    folder=$work/unzipped/Quorvel-$version-win64
    for file in quorvel.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll libstdc++-6.dll \
                libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll platforms/qoffscreen.dll \
                styles/qwindowsvistastyle.dll defaults/Batch_Cad.dat help/Quorvel.html samples/sample-list.txt; do
        [ -f "$folder/$file" ] || fail "$file is not in the zip"
    done
    [ ! -e "$folder/Qt6Test.dll" ] || fail "the zip carries the test library"
    x86_64-w64-mingw32-objdump -h "$folder/quorvel.exe" | grep -q '\.debug' && fail "quorvel.exe is not stripped"
    check_version "$folder/quorvel.exe"
    # Portable: the settings and the routine database stay in the program folder.
    run_list "$folder/quorvel.exe" "$folder"
    ;;
installer)
    (cd "$work" && "$cpack" -G NSIS --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1) ||
        fail "cpack did not make the installer"
    setup=$work/out/Quorvel-$version-win64-setup.exe
    [ -f "$setup" ] || fail "no $(basename "$setup"): $(ls "$work/out")"
    "$wine" "$setup" /S > "$work/install.log" 2>&1 || fail "the silent install failed"
    wineserver --wait
    installed=$WINEPREFIX/drive_c/Program\ Files/Quorvel
    [ -f "$installed/bin/quorvel.exe" ] || fail "nothing installed in $installed"
    [ -f "$installed/bin/platforms/qwindows.dll" ] || fail "the windows platform is not installed"
    find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Quorvel.lnk' | grep -q . || fail "no Start-menu entry"
    # Machine-wide when installed for all users, the user's own otherwise.
    classes() { "$wine" reg query "HKLM\\Software\\Classes\\$1" 2>/dev/null; "$wine" reg query "HKCU\\Software\\Classes\\$1" 2>/dev/null; }
    classes .qvl > "$work/reg.log"
    grep -q Quorvel.DrawingList "$work/reg.log" || fail ".qvl does not open in Quorvel"
    classes 'Quorvel.DrawingList\shell\open\command' | grep -qi 'quorvel.exe' || fail "no open command for .qvl"
    check_version "$installed/bin/quorvel.exe"
    # Installed: every user keeps settings of their own under %APPDATA%\Quorvel, here in an accented name.
    run_list "$installed/bin/quorvel.exe" "$profile/AppData/Roaming/Quorvel"
    [ ! -e "$installed/bin/Quorvel.ini" ] || fail "settings were written into the program folder"
    "$wine" "$installed/Uninstall.exe" /S "_?=C:\\Program Files\\Quorvel" > "$work/uninstall.log" 2>&1 ||
        fail "the silent uninstall failed"
    wineserver --wait
    [ ! -e "$installed/bin/quorvel.exe" ] || fail "the uninstall left the program"
    ! classes Quorvel.DrawingList | grep -q '^HKEY' || fail "the uninstall left the .qvl association"
    ;;
*)
    fail "unknown kind $kind"
    ;;
esac
echo "windows_packages $kind: ok"
