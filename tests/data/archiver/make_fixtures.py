#!/usr/bin/env python3
"""Writes level0.lzh, level1.lzh and level2.lzh from the files under expected/, and
lh6-lh7.lzh (level 2, the two larger windows) from far.bin.

No program on our build machines can write LHA archives (lhasa only extracts, bsdtar cannot
write this format), so these fixtures are assembled here, independently of our C++ writer:
headers byte by byte, and a deliberately different -lh5- encoder (greedy matching on the
latest occurrence only, one block, code lengths from the symbol count instead of Huffman
frequencies). Each archive mixes -lh0- and -lh5- members and folder entries. The script then
checks every archive with lhasa (CRC test and extraction compared with expected/) before it
may be committed.

Run from anywhere:  python3 tests/data/archiver/make_fixtures.py
"""
import os
import struct
import subprocess
import sys
import tempfile
import filecmp

HERE = os.path.dirname(os.path.abspath(__file__))
EXPECTED = os.path.join(HERE, "expected")
MTIME = 1710506096          # 2024-03-15 12:34:56 UTC
DOS_TIME = 0x586F645C       # the same moment as DOS date and time

# (stored path with '/', source file under expected/ or None for a folder, method)
ENTRIES = [
    ("data", None, "-lhd-"),
    ("data/deep", None, "-lhd-"),
    ("vac\u00eda", None, "-lhd-"),            # an empty folder with a Windows-1252 name
    ("readme.txt", "readme.txt", "-lh5-"),
    ("data/table.bin", "data/table.bin", "-lh0-"),
    ("data/deep/notes.txt", "data/deep/notes.txt", "-lh5-"),
    ("empty.txt", "empty.txt", "-lh0-"),
    ("Canci\u00f3n.txt", "Canci\u00f3n.txt", "-lh0-"),
]


def crc16(data, crc=0):
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


class Bits:
    def __init__(self):
        self.out, self.acc, self.n = bytearray(), 0, 0

    def put(self, value, bits):
        for i in range(bits - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                self.acc, self.n = 0, 0

    def done(self):
        if self.n:
            self.out.append(self.acc << (8 - self.n))
        return bytes(self.out)


def complete_lengths(used, size):
    """A complete prefix code over the used symbols without looking at frequencies."""
    lengths = [0] * size
    k = len(used)
    big = max(1, (k - 1).bit_length())
    short = (1 << big) - k           # this many symbols get one bit less
    for i, s in enumerate(sorted(used)):
        lengths[s] = big - 1 if i < short else big
    return lengths


def canonical(lengths):
    codes, code = [0] * len(lengths), 0
    for length in range(1, 17):
        for s, l in enumerate(lengths):
            if l == length:
                codes[s] = code
                code += 1
        code <<= 1
    return codes


def put_pt(bits, lengths, nbit, special):
    n = len(lengths)
    while n and lengths[n - 1] == 0:
        n -= 1
    bits.put(n, nbit)
    i = 0
    while i < n:
        l = lengths[i]
        i += 1
        if l <= 6:
            bits.put(l, 3)
        else:
            bits.put((1 << (l - 3)) - 2, l - 3)
        if special and i == 3:
            k = 0
            while k < 3 and i + k < n and lengths[i + k] == 0:
                k += 1
            bits.put(k, 2)
            i += k


METHOD_BITS = {"-lh5-": 13, "-lh6-": 15, "-lh7-": 16}


def lh5(data, dict_bits=13):
    """-lh5- (or, with a larger window, -lh6-/-lh7-: only the window and P table differ)."""
    np_, pbit, window = dict_bits + 1, 4 if dict_bits == 13 else 5, 1 << dict_bits
    syms, last = [], {}
    i = 0
    while i < len(data):
        best, dist = 0, 0
        key = data[i:i + 3]
        j = last.get(key)
        if j is not None and i - j <= window and len(key) == 3:
            while best < 256 and i + best < len(data) and data[j + best] == data[i + best]:
                best += 1
            dist = i - j
        if best >= 3:
            syms.append((best - 3 + 256, dist - 1))
            for k in range(best):
                last[data[i + k:i + k + 3]] = i + k
            i += best
        else:
            syms.append((data[i], None))
            last[key] = i
            i += 1
    assert 0 < len(syms) < 65536
    c_used = sorted({c for c, _ in syms})
    p_used = sorted({(p.bit_length() if p >= 2 else p) for c, p in syms if p is not None})
    assert len(c_used) >= 2 and len(p_used) >= 2
    c_len = complete_lengths(c_used, 510)
    p_len = complete_lengths(p_used, np_)
    n = max(c_used) + 1
    # C lengths sent as T symbols: each length l as l + 2, zero runs as 0 / 1 / 2.
    t_syms, i = [], 0
    while i < n:
        if c_len[i]:
            t_syms.append((c_len[i] + 2, 0, 0))
            i += 1
            continue
        run = 0
        while i + run < n and c_len[i + run] == 0:
            run += 1
        i += run
        if run <= 2:
            t_syms += [(0, 0, 0)] * run
        elif run <= 18:
            t_syms.append((1, run - 3, 4))
        elif run == 19:
            t_syms += [(0, 0, 0), (1, 15, 4)]
        else:
            t_syms.append((2, run - 20, 9))
    t_used = sorted({t for t, _, _ in t_syms})
    assert len(t_used) >= 2
    t_len = complete_lengths(t_used, 19)
    t_code, c_code, p_code = canonical(t_len), canonical(c_len), canonical(p_len)
    bits = Bits()
    bits.put(len(syms), 16)
    put_pt(bits, t_len, 5, True)
    bits.put(n, 9)
    for t, extra, nb in t_syms:
        bits.put(t_code[t], t_len[t])
        bits.put(extra, nb)
    put_pt(bits, p_len, pbit, False)
    for c, p in syms:
        bits.put(c_code[c], c_len[c])
        if p is not None:
            j = p.bit_length() if p >= 2 else p
            bits.put(p_code[j], p_len[j])
            if j >= 2:
                bits.put(p - (1 << (j - 1)), j - 1)
    return bits.done()


def member(level, path, data, method):
    name = path.encode("cp1252")
    crc = crc16(data) if data is not None else 0
    packed = method in METHOD_BITS
    body = b"" if data is None else (lh5(data, METHOD_BITS[method]) if packed else data)
    if data is not None and packed:
        assert len(body) < len(data)
    size = 0 if data is None else len(data)
    if level == 0:
        n = name.replace(b"/", b"\\") + (b"\\" if data is None else b"")
        rest = method.encode() + struct.pack("<IIIBB", len(body), size, DOS_TIME, 0x20, 0)
        rest += bytes([len(n)]) + n + struct.pack("<H", crc)
        return bytes([len(rest), sum(rest) & 0xFF]) + rest + body
    dirpart, _, base = name.rpartition(b"/")
    if data is None:
        dirpart, base = name, b""
    dir_rec = (dirpart.replace(b"/", b"\xff") + b"\xff") if dirpart else b""
    if level == 1:
        # File name in the base header, folder in a 0x02 record, a header CRC record first.
        recs = [bytearray(b"\x00\x00\x00")]
        if dir_rec:
            recs.append(bytearray(b"\x02" + dir_rec))
        # Each record's length counts the size field in front of the next one.
        chain = bytearray()
        sizes = [len(r) + 2 for r in recs]
        chain += struct.pack("<H", sizes[0])
        for k, r in enumerate(recs):
            chain += r
            chain += struct.pack("<H", sizes[k + 1] if k + 1 < len(recs) else 0)
        first_size, tail = chain[:2], chain[2:]
        base_rest = method.encode() + struct.pack("<IIIBB", len(body) + len(tail), size,
                                                  DOS_TIME, 0x20, 1)
        base_rest += bytes([len(base)]) + base + struct.pack("<H", crc) + b"M" + first_size
        header = bytearray(bytes([len(base_rest), sum(base_rest) & 0xFF]) + base_rest + tail)
        crc_at = len(base_rest) + 2 + 1
        hc = crc16(header)
        header[crc_at:crc_at + 2] = struct.pack("<H", hc)
        return bytes(header) + body
    recs = [b"\x00\x00\x00", b"\x01" + base]
    if dir_rec:
        recs.append(b"\x02" + dir_rec)
    recs.append(b"\x50" + struct.pack("<H", (0o40755 if data is None else 0o100644)))
    chain = bytearray()
    for r in recs:
        chain += struct.pack("<H", len(r) + 2) + r
    chain += b"\x00\x00"
    header = bytearray(struct.pack("<H", 0) + method.encode() +
                       struct.pack("<IIIBBH", len(body), size, MTIME, 0x20, 2, crc) + b"U" + chain)
    if len(header) & 0xFF == 0:
        header += b"\x00"
    header[0:2] = struct.pack("<H", len(header))
    hc = crc16(header)
    header[27:29] = struct.pack("<H", hc)
    return bytes(header) + body


def build(level, entries=ENTRIES, folder=EXPECTED):
    out = bytearray()
    for path, source, method in entries:
        data = None
        if source is not None:
            with open(os.path.join(folder, source), "rb") as f:
                data = f.read()
        out += member(level, path, data, method)
    out += b"\x00"
    return bytes(out)


def far_data():
    """Repeats at distances of 9000 and 33000 bytes: beyond the 8 KiB and 32 KiB windows."""
    x, blocks = 12345, []
    for n in (9000, 24000):
        b = bytearray()
        for _ in range(n):
            x = (x * 1103515245 + 12345) & 0x7FFFFFFF
            b.append(x >> 16 & 0xFF)
        blocks.append(bytes(b))
    a, b = blocks
    return a + a + b + a


# The larger windows, at level 2, both on far.bin.
LARGE_WINDOWS = [("far6.bin", "far.bin", "-lh6-"), ("far7.bin", "far.bin", "-lh7-")]


def verify(archive, entries=ENTRIES, folder=EXPECTED):
    """lhasa must pass the CRC test and extract exactly the expected files."""
    files = [e for e in entries if e[1] is not None]
    t = subprocess.run(["lhasa", "t", archive], capture_output=True, text=True,
                       encoding="latin-1")
    assert t.returncode == 0 and t.stdout.count("Tested") == len(files), t.stdout + t.stderr
    with tempfile.TemporaryDirectory() as d:
        subprocess.run(["lhasa", "x", archive], cwd=d, check=True, capture_output=True)
        for path, source, _ in files:
            got = os.path.join(d.encode(), path.encode("cp1252"))
            assert filecmp.cmp(got, os.path.join(folder, source), shallow=False), path


def main():
    for level in (0, 1, 2):
        name = os.path.join(HERE, f"level{level}.lzh")
        with open(name, "wb") as f:
            f.write(build(level))
        verify(name)
        print(f"{name}: verified by lhasa")
    with open(os.path.join(HERE, "far.bin"), "wb") as f:
        f.write(far_data())
    name = os.path.join(HERE, "lh6-lh7.lzh")
    with open(name, "wb") as f:
        f.write(build(2, LARGE_WINDOWS, HERE))
    verify(name, LARGE_WINDOWS, HERE)
    print(f"{name}: verified by lhasa")
    return 0


if __name__ == "__main__":
    sys.exit(main())
