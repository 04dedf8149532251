#!/usr/bin/env bash
# The layers' rule of who may include whom, checked on every source:
#   src/core     includes only the standard library and src/core
#   src/search   and src/raster include only src/core and themselves;
#                src/search/pace (pacing, outcome) only src/core and itself,
#                and only src/search/run (the runner, at the top) includes it
#                from above: no method includes src/search/run
#   src/picture  includes src/core, src/raster and itself (and Qt)
#   src/cli      never includes src/ui
#   nothing in src/core, src/search or src/raster includes Qt
#   the map window does not include the main window
#   src/ui has no include circle (a file pair counts as one: x.h and x.cpp)
#   src/ui's views (what shows: windows, lists, tables, tabs, the map's
#   picture) include no controller (what acts on commands and input)
# Prints every line that breaks it and fails when there is one.
set -u
src=${1:?usage: check_includes.sh SRC_FOLDER}
cd "$src" || exit 2
status=0
break_rule() { echo "$1: $2"; status=1; }

# What each folder's own quoted includes may name, as a pattern of the path.
allowed_for() {
  case $1 in
    core) echo '^(core/|version\.h$)' ;;
    search) echo '^(core/|search/)' ;;
    raster) echo '^(core/|raster/)' ;;
    picture) echo '^(core/|raster/|picture/)' ;;
    cli) echo '^(core/|search/|raster/|picture/|cli/|version\.h$)' ;;
    *) echo '.' ;;
  esac
}

while IFS= read -r -d '' file; do
  layer=${file%%/*}
  allowed=$(allowed_for "$layer")
  while IFS= read -r line; do
    number=${line%%:*}
    text=${line#*:}
    if [[ $text =~ \#include[[:space:]]*\"([^\"]+)\" ]]; then
      target=${BASH_REMATCH[1]}
      [[ $target =~ $allowed ]] || break_rule "$file:$number" "$layer may not include \"$target\""
    elif [[ $text =~ \#include[[:space:]]*\<(Q[A-Za-z]+|qt[a-z]*/?)[^\>]*\> ]]; then
      case $layer in core|search|raster) break_rule "$file:$number" "$layer may not include Qt (${BASH_REMATCH[0]})" ;; esac
    fi
  done < <(grep -n '#include' "$file")
done < <(find core search raster picture cli ui \( -name '*.h' -o -name '*.cpp' \) -print0)

# The search's rooms: the pacer and the outcome at the bottom, the runner at
# the top.
while IFS= read -r hit; do
  break_rule "${hit%%:*}:$(echo "$hit" | cut -d: -f2)" "the pace room may include only src/core and itself"
done < <(grep -n '#include "search/' search/pace/*.h search/pace/*.cpp 2>/dev/null | grep -v '#include "search/pace/')
while IFS= read -r hit; do
  break_rule "${hit%%:*}:$(echo "$hit" | cut -d: -f2)" "a search method may not include the runner (src/search/run)"
done < <(grep -rn '#include "search/run/' search --include='*.h' --include='*.cpp' | grep -v '^search/run/')

# The map window reports sizes and presses by signals; it knows no main window.
if hits=$(grep -n '#include "ui/main_form' ui/map_window.h ui/map_window.cpp 2>/dev/null); then
  break_rule "$hits" "the map window may not include the main window"
fi
# The window's own include circles: every file pair is one node, and tsort
# names a circle when there is one.
ui_edges=$(for file in ui/*.h ui/*.cpp; do
  from=$(basename "${file%.*}")
  grep -ho '#include "ui/[a-z_]*\.h"' "$file" | sed 's|#include "ui/||; s|\.h"||' |
    while read -r to; do [ "$to" != "$from" ] && echo "$from $to"; done
done | sort -u)
circle=$(echo "$ui_edges" | tsort 2>&1 >/dev/null)
[ -n "$circle" ] && break_rule "ui" "an include circle: $(echo "$circle" | tr '\n' ' ')"

# Views show and report; they never reach the controllers that act.
ui_views='about_box anchors compare_tab distance_grid distance_model map_hits map_painter map_window picture_size_dialog point_list result_list run_chart run_table search_tab spin_edit status_bar'
ui_controllers='edit_commands export_command file_commands help_commands live_route main_form map_controller map_placement route_files run_compare search_runs'
for view in $ui_views; do
  for controller in $ui_controllers; do
    if hits=$(grep -n "#include \"ui/$controller\.h\"" "ui/$view.h" "ui/$view.cpp" 2>/dev/null); then
      break_rule "$hits" "a view may not include a controller"
    fi
  done
done

[ $status -eq 0 ] && echo "include rules: kept"
exit $status
