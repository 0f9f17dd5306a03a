#!/usr/bin/env bash
# Shows that programs in the sandbox reach neither the host's root nor its home:
# no drive maps outside the build folder and the prefix, no drive shows the host's root
# or a marker placed in the host's home, and files written to the user's shell folders
# stay inside the prefix.
set -euo pipefail
sandbox=$1
probe=$2
prefix=$("$sandbox" prefix)
build_dir=$(cd "$(dirname "$probe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done && pwd)
status=0

marker_dir=$(mktemp -d "$HOME/.sandbox-check.XXXXXX")
token="sandbox-token-$$-$RANDOM"
cleanup() {
    rm -rf "$marker_dir"
    find "$prefix/drive_c/users" -name "$token" -delete 2>/dev/null || true
}
trap cleanup EXIT
touch "$marker_dir/marker"

"$sandbox" init
for link in "$prefix"/dosdevices/*; do
    name=$(basename "$link")
    target=$(readlink -f "$link")
    case "$target" in
    "$prefix"/* | "$build_dir" | /dev/*) echo "drive $name -> $target: inside the sandbox" ;;
    *)
        echo "drive $name -> $target: OUTSIDE the sandbox"
        status=1
        ;;
    esac
done

relative_marker=${marker_dir#/}/marker
"$sandbox" run "$probe" "${relative_marker//\//\\}" "$token" || status=1

written=$(find "$prefix/drive_c/users" -name "$token" | wc -l)
echo "token files inside the prefix: $written"
[ "$written" -ge 6 ] || status=1
if find "$HOME" -maxdepth 3 -name "$token" 2>/dev/null | grep -q .; then
    echo "a token file reached the host's home"
    status=1
fi

ping="$prefix/drive_c/windows/system32/ping.exe"
standin="$build_dir/tools/ping-standin/ping.exe"
if [ -f "$ping" ] && ! cmp -s "$ping" "$standin"; then
    echo "the prefix's ping.exe is not the stand-in"
    status=1
fi
exit $status
