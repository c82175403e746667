#!/usr/bin/env bash
# one_definition.sh <nm> <library>...
# Fails when two of the libraries define the same free function or global
# variable: the program would then get whichever the linker meets first.
# Members, templates and the library's own inline copies (COMDAT, which may
# repeat by design and which nm shows alike) are left out.
set -euo pipefail
nm="$1"
shift
all=""
for lib in "$@"; do
  [ -f "$lib" ] || { echo "$lib has not been built"; exit 1; }
  names=$("$nm" -C -g --defined-only "$lib" | sed -n 's/^[0-9a-fA-F]* [TDB] //p' |
          grep -v -e '::' -e '<' -e '^vtable' -e '^typeinfo' -e '^\.' | sort -u)
  all+="$names"$'\n'
done
twice=$(grep -v '^$' <<<"$all" | sort | uniq -d || true)
if [ -n "$twice" ]; then
  echo "defined in more than one library:"
  echo "$twice"
  exit 1
fi
echo "no name is defined twice in $# libraries"
