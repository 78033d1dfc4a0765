#!/usr/bin/env python3
"""Writes a valid progressive JPEG of a flat grey-blue picture whose scans each refine one
coefficient of one component over every block: small on disk, but each scan makes a decoder
go over all the component's blocks once.

    refining_jpeg.py OUT WIDTH HEIGHT SCANS

SCANS counts the DC scan; up to 1 + 3 * 63 * 11 (each AC coefficient of each of the three
components at its coarsest, then refined a bit at a time)."""
import struct
import sys


def segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def huffman_table(table_class, table_id, lengths_and_symbols):
    counts = [0] * 16
    symbols = b""
    for length, symbol in lengths_and_symbols:
        counts[length - 1] += 1
        symbols += bytes([symbol])
    return segment(0xC4, bytes([table_class << 4 | table_id]) + bytes(counts) + symbols)


class Bits:
    def __init__(self):
        self.out = bytearray()
        self.value = 0
        self.count = 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.value = self.value << 1 | (value >> i) & 1
            self.count += 1
            if self.count == 8:
                self.out.append(self.value)
                if self.value == 0xFF:
                    self.out.append(0)  # stuffed
                self.value = self.count = 0

    def flush(self):
        while self.count:
            self.put(1, 1)  # padded with ones
        return bytes(self.out)


def end_of_block_runs(blocks):
    """An AC scan of all-zero coefficients: end-of-band runs over every block. Codes: EOB14
    (runs of 2^14 + 14 bits) is "0", EOBn is "10" followed by n for the rest, sent as the
    symbols' own runs."""
    bits = Bits()
    left = blocks
    while left >= 1 << 14:
        run = min(left, (1 << 15) - 1)
        bits.put(0, 1)
        bits.put(run - (1 << 14), 14)
        left -= run
    while left:
        n = left.bit_length() - 1  # a run of 2^n to 2^(n+1) - 1
        run = min(left, (1 << (n + 1)) - 1)
        bits.put(0b10, 2)
        bits.put(n, 4)  # which EOBn: a code of its own per n below
        if n:
            bits.put(run - (1 << n), n)
        left -= run
    return bits.flush()


def main():
    out, width, height, scans = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    blocks = ((width + 7) // 8) * ((height + 7) // 8)
    file = b"\xff\xd8"
    file += segment(0xDB, b"\x00" + bytes([1] * 64))  # quantisation: all ones
    components = 3
    frame = struct.pack(">BHHB", 8, height, width, components)
    for c in range(components):
        frame += bytes([c + 1, 0x11, 0])
    file += segment(0xC2, frame)  # progressive, Huffman
    # DC: every difference is 0 ("0"); AC: EOB14 is "0", and EOB0 to EOB13 are "10" + 4 bits.
    file += huffman_table(0, 0, [(1, 0x00)])
    file += huffman_table(1, 0, [(1, 0xE0)] + [(6, n << 4) for n in range(14)])
    # The DC of every component, interleaved: one "0" per block.
    dc = Bits()
    for _ in range(blocks * components):
        dc.put(0, 1)
    file += segment(0xDA, bytes([components]) + b"".join(bytes([c + 1, 0]) for c in range(components))
                    + bytes([0, 0, 0]))
    file += dc.flush()
    script = []
    for c in range(components):
        script += [(c, k, 0, 10) for k in range(1, 64)]
    for bit in range(10, 0, -1):
        for c in range(components):
            script += [(c, k, bit, bit - 1) for k in range(1, 64)]
    runs = end_of_block_runs(blocks)
    for c, k, high, low in script[: scans - 1]:
        file += segment(0xDA, bytes([1, c + 1, 0x00, k, k, high << 4 | low]))
        file += runs
    open(out, "wb").write(file + b"\xff\xd9")


main()
