#!/usr/bin/env bash
# Runs Tovu's programs under strace, collects every file they load (shared
# libraries and Qt plugins mapped executable, data files mapped at all: fonts,
# translations, locales), finds the Debian package of each, and fails naming
# every package that scripts/deps neither lists nor reaches through the
# dependencies of what it lists. What the font configuration maps itself is
# left out: with its cache out of date (fonts just installed) it opens every
# font and font-like file on the machine to describe it, which the programs
# do not need; the fonts they draw with are mapped by Qt.
#   check_loaded_packages.sh [--fonts-uncached] SOURCE_DIR PROGRAM...
# PROGRAM is tovu-cli, tovu or a window test program (ui_test_*), by path.
# --fonts-uncached runs them as on a machine whose fonts came after the font
# cache and where no cache may be written: the font configuration then scans
# every font at every start, and the check must stay green all the same.
set -uo pipefail
uncached=0
if [ "$1" = --fonts-uncached ]; then
  uncached=1
  shift
fi
source_dir=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $uncached -eq 1 ]; then
  # The system's configuration, its relative include made absolute, with a
  # cache folder that cannot exist.
  if ! sed -e '/<cachedir/d' -e 's|>conf\.d</include>|>/etc/fonts/conf.d</include>|' \
    -e 's|</fontconfig>|<cachedir>/proc/tovu-no-font-cache</cachedir></fontconfig>|' /etc/fonts/fonts.conf \
    >"$work/fonts.conf"; then
    echo "BŁĄD: brak /etc/fonts/fonts.conf"
    exit 1
  fi
  export FONTCONFIG_FILE=$work/fonts.conf
fi

if ! command -v strace >/dev/null; then
  echo "BŁĄD: brak strace (scripts/deps: tovu_test_packages)"
  exit 1
fi
# shellcheck source=../../scripts/deps
source "$source_dir/scripts/deps"
set +e

runs=0
# run NAME [ENV=VALUE | -u NAME | WRAPPER...] -- PROGRAM ARGS...: one run of
# PROGRAM, traced with its children; what comes before -- is not traced.
run() {
  local name=$1
  shift
  local outside=()
  while [ "$1" != -- ]; do
    outside+=("$1")
    shift
  done
  shift
  runs=$((runs + 1))
  # -k: who mapped each file; -ff: a file for each process, so that a
  # mapping and its call stack stay together.
  env "${outside[@]}" strace -ff -k -qq -y --seccomp-bpf -e trace=mmap -e status=successful \
    -o "$work/trace.$runs" "$@" >"$work/out.$runs" 2>&1
  echo "uruchomiono: $name (kod wyjścia $?)"
}

if ! strace -k -qq -e trace=none -o /dev/null true 2>/dev/null; then
  echo "BŁĄD: strace bez śladu stosu (-k); potrzebny strace z Debiana"
  exit 1
fi

sample=$source_dir/examples/sample.tvu
# Once untraced, so that the font configuration's cache is up to date (it
# writes it where it may) as after a user's first start, and the traced runs
# are not slowed down by its scanning.
for program in "$@"; do
  case $(basename "$program") in
    tovu-cli) ;;
    tovu) QT_QPA_PLATFORM=offscreen timeout 10 "$program" "$sample" >/dev/null 2>&1 ;;
    *) QT_QPA_PLATFORM=offscreen "$program" >/dev/null 2>&1 ;;
  esac
done
for program in "$@"; do
  case $(basename "$program") in
    tovu-cli)
      run "tovu-cli solve" LC_ALL=pl_PL.UTF-8 -- "$program" solve "$sample" --json
      run "tovu-cli render" LC_ALL=pl_PL.UTF-8 -- "$program" render "$sample" -o "$work/map.png"
      # A page with the points' numbers: the PDF writer, type, Qt's platform without a display.
      run "tovu-cli render pdf" LC_ALL=pl_PL.UTF-8 -- "$program" render "$sample" -o "$work/map.pdf" --numbers
      run "tovu-cli: brak pliku" LC_ALL=pl_PL.UTF-8 -- "$program" solve "$work/none.tvu"
      ;;
    tovu)
      run "tovu --help" -u DISPLAY -- "$program" --help
      # The window stays open until it is ended; what it shows by then has
      # loaded what it needs.
      run "tovu (offscreen)" QT_QPA_PLATFORM=offscreen -- timeout 10 "$program" "$sample"
      if command -v xvfb-run >/dev/null; then
        run "tovu (X)" -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24" -- timeout 10 "$program" "$sample"
      fi
      ;;
    *)
      run "$(basename "$program")" QT_QPA_PLATFORM=offscreen -- "$program"
      ;;
  esac
done

# A shared object counts once the loader maps it executable (Qt only reads
# the plugins it does not load); any other file counts once it is mapped,
# unless the font configuration mapped it (its call stack, the lines " > "
# after the mapping, passes through libfontconfig).
for trace in "$work"/trace.*; do
  awk '
    function take() {
      if (mapping != "" && !byFontconfig && match(mapping, /<\/[^>]*>/)) {
        path = substr(mapping, RSTART + 1, RLENGTH - 2)
        if (path !~ /\.so(\.[0-9.]+)?$/ || mapping ~ /PROT_EXEC/)
          print path
      }
      mapping = ""
    }
    /^ > / { if (index($0, "/libfontconfig.so")) byFontconfig = 1; next }
    { take(); mapping = $0; byFontconfig = 0 }
    END { take() }' "$trace"
done 2>/dev/null | sort -u >"$work/loaded"
if [ ! -s "$work/loaded" ]; then
  echo "BŁĄD: strace nie zapisał żadnego wczytanego pliku"
  exit 1
fi

# Owner of each file, asked for all at once (each question reads the whole
# package database). The loader names /usr/lib/... where some packages still
# list /lib/... (the merged /usr), so what stays unowned is asked again so.
while read -r path; do
  [ -f "$path" ] || continue
  case $path in "$source_dir"/* | /tmp/*) continue ;; esac
  echo "$path"
done <"$work/loaded" >"$work/files"
owners_of() {  # owners_of FILE_LIST: "package path" lines
  [ -s "$1" ] || return 0
  xargs -d '\n' dpkg-query -S <"$1" 2>/dev/null | grep -v '^diversion' | awk -F': ' '{
    n = split($1, packages, ", ")
    for (i = 1; i <= n; i++) { sub(/:.*/, "", packages[i]); print packages[i], $2 }
  }'
}
owners_of "$work/files" >"$work/owners"
cut -d' ' -f2 "$work/owners" | sort -u >"$work/owned"
sort -u "$work/files" | comm -23 - "$work/owned" | grep '^/usr/' | sed 's|^/usr||' >"$work/unmerged"
owners_of "$work/unmerged" | awk '{print $1, "/usr" $2}' >>"$work/owners"
cut -d' ' -f2 "$work/owners" | sort -u >"$work/owned"
sort -u "$work/files" | comm -23 - "$work/owned" >"$work/unowned"

# What scripts/deps brings: its lists, everything they depend on (as
# installed, recursively), and the packages every Debian system has.
{
  printf '%s\n' "${tovu_packages[@]}"
  apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "${tovu_packages[@]}" 2>/dev/null | grep -v '^ ' | sed 's/:.*//'
  dpkg-query -W -f='${Package} ${Essential}\n' | awk '$2 == "yes" {print $1}'
} | sort -u >"$work/allowed"

echo "wczytane pliki: $(wc -l <"$work/owners") z pakietów: $(cut -d' ' -f1 "$work/owners" | sort -u | tr '\n' ' ')"
if [ -s "$work/unowned" ]; then
  echo "pliki spoza pakietów (pominięte): $(tr '\n' ' ' <"$work/unowned")"
fi
failures=0
for package in $(cut -d' ' -f1 "$work/owners" | sort -u); do
  if ! grep -qxF "$package" "$work/allowed"; then
    failures=$((failures + 1))
    echo "BŁĄD: pakiet $package nie wynika z scripts/deps, a programy wczytują z niego:"
    awk -v p="$package" '$1 == p {print "  " $2}' "$work/owners"
  fi
done
echo "programy wczytują pliki z $(cut -d' ' -f1 "$work/owners" | sort -u | wc -l) pakietów, spoza scripts/deps: $failures"
[ "$failures" -eq 0 ]
