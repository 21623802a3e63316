#!/usr/bin/env bash
# Fails when a source file includes a layer above its own, or when the plain C++ layers include Qt.
#
#   ui/, cli/  ->  app/  ->  output/  ->  engine/  ->  core/
#   platform/ (interfaces) beside and below them all, above core/; platform/qt/ implements it
#   with Qt, platform/windows/ with the Windows API.
#
# core/ holds what every layer may include: the fault catalogue (core/Faults.h, the faults, every
# message, the figures in their words and the half-up rounding), the number forms with the unit
# words (core/NumberForms.h), and the quoting of shown text. The engine includes only itself and the
# fault catalogue. Usage:
# tools/check-layers.sh [REPOSITORY]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

status=0
# check FOLDER ALLOWED-PATTERN: every project include of FOLDER's files must match the pattern.
check() {
  local folder=$1 allowed=$2
  local bad
  bad=$(grep -rnoE '#include "[^"]+"' --include='*.h' --include='*.cpp' "$folder" |
    grep -vE "#include \"($allowed)\"" || true)
  if [ -n "$bad" ]; then
    echo "Forbidden includes in $folder (allowed: $allowed):"
    echo "$bad"
    status=1
  fi
}

check src/core 'core/[^"]+'
check src/engine 'engine/[^"]+|core/Faults\.h'
check src/output 'output/[^"]+|engine/[^"]+|platform/[^/"]+|core/[^"]+'
check src/app 'app/[^"]+|output/[^"]+|engine/[^"]+|platform/[^/"]+|core/[^"]+|Version\.h'
check src/platform/qt 'platform/[^"]+|core/[^"]+'
check src/platform/windows 'platform/[^/"]+|platform/windows/[^"]+|core/[^"]+'
for f in src/platform/*.h src/platform/*.cpp; do
  check "$f" 'platform/[^/"]+|core/[^"]+'
done
# The companion's front end handles arguments and routes them: it reaches the work through app/ and
# builds the plain platform services, never the renderers, the engine or Qt.
check cli '[A-Za-z]+\.h|app/[^"]+|platform/[^/"]+|core/[^"]+|Version\.h'
# Screens show what app/ and the renderers give them; the arithmetic stays below.
check src/ui 'ui/[^"]+|app/[^"]+|output/[^"]+|platform/[^"]+|core/[^"]+|Version\.h'
# The browser page's binding carries data between the page and app/ with its renderers.
check web '[A-Za-z]+\.h|app/[^"]+|output/[^"]+|platform/[^/"]+|core/[^"]+'

# Engine, outputs, application logic, the Windows platform and the browser page's binding are plain
# C++ without Qt.
qt=$(grep -rnE '#include <Q' src/core src/engine src/output src/app src/platform/*.h src/platform/*.cpp \
  src/platform/windows web || true)
if [ -n "$qt" ]; then
  echo "Qt in the plain C++ layers:"
  echo "$qt"
  status=1
fi

[ "$status" -eq 0 ] && echo "layers: every include points down"
exit "$status"
