#!/usr/bin/env bash
# Checks a built .deb without installing it: control fields, every file the
# desktop entry, the AppStream description, the icon name and the file type
# point at, the manual pages, licence and changelog, the hardening of the
# programs, and what lintian, desktop-file-validate and appstreamcli say.
#   check_deb.sh PACKAGE.deb
set -uo pipefail
deb=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(Tovu VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
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
# check_output DESCRIPTION COMMAND...: check, with what the command said.
check_output() {
  local what=$1
  shift
  if "$@" >"$work/tool.log" 2>&1; then pass "$what"; else fail "$what"; fi
  sed 's/^/    /' "$work/tool.log"
}
for tool in lintian desktop-file-validate appstreamcli hardening-check dpkg-parsechangelog groff xmllint \
  update-mime-database; do
  command -v "$tool" >/dev/null || fail "brak narzędzia $tool (scripts/deps: tovu_package_test_packages)"
done

echo "pakiet: $(basename "$deb")"

# Control fields.
check "nazwa pakietu to tovu" test "$(dpkg-deb -f "$deb" Package)" = tovu
check "wersja pakietu to $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
names() { tr ',|' '\n\n' | awk '{print $1}'; }
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 libqt6charts6 coinor-libclp1 qt6-translations-l10n \
  fonts-liberation libc6 libstdc++6; do
  check "zależność od $package" grep -qxF "$package" < <(names <<<"$depends")
done
# It holds only the VNC and touch plugins; the X platform is in libqt6gui6.
check "bez zależności od qt6-qpa-plugins" test -z "$(names <<<"$depends" | grep -xF qt6-qpa-plugins)"
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Recommends: $recommends"
check "poleca qt6-wayland" grep -qxF qt6-wayland < <(names <<<"$recommends")

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
  # Bookworm's dpkg-buildflags has no control-flow protection to give.
  check_output "$program ma flagi utwardzające Debiana" hardening-check --nocfprotection "$usr/bin/$program"
done

# Licence and changelog.
doc=$usr/share/doc/tovu
check "share/doc/tovu/copyright w formacie DEP-5" \
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
check "copyright podaje licencję MIT (Expat)" grep -qx 'License: Expat' "$doc/copyright"
licence_body() { sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE" | sed 's/^$/./' | tr -s ' \n' ' '; }
copyright_body() { sed -n '/^ Permission is hereby granted/,$p' "$doc/copyright" | sed 's/^ //' | tr -s ' \n' ' '; }
check "copyright przytacza LICENSE" test "$(licence_body)" = "$(copyright_body)"
check "share/doc/tovu/changelog.gz" test -f "$doc/changelog.gz"
if [ -f "$doc/changelog.gz" ]; then
  zcat "$doc/changelog.gz" >"$work/changelog"
  check "pierwszy wpis changelog to wersja $version" \
    test "$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>/dev/null)" = "$version"
fi

desktop=$usr/share/applications/tovu.desktop
metainfo=$usr/share/metainfo/org.example.tovu.metainfo.xml
mime_xml=$usr/share/mime/packages/tovu.xml
icons=$usr/share/icons/hicolor
check "share/applications/tovu.desktop" test -f "$desktop"
check "share/metainfo/org.example.tovu.metainfo.xml" test -f "$metainfo"
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

# The manual pages: Polish, in the Polish section only.
man_dir=$usr/share/man/pl/man1
check "strony podręcznika tylko w share/man/pl/man1" \
  test "$(cd "$usr/share/man" && find . -type f | sort | tr '\n' ' ')" = "./pl/man1/tovu-cli.1.gz ./pl/man1/tovu.1.gz "
for page in tovu tovu-cli; do
  if [ -f "$man_dir/$page.1.gz" ]; then
    zcat "$man_dir/$page.1.gz" >"$work/$page.1"
    LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z "$work/$page.1" 2>"$work/groff.err"
    check "groff składa stronę $page bez ostrzeżeń" test ! -s "$work/groff.err"
    cat "$work/groff.err"
  fi
done
if [ -f "$work/tovu-cli.1" ]; then
  for command in solve random render length '\-\-help' '\-\-version'; do
    check "strona tovu-cli opisuje ${command//\\/}" grep -qF -- "$command" "$work/tovu-cli.1"
  done
  for status in 0 1 2 130 143 129; do
    check "strona tovu-cli podaje kod wyjścia $status" grep -qx "\.B $status" "$work/tovu-cli.1"
  done
fi

# The desktop entry: valid, and each name in it resolves to an installed file.
if [ -f "$desktop" ]; then
  check_output "desktop-file-validate przyjmuje tovu.desktop" desktop-file-validate "$desktop"
  entry() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
  exec_line=$(entry Exec)
  check "Exec uruchamia plik jako tovu %f" test "$exec_line" = "tovu %f"
  check "program z Exec jest w usr/bin" test -x "$usr/bin/${exec_line%% *}"
  icon=$(entry Icon)
  check "ikona $icon jest w motywie hicolor" test -f "$icons/scalable/apps/$icon.svg" -a -f "$icons/48x48/apps/$icon.png"
  check "jedna kategoria główna: Education;Math;" test "$(entry Categories)" = "Education;Math;"
  check "nazwa Tovu" test "$(entry Name)" = Tovu
  mime_types=$(entry MimeType)
  check "MimeType podaje application/x-tovu" test "$mime_types" = "application/x-tovu;"
  IFS=';' read -r -a types <<<"$mime_types"
  for type in "${types[@]}"; do
    [ -n "$type" ] || continue
    check "typ $type jest opisany w tovu.xml" grep -q "<mime-type type=\"$type\">" "$mime_xml"
  done
fi

# The AppStream description: valid on its own and against the installed tree
# (its launchable is the desktop entry above), and of this version.
if [ -f "$metainfo" ]; then
  check_output "appstreamcli validate przyjmuje metainfo" appstreamcli validate --no-net --pedantic "$metainfo"
  check_output "appstreamcli validate-tree przyjmuje pakiet" appstreamcli validate-tree --no-net --pedantic "$root"
  check "metainfo uruchamia tovu.desktop" grep -qF '<launchable type="desktop-id">tovu.desktop</launchable>' "$metainfo"
  check "ostatnie wydanie w metainfo to $version" \
    test "$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1)" = "<release version=\"$version\""
fi

# The file type: shared-mime-info must accept it and map *.tvu to it.
if [ -f "$mime_xml" ]; then
  check "tovu.xml jest poprawnym XML" xmllint --noout "$mime_xml"
  mkdir -p "$work/mime/packages"
  cp "$mime_xml" "$work/mime/packages/"
  if update-mime-database "$work/mime" >"$work/mime.log" 2>&1; then
    check "*.tvu to application/x-tovu po update-mime-database" grep -q ':application/x-tovu:\*\.tvu' "$work/mime/globs2"
    check "typ ma polski opis" grep -q 'xml:lang="pl"' "$work/mime/application/x-tovu.xml"
  else
    cat "$work/mime.log"
    fail "update-mime-database przyjmuje tovu.xml"
  fi
fi

# Lintian, with the overrides the package carries (each explained there).
check_output "lintian: bez błędów i ostrzeżeń" lintian --fail-on error,warning --tag-display-limit 0 "$deb"

echo "sprawdzenia: $((checks - failures)) udanych, $failures nieudanych"
[ "$failures" -eq 0 ]
