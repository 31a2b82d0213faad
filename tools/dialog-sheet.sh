#!/bin/sh
# Turns the pictures of the standard dialogs (FOLDER/<language>/<page>.bmp, kept by the dialog
# tests) into PNG files beside them and lays all of them out on one contact sheet,
# FOLDER/contact-sheet.png, UK English first, each picture labelled with its language and page.
#   dialog-sheet.sh FOLDER
set -eu
folder=$1
languages=""
for dir in "$folder"/*/; do
  [ -d "$dir" ] || continue
  for bmp in "$dir"*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" -depth 8 "${bmp%.bmp}.png"
    rm -f "$bmp"
  done
  ls "$dir"*.png >/dev/null 2>&1 && languages="$languages $(basename "$dir")"
done
[ -n "$languages" ] || { echo "dialog-sheet: no pictures in $folder" >&2; exit 1; }
# The pages in the order a script meets them, then the system's dialogs.
order="WELCOME ABOUT ASKPATH BROWSER OKBOX CHECKBOX2 CHECKBOX3 CHECKBOX4 CHECKBOX5 CHECKBOX6 RADIOB2 RADIOB3
RADIOB4 RADIOB5 RADIOB6 INPUTBOX1 INPUTBOX2 PUSHB2 PUSHB3 PUSHB4 PUSHB5 DEINSTALL AGREEMENT OPENFILE SAVEAS"
# UK English first, the other languages after it.
case " $languages " in *" uk "*) languages="uk $(echo "$languages" | tr ' ' '\n' | { grep -vx uk || true; } | tr '\n' ' ')" ;; esac
set --
for language in $languages; do
  for page in $order; do
    png="$folder/$language/$page.png"
    [ -f "$png" ] && set -- "$@" -label "$language $page" "$png"
  done
done
# Labels in DejaVu Sans (fonts-dejavu-core); ImageMagick's default font is not installed here.
montage "$@" -font DejaVu-Sans -tile 6x -geometry '+8+8' -depth 8 -background '#d8d8d8' -pointsize 12 "$folder/contact-sheet.png"
echo "dialog-sheet: $folder/contact-sheet.png ($(($# / 3)) pictures)"
