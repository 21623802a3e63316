#!/bin/sh
# Starts Rational Method Hydrograph from its program folder, where it keeps Setup.ini,
# LICENSE.txt and ORV.jpg.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/rational-hydrograph/rational-hydrograph" "$@"
