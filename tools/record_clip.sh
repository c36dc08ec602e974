#!/bin/sh
# Called by ALSA's file plugin (tools/wine_prefix.sh, listen_to_sound) for each
# clip that a program plays: writes the clip's frames, a WAV file on standard
# input, into the next numbered file of the folder; NNN.part while it is being
# played, NNN.wav once the program let go of the sound device.
set -eu
dir=$1
mkdir -p "$dir"
# A clip that cuts another starts while that one is still being written: the
# next number is counted and claimed under a lock, so no two share a file.
exec 9> "$dir/.numbering"
flock 9
n=$(printf %03d "$(find "$dir" -maxdepth 1 -name '[0-9]*' | wc -l)")
: > "$dir/$n.part"
flock -u 9
exec 9>&-
cat > "$dir/$n.part"
mv "$dir/$n.part" "$dir/$n.wav"
