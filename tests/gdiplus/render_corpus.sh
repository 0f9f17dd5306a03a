#!/usr/bin/env bash
# Renders SVG files with our engine (svgrender.exe under Wine, one run for all files) into
# OUT_DIR/NAME.pam at SCALE times their viewBox size; the files are copied to OUT_DIR/svg.
#   render_corpus.sh SANDBOX SVGRENDER_EXE SOURCE_DIR OUT_DIR SCALE [NAME.svg ...]
# Without names, every .svg file of SOURCE_DIR is rendered.
set -euo pipefail
sandbox=$1 exe=$2 corpus=$3 out=$4 scale=$5
shift 5
names=("$@")
[ ${#names[@]} -gt 0 ] || names=($(cd "$corpus" && ls *.svg))

rm -rf "$out"
mkdir -p "$out/svg"
for name in "${names[@]}"; do cp "$corpus/$name" "$out/svg/"; done
windows_out=$("$sandbox" path "$out")
jobs=$out/jobs.txt
: >"$jobs"
for file in "$out"/svg/*.svg; do
    name=$(basename "$file" .svg)
    # The corpus files give their size as a plain viewBox "0 0 W H" or "X Y W H".
    read -r w h < <(sed -n 's/.*viewBox="[^ ]* [^ ]* \([0-9.]*\) \([0-9.]*\)".*/\1 \2/p' "$file" | head -1)
    [ -n "${w:-}" ] || { echo "render_corpus: $name has no viewBox" >&2; exit 1; }
    width=$(awk -v v="$w" -v s="$scale" 'BEGIN { printf "%d", v * s }')
    height=$(awk -v v="$h" -v s="$scale" 'BEGIN { printf "%d", v * s }')
    printf '%s %s %s %s\r\n' "$windows_out\\svg\\$name.svg" "$windows_out\\$name.pam" "$width" "$height" >>"$jobs"
done
"$sandbox" run "$exe" --list "$jobs"
echo "rendered $(ls "$out"/*.pam | wc -l) files into $out"
