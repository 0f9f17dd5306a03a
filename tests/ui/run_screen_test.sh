#!/bin/sh
# Runs the screen test: the test program shows its window and writes "ready"; this script then
# captures the whole display (ImageMagick's import) as screen.png, which the program compares
# with what it composed. Runs inside a sandbox session (the display is $DISPLAY).
#
#   run_screen_test.sh WINE_SANDBOX TEST_PROGRAM FOLDER
set -u
sandbox=$1
program=$2
folder=$3

rm -rf "$folder"
mkdir -p "$folder"
(
    i=0
    while [ ! -e "$folder/ready" ] && [ $i -lt 900 ]; do
        sleep 0.1
        i=$((i + 1))
    done
    if [ -e "$folder/ready" ]; then
        import -window root "$folder/screen-part.png" && mv "$folder/screen-part.png" "$folder/screen.png"
    fi
) &
shooter=$!
CORVANE_SCREEN_DIR=$("$sandbox" path "$folder") "$sandbox" run "$program" --gtest_filter='Screen.*'
rc=$?
kill "$shooter" 2>/dev/null
wait "$shooter" 2>/dev/null
exit $rc
