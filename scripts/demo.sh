#!/usr/bin/env bash
# The main job on an embedded input: a sample clip made from a photograph
# that ships with the sources (a slow pan and zoom, with a generated sound
# track) is compressed with movra-compress and decoded back with movra-dump.
set -euo pipefail
bin=${1:-build/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/movra-sample" "$work/sample.y4m" "$work/sample.wav" --size 320x240 --frames 60 --rate 30
echo "sample clip: 320x240, 60 frames at 30 fps, $(stat -c %s "$work/sample.y4m") bytes of YUV4MPEG2," \
     "$(stat -c %s "$work/sample.wav") bytes of sound"
"$bin/movra-compress" "$work/sample.y4m" "$work/sample.mvr" --wav "$work/sample.wav" \
  --data-rate 150000 --psnr --quiet
"$bin/movra-dump" video "$work/sample.mvr" "$work/decoded.bgra"
echo "decoded with movra-dump: $(stat -c %s "$work/decoded.bgra") bytes of 32-bit pixels" \
     "($(( $(stat -c %s "$work/decoded.bgra") / (320 * 240 * 4) )) frames)"
