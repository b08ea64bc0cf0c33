#!/usr/bin/python3
"""Writes SOLUC.DBF: the timetable Quorvane could have left for the example school of horario.xml.

Every teaching assignment of the document gets a teacher and as many weekly lessons as its minutes
give hours, each in a slot of the document where neither the teacher nor the group is busy. Like a
real solution it also holds lessons Quorvane could not place (DIA 0), one teacher without lessons,
a few codes the working tables lack and one deleted row.

The output depends on nothing but horario.xml: same document, same bytes.
Usage: generate_soluc.py [horario.xml] [SOLUC.DBF]   (both default to this folder)
Standard library only.
"""

import math
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree

HERE = os.path.dirname(os.path.abspath(__file__))
DAY_NUMBERS = {"L": 1, "M": 2, "X": 3, "J": 4, "V": 5, "S": 6, "D": 7}

# Quorvane's own table: the seven fields the tool reads and two of its own.
FIELDS = [  # name, type, width, decimals
    ("PROF", "C", 4, 0),
    ("DIA", "N", 1, 0),
    ("HORA", "N", 2, 0),
    ("TAREA", "C", 4, 0),
    ("AULA", "C", 4, 0),
    ("CODGRUPO", "C", 4, 0),
    ("ASIG", "C", 4, 0),
    ("SESION", "N", 2, 0),
    ("FIJA", "L", 1, 0),
]
LAST_UPDATE = (2025, 9, 1)
LANGUAGE_DRIVER = 0x57  # Windows ANSI


def trim(text):
    """Blanks and control characters off both ends, as the tool trims values."""
    text = text or ""
    start, end = 0, len(text)
    while start < end and ord(text[start]) <= 32:
        start += 1
    while end > start and ord(text[end - 1]) <= 32:
        end -= 1
    return text[start:end]


def records(root, seq):
    """The records of one list: (positional values, {dato: value})."""
    found = []
    for salidas in root.findall("SALIDAS"):
        for lista in salidas.findall("listasal"):
            if lista.get("seq") != seq:
                continue
            for record in lista.findall("listasal"):
                fields = record.findall("salida")
                values = [trim("".join(f.itertext())) for f in fields]
                keyed = {f.get("dato"): v for f, v in zip(fields, values)}
                found.append((values, keyed))
    return found


def positional(root, seq, count):
    """Records with at least two fields, padded to `count` values, as the table builders read them."""
    rows = []
    for values, _ in records(root, seq):
        if len(values) >= 2:
            rows.append(values + [""] * (count - len(values)))
    return rows


def read_school(path):
    root = ElementTree.parse(path).getroot()
    school = {}
    school["teachers"] = [v[3][:4] for v in positional(root, "PROFESORES", 4)]
    school["groups"] = [v[1][:4] for v in positional(root, "GRUPOS", 6)]
    school["rooms"] = [(v[1] or v[0])[:4] for v in positional(root, "AULAS", 4)]
    # Subject key → code; the first record of a key wins.
    school["subjects"] = {v[0]: v[1][:4] for v in reversed(positional(root, "MATERIAS", 4))}
    school["assignments"] = [
        {"casig": v[0][:4], "cgrup": v[1][:4], "caula": v[2][:4], "minutes": v[7], "key": v[8]}
        for v in positional(root, "ASIGNATURAS", 9)
    ]
    slots = []
    for _, keyed in records(root, "TRAMOS"):
        name = keyed.get("DIA", keyed.get("NOMBRE", ""))
        if name[:1] in DAY_NUMBERS and name[1:3].isdigit():
            slots.append((DAY_NUMBERS[name[0]], int(name[1:3])))
    school["slots"] = sorted(set(slots))
    return school


def weekly_hours(minutes):
    """Whole hours a week, at least one, as the assignments table rounds them."""
    try:
        hours = int(minutes) / 60
    except ValueError:
        hours = 1
    return max(1, math.ceil(hours))


class Timetable:
    def __init__(self, school):
        # The last teacher of the document is given no lessons.
        self.teachers = school["teachers"][:-1]
        self.slots = school["slots"]
        self.busy = set()
        self.load = {teacher: 0 for teacher in self.teachers}
        self.subject_teachers = {}
        self.lessons = []

    def teacher_for(self, subject, hours):
        """A teacher who already teaches the subject and has room for it, else the least busy."""
        for teacher in self.subject_teachers.get(subject, []):
            if self.load[teacher] + hours <= 20:
                return teacher
        teacher = min(self.teachers, key=lambda t: (self.load[t], self.teachers.index(t)))
        self.subject_teachers.setdefault(subject, []).append(teacher)
        return teacher

    def place(self, lesson, start):
        """The first slot from `start` on where neither the teacher nor the group is busy; a lesson
        that fits nowhere stays unplaced, with day and period 0, as Quorvane leaves it."""
        owners = [lesson["PROF"]] + ([lesson["CODGRUPO"]] if lesson["CODGRUPO"] else [])
        for step in range(len(self.slots)):
            day, period = self.slots[(start + step) % len(self.slots)]
            if all((owner, day, period) not in self.busy for owner in owners):
                self.busy.update((owner, day, period) for owner in owners)
                lesson["DIA"], lesson["HORA"] = day, period
                break
        self.lessons.append(lesson)
        self.load[lesson["PROF"]] += 1


def new_lesson(teacher, task, room, group, subject, session):
    return {"PROF": teacher, "TAREA": task, "AULA": room, "CODGRUPO": group, "ASIG": subject,
            "SESION": session, "FIJA": False, "DIA": 0, "HORA": 0}


def schedule(school):
    """Lessons of the groups first, each subject spread over the week, then the teachers' duties."""
    timetable = Timetable(school)
    tasks = []
    for index, assignment in enumerate(school["assignments"]):
        hours = weekly_hours(assignment["minutes"])
        if assignment["key"].startswith("G"):
            tasks.append((index, assignment, hours))
            continue
        teacher = timetable.teacher_for(assignment["casig"], hours)
        for hour in range(hours):
            lesson = new_lesson(teacher, "", assignment["caula"], assignment["cgrup"], assignment["casig"], hour + 1)
            timetable.place(lesson, index * 7 + hour * 6)
    # A duty has no group or subject; its activity is the task code Quorvane was given.
    for index, assignment, hours in tasks:
        task = school["subjects"].get(assignment["key"], assignment["key"][:4])
        for hour in range(hours):
            teacher = min(timetable.teachers, key=lambda t: (timetable.load[t], timetable.teachers.index(t)))
            timetable.place(new_lesson(teacher, task, "", "", "", hour + 1), index * 5 + hour * 7)
    return timetable.lessons


def add_oddities(lessons):
    """What a real solution holds besides placed lessons."""
    placed = [lesson for lesson in lessons if lesson["DIA"] != 0]
    # Lessons taken out of the timetable by hand: day and period 0.
    for lesson in placed[5:80:25]:
        lesson["DIA"], lesson["HORA"] = 0, 0
    # Codes the working tables lack: a room, a group in another letter case, a subject and a
    # Saturday slot.
    placed[3]["AULA"] = "LAB3"
    placed[8]["CODGRUPO"] = placed[8]["CODGRUPO"].lower()
    placed[13]["ASIG"] = "XX"
    placed[21]["DIA"], placed[21]["HORA"] = 6, 1
    placed[34]["FIJA"] = True
    # A lesson deleted after the solution was saved: the table keeps it, marked.
    lessons.append(dict(placed[1], deleted=True))


def field_bytes(value, kind, width):
    if kind == "C":
        return value.encode("cp1252").ljust(width, b" ")[:width]
    if kind == "N":
        return str(value).rjust(width).encode("ascii")
    return b"T" if value else b"F"


def dbase_bytes(lessons):
    record_length = 1 + sum(width for _, _, width, _ in FIELDS)
    header_length = 32 + 32 * len(FIELDS) + 1
    year, month, day = LAST_UPDATE
    out = bytearray(struct.pack("<BBBBIHH", 0x03, year - 1900, month, day, len(lessons), header_length, record_length))
    out += bytes(17) + bytes([LANGUAGE_DRIVER]) + bytes(2)
    for name, kind, width, decimals in FIELDS:
        out += name.encode("ascii").ljust(11, b"\0") + kind.encode("ascii") + bytes(4)
        out += bytes([width, decimals]) + bytes(14)
    out += b"\r"
    for lesson in lessons:
        out += b"*" if lesson.get("deleted") else b" "
        for name, kind, width, _ in FIELDS:
            out += field_bytes(lesson[name], kind, width)
    out += b"\x1a"
    return bytes(out)


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "horario.xml")
    target = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "SOLUC.DBF")
    lessons = schedule(read_school(source))
    add_oddities(lessons)
    # Quorvane saves its solution slot by slot; unplaced lessons come last.
    lessons.sort(key=lambda l: (l["DIA"] == 0, l["DIA"], l["HORA"], l["PROF"], l["CODGRUPO"]))
    with open(target, "wb") as out:
        out.write(dbase_bytes(lessons))
    placed = sum(1 for l in lessons if l["DIA"] != 0 and not l.get("deleted"))
    print(f"{target}: {len(lessons)} filas, {placed} actividades colocadas")


if __name__ == "__main__":
    main()
