#!/usr/bin/env bash
# Installs a built .deb with apt-get as a user would (dependencies and
# recommendations from the archive), runs the installed programs, then purges
# the package and every package the installation brought, and checks that the
# machine's package set is what it was. Needs root.
#   install_deb.sh PACKAGE.deb
set -uo pipefail
deb=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(Tovu VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
work=$(mktemp -d)
failures=0
checks=0

pass() { checks=$((checks + 1)); echo "ok: $*"; }
fail() { checks=$((checks + 1)); failures=$((failures + 1)); echo "BŁĄD: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 ~ /^[ih]i/ {print $2}' | sort; }

if [ "$(id -u)" -ne 0 ]; then
  echo "BŁĄD: instalacja pakietu wymaga roota"
  exit 1
fi
if dpkg-query -W -f='${Status}' tovu 2>/dev/null | grep -q installed; then
  echo "BŁĄD: tovu jest już zainstalowane; ta próba go nie nadpisze"
  exit 1
fi

installed_packages >"$work/before"
undo() {
  installed_packages >"$work/now"
  local added
  added=$(comm -13 "$work/before" "$work/now" | tr '\n' ' ')
  if [ -n "$added" ]; then
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 purge -y -qq $added >"$work/purge.log" 2>&1 || cat "$work/purge.log"
  fi
}
trap 'undo; rm -rf "$work"' EXIT

# The recommended packages come from the archive: its index must be current.
apt-get -o DPkg::Lock::Timeout=300 update -qq >"$work/update.log" 2>&1 || cat "$work/update.log"
if DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq "$deb" >"$work/install.log" 2>&1; then
  pass "apt-get install $(basename "$deb")"
else
  cat "$work/install.log"
  fail "apt-get install $(basename "$deb")"
  exit 1
fi
installed_packages >"$work/after"
echo "zainstalowane razem z tovu: $(comm -13 "$work/before" "$work/after" | grep -vx tovu | tr '\n' ' ')"

check "tovu --version bez ekranu" test "$(env -u DISPLAY -u WAYLAND_DISPLAY tovu --version)" = "Tovu $version"
check "tovu-cli --version" test "$(tovu-cli --version)" = "tovu-cli $version"
tovu-cli random 7 --seed 1234 -o "$work/seven.tvu" >/dev/null 2>&1
check "tovu-cli solve na wylosowanym zbiorze" grep -q '^Droga: ' <(tovu-cli solve "$work/seven.tvu")
check "okno startuje i działa (offscreen, 3 s)" \
  test "$(QT_QPA_PLATFORM=offscreen timeout 3 tovu "$work/seven.tvu" >/dev/null 2>&1; echo $?)" = 124
check "man znajduje polską stronę tovu" test "$(man -L pl -w tovu 2>/dev/null)" = /usr/share/man/pl/man1/tovu.1.gz
check "typ pliku zarejestrowany" grep -q 'application/x-tovu' /usr/share/mime/globs2
files=$(dpkg-query -L tovu)

undo
installed_packages >"$work/after-purge"
check "po usunięciu zestaw pakietów jak przed instalacją" cmp -s "$work/before" "$work/after-purge"
comm -3 "$work/before" "$work/after-purge"
left=$(while read -r path; do [ -f "$path" ] && echo "$path"; done <<<"$files")
check "po usunięciu nie zostaje żaden plik pakietu" test -z "$left"
[ -n "$left" ] && echo "$left"
status=$(dpkg-query -W -f='${Status}' tovu 2>/dev/null)
check "tovu usunięte ze wszystkim (stan: ${status:-brak})" test -z "${status%%*not-installed}"

echo "sprawdzenia: $((checks - failures)) udanych, $failures nieudanych"
[ "$failures" -eq 0 ]
