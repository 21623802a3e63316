#!/bin/sh
# The manual pages render without a groff warning, and the companion's page (the first one)
# names exactly the options of its --help and every exit status that --help lists.
#   man_pages.sh CLI CLI_PAGE [PAGE...]
set -u
command -v groff >/dev/null || { echo "groff is not installed"; exit 77; }
cli=$1
shift
cli_page=$1
failed=0
fail() {
  echo "$*"
  failed=1
}

for page in "$@"; do
  warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
done

help=$("$cli" --help) || { echo "$cli --help failed"; exit 1; }
text=$(groff -man -Tascii -P-cbou "$cli_page")
long_options() { grep -oE -- '--[a-z0-9][a-z0-9-]*' | sort -u; }
documented=$(printf '%s\n' "$text" | long_options)
offered=$(printf '%s\n' "$help" | long_options)
for option in $(printf '%s\n' "$offered" | grep -vxF -e "$documented"); do
  fail "$cli_page does not describe $option"
done
for option in $(printf '%s\n' "$documented" | grep -vxF -e "$offered"); do
  fail "$cli_page describes $option, which --help does not offer"
done

# "Exit status: 0 done, 2 entries refused, ..." in --help; each number is a tag under EXIT STATUS.
section=$(printf '%s\n' "$text" | sed -n '/^EXIT STATUS/,/^[A-Z]/p')
for status in $(printf '%s\n' "$help" | sed -n 's/^Exit status: //p' | tr ',' '\n' |
  awk '{print $1}'); do
  printf '%s\n' "$section" | grep -qE "^ +$status( |\$)" ||
    fail "$cli_page has no exit status $status"
done
[ -n "$section" ] || fail "$cli_page has no EXIT STATUS section"
exit $failed
