#!/usr/bin/env bash
# Makes the Windows setup program and the portable zip from a Windows build
# folder (cmake --preset windows, or the lumistra_windows step of a Linux build):
#   make_packages.sh BUILD_DIR OUT_DIR
# writes OUT_DIR/lumistra-<version>-setup.exe and
#        OUT_DIR/lumistra-<version>-windows-x64.zip
# The version is the project's, as CMake recorded it in BUILD_DIR.
# lumistra-cli.exe goes into both when the build has it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }
program=$build/src/app/win32/lumistra.exe
[ -f "$program" ] || { echo "$program is missing: build the Windows program first" >&2; exit 1; }
cli=$(find "$build/src" -name lumistra-cli.exe -print -quit)
for tool in makensis zip x86_64-w64-mingw32-strip; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

# What both packages hold, stripped of debugging symbols; text files with
# CR LF line ends for Notepad.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/lumistra.exe" "$program"
[ -z "$cli" ] || x86_64-w64-mingw32-strip -o "$stage/lumistra-cli.exe" "$cli"
sed 's/\r*$/\r/' "$source_dir/LICENSE" >"$stage/LICENSE"
sed -e "s/@VERSION@/$version/g" -e 's/\r*$/\r/' "$here/README.txt.in" >"$stage/README.txt"

setup=$out/lumistra-$version-setup.exe
cli_define=()
[ -z "$cli" ] || cli_define=("-DCLI_PROGRAM=$stage/lumistra-cli.exe")
makensis -V2 -NOCD \
  "-DVERSION=$version" "-DPROGRAM=$stage/lumistra.exe" "${cli_define[@]}" \
  "-DLICENSE_FILE=$stage/LICENSE" "-DICON=$source_dir/src/app/win32/lumistra.ico" \
  "-DOUTFILE=$setup" "$here/lumistra.nsi"

zip_file=$out/lumistra-$version-windows-x64.zip
rm -f "$zip_file"
(cd "$stage" && zip -q -X "$zip_file" lumistra.exe ${cli:+lumistra-cli.exe} LICENSE README.txt)
echo "$setup"
echo "$zip_file"
