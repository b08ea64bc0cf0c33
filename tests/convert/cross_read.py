#!/usr/bin/python3
"""Reads the six working tables with readers we did not write and compares what they see with the
golden dumps of tests/data/golden.

    /usr/bin/python3 cross_read.py TABLE_FOLDER GOLDEN_FOLDER

Readers: dbfread, python-dbf and GDAL's ogrinfo. Each must report the header and record lengths,
the fields (name, type, width, decimals) and every row's values of the golden dump. Prints one
line per difference and exits with 1 when there is any.
"""

import os
import re
import subprocess
import sys

import dbf
import dbfread

TABLES = ["ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"]
problems = []


def golden(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    facts = dict((k, int(v)) for v, k in re.findall(r"(\d+) (filas)", lines[0]))
    facts["cabecera"] = int(re.search(r"cabecera (\d+)", lines[0]).group(1))
    facts["registro"] = int(re.search(r"registro (\d+)", lines[0]).group(1))
    fields = []
    for descriptor in lines[1].split("|"):
        name, rest = descriptor.split(" ")
        width, decimals = rest[1:].split(".")
        fields.append((name, rest[0], int(width), int(decimals)))
    rows = [line[2:-1].split("|") for line in lines[2:] if line]
    return facts, fields, rows


def text_of(value, field):
    """A reader's value in the golden dump's form."""
    _, kind, _, decimals = field
    if value is None:
        return ""
    if isinstance(value, bool):
        return "T" if value else "F"
    if kind == "N":
        return f"{value:.{decimals}f}" if decimals else str(int(value))
    return str(value).rstrip(" ")


def compare(table, reader, what, seen, expected):
    if seen != expected:
        problems.append(f"{table} {reader} {what}: {seen!r} != {expected!r}")


def with_dbfread(table, path, facts, fields, rows):
    read = dbfread.DBF(path)
    compare(table, "dbfread", "encoding", read.encoding, "cp1252")
    compare(table, "dbfread", "lengths", (read.header.headerlen, read.header.recordlen),
            (facts["cabecera"], facts["registro"]))
    compare(table, "dbfread", "fields",
            [(f.name, f.type, f.length, f.decimal_count) for f in read.fields], fields)
    seen = [[text_of(record[f[0]], f) for f in fields] for record in read]
    compare(table, "dbfread", "rows", seen, rows)


def with_python_dbf(table, path, facts, fields, rows):
    read = dbf.Table(path)
    read.open(dbf.READ_ONLY)
    try:
        compare(table, "python-dbf", "lengths", (read._meta.header.start, read.record_length),
                (facts["cabecera"], facts["registro"]))
        info = [(n.upper(), chr(read.field_info(n)[0]), read.field_info(n)[1], read.field_info(n)[2])
                for n in read.field_names]
        compare(table, "python-dbf", "fields", info, fields)
        seen = [[text_of(record[f[0].lower()], f) for f in fields] for record in read]
        compare(table, "python-dbf", "rows", seen, rows)
    finally:
        read.close()


def with_ogrinfo(table, path, fields, rows):
    summary = subprocess.run(["ogrinfo", "-al", "-so", path], capture_output=True, text=True,
                             check=True).stdout
    count = int(re.search(r"Feature Count: (\d+)", summary).group(1))
    compare(table, "ogrinfo", "feature count", count, len(rows))
    widths = re.findall(r"^(\w+): \w+ \((\d+)\.(\d+)\)$", summary, re.MULTILINE)
    compare(table, "ogrinfo", "fields", [(n, int(w)) for n, w, _ in widths],
            [(f[0], f[2]) for f in fields])
    listing = subprocess.run(["ogrinfo", "-al", "-q", path], capture_output=True, text=True,
                             check=True).stdout
    seen = []
    for feature in re.split(r"^OGRFeature\(.*\):\d+$", listing, flags=re.MULTILINE)[1:]:
        values = dict(re.findall(r"^  (\w+) \(\w+\) = (.*)$", feature, re.MULTILINE))
        seen.append(["" if values.get(f[0]) == "(null)" else values.get(f[0], "") for f in fields])
    compare(table, "ogrinfo", "rows", seen, rows)


def main():
    folder, golden_folder = sys.argv[1], sys.argv[2]
    for table in TABLES:
        facts, fields, rows = golden(os.path.join(golden_folder, table + ".txt"))
        compare(table, "golden", "row count", len(rows), facts["filas"])
        path = os.path.join(folder, table + ".DBF")
        with_dbfread(table, path, facts, fields, rows)
        with_python_dbf(table, path, facts, fields, rows)
        with_ogrinfo(table, path, fields, rows)
    for problem in problems:
        print(problem)
    if not problems:
        print("Las seis tablas se leen igual con dbfread, python-dbf y ogrinfo")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
