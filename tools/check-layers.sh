#!/usr/bin/env bash
# Fails when a source file includes a layer above its own, or when the plain C++ layers include Qt.
#
#   ui/, cli/  ->  app/  ->  output/  ->  engine/
#   platform/ (interfaces) beside and below them all; platform/qt/ implements it with Qt.
#
# The engine includes only itself and the fault catalogue (platform/Faults.h). Usage:
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

check src/engine 'engine/[^"]+|platform/Faults\.h'
check src/output 'output/[^"]+|engine/[^"]+|platform/[^/"]+'
check src/app 'app/[^"]+|output/[^"]+|engine/[^"]+|platform/[^/"]+|Version\.h'
check src/platform/qt 'platform/[^"]+'
for f in src/platform/*.h src/platform/*.cpp; do
  check "$f" 'platform/[^/"]+'
done
check cli '[A-Za-z]+\.h|app/[^"]+|output/[^"]+|engine/[^"]+|platform/[^"]+|Version\.h'
check src/ui 'ui/[^"]+|app/[^"]+|output/[^"]+|engine/[^"]+|platform/[^"]+|Version\.h'

# Engine, outputs and application logic are plain C++ without Qt.
qt=$(grep -rnE '#include <Q' src/engine src/output src/app src/platform/*.h src/platform/*.cpp || true)
if [ -n "$qt" ]; then
  echo "Qt in the plain C++ layers:"
  echo "$qt"
  status=1
fi

[ "$status" -eq 0 ] && echo "layers: every include points down"
exit "$status"
