#!/usr/bin/env python3
"""Says what the launcher played: each recording (tools/record_clip.sh) with its
length and channels, and the program's clip it matches by length.
    heard.py <folder of recordings> <clip.wav>..."""
import glob, os, struct, sys


def clip_seconds(path):
    """A WAVE file's length: its samples (the "fact" chunk of a compressed clip) over its rate."""
    data = open(path, "rb").read()
    pos, rate, channels, samples = 12, 0, 0, 0
    while pos + 8 <= len(data):
        chunk, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if chunk == b"fmt ":
            channels, rate = struct.unpack("<HI", data[pos + 10:pos + 16])
        elif chunk == b"fact":
            samples = struct.unpack("<I", data[pos + 8:pos + 12])[0]
        pos += 8 + size + (size & 1)
    return samples / rate if rate else 0.0, channels


recordings = sorted(glob.glob(os.path.join(sys.argv[1], "*.wav")))
clips = {os.path.basename(path): clip_seconds(path) for path in sys.argv[2:]}
if not recordings:
    print("The launcher played no sound.")
for path in recordings:
    data = open(path, "rb").read()
    channels, rate = struct.unpack("<HI", data[22:28])
    seconds = (len(data) - 44) / (rate * channels * 2)
    match = [name for name, (length, count) in clips.items() if count == channels and abs(length - seconds) < 0.2]
    what = f"the clip {match[0]} ({clips[match[0]][0]:.2f} s)" if match else "no whole clip (cut short)"
    print(f"The launcher played {seconds:.2f} s of sound, {channels} channel(s) at {rate} Hz: {what}.")
