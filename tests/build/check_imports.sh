#!/usr/bin/env bash
# Every program of the Windows build must be self-contained: its import table may name
# only DLLs that come with Windows, never a runtime of the compiler.
set -euo pipefail
build_dir=$1
objdump=x86_64-w64-mingw32-objdump

# Windows 7 SP1 has all of these. DirectComposition, Shcore and Direct2D 1.1 entry
# points are looked up at run time, so dcomp.dll and shcore.dll must not appear.
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|gdiplus|msvcrt|shlwapi|psapi|uxtheme|dwmapi|d3d11|dxgi|d2d1|dwrite|windowscodecs|version|imm32|winmm|oleacc|uuid|api-ms-win-[a-z0-9-]+)\.dll$'

status=0
count=0
while IFS= read -r -d '' exe; do
    count=$((count + 1))
    while read -r dll; do
        lower=$(echo "$dll" | tr 'A-Z' 'a-z')
        if ! [[ $lower =~ $allowed ]]; then
            echo "${exe#$build_dir/}: imports $dll"
            status=1
        fi
    done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done < <(find "$build_dir" -name '*.exe' -not -path '*/CMakeFiles/*' -print0)

echo "checked $count programs"
[ "$count" -gt 0 ] || status=1
exit $status
