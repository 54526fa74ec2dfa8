#!/usr/bin/env bash
# The Debian package, checked without installing it: made by CPack from an
# optimised build of the programs alone (as scripts/package.sh makes it, so
# that dpkg-shlibdeps sees the binaries that ship), then its file list,
# control fields, desktop entry, AppStream metadata and file type are
# checked with the freedesktop validators, and the packed program runs.
# usage: deb_package_test.sh SOURCE_DIR WORK_DIR VERSION APP_ID CMAKE_GENERATOR
set -uo pipefail
source_dir=$1 work=$2 version=$3 app_id=$4 generator=$5
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The build: no tests, no benchmarks, no Windows cross build. Kept between
# runs, so a run after a small change rebuilds only that.
build=$work/build
cmake -S "$source_dir" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
  -DLUMISTRA_TESTS=OFF -DLUMISTRA_BENCHMARKS=OFF -DLUMISTRA_MINGW_CXX=OFF >/dev/null &&
  cmake --build "$build" -j2 >/dev/null &&
  (cd "$build" && rm -f ./*.deb && cpack -G DEB >/dev/null) || { echo "FAIL: building the package"; exit 1; }
deb=$build/lumistra_${version}_amd64.deb
[[ -f $deb ]] || { echo "FAIL: no $deb"; exit 1; }

# The files, by the freedesktop conventions and Debian's policy.
files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $NF }')
for expected in \
  ./usr/bin/lumistra \
  ./usr/bin/lumistra-cli \
  ./usr/share/man/man1/lumistra-cli.1.gz \
  "./usr/share/applications/$app_id.desktop" \
  ./usr/share/mime/packages/lumistra.xml \
  "./usr/share/metainfo/$app_id.metainfo.xml" \
  ./usr/share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/lumistra.png \
  ./usr/share/man/man1/lumistra.1.gz \
  ./usr/share/doc/lumistra/copyright \
  ./usr/share/doc/lumistra/changelog.gz; do
  grep -qxF "$expected" <<<"$files" || fail "the package lacks $expected"
done
outside=$(grep -v '^\./usr/\(bin\|share\)/' <<<"$files")
[[ -n $outside ]] && fail "files outside /usr/bin and /usr/share: $outside"

# The control fields: the version from CMake, Depends computed from the
# binary, which names Qt 6's libraries.
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == lumistra ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Architecture) == amd64 ]] || fail "Architecture: $(field Architecture)"
for library in libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ $(field Depends) == *"$library "* ]] || fail "Depends lacks $library: $(field Depends)"
done
[[ $(field Depends) == *asan* ]] && fail "Depends names a sanitizer: $(field Depends)"

root=$work/extracted
rm -rf "$root" && dpkg-deb --extract "$deb" "$root"

# The desktop entry and the metadata, as their validators see them.
desktop=$root/usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses the desktop entry"
grep -qx 'Exec=lumistra %f' "$desktop" || fail "the desktop entry does not start lumistra with the file"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
  fail "appstreamcli refuses the metadata: $(appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml")"

# The file types: a MIME database made from the package's file alone. The
# globs carry no case-sensitive flag, so "LAMP.IES" matches too; the
# desktop entry declares every type.
types=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/usr/share/mime/packages/lumistra.xml")
ies_type=$(head -n 1 <<<"$types")
mime=$work/mime
rm -rf "$mime" && mkdir -p "$mime/packages" && cp "$root/usr/share/mime/packages/lumistra.xml" "$mime/packages/"
update-mime-database "$mime" || fail "update-mime-database refuses the file types"
grep -qxF "50:$ies_type:*.ies" "$mime/globs2" || fail "no *.ies glob for $ies_type: $(cat "$mime/globs2")"
grep -qa 'IESNA' "$mime/magic" || fail "no IESNA magic for $ies_type"
for type in $types; do
  grep -q "^MimeType=\(.*;\)\?$type;" "$desktop" || fail "the desktop entry does not declare $type"
done

# The packed program answers without a display.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/lumistra" --version 2>&1)
[[ $out == "lumistra $version" ]] || fail "usr/bin/lumistra --version said: $out"

((failures == 0)) && echo "The package $(basename "$deb") passed its checks."
exit $((failures > 0))
