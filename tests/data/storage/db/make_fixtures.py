#!/usr/bin/env python3
"""Writes the database fixtures of tests/storage/DataBaseTest.cpp, byte by byte, in the
writer's own canonical form (chunks ascending, defaults left out)."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def ber(v):
    v &= 0xFFFFFFFF
    out = [v & 0x7F]
    v >>= 7
    while v:
        out.append(0x80 | (v & 0x7F))
        v >>= 7
    return bytes(reversed(out))


def chunk(cid, payload):
    return ber(cid) + ber(len(payload)) + payload


def integer(cid, v):
    b = ber(v)
    return ber(cid) + bytes([len(b)]) + b


def string(cid, s):
    return chunk(cid, s)


def record(*chunks):
    return b"".join(chunks) + b"\x00"


def listof(items):
    return ber(len(items)) + b"".join(ber(i) + rec for i, rec in items)


def music(name, volume=100):
    return record(string(1, name), *([integer(3, volume)] if volume != 100 else []))


def sound(name):
    return record(string(1, name))


# Heroes in a layout this build does not model: names, integers, a block and a nested list.
heroes = listof([
    (1, record(string(1, b"Aldo"), integer(7, 5), chunk(33, bytes([1, 0, 2, 0])),
               chunk(63, listof([(1, record(integer(1, 3), integer(2, 7)))])))),
    (2, record(string(1, b"B\xe9rt\x80"), integer(7, 0x12345))),
])

grounds = listof([
    (1, record(string(1, b"Campo"), chunk(11, b"\x00"))),
    (2, record(string(1, b"Mar\x80"), integer(2, -1), chunk(7, b"\x00"), chunk(11, b"\x02"))),
])

terrain = b"".join(bytes([2 if i == 7 else 1, 0]) for i in range(162))
chipsets = listof([
    (1, record(string(1, b"Base"), string(2, b"Campo"), chunk(3, terrain), integer(11, 1))),
])

VOCAB_IDS = ([*range(1, 38), *range(41, 52), *range(54, 65), *range(67, 78), *range(80, 90),
              92, 93, 95, *range(101, 109), 110, 112, 114, 115, 117, *range(123, 141),
              146, 147, 148, 151, 152, 153])
vocab_texts = {1: b" aparece", 41: b"\xa1Bienvenido!", 95: b"\x80", 152: b"S\xed", 153: b"No"}
vocabulary = record(*(string(i, vocab_texts.get(i, b"")) for i in VOCAB_IDS))

test_party = listof([(1, record(integer(1, 2), integer(2, 5), integer(12, 5)))])
system = record(
    string(11, b"Barco"), string(17, b"Titulo"),
    integer(21, 2), chunk(22, bytes([3, 0, 7, 0])),
    chunk(31, music(b"Tema", 80)), *(chunk(i, music(b"(OFF)")) for i in range(32, 39)),
    *(chunk(i, sound(b"Cursor\x9f" if i == 41 else b"(OFF)")) for i in range(41, 53)),
    *(chunk(i, b"\x13" if i == 61 else b"\x00") for i in range(61, 67)),
    integer(72, 1), chunk(82, b"\x01"), chunk(85, test_party), integer(91, 4))

switches = listof([(1, record()), (2, record(string(1, b"\x80uro"))), (3, record(string(1, b"Puerta\x9f")))])
variables = listof([(1, record(string(1, b"Oro"))), (2, record())])

script = bytes([0xCE, 0x7E, 0x00, 0x04]) + b"Hola" + b"\x00" + b"\x00\x00\x00\x00"
common = listof([(1, record(string(1, b"Saludo"), chunk(11, b"\x05"), integer(21, len(script)),
                            chunk(22, script)))])

raw_list = listof([(1, record())])
sections = {11: heroes, 12: raw_list, 13: listof([]), 14: raw_list, 15: raw_list, 16: grounds,
            17: raw_list, 18: raw_list, 19: raw_list, 20: chipsets, 21: vocabulary, 22: system,
            23: switches, 24: variables, 25: common}


def database(order, extra=b""):
    body = b"".join(chunk(i, sections[i]) for i in order)
    return ber(11) + b"VudDataBase" + body + extra


(HERE / "sample.ldb").write_bytes(database(range(11, 26)))
# The same content with the sections shuffled, switches given twice (an earlier, different copy
# first), and sections 5, 30 and 1000 that no reader knows.
early_switches = listof([(1, record(string(1, b"viejo")))])
shuffled = (ber(11) + b"VudDataBase" + chunk(5, b"\x01\x02\x03") + chunk(23, early_switches)
            + b"".join(chunk(i, sections[i]) for i in [25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11])
            + chunk(30, b"\x00") + chunk(1000, b"abc"))
(HERE / "shuffled.ldb").write_bytes(shuffled)
