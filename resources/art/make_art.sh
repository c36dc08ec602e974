#!/bin/bash
# Regenerates the launchers' pictures, icon and taunts. The build does not
# run this: its results are committed, and only need remaking when the art
# changes. Needs python3, espeak-ng, sox and ffmpeg (with libmp3lame).
# Re-running writes the same bytes as long as the tools' versions stay put.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
res=$(dirname "$here")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for tool in python3 espeak-ng sox ffmpeg; do
  command -v "$tool" >/dev/null || { echo "make_art.sh: $tool is missing" >&2; exit 1; }
done

mkdir -p "$res/valkor" "$res/novalkor" "$res/common"
python3 "$here/make_art.py" pictures "$res"
python3 "$here/make_art.py" icon "$res/common/app.ico"

# speak TEXT VOICE SPEED PITCH OUT: espeak-ng writes 22050 Hz mono 16-bit
speak() {
  espeak-ng -v "$2" -s "$3" -p "$4" -w "$5" "$1"
}

# fit IN OUT SECONDS EFFECTS...: pad with silence, then cut to an exact
# length, so the taunts keep their durations whatever the voice does.
# -D: no dither, which would add random noise and change the bytes each run.
fit() {
  local in=$1 out=$2 secs=$3
  shift 3
  sox -D "$in" -b 16 "$out.padded.wav" "$@" norm -1 pad 0.1 "$secs"
  sox -D "$out.padded.wav" "$out" trim 0 "$secs" fade t 0 "$secs" 0.15
}

# MP3 inside WAVE, as the launchers' player expects; bitexact keeps the
# encoder's version string out of the file.
mp3wav() {
  local in=$1 out=$2 channels=$3 rate=$4
  ffmpeg -nostdin -loglevel error -y -i "$in" -map_metadata -1 \
    -fflags +bitexact -flags:a +bitexact \
    -ar 22050 -ac "$channels" -c:a libmp3lame -b:a "$rate" -f wav "$out"
}

# novalkor, on the way back to the old game: a slow, low, echoing villain
speak "So, you want the old Drifthaven back? Fine. The hangar doors are open. Off you go, commander." \
  en-gb+m3 150 30 "$tmp/133.wav"
fit "$tmp/133.wav" "$tmp/133fit.wav" 9 pitch -200 echo 0.8 0.7 60 0.25 reverb 30 channels 2
mp3wav "$tmp/133fit.wav" "$res/novalkor/taunt133.wav" 2 56k

speak "Leaving already? How predictable." en-gb+m3 135 30 "$tmp/138.wav"
fit "$tmp/138.wav" "$tmp/138fit.wav" 4 pitch -200 echo 0.8 0.7 60 0.25
sox -D "$tmp/138fit.wav" -r 22050 -c 1 -e ms-adpcm "$res/novalkor/taunt138.wav"

# valkor: a cockpit radio call, thin and a little crackly
speak "Welcome back, pilot. Engines hot." en-us+m1 180 50 "$tmp/154.wav"
fit "$tmp/154.wav" "$tmp/154fit.wav" 3 highpass 400 lowpass 3200 overdrive 8
mp3wav "$tmp/154fit.wav" "$res/valkor/taunt154.wav" 1 32k

python3 "$here/make_art.py" tidy-wav \
  "$res/novalkor/taunt133.wav" "$res/novalkor/taunt138.wav" "$res/valkor/taunt154.wav"
