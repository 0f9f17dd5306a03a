#!/bin/sh
# A shipped program stays within its size: check_size.sh PROGRAM MAX_BYTES
set -eu
size=$(stat -c %s "$1")
echo "$(basename "$1"): $size bytes (at most $2)"
[ "$size" -le "$2" ]
