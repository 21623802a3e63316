#!/usr/bin/env bash
# Takes the README's screenshots of the windowed program on the current X display (run it under
# xvfb-run): the main screen after the method screens, and the results screen of a sample basin.
# Usage: tools/screenshots.sh PROGRAM OUTPUT_DIR
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"
next="MethodText1.Command1,MethodText2.Command1,MethodText3.Command1"

# shot STEPS WINDOW_TITLE FILE: runs the program through STEPS, then photographs the window.
shot() {
  RH_TEST_PRESS="$1" "$program" &
  local pid=$!
  sleep 2
  timeout 20 import -window "$2" "$3"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

shot "$next" "Rational Method Hydrograph" "$out/main-screen.png"
shot "$next,MainMenu.Text2=10,MainMenu.Text3=2.5,MainMenu.Text4=100,MainMenu.Text5=.85,MainMenu.Text7=250,MainMenu.Command1" \
  "Orvane Engineering Company - Hydrograph Results" "$out/results-screen.png"
