#!/usr/bin/env python3
"""Exit 0 when this machine can run 32-bit x86 Linux programs (and so 32-bit Wine).

Some virtual machines run 64-bit user code only: the kernel refuses a 32-bit
program with ENOEXEC. This writes the smallest 32-bit ELF program, one that just
exits with status 0, and tries to run it.
"""
import os
import struct
import subprocess
import sys
import tempfile

BASE = 0x08048000
CODE = bytes([0xB8, 0x01, 0, 0, 0,   # mov eax, 1 (exit)
              0x31, 0xDB,            # xor ebx, ebx
              0xCD, 0x80])           # int 0x80
HEADER = 52
PROGRAM_HEADER = 32
size = HEADER + PROGRAM_HEADER + len(CODE)
elf = struct.pack("<4sBBBB8xHHIIIIIHHHHHH", b"\x7fELF", 1, 1, 1, 0,
                  2, 3, 1, BASE + HEADER + PROGRAM_HEADER, HEADER, 0, 0,
                  HEADER, PROGRAM_HEADER, 1, 0, 0, 0)
elf += struct.pack("<IIIIIIII", 1, 0, BASE, BASE, size, size, 5, 0x1000)
elf += CODE

with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "probe32")
    with open(path, "wb") as out:
        out.write(elf)
    os.chmod(path, 0o755)
    try:
        sys.exit(subprocess.run([path]).returncode)
    except OSError:
        sys.exit(1)
