#!/bin/sh
# Called by ALSA's file plugin (tools/wine_prefix.sh, listen_to_sound) for each
# clip that a program plays: writes the clip's frames, a WAV file on standard
# input, into the next numbered file of the folder; NNN.part while it is being
# played, NNN.wav once the program let go of the sound device.
dir=$1
mkdir -p "$dir"
n=$(printf %03d "$(ls "$dir" | wc -l)")
cat > "$dir/$n.part"
mv "$dir/$n.part" "$dir/$n.wav"
