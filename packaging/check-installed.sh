#!/bin/sh
# Checks the installed program's desktop files under ROOT (/ after installing the package, or a
# folder the package was unpacked into):
# - the AppStream metainfo validates, and its id, its launchable desktop entry and the entry's
#   file name agree;
# - the desktop entry validates, and its icon and programs are installed;
# - each program in usr/bin has a manual page, gzipped without name or time stamp, that renders
#   without a warning;
# - the package's documents are where Debian keeps them: a machine-readable copyright, a changelog
#   gzipped without name or time stamp, and the sample files to try.
#   check-installed.sh ROOT
# Needs appstreamcli (appstream), desktop-file-validate (desktop-file-utils) and groff (groff-base).
set -u
root=${1%/}
usr=$root/usr
id=example.orvane.rational_hydrograph
failed=0
fail() {
  echo "check-installed: $*" >&2
  failed=1
}

metainfo=$usr/share/metainfo/$id.metainfo.xml
desktop=$usr/share/applications/$id.desktop
if [ -f "$metainfo" ]; then
  report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || fail "$report"
  sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | grep -qxF "$id" ||
    fail "$metainfo: the component id is not $id"
  sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo" |
    grep -qxF "$id.desktop" || fail "$metainfo: the launchable is not $id.desktop"
else
  fail "no $metainfo"
fi

if [ -f "$desktop" ]; then
  # Hints count too: they name real faults, such as an entry listed twice in the menu.
  problems=$(desktop-file-validate "$desktop" 2>&1 || echo "desktop-file-validate failed")
  [ -z "$problems" ] || fail "$problems"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  ls "$usr/share/icons/hicolor/"*/apps/"$icon".* >/dev/null 2>&1 || fail "no icon $icon"
  # shellcheck disable=SC2013  # program names hold no spaces
  for program in $(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | sort -u); do
    [ -x "$usr/bin/$program" ] || fail "$desktop starts $program, which is not in $usr/bin"
  done
  # A double-click on a study file opens it: the entry takes the file and names its type, which
  # the installed MIME package defines.
  mime=$usr/share/mime/packages/rational-hydrograph-study.xml
  grep -q '^Exec=rational-hydrograph %f$' "$desktop" || fail "$desktop: Exec does not take %f"
  grep -q '^MimeType=application/x-rational-hydrograph-study;$' "$desktop" ||
    fail "$desktop: MimeType does not list the study file"
  grep -q 'type="application/x-rational-hydrograph-study"' "$mime" 2>/dev/null &&
    grep -q '<glob pattern="\*.rhstudy"/>' "$mime" || fail "no study file type in $mime"
else
  fail "no $desktop"
fi

for program in "$usr"/bin/rational-hydrograph*; do
  page=$usr/share/man/man1/$(basename "$program").1.gz
  if [ ! -f "$page" ]; then
    fail "no manual page $page"
    continue
  fi
  # gzip header bytes 3 to 7: flags (no name) and the time stamp, all zero after gzip -n.
  [ "$(od -An -tx1 -j3 -N5 "$page" | tr -d ' \n')" = 0000000000 ] ||
    fail "$page carries a name or time stamp"
  warnings=$(gzip -dc "$page" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
done

doc=$usr/share/doc/rational-hydrograph
head -n 1 "$doc/copyright" 2>/dev/null |
  grep -qxF "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "$doc/copyright is missing or not in the machine-readable format"
grep -q "^License: Expat$" "$doc/copyright" 2>/dev/null || fail "$doc/copyright names no licence"
if [ -f "$doc/changelog.gz" ]; then
  [ "$(od -An -tx1 -j3 -N5 "$doc/changelog.gz" | tr -d ' \n')" = 0000000000 ] ||
    fail "$doc/changelog.gz carries a name or time stamp"
  gzip -dc "$doc/changelog.gz" | head -n 1 | grep -q "^rational-hydrograph (" ||
    fail "$doc/changelog.gz does not start with an entry of the package"
else
  fail "no $doc/changelog.gz"
fi
for sample in atlas14-fort-myers-fl.csv basins.csv; do
  [ -f "$doc/examples/$sample" ] || fail "no sample $doc/examples/$sample"
done

[ "$failed" -eq 0 ] &&
  echo "check-installed: metainfo, desktop entry, manual pages and documents are sound"
exit $failed
