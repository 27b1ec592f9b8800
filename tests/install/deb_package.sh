#!/usr/bin/env bash
# The Debian package made by CPack from the install rules: its control data, the exact list of files,
# a desktop entry whose program, icon and file type are all in the package, and a program that starts.
set -u
cpack=$1
build=$2
version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack did not build the package"; }
arch=$(dpkg --print-architecture)
deb=$work/out/quorvel_${version}-1_${arch}.deb
[ -f "$deb" ] || { ls "$work/out"; fail "no $(basename "$deb")"; }

# Control data.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quorvel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "${version}-1" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
maintainer='^[^<]+ <[^@>]+@[^>]+>$'
[[ "$(field Maintainer)" =~ $maintainer ]] || fail "Maintainer is '$(field Maintainer)'"
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "Description has no long text: $description"
depends=$(field Depends)
# Every Qt library the program links (libQt6Widgets.so.6 comes in libqt6widgets6) is declared, at
# least at a Qt 6 release.
root=$work/root
dpkg-deb --extract "$deb" "$root" || fail "dpkg-deb cannot unpack the package"
qt=$(readelf -d "$root/usr/bin/quorvel" | sed -n 's/.*Shared library: \[libQt6\([A-Za-z]*\)\.so\.6\]/libqt6\L\16/p')
for package in libqt6core6 libqt6gui6 libqt6widgets6; do
    grep -qx "$package" <<<"$qt" || fail "the program does not link $package: $qt"
done
for package in $qt; do
    [[ ", $depends," == *", $package (>= 6."* ]] || fail "Depends lacks $package (>= 6.x): $depends"
done
for package in libc6 libstdc++6; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] || fail "Depends lacks $package: $depends"
done

# The files, exactly: nothing from the build's tools or tests, nothing outside /usr.
dpkg-deb --contents "$deb" > "$work/contents" || fail "dpkg-deb cannot list the package"
awk '$1 !~ /^d/ { print substr($0, index($0, " ./") + 1) }' "$work/contents" | sort > "$work/files"
{
    echo ./usr/bin/quorvel
    echo ./usr/share/applications/quorvel.desktop
    echo ./usr/share/doc/quorvel/copyright
    for size in 16 22 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/quorvel.png"; done
    echo ./usr/share/icons/hicolor/scalable/apps/quorvel.svg
    echo ./usr/share/mime/packages/quorvel.xml
    echo ./usr/share/quorvel/defaults/Batch_Cad.dat
    echo ./usr/share/quorvel/help/Quorvel.html
    for sample in A-101-rev2.dwg A-102-rev1.dwg M-301-rev1.dwg S-201-rev3.dwg "Site Plan.dwg" sample-list.txt; do
        echo "./usr/share/quorvel/samples/$sample"
    done
} | sort > "$work/expected"
diff "$work/expected" "$work/files" || fail "the package's files differ from the list above (< expected, > packaged)"

# The desktop entry points at what the package holds.
desktop=$root/usr/share/applications/quorvel.desktop
entry() { sed -n "s/^$1=//p" "$desktop"; }
complaints=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$complaints" ] || fail "desktop-file-validate: $complaints"
[ -n "$(entry Comment)" ] && [[ "$(entry Categories)" == *Graphics\;* ]] || fail "no Comment, or not in Graphics"
read -r program argument <<<"$(entry Exec)"
[ -x "$root/usr/bin/$program" ] || fail "Exec names '$program', which the package does not hold"
[ "$argument" = "%f" ] || fail "Exec does not pass the opened file: '$(entry Exec)'"
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$(entry Icon).png" ] || fail "no ${size}px icon '$(entry Icon)'"
done
mime=$(entry MimeType)
[ "$mime" = "application/x-quorvel-list;" ] || fail "MimeType is '$mime'"
# The file type as the desktop's MIME database compiles it: *.qvl names the type the entry opens.
update-mime-database "$root/usr/share/mime" > /dev/null 2>&1 || fail "update-mime-database rejects quorvel.xml"
grep -qx "${mime%;}:\*\.qvl" "$root/usr/share/mime/globs" || fail "*.qvl is not ${mime%;}: $(cat "$root/usr/share/mime/globs")"

# The packaged (stripped) program starts: without a display and a list it explains itself.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/quorvel" 2>&1)
status=$?
[ "$status" -eq 2 ] && grep -q "needs a display" <<<"$out" || fail "the packaged program did not start: $status $out"
exit 0
