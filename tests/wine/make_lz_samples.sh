#!/bin/sh
# Sample files for the copy tests and their compressed twins made by Debian's mscompress (an
# independent implementation of the compressed format): NAME and NAME_ side by side in $1.
set -e
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"
: > EMPTY.BIN
head -c 1024 /dev/urandom > K1024.BIN
head -c 70001 /dev/urandom > RANDOM.BIN
seq 1 30000 > TEXT.TXT
for f in EMPTY.BIN K1024.BIN RANDOM.BIN TEXT.TXT; do mscompress "$f"; done
