# shellcheck shell=bash
# The program's resource and control numbers, read from src/resources/resource_ids.h into
# shell variables of the same names (IDC_LAUNCH=1004 and so on). Sourced, not run.
# shellcheck disable=SC2046 # each word is one NAME=NUMBER assignment
declare $(awk '$1 == "#define" && $2 ~ /^ID[A-Z]*_/ { print $2 "=" $3 }' \
    "$(dirname "${BASH_SOURCE[0]}")/../../src/resources/resource_ids.h")
