#!/usr/bin/env bash
# The setup program as a user meets it, under Wine on an X display: made from
# the Windows build, run silently into the tests' Wine prefix, it installs the
# program, its shortcut, its Apps & features entry and the .ies association;
# a corpus file opened through that association shows its curve; the silent
# uninstall leaves nothing of it behind. Where .ies already has a default
# program, the setup keeps it and the uninstall does not take it away.
#   setup_test.sh WINE PREFIX WINDOWS_BUILD_DIR CLOSE_WINDOW_EXE IES_FILE OUTPUT_FOLDER MAKE_PACKAGES
# Leaves the packages and a screenshot in OUTPUT_FOLDER.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wine=$1 prefix=$2 build=$3 closer=$4 ies_file=$5 out=$6 make_packages=$7
mkdir -p "$out"
run() { "$here/wine_run.sh" "$wine" "$prefix" "$@"; }
settle() { WINEPREFIX=$prefix "${wine%64}server" -w 2>/dev/null || WINEPREFIX=$prefix wineserver -w; }
fail() {
  echo "FAIL: $*"
  exit 1
}

"$make_packages" "$build" "$out" >/dev/null
setup=$(ls "$out"/lumistra-*-setup.exe)
zip_file=$(ls "$out"/lumistra-*-windows-x64.zip)
listing=$(unzip -Z1 "$zip_file")
for name in lumistra.exe LICENSE README.txt; do
  grep -qx "$name" <<<"$listing" || fail "the zip lacks $name"
done

folder="$prefix/drive_c/Program Files/Lumistra"
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Lumistra.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumistra'
progid='HKCR\Lumistra.IesFile'

# A registry value's data, or nothing when the key or the value is missing.
value() {
  local args=("$1" /ve)
  [ -z "${2:-}" ] || args=("$1" /v "$2")
  run reg query "${args[@]}" 2>/dev/null | tr -d '\r' |
    sed -n 's/^    \(.*\)    REG_[A-Z_]*    \{0,1\}\(.*\)$/\2/p' | head -1
}
# Whether a key (or one value of it) is there.
has_key() { run reg query "$1" ${2:+/v "$2"} >/dev/null 2>&1; }
install() { run "$setup" /S; settle; }
uninstall() { run "$folder/uninstall.exe" /S; settle; }

# --- A prefix where .ies has no default program yet
run reg delete 'HKCR\.ies' /f >/dev/null 2>&1 || true
install
for name in lumistra.exe LICENSE uninstall.exe; do
  [ -f "$folder/$name" ] || fail "$name is not installed"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
[ "$(value "$uninstall_key" DisplayName)" = Lumistra ] || fail "no Apps & features entry"
for name in DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString; do
  [ -n "$(value "$uninstall_key" "$name")" ] || fail "the Apps & features entry lacks $name"
done
[ "$(value "$uninstall_key" QuietUninstallString)" = '"C:\Program Files\Lumistra\uninstall.exe" /S' ] ||
  fail "quiet uninstall: $(value "$uninstall_key" QuietUninstallString)"
[ "$(value 'HKCR\.ies')" = Lumistra.IesFile ] || fail ".ies does not open in Lumistra"
has_key 'HKCR\.ies\OpenWithProgids' Lumistra.IesFile || fail ".ies does not list Lumistra under OpenWithProgids"
[ "$(value "$progid\\shell\\open\\command")" = '"C:\Program Files\Lumistra\lumistra.exe" "%1"' ] ||
  fail "open command: $(value "$progid\\shell\\open\\command")"
[ "$(value "$progid\\DefaultIcon")" = 'C:\Program Files\Lumistra\lumistra.exe,-107' ] || fail "no icon 107"
echo "installed: files, shortcut, Apps & features entry, .ies association"

# A corpus file opened as a double-click does: through the association.
run start /unix "$ies_file"
window=$(timeout 60 xdotool search --sync --onlyvisible --name 'Lumistra$' | head -1) || fail "no window appeared"
sleep 1.5
import -window root "$out/opened.png"
green=$(convert "$out/opened.png" -crop 360x260+220+190 +repage -fx 'g>0.5 && r<0.3 && b<0.3' \
  -format '%[fx:round(mean*w*h)]' info:)
echo "green pixels of the opened curve: $green"
run "$closer" "$(basename "$ies_file") - Lumistra" || fail "the title does not name the opened file"
settle
[ "$green" -gt 100 ] || fail "the opened file's curve is not shown"

uninstall
[ ! -e "$folder" ] || fail "the program folder is left: $(ls "$folder")"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
! has_key "$uninstall_key" || fail "the Apps & features entry is left"
! has_key "$progid" || fail "the ProgID is left"
! has_key 'HKCR\.ies' || fail "the .ies key is left"
echo "uninstalled: nothing left"

# --- A prefix where .ies already opens in another program
run reg add 'HKCR\.ies' /ve /d Other.IesFile /f >/dev/null
install
[ "$(value 'HKCR\.ies')" = Other.IesFile ] || fail "the setup took the default from another program"
has_key 'HKCR\.ies\OpenWithProgids' Lumistra.IesFile || fail "Lumistra is not offered under OpenWithProgids"
uninstall
[ "$(value 'HKCR\.ies')" = Other.IesFile ] || fail "the uninstall took another program's default"
! has_key 'HKCR\.ies\OpenWithProgids' || fail "OpenWithProgids is left"
run reg delete 'HKCR\.ies' /f >/dev/null
echo "another program's default kept"
