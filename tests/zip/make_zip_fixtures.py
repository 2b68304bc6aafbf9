#!/usr/bin/env python3
"""Makes the zip archives the zip component's tests read, and checks each with
the real tools (unzip -t; a split set after joining it with zip -s 0).

Usage: make_zip_fixtures.py OUTDIR

Beside every archive NAME.zip it writes NAME.list, the entries as the writer
made them, one per line: name, uncompressed size, compressed size, CRC-32 (hex),
method, each separated by a tab; names in UTF-8.
"""
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

out = sys.argv[1]
os.makedirs(out, exist_ok=True)


def write_list(name, infos):
    with open(os.path.join(out, name + ".list"), "w", encoding="utf-8") as f:
        for i in infos:
            f.write("%s\t%d\t%d\t%08x\t%d\n" % (i.filename, i.file_size, i.compress_size, i.CRC, i.compress_type))


def unzip_test(path):
    subprocess.run(["unzip", "-tqq", path], check=True, stdout=subprocess.DEVNULL)


def make(name, entries, comment=b"", dos=False, patch=None):
    """entries: (name, data, method); names ending in "/" are folders."""
    path = os.path.join(out, name + ".zip")
    with zipfile.ZipFile(path, "w") as z:
        for entry_name, data, method in entries:
            info = zipfile.ZipInfo(entry_name, date_time=(2024, 5, 17, 10, 30, 0))
            info.compress_type = method
            if dos:
                info.create_system = 0
            if entry_name.endswith("/"):
                info.external_attr = 0x10
            z.writestr(info, data)
        z.comment = comment
        infos = z.infolist()
    if patch:
        # Names in a code page the writer does not offer: written with
        # placeholders of the same length, then the bytes swapped.
        placeholder, wanted = patch
        with open(path, "rb") as f:
            raw = f.read()
        assert raw.count(placeholder) == 2
        with open(path, "wb") as f:
            f.write(raw.replace(placeholder, wanted))
    unzip_test(path)
    write_list(name, infos)
    return infos


text = ("Gruppe A: Spiel 1 Tisch 3 11:7 11:9 11:5\n" * 200).encode()
STORED, DEFLATED = zipfile.ZIP_STORED, zipfile.ZIP_DEFLATED

make("stored_deflated", [
    ("stored.txt", text, STORED),
    ("deflated.txt", text, DEFLATED),
    ("ordner/", b"", STORED),
    ("ordner/unterordner/", b"", STORED),
    ("ordner/ergebnis.txt", b"11:7 11:9", DEFLATED),
])

make("names_utf8", [
    ("Größe_Übersicht.txt", b"utf-8", STORED),
    ("Spielplan_Ölmühle_ßü.txt", b"utf-8", DEFLATED),
])

# Code page 437 from a DOS writer; the German letters are the same in 850.
cp437_name = "Müller_Ärger_Straße.txt"
placeholder = cp437_name.encode("cp437").replace(b"\x81", b"?").replace(b"\x8e", b"?").replace(b"\xe1", b"?")
make("names_cp437", [(placeholder.decode("ascii"), b"cp437", STORED)], dos=True,
     patch=(placeholder, cp437_name.encode("cp437")))
with open(os.path.join(out, "names_cp437.list"), "w", encoding="utf-8") as f:
    f.write("%s\t5\t5\t%08x\t0\n" % (cp437_name, zipfile.crc32(b"cp437")))

make("name259", [("n" * 255 + ".txt", b"259", STORED)])
make("name260", [("n" * 256 + ".txt", b"260", STORED)])

comment = bytes(random.Random(7).randrange(32, 127) for _ in range(65535))
make("comment64k", [("a.txt", b"a", STORED), ("b.txt", b"bb", DEFLATED)], comment=comment)

# A comment holding an end record whose comment reaches exactly to the end of
# the file but whose directory lies nowhere: the reader must pass over it.
fake_tail = b"tail"
fake = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 9, 9, 0x7FFF, 0x7FFFFFFF, len(fake_tail)) + fake_tail
# unzip itself is misled by such a record, so the archive is checked before the
# record goes into its comment.
make("endrecord_in_comment", [("echt.txt", b"echt", STORED)], comment=b"Kommentar ")
path = os.path.join(out, "endrecord_in_comment.zip")
with open(path, "rb") as f:
    raw = f.read()
end = len(raw) - 22 - len(b"Kommentar ")
assert raw[end:end + 4] == b"PK\x05\x06"
new_comment = b"Kommentar " + fake
with open(path, "wb") as f:
    f.write(raw[:end + 20] + struct.pack("<H", len(new_comment)) + new_comment)

# More entries than the end record can count: the writer adds a zip64 end record.
for count in (65536, 70000):
    name = "many_%d" % count
    path = os.path.join(out, name + ".zip")
    with zipfile.ZipFile(path, "w") as z:
        for i in range(count):
            z.writestr(zipfile.ZipInfo("e%05d" % i, date_time=(2024, 5, 17, 10, 30, 0)), b"")
        infos = z.infolist()
    with open(path, "rb") as f:
        f.seek(-22, os.SEEK_END)
        assert struct.unpack("<IHHHH", f.read(12))[3:] == (0xFFFF, 0xFFFF), "the count must not fit the end record"
    unzip_test(path)
    write_list(name, infos)

# A set split into parts of 64 KiB by zip, its directory long enough to run
# over at least two parts; the same parts again with numbered names.
with tempfile.TemporaryDirectory() as tmp:
    rng = random.Random(11)
    names = []
    for i in range(3):
        names.append("zufall%d.bin" % i)
        with open(os.path.join(tmp, names[-1]), "wb") as f:
            f.write(bytes(rng.randrange(256) for _ in range(40000)))
    for i in range(700):
        names.append("spieler_%04d_mit_einem_recht_langen_namen_damit_das_verzeichnis_waechst.txt" % i)
        with open(os.path.join(tmp, names[-1]), "w") as f:
            f.write("Spieler %d\n" % i)
    split = os.path.join(out, "split.zip")
    for old in os.listdir(out):
        if old.startswith("split.") or old.startswith("numbered"):
            os.remove(os.path.join(out, old))
    subprocess.run(["zip", "-q", "-X", "-s", "64k", split] + names, cwd=tmp, check=True)
    joined = os.path.join(tmp, "joined.zip")
    subprocess.run(["zip", "-q", "-s", "0", split, "--out", joined], check=True)
    unzip_test(joined)
    with zipfile.ZipFile(joined) as z:
        write_list("split", z.infolist())

parts = sorted(p for p in os.listdir(out) if p.startswith("split.z") and p != "split.zip")
with open(split, "rb") as f:
    f.seek(-22, os.SEEK_END)
    _, this_disk, central_disk = struct.unpack("<IHH", f.read(8))
assert this_disk == len(parts) and central_disk < this_disk, "the directory must run over parts"
for k, part in enumerate(parts + ["split.zip"], start=1):
    shutil.copyfile(os.path.join(out, part), os.path.join(out, "numbered%03d.zip" % k))
shutil.copyfile(os.path.join(out, "split.list"), os.path.join(out, "numbered.list"))
