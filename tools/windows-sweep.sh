#!/usr/bin/env bash
# The Windows companion beside the Linux one: every command of the list below runs through both
# (the .exe under wine), and every output must be the same once CR LF is turned into LF: standard
# output and error, the exit status and each file written (the HEC-1 decks' "KM RUN DATE" line
# aside, which follows each host's short date form). Windows' own line ends are checked too: its
# standard output and listing files end every line in CR LF. Study PDFs are compared byte for byte
# once their dates are blanked: the printed date (each host's short date form, with its place on
# the line and the streams' lengths and offsets that follow from it) and the document's dates.
#
#   tools/windows-sweep.sh [LINUX_CLI] [WINDOWS_EXE]
#
# Defaults: build/cli/rational-hydrograph-cli and build-windows/rational-hydrograph-cli.exe
# (./dev.sh test and ./dev.sh windows build them). Installs Debian's wine when it is missing. Needs
# no display: wine runs in a prefix of its own in a temporary folder, started once for the whole
# list (one cmd.exe runs every command from a batch file).
set -euo pipefail
cd "$(dirname "$0")/.."

# The commands, one a line: a name (also the command's own working folder), then the arguments as
# a shell would split them. In arguments:
#   @IN@    the folder of the inputs (tests/data's rainfall and pond tables, the basin tables below)
#   @OUT@   the command's own folder, spelled on Windows with its drive and backslashes (Z:\...)
#   @OUTF@  the same with forward slashes on Windows (Z:/...)
# Relative paths are taken from the command's folder, with forward slashes on both hosts. A chart
# names its rainfall or pond table by the path as typed, so commands with charts name them alike.
COMMANDS=$(
  cat <<'EOF'
listing       --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250
csv           --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --csv
check         --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --check
odd-entries   --tc " 12.4min" --rain 2.5in --area 3.75 --coef .9 --peak 18.2 --check
deck          --tc 15 --rain 2.5 --area 100 --coef .85 --peak 250 --hec1 @OUT@/RUN1.HC1
deck-plot     --tc 15 --rain 2.5 --area 100 --coef .85 --peak 250 --hec1 RUN2.HC1 --plot @OUTF@/run2.svg --check
plot          --tc 7 --rain 3.1 --area 42.5 --coef .6 --peak chart --plot "my plot.svg"
rainfall      --tc 10 --rainfall @IN@/atlas14-fort-myers-fl.csv --ari 100 --area 100 --coef .85 --peak chart --check
rainfall-deck --tc 20 --rainfall @IN@/atlas14-fort-myers-fl.csv --ari 10 --area 55 --coef .7 --peak 300 --hec1 @OUT@/R10.hc1 --csv
rainfall-aris --tc 10 --rainfall ../../in/atlas14-fort-myers-fl.csv --ari 10,100 --area 100 --coef .85 --peak chart --plot aris.svg
deck-on-table --tc 10 --rainfall @IN@/atlas14-fort-myers-fl.csv --ari 100 --area 100 --coef .85 --peak chart --hec1 ../../in/atlas14-fort-myers-fl.csv
pond          --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --pond ../../in/example-pond.csv --pond-csv routed.csv --check --plot pond.svg
pond-deck     --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --pond ../../in/example-pond.csv --route-step 5 --hec1 @OUT@/P.hc1
pond-over     --tc 10 --rain 4.5 --area 100 --coef .85 --peak 450 --pond @OUTF@/../../in/example-pond.csv
pond-swmm     --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --pond ../../in/example-pond.csv --swmm pond.inp
study         --tc 10 --rainfall ../../in/atlas14-fort-myers-fl.csv --ari 10,100 --area 100 --coef .85 --peak chart --study s.pdf --project "North Fork" --engineer "A. Engineer, P.E., Flood Control District"
study-pond    --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --pond ../../in/example-pond.csv --hec1 d.hc1 --study s.pdf --engineer "A. Engineer, P.E., Flood Control District"
refused       --tc 3 --rain 2.5 --area 100 --coef .85 --peak 250
zero-area     --tc 10 --rain 2.5 --area 0 --coef .85 --peak 250
no-ari        --tc 10 --rainfall @IN@/atlas14-fort-myers-fl.csv --area 100 --coef .85 --peak chart
no-table      --tc 10 --rainfall nowhere.csv --area 100 --coef .85 --peak chart
bad-table     --tc 10 --rainfall @IN@/bad-rainfall.csv --area 100 --coef .85 --peak chart
deck-on-dir   --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --hec1 @OUT@
usage         --tc 10 --rain 2.5
batch         --batch @IN@/basins.csv --out @OUT@/out --hec1
batch-rel     --batch ../../in/basins.csv --out runs/today
batch-summary --batch @IN@/basins.csv --out @OUTF@/sum --summary-only
batch-bad     --batch @IN@/headless.csv --out out
replace       --tc 20 --rain 2.5 --area 100 --coef .85 --peak 250 --hec1 ../deck/RUN1.HC1 --plot ../deck-plot/run2.svg
replace-deck  --tc 12 --rain 2.5 --area 100 --coef .85 --peak 250 --hec1 ../deck-plot/RUN2.HC1
batch-again   --batch @IN@/basins.csv --out ../batch/out --hec1
help          --help
version       --version
EOF
)

# What the Windows build refuses (exit 64, saying it does not offer them), writing nothing, not even
# the other outputs asked for.
WINDOWS_ONLY=$(
  cat <<'EOF'
no-report     --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --report @OUT@/r.pdf
no-print      --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --print
no-png        --tc 10 --rain 2.5 --area 100 --coef .85 --peak 250 --plot p.png
EOF
)

linux=$(realpath "${1:-build/cli/rational-hydrograph-cli}")
exe=$(realpath "${2:-build-windows/rational-hydrograph-cli.exe}")
for f in "$linux" "$exe"; do
  [ -f "$f" ] || { echo "windows-sweep: $f is missing (./dev.sh test, ./dev.sh windows)" >&2; exit 1; }
done

if ! command -v wine >/dev/null; then
  echo "Installing: wine wine64"
  as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    wine wine64
fi

work=$(mktemp -d /tmp/rh-windows-sweep.XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "${RH_SWEEP_KEEP:-}" ]; then echo "windows-sweep: kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

# wine shows the whole file system as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN {printf "%.1f", b - a}'; }

mkdir -p "$work/in" "$work/linux" "$work/windows" "$work/results/linux" "$work/results/windows"
cp tests/data/atlas14-fort-myers-fl.csv tests/data/example-pond.csv "$work/in/"
cat >"$work/in/basins.csv" <<'EOF'
name,tc,rain,area,coef,peak,rainfall,ari
A1,10,2.5,100,.85,250,,
B2,15,3,40,.6,,,
FM100,10,,100,.85,,atlas14-fort-myers-fl.csv,100
FM10,25,,12,.5,40,atlas14-fort-myers-fl.csv,10
bad name,10,2.5,1,1,1,,
ZERO,10,2.5,0,.85,250,,
SHORT,3,2.5,100,.85,250,,
LONELY,10,2.5
NOTABLE,10,,100,.85,,missing.csv,
EOF
printf 'duration_min,depth_in\n5,0.5\n10,0.4\n360,3\n' >"$work/in/bad-rainfall.csv"
printf 'basin,tc\nA,10\n' >"$work/in/headless.csv"

# expand SIDE ARG: the argument with its placeholders spelled for that side.
expand() {
  local side=$1 arg=$2 dir=$3
  if [ "$side" = linux ]; then
    arg=${arg//@OUTF@/$dir}
    arg=${arg//@OUT@/$dir}
    arg=${arg//@IN@/$work/in}
  elif [[ $arg == *@OUTF@* ]]; then
    arg=${arg//@OUTF@/Z:$dir}
  elif [[ $arg == *@OUT@* || $arg == *@IN@* ]]; then
    arg=${arg//@OUT@/$dir}
    arg=${arg//@IN@/$work/in}
    arg=$(winpath "$arg")
  fi
  printf '%s' "$arg"
}

# A batch file line's argument: quoted, with its backslashes before the closing quote doubled and
# its percent signs escaped, so CommandLineToArgvW gives the argument back as it is.
batquote() {
  local arg=${1//%/%%} tail=""
  while [[ $arg == *'\' ]]; do
    tail+='\\'
    arg=${arg%\\}
  done
  printf '"%s%s"' "$arg" "$tail"
}

bat="$work/sweep.bat"
names=()
# plan SIDES LIST: runs each command of LIST on Linux now and adds it to the Windows batch file.
plan() {
  local sides=$1 list=$2 name rest
  while read -r name rest; do
    [ -n "$name" ] || continue
    names+=("$name")
    eval "local -a args=($rest)"
    mkdir -p "$work/windows/$name"
    local line=""
    for a in "${args[@]}"; do
      line+=" $(batquote "$(expand windows "$a" "$work/windows/$name")")"
    done
    local res
    res=$(winpath "$work/results/windows/$name")
    {
      printf 'cd /d %s\r\n' "$(batquote "$(winpath "$work/windows/$name")")"
      printf '%s%s >%s 2>%s\r\n' "$(batquote "$(winpath "$exe")")" "$line" \
        "$(batquote "$res.out")" "$(batquote "$res.err")"
      printf '>%s echo %%ERRORLEVEL%%\r\n' "$(batquote "$res.status")"
    } >>"$bat"
    [ "$sides" = both ] || continue
    mkdir -p "$work/linux/$name"
    local -a expanded=()
    for a in "${args[@]}"; do
      expanded+=("$(expand linux "$a" "$work/linux/$name")")
    done
    local out="$work/results/linux/$name"
    set +e
    (cd "$work/linux/$name" && "$linux" "${expanded[@]}" >"$out.out" 2>"$out.err")
    echo $? >"$out.status"
    set -e
  done <<<"$list"
}

start=$(seconds)
plan both "$COMMANDS"
plan windows "$WINDOWS_ONLY"
linux_time=$(elapsed "$start")

start=$(seconds)
wine wineboot --init >/dev/null 2>&1 </dev/null
boot_time=$(elapsed "$start")
start=$(seconds)
# cmd ends with the status of the last command; each command's own is in its results.
wine cmd /c "$(winpath "$bat")" >/dev/null 2>&1 </dev/null || true
windows_time=$(elapsed "$start")

# The text of a result or file for comparing: LF line ends, each side's folders as placeholders
# (messages name them; Windows' backslashes become slashes), and a deck without its date line.
normalize() {
  local side=$1 file=$2 kind=$3
  local base=$work/$side
  perl -pe 's/\r\n/\n/g' "$file" | if [ "$side" = windows ]; then
    BASE=$(winpath "$base") FBASE="Z:$base" IN=$(winpath "$work/in") \
      perl -pe 's/\Q$ENV{BASE}\E|\Q$ENV{FBASE}\E/\@BASE\@/g; s/\Q$ENV{IN}\E/\@IN\@/g; tr{\\}{/}'
  else
    BASE=$base IN=$work/in perl -pe 's/\Q$ENV{BASE}\E/\@BASE\@/g; s/\Q$ENV{IN}\E/\@IN\@/g'
  fi | if [ "$kind" = deck ]; then grep -v '^KM RUN DATE'; else cat; fi
}

# A PDF for comparing: its dates blanked, and so the lengths and the cross-reference table that
# follow from the printed date's length.
normalize_pdf() {
  perl -0777 -pe 's/D:\d{14}Z/D:DATE/g; s/[^\n]* Tm\n\(Date: [^)]*\) Tj/DATE/g;
    s{/Length \d+}{/Length N}g; s/\nxref\n.*\z/\nxref\n/s' "$1"
}

failures=0
fail() {
  echo "windows-sweep: $*" >&2
  failures=$((failures + 1))
}

# Lines that do not end in CR LF in FILE (Windows' standard output and listings must have none).
bare_line_feeds() { perl -ne '$n++ if /(?<!\r)\n\z/; END {print $n + 0}' "$1"; }

compared=0
for name in "${names[@]}"; do
  wres=$work/results/windows/$name
  [ -f "$wres.status" ] || { fail "$name: the Windows run left no exit status"; continue; }
  wstatus=$(tr -d '\r ' <"$wres.status")
  [ "$(bare_line_feeds "$wres.out")" -eq 0 ] || fail "$name: Windows standard output has LF line ends"
  if [ ! -d "$work/linux/$name" ]; then
    # Windows alone: a usage error that names what the build lacks, and no file written.
    [ "$wstatus" = 64 ] || fail "$name: exit status $wstatus on Windows, 64 expected"
    grep -q "does not offer" "$wres.err" || fail "$name: Windows said: $(cat "$wres.err")"
    [ -z "$(ls -A "$work/windows/$name")" ] || fail "$name: Windows wrote $(ls "$work/windows/$name")"
    compared=$((compared + 1))
    continue
  fi
  lres=$work/results/linux/$name
  lstatus=$(cat "$lres.status")
  [ "$wstatus" = "$lstatus" ] || fail "$name: exit status $lstatus on Linux, $wstatus on Windows"
  for stream in out err; do
    diff -u --label "linux $name.$stream" --label "windows $name.$stream" \
      <(normalize linux "$lres.$stream" text) <(normalize windows "$wres.$stream" text) >&2 ||
      fail "$name: standard $stream differs"
  done
  lfiles=$(cd "$work/linux/$name" && find . -type f | sort)
  wfiles=$(cd "$work/windows/$name" && find . -type f | sort)
  if [ "$lfiles" != "$wfiles" ]; then
    fail "$name: files written differ: Linux [$(echo $lfiles)], Windows [$(echo $wfiles)]"
    continue
  fi
  while IFS= read -r f; do
    [ -n "$f" ] || continue
    kind=text
    case "$f" in
      *.hc1 | *.HC1) kind=deck ;;
      *.txt)
        [ "$(bare_line_feeds "$work/windows/$name/$f")" -eq 0 ] ||
          fail "$name: Windows listing $f has LF line ends"
        ;;
    esac
    if [[ $f == *.pdf ]]; then
      cmp -s <(normalize_pdf "$work/linux/$name/$f") <(normalize_pdf "$work/windows/$name/$f") ||
        fail "$name: $f differs"
      continue
    fi
    cmp -s <(normalize linux "$work/linux/$name/$f" $kind) \
      <(normalize windows "$work/windows/$name/$f" $kind) || fail "$name: $f differs"
  done <<<"$lfiles"
  compared=$((compared + 1))
done

echo "windows-sweep: wineboot of a fresh prefix ${boot_time} s; ${#names[@]} commands: Linux ${linux_time} s, Windows under wine ${windows_time} s"
if [ "$failures" -gt 0 ]; then
  echo "windows-sweep: $failures differences in ${#names[@]} commands" >&2
  exit 1
fi
echo "windows-sweep: $compared commands, every output the same on Windows and Linux"
