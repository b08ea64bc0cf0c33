#!/usr/bin/python3
"""Writes the example Zentris document of a fictional secondary school, IES Valle del Tiétar.

    /usr/bin/python3 examples/generate_school.py [OUTPUT]

OUTPUT defaults to examples/horario.xml beside this script. The document is the same on every
run (no randomness, no dates): regenerate it only on purpose and review the difference together
with the golden table dumps in tests/data/golden/.

The document is encoded ISO-8859-1, as school administration systems usually write it, and holds
a few irregularities the conversion must handle: a subject code repeated in another letter case,
a record with a single field, a room without abbreviation, a group without level, tasks (subject
keys beginning with "G"), one of them missing from the subjects list, minutes of 90, 120, 150 and
1500, an empty minutes value, values with surrounding blanks and line breaks, and time slots named
by "DIA" instead of "NOMBRE" or carrying a field the conversion does not read.
"""

import os
import sys
from xml.sax.saxutils import escape, quoteattr

DAYS = "LMXJV"
PERIODS = [("08:15", "09:10"), ("09:10", "10:05"), ("10:05", "11:00"),
           ("11:30", "12:25"), ("12:25", "13:20"), ("13:20", "14:15")]

# (key, code, long code, name, weekly minutes by level)
SUBJECTS = [
    ("300101", "LCL", "LENGUA", "Lengua Castellana y Literatura"),
    ("300102", "MAT", "MATEMAT", "Matemáticas"),
    ("300103", "ING", "INGLES", "Primera Lengua Extranjera: Inglés"),
    ("300104", "GH", "GEOHIST", "Geografía e Historia"),
    ("300105", "BG", "BIOGEO", "Biología y Geología"),
    ("300106", "FQ", "FISQUIM", "Física y Química"),
    ("300107", "EF", "EDFISICA", "Educación Física"),
    ("300108", "MUS", "MUSICA", "Música"),
    ("300109", "EPV", "PLASTICA", "Educación Plástica, Visual y Audiovisual"),
    ("300110", "TD", "TECNODIG", "Tecnología y Digitalización"),
    ("300111", "FR", "FRANCES", "Segunda Lengua Extranjera: Francés"),
    ("300112", "REL", "RELIGION", "Religión Católica"),
    ("300113", "AE", "ATENCION", "Atención Educativa"),
    ("300114", "TUT", "TUTORIA", "Tutoría"),
    ("300115", "LAT", "LATIN", "Latín"),
    ("300116", "ECO", "ECONOMIA", "Economía y Emprendimiento"),
    ("300117", "VAL", "VALCIVET", "Educación en Valores Cívicos y Éticos"),
    ("300118", "DIG", "DIGITAL", "Digitalización"),
    ("300119", "MATA", "MATAPLIC", "Matemáticas Aplicadas"),
    ("300120", "OCE", "ORIENTA", "Formación y Orientación Personal"),
    ("300121", "EXP", "EXPRESIO", "Expresión Artística"),
    ("300122", "ACT", "AMBCTEC", "Ámbito Científico-Tecnológico"),
    ("300123", "ALS", "AMBLSOC", "Ámbito Lingüístico y Social"),
    ("300201", "LCL1", "LENGUA1", "Lengua Castellana y Literatura I"),
    ("300202", "LCL2", "LENGUA2", "Lengua Castellana y Literatura II"),
    ("300203", "ING1", "INGLES1", "Inglés I"),
    ("300204", "ING2", "INGLES2", "Inglés II"),
    ("300205", "FIL", "FILOSOF", "Filosofía"),
    ("300206", "HFIL", "HISTFIL", "Historia de la Filosofía"),
    ("300207", "HES", "HISTESP", "Historia de España"),
    ("300208", "MAT1", "MATEM1", "Matemáticas I"),
    ("300209", "MAT2", "MATEM2", "Matemáticas II"),
    ("300210", "MCS1", "MATCCSS1", "Matemáticas Aplicadas a las CC. SS. I"),
    ("300211", "MCS2", "MATCCSS2", "Matemáticas Aplicadas a las CC. SS. II"),
    ("300212", "FQ1", "FISQUI1", "Física y Química"),
    ("300213", "FIS", "FISICA", "Física"),
    ("300214", "QUI", "QUIMICA", "Química"),
    ("300215", "BGA", "BIOGEOAM", "Biología, Geología y Ciencias Ambientales"),
    ("300216", "BIO", "BIOLOGIA", "Biología"),
    ("300217", "DT1", "DIBTEC1", "Dibujo Técnico I"),
    ("300218", "DT2", "DIBTEC2", "Dibujo Técnico II"),
    ("300219", "LAT1", "LATIN1", "Latín I"),
    ("300220", "GRI1", "GRIEGO1", "Griego I"),
    ("300221", "HMC", "HISTMUND", "Historia del Mundo Contemporáneo"),
    ("300222", "ECO1", "ECONOM1", "Economía"),
    ("300223", "EMP", "EMPRESA", "Empresa y Diseño de Modelos de Negocio"),
    ("300224", "GEO", "GEOGRAF", "Geografía"),
    ("300225", "EF1", "EDFIS1", "Educación Física"),
    ("300226", "PSI", "PSICOLOG", "Psicología"),
    ("300227", "TIC", "TICBACH", "Tecnologías de la Información y la Comunicación"),
]

# Tasks: subject keys beginning with "G" are duties and meetings, not lessons.
TASKS = [
    ("G100", "GUAR", "GUARDIA", "Guardia"),
    ("G101", "GREC", "GUARREC", "Guardia de recreo"),
    ("G102", "GBIB", "GUARBIB", "Guardia de biblioteca"),
    ("G201", "RDEP", "REUNDEP", "Reunión de departamento"),
    ("G202", "JDEP", "JEFEDEP", "Jefatura de departamento"),
    ("G305", "TUTA", "TUTADMIN", "Tutoría administrativa"),
    ("G306", "AFAM", "ATFAMIL", "Atención a familias"),
    ("G410", "CTIC", "COORDTIC", "Coordinación TIC"),
    ("G411", "CBIL", "COORDBIL", "Coordinación de bilingüismo"),
    ("G520", "PLEC", "PLANLECT", "Plan de lectura y biblioteca"),
]

FIRST_NAMES = ["Begoña", "José Ángel", "María Jesús", "Íñigo", "Nuria", "Andrés", "Pilar", "Raúl",
               "Sonia", "Joaquín", "Inés", "Óscar", "Lucía", "Tomás", "Rocío", "Germán", "Noelia",
               "Martín", "Ainhoa", "Fernando"]
SURNAMES = ["Muñoz", "Ibáñez", "Castaño", "Núñez", "Peña", "Gómez", "Martín", "Sáez", "Rodríguez",
            "Quiñones", "López", "Ortega", "Fernández", "Cañete", "Jiménez", "Beltrán", "Durán",
            "Hernández", "Montaño", "Álvarez", "Sánchez", "Valverde", "Cordero", "Ruiz"]

ROOMS = [("A", "1.01"), ("A", "1.02"), ("A", "1.03"), ("A", "1.04"), ("A", "1.05"), ("A", "1.06"),
         ("A", "2.01"), ("A", "2.02"), ("A", "2.03"), ("A", "2.04"), ("A", "2.05"), ("A", "2.06"),
         ("B", "0.01"), ("B", "0.02"), ("B", "0.03"), ("B", "0.04")]
SPECIAL_ROOMS = [("LABQ", "B", "Laboratorio de Química"), ("LABB", "B", "Laboratorio de Biología"),
                 ("INF1", "A", "Aula de Informática 1"), ("TALL", "B", "Taller de Tecnología"),
                 ("MUSI", "A", "Aula de Música"), ("PLAS", "A", "Aula de Plástica"),
                 ("GIMN", "C", "Gimnasio"), ("BIBL", "A", "Biblioteca"),
                 ("", "C", "Pabellón de deportes Peñalara")]   # the room without abbreviation

# (abbreviation, level, year, letter); the second diversification group has no level.
GROUPS = ([(f"{y}ES{g}", "ESO", str(y), g) for y in (1, 2, 3, 4) for g in "ABC"]
          + [("3DIV", "ESO", "3", "D"), ("4DIV", "", "4", "D")]
          + [(f"{y}BH{g}", "BACH", str(y), g) for y in (1, 2) for g in "ABC"])

# Weekly minutes of each subject code per kind of group.
ESO_PLAN = [("LCL", 240), ("MAT", 240), ("ING", 240), ("GH", 180), ("BG", 180), ("EF", 120),
            ("MUS", 120), ("TUT", 60), ("REL", 60)]
ESO_UPPER_PLAN = [("LCL", 240), ("MAT", 240), ("ING", 240), ("GH", 180), ("FQ", 180), ("EF", 120),
                  ("TD", 120), ("TUT", 60), ("REL", 60)]
DIV_PLAN = [("ACT", 480), ("ALS", 420), ("ING", 180), ("EF", 120), ("TUT", 60), ("OCE", 90),
            ("EXP", 150), ("REL", 60), ("TD", 120)]
BACH1_PLAN = [("LCL1", 240), ("ING1", 180), ("FIL", 180), ("EF1", 120), ("MAT1", 240),
              ("FQ1", 240), ("BGA", 240), ("DT1", 240), ("TIC", 120)]
BACH2_PLAN = [("LCL2", 240), ("ING2", 180), ("HES", 180), ("HFIL", 180), ("MAT2", 240),
              ("QUI", 240), ("BIO", 240), ("DT2", 240), ("PSI", 120)]


def field(value):
    return f"<salida>{escape(value)}</salida>"


def record(values, indent="      "):
    return f"{indent}<listasal>" + "".join(field(v) for v in values) + "</listasal>"


def keyed_record(pairs, indent="      "):
    inner = "".join(f"<salida dato={quoteattr(k)}>{escape(v)}</salida>" for k, v in pairs)
    return f"{indent}<listasal>{inner}</listasal>"


def subject_key(code):
    for key, subject_code, _, _ in SUBJECTS + TASKS:
        if subject_code == code:
            return key
    raise KeyError(code)


def materias():
    rows = [record(s) for s in SUBJECTS + TASKS]
    # Sent again in lower case by a second department; the first record of a code wins.
    rows.insert(31, record(("300299", "mat1", "MATEM1B", "Matemáticas I (desdoble)")))
    # A record cut short by the exporting system.
    rows.insert(45, record(("300298",)))
    return rows


def teachers():
    rows = []
    for i in range(40):
        first = FIRST_NAMES[i % len(FIRST_NAMES)]
        surname1 = SURNAMES[i % len(SURNAMES)]
        surname2 = SURNAMES[(i * 7 + 3) % len(SURNAMES)]
        abbreviation = (first[0] + surname1[0] + surname2[0]).upper()
        abbreviation = abbreviation.replace("Í", "I").replace("Ó", "O").replace("Á", "A") + str(i % 10)
        employee = f"E{104201 + i * 37:06d}"
        taken = f"01/09/{2004 + (i * 3) % 20}"
        rows.append(record((employee, taken, f"{surname1} {surname2}, {first}", abbreviation)))
    # Padded by hand in the administration system: blanks and a line break around the values.
    rows[7] = record(("  E104460 ", "01/09/2011", "\n        Núñez Sáez, Germán\n      ", " NSG7"))
    return rows


def rooms():
    rows = []
    for number, (building, name) in enumerate(ROOMS):
        rows.append(record((f"D{1201 + number}", f"{building}{name.replace('.', '')}",
                            f"Aula {name}", building)))
    for number, (abbreviation, building, name) in enumerate(SPECIAL_ROOMS):
        rows.append(record((f"D{1301 + number}", abbreviation, name, building)))
    return rows


def groups():
    return [record((f"U{3001 + n}", abbreviation, "M", level, year, letter))
            for n, (abbreviation, level, year, letter) in enumerate(GROUPS)]


def plan_for(abbreviation, level, year):
    if "DIV" in abbreviation:
        return DIV_PLAN
    if level == "BACH":
        return BACH1_PLAN if year == "1" else BACH2_PLAN
    return ESO_PLAN if year in ("1", "2") else ESO_UPPER_PLAN


def room_for(code, group_number):
    special = {"EF": "GIMN", "EF1": "GIMN", "MUS": "MUSI", "TD": "TALL", "TIC": "INF1",
               "FQ1": "LABQ", "QUI": "LABQ", "BIO": "LABB", "DT1": "PLAS", "DT2": "PLAS"}
    if code in special:
        return special[code]
    building, name = ROOMS[group_number % len(ROOMS)]
    return f"{building}{name.replace('.', '')}"


def assignments():
    rows = []
    for number, (abbreviation, level, year, letter) in enumerate(GROUPS):
        for code, minutes in plan_for(abbreviation, level, year):
            rows.append((code, abbreviation, room_for(code, number), "M", level, year, letter,
                         str(minutes), subject_key(code)))
    # Electives of single groups.
    for abbreviation, code, minutes in (("4ESA", "FR", 120), ("4ESB", "LAT", 180), ("4ESC", "DIG", 180),
                                        ("2BHC", "EMP", 240)):
        number = [g[0] for g in GROUPS].index(abbreviation)
        _, level, year, letter = GROUPS[number]
        rows.append((code, abbreviation, room_for(code, number), "M", level, year, letter, str(minutes),
                     subject_key(code)))
    tasks = [("GUAR", 1500), ("GREC", 150), ("GBIB", 90), ("RDEP", 60), ("JDEP", 120),
             ("TUTA", 60), ("AFAM", 60), ("CTIC", 180), ("CBIL", 120), ("PLEC", 90),
             ("GUAR", 120), ("RDEP", 45), ("AFAM", 0), ("TUTA", -30)]
    for code, minutes in tasks:
        rows.append((code, "", "", "M", "", "", "", str(minutes), subject_key(code)))
    # A task the subjects list lacks: its code is the key itself, cut to four characters.
    rows.append(("GEVA", "", "", "M", "", "", "", "90", "G9150"))
    # Minutes left empty count as one hour.
    rows.append(("AE", "1ESA", "A101", "M", "ESO", "1", "A", "", subject_key("AE")))
    return [record(r) for r in rows]


def slots():
    rows = []
    for d, day in enumerate(DAYS):
        for p, (start, end) in enumerate(PERIODS):
            name = f"{day}{p + 1}"
            pairs = [("CODIGO_ZENTRIS", f"TR{d + 1}{p + 1:02d}"), ("NOMBRE", name),
                     ("INICIO", start), ("FIN", end), ("NINUTOS", "55")]
            if name == "X3":
                pairs[1] = ("DIA", name)                  # named by DIA instead of NOMBRE
            if name == "V6":
                pairs.append(("OBSERVACIONES", "Salida a las 14:15"))   # not read
            rows.append(keyed_record(pairs))
    return rows


def listasal(name, rows):
    return [f"    <listasal seq={quoteattr(name)}>", *rows, "    </listasal>"]


def document():
    lines = ['<?xml version="1.0" encoding="ISO-8859-1"?>',
             '<SERVICIO nombre="EXPORTACION_HORARIOS" centro="IES Valle del Tiétar">',
             "  <SALIDAS>"]
    lines += listasal("MATERIAS", materias())
    lines += listasal("PROFESORES", teachers())
    lines += listasal("AULAS", rooms())
    lines += listasal("GRUPOS", groups())
    lines += listasal("ASIGNATURAS", assignments())
    lines += listasal("TRAMOS", slots())
    lines += ["  </SALIDAS>", "</SERVICIO>", ""]
    return "\n".join(lines)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "horario.xml")
    with open(output, "wb") as out:
        out.write(document().encode("iso-8859-1"))


if __name__ == "__main__":
    main()
