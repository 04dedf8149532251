#!/usr/bin/env bash
# Packs the build folder into a .deb in a temporary folder, unpacks it into a
# temporary root and checks that every file the desktop entry, the icon name
# and the file type point at is really there.
#   check_deb.sh BUILD_DIR VERSION
set -uo pipefail
build_dir=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0

pass() { checks=$((checks + 1)); echo "ok: $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "BŁĄD: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

if [ ! -f "$build_dir/CPackConfig.cmake" ]; then
  echo "BŁĄD: brak $build_dir/CPackConfig.cmake (cmake/Install.cmake nie jest dołączony)"
  exit 1
fi
if ! cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "BŁĄD: cpack nie zbudował pakietu"
  exit 1
fi
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "BŁĄD: oczekiwano jednego pliku .deb, jest: ${debs[*]}"
  exit 1
fi
deb=${debs[0]}
echo "pakiet: $(basename "$deb")"

# Control fields.
check "nazwa pakietu to tovu" test "$(dpkg-deb -f "$deb" Package)" = tovu
check "wersja pakietu to $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Package names alone, without versions and alternatives' bars.
depends_names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libqt6svg6 libc6 libstdc++6; do
  check "zależność od $package" grep -qxF "$package" <<<"$depends_names"
done

root=$work/root
dpkg -x "$deb" "$root"
usr=$root/usr

# Everything lands under /usr/bin and /usr/share: no headers, static
# libraries or test programs slipped into the package.
stray=$(cd "$root" && find . -type f ! -path './usr/bin/*' ! -path './usr/share/*')
check "pakiet zawiera tylko pliki w /usr/bin i /usr/share" test -z "$stray"
[ -n "$stray" ] && echo "$stray"

for program in tovu tovu-cli; do
  check "usr/bin/$program jest programem" test -f "$usr/bin/$program" -a -x "$usr/bin/$program"
done

desktop=$usr/share/applications/tovu.desktop
mime_xml=$usr/share/mime/packages/tovu.xml
icons=$usr/share/icons/hicolor
check "share/applications/tovu.desktop" test -f "$desktop"
check "share/mime/packages/tovu.xml" test -f "$mime_xml"
check "share/icons/hicolor/scalable/apps/tovu.svg" test -f "$icons/scalable/apps/tovu.svg"

# Width and height from the PNG header (bytes 16 to 23, big-endian).
png_size() {
  local bytes
  read -r -a bytes < <(od -An -tu1 -j16 -N8 "$1")
  [ ${#bytes[@]} -eq 8 ] || return 1
  echo "$(( (bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3] ))x$(( (bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7] ))"
}
png_signature_ok() {
  [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ]
}
for size_px in 16 32 48 64 128 256; do
  png=$icons/${size_px}x${size_px}/apps/tovu.png
  if [ -f "$png" ] && png_signature_ok "$png"; then
    check "ikona ${size_px}x${size_px} ma ${size_px}x${size_px} pikseli" test "$(png_size "$png")" = "${size_px}x${size_px}"
  else
    fail "ikona PNG ${size_px}x${size_px} ($png)"
  fi
done

man_page=""
for candidate in "$usr/share/man/man1/tovu-cli.1.gz" "$usr/share/man/man1/tovu-cli.1"; do
  [ -f "$candidate" ] && man_page=$candidate
done
check "share/man/man1/tovu-cli.1(.gz)" test -n "$man_page"
if [ -n "$man_page" ]; then
  zcat -f "$man_page" >"$work/tovu-cli.1"
  for command in solve random render length '\-\-help' '\-\-version'; do
    check "strona tovu-cli opisuje ${command//\\/}" grep -qF -- "$command" "$work/tovu-cli.1"
  done
  for status in 0 1 2 130; do
    check "strona tovu-cli podaje kod wyjścia $status" grep -qx "\.B $status" "$work/tovu-cli.1"
  done
  if command -v groff >/dev/null; then
    LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z "$work/tovu-cli.1" 2>"$work/groff.err"
    check "groff składa stronę tovu-cli bez ostrzeżeń" test ! -s "$work/groff.err"
    cat "$work/groff.err"
  fi
fi

# The desktop entry: valid, and each name in it resolves to an installed file.
if [ -f "$desktop" ]; then
  if command -v desktop-file-validate >/dev/null; then
    check "desktop-file-validate przyjmuje tovu.desktop" desktop-file-validate "$desktop"
  else
    echo "pominięto: desktop-file-validate (pakiet desktop-file-utils) nie jest zainstalowany"
  fi
  entry() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
  exec_line=$(entry Exec)
  check "Exec uruchamia plik jako tovu %f" test "$exec_line" = "tovu %f"
  check "program z Exec jest w usr/bin" test -x "$usr/bin/${exec_line%% *}"
  icon=$(entry Icon)
  check "ikona $icon jest w motywie hicolor" test -f "$icons/scalable/apps/$icon.svg" -a -f "$icons/48x48/apps/$icon.png"
  check "kategorie Education;Science;Math;" test "$(entry Categories)" = "Education;Science;Math;"
  check "nazwa Tovu" test "$(entry Name)" = Tovu
  mime_types=$(entry MimeType)
  check "MimeType podaje application/x-tovu" test "$mime_types" = "application/x-tovu;"
  IFS=';' read -r -a types <<<"$mime_types"
  for type in "${types[@]}"; do
    [ -n "$type" ] || continue
    check "typ $type jest opisany w tovu.xml" grep -q "<mime-type type=\"$type\">" "$mime_xml"
  done
fi

# The file type: shared-mime-info must accept it and map *.tvu to it.
if [ -f "$mime_xml" ]; then
  if command -v xmllint >/dev/null; then
    check "tovu.xml jest poprawnym XML" xmllint --noout "$mime_xml"
  fi
  if command -v update-mime-database >/dev/null; then
    mkdir -p "$work/mime/packages"
    cp "$mime_xml" "$work/mime/packages/"
    if update-mime-database "$work/mime" >"$work/mime.log" 2>&1; then
      check "*.tvu to application/x-tovu po update-mime-database" grep -q ':application/x-tovu:\*\.tvu' "$work/mime/globs2"
      check "typ ma polski opis" grep -q 'xml:lang="pl"' "$work/mime/application/x-tovu.xml"
    else
      cat "$work/mime.log"
      fail "update-mime-database przyjmuje tovu.xml"
    fi
  else
    check "tovu.xml wiąże *.tvu z application/x-tovu" grep -q '<glob pattern="\*\.tvu"/>' "$mime_xml"
  fi
fi

echo "sprawdzenia: $((checks - failures)) udanych, $failures nieudanych"
[ "$failures" -eq 0 ]
