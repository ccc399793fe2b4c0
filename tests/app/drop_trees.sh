#!/bin/sh
# The folders the drop tests walk, made where 100,000 files take seconds, not minutes, and where
# a Unix link back up the tree is the loop a user of Wine meets.
set -eu
trees=$1
if [ ! -f "$trees/many.made" ]; then # ten folders of 10,000 empty files, kept once made
  for folder in 0 1 2 3 4 5 6 7 8 9; do
    mkdir -p "$trees/many/$folder" && (cd "$trees/many/$folder" && seq -f "f%05g" 0 9999 | xargs touch)
  done
  touch "$trees/many.made"
fi
loop=$trees/loop
rm -rf "$loop" && mkdir -p "$loop/a/b"
ln -s .. "$loop/a/up" && ln -s . "$loop/a/b/here" && ln -s ../.. "$loop/a/b/top" && ln -s "$loop" "$loop/a/b/absolute"
