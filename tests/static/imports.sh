#!/usr/bin/env bash
# Prints a PE file's imported functions, one "DLL Function" a line, DLL names
# in upper case, sorted.
objdump=$1; file=$2
"$objdump" -p "$file" | awk '
  /^\tDLL Name: / { dll = toupper($3); next }
  /^\tvma:/ { next }
  /^$/ { dll = "" }
  dll != "" && NF >= 3 { print dll, $3 }' | sort -u
