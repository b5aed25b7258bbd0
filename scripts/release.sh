#!/usr/bin/env bash
# Builds the three downloads of a release into dist/, checks each, and prints a table of them:
#   quillorn_<version>_<arch>.deb   the Debian package (cpack), passed by lintian with no
#                                   error and no warning
#   quillorn-windows-x64.zip        quillorn.exe (scripts/package-windows.sh), importing only
#                                   Windows' own DLLs
#   quillorn-web.zip                the page, ready for any static host, within its gzipped budget
# The version is the project's (project(VERSION) in CMakeLists.txt); each download must show it.
# Linux builds in build-release/ (the release preset: no tests); the Windows and browser builds
# use their presets' folders and take their host tools from build-release/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/build_env.sh
release="$PWD/build-release" dist="$PWD/dist"
web_budget=1000000  # bytes, the page's files gzipped (-9) together; docs/performance.md
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p dist

fail() {
  echo "release: $*" >&2
  exit 1
}

echo "== Linux, and the Debian package"
cmake --preset release >/dev/null
cmake --build build-release -j"$jobs"
rm -rf "$release/deb"
cpack --config "$release/CPackConfig.cmake" -B "$release/deb" >/dev/null
deb=("$release"/deb/quillorn_*.deb)
[ ${#deb[@]} -eq 1 ] && [ -f "${deb[0]}" ] || fail "cpack made no single .deb"
version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$release/CPackConfig.cmake")"
[ "$(dpkg-deb -f "${deb[0]}" Version)" = "$version" ] || fail "the .deb is not version $version"
lintian --fail-on error,warning "${deb[0]}" || fail "lintian refuses ${deb[0]##*/}"
dpkg-deb --fsys-tarfile "${deb[0]}" | tar -xOf - --wildcards './usr/share/metainfo/*.xml' |
  grep -q "<release version=\"$version\"" || fail "the metainfo has no release $version"
[ "$("$release/quillorn" --version)" = "Quillorn $version" ] ||
  fail "quillorn --version is not $version"
rm -f dist/quillorn_*.deb
cp "${deb[0]}" dist/

echo "== Windows"
cmake --preset windows -DQUILLORN_HOST_BUILD="$release" >/dev/null
bash scripts/package-windows.sh >/dev/null
unzip -p dist/quillorn-windows-x64.zip quillorn.exe >"$work/quillorn.exe"
x86_64-w64-mingw32-objdump -f "$work/quillorn.exe" | grep -q 'file format pei-x86-64' ||
  fail "quillorn.exe is not a 64-bit Windows program"
# The DLLs every Windows 10 and 11 has; a MinGW runtime or SDL among the imports would make the
# zip useless without a DLL the player does not have.
windows_own='^(kernel32|user32|gdi32|winmm|msvcrt|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|imm32|shcore|version|dwmapi|uxtheme|setupapi|ws2_32|api-ms-win-.*)\.dll$'
imports="$(x86_64-w64-mingw32-objdump -p "$work/quillorn.exe" | sed -n 's/^\tDLL Name: //p')"
[ -n "$imports" ] || fail "quillorn.exe lists no imports"
foreign="$(tr 'A-Z' 'a-z' <<<"$imports" | grep -Ev "$windows_own" || true)"
[ -z "$foreign" ] || fail "quillorn.exe needs DLLs that Windows does not have: $foreign"

echo "== The page"
NODE_PATH=/usr/share/nodejs cmake --preset web -DQUILLORN_HOST_BUILD="$release" >/dev/null
NODE_PATH=/usr/share/nodejs cmake --build --preset web -j"$jobs"
page="$work/page"
cmake --install build-web --prefix "$page" >/dev/null
grep -qF "Quillorn $version" "$page/index.html" || fail "the page does not show version $version"
# Every file the page names by a relative address is in it.
for ref in $(grep -oE '(src|href)="[^"]+"' "$page/index.html" | sed 's/^[a-z]*="//; s/"$//' |
  grep -vE '^(data:|[a-z]+://|#|/)'); do
  [ -f "$page/${ref%%[?#]*}" ] || fail "index.html names $ref, which the page does not hold"
done
gzipped=0
for file in "$page"/*; do gzipped=$((gzipped + $(gzip -9c "$file" | wc -c))); done
[ "$gzipped" -le "$web_budget" ] || fail "the page is $gzipped bytes gzipped, over $web_budget"
rm -f dist/quillorn-web.zip
touch -d '2000-01-01 00:00:00' "$page"/*  # the same sources give the same zip
(cd "$page" && zip -q -X -r "$dist/quillorn-web.zip" .)

echo
echo "Quillorn $version, in dist/:"
printf '%-28s %10s  %s\n' File Bytes Checked
printf '%-28s %10s  %s\n' "${deb[0]##*/}" "$(stat -c %s "dist/${deb[0]##*/}")" \
  "lintian: no error, no warning"
printf '%-28s %10s  %s\n' quillorn-windows-x64.zip "$(stat -c %s dist/quillorn-windows-x64.zip)" \
  "imports: $(tr '\n' ' ' <<<"$imports")"
printf '%-28s %10s  %s\n' quillorn-web.zip "$(stat -c %s dist/quillorn-web.zip)" \
  "$gzipped bytes gzipped (budget $web_budget)"
