#include "SchoolCatalogue.h"

#include <stdexcept>
#include <string>

namespace tqz::bench::catalogue {

const std::vector<Subject>& subjects()
{
    static const std::vector<Subject> kSubjects {
        { "300101", "LCL", "LENGUA", "Lengua Castellana y Literatura" },
        { "300102", "MAT", "MATEMAT", "Matemáticas" },
        { "300103", "ING", "INGLES", "Primera Lengua Extranjera: Inglés" },
        { "300104", "GH", "GEOHIST", "Geografía e Historia" },
        { "300105", "BG", "BIOGEO", "Biología y Geología" },
        { "300106", "FQ", "FISQUIM", "Física y Química" },
        { "300107", "EF", "EDFISICA", "Educación Física" },
        { "300108", "MUS", "MUSICA", "Música" },
        { "300109", "EPV", "PLASTICA", "Educación Plástica, Visual y Audiovisual" },
        { "300110", "TD", "TECNODIG", "Tecnología y Digitalización" },
        { "300111", "FR", "FRANCES", "Segunda Lengua Extranjera: Francés" },
        { "300112", "REL", "RELIGION", "Religión Católica" },
        { "300113", "AE", "ATENCION", "Atención Educativa" },
        { "300114", "TUT", "TUTORIA", "Tutoría" },
        { "300115", "LAT", "LATIN", "Latín" },
        { "300116", "ECO", "ECONOMIA", "Economía y Emprendimiento" },
        { "300117", "VAL", "VALCIVET", "Educación en Valores Cívicos y Éticos" },
        { "300118", "DIG", "DIGITAL", "Digitalización" },
        { "300120", "OCE", "ORIENTA", "Formación y Orientación Personal" },
        { "300121", "EXP", "EXPRESIO", "Expresión Artística" },
        { "300122", "ACT", "AMBCTEC", "Ámbito Científico-Tecnológico" },
        { "300123", "ALS", "AMBLSOC", "Ámbito Lingüístico y Social" },
        { "300201", "LCL1", "LENGUA1", "Lengua Castellana y Literatura I" },
        { "300202", "LCL2", "LENGUA2", "Lengua Castellana y Literatura II" },
        { "300203", "ING1", "INGLES1", "Inglés I" },
        { "300204", "ING2", "INGLES2", "Inglés II" },
        { "300205", "FIL", "FILOSOF", "Filosofía" },
        { "300206", "HFIL", "HISTFIL", "Historia de la Filosofía" },
        { "300207", "HES", "HISTESP", "Historia de España" },
        { "300208", "MAT1", "MATEM1", "Matemáticas I" },
        { "300209", "MAT2", "MATEM2", "Matemáticas II" },
        { "300210", "MCS1", "MATCCSS1", "Matemáticas Aplicadas a las CC. SS. I" },
        { "300211", "MCS2", "MATCCSS2", "Matemáticas Aplicadas a las CC. SS. II" },
        { "300212", "FQ1", "FISQUI1", "Física y Química" },
        { "300213", "FIS", "FISICA", "Física" },
        { "300214", "QUI", "QUIMICA", "Química" },
        { "300215", "BGA", "BIOGEOAM", "Biología, Geología y Ciencias Ambientales" },
        { "300216", "BIO", "BIOLOGIA", "Biología" },
        { "300217", "DT1", "DIBTEC1", "Dibujo Técnico I" },
        { "300218", "DT2", "DIBTEC2", "Dibujo Técnico II" },
        { "300219", "LAT1", "LATIN1", "Latín I" },
        { "300220", "GRI1", "GRIEGO1", "Griego I" },
        { "300221", "HMC", "HISTMUND", "Historia del Mundo Contemporáneo" },
        { "300223", "EMP", "EMPRESA", "Empresa y Diseño de Modelos de Negocio" },
        { "300225", "EF1", "EDFIS1", "Educación Física" },
        { "300226", "PSI", "PSICOLOG", "Psicología" },
        { "300227", "TIC", "TICBACH", "Tecnologías de la Información y la Comunicación" },
    };
    return kSubjects;
}

const std::vector<Subject>& tasks()
{
    static const std::vector<Subject> kTasks {
        { "G100", "GUAR", "GUARDIA", "Guardia" },
        { "G101", "GREC", "GUARREC", "Guardia de recreo" },
        { "G102", "GBIB", "GUARBIB", "Guardia de biblioteca" },
        { "G201", "RDEP", "REUNDEP", "Reunión de departamento" },
        { "G202", "JDEP", "JEFEDEP", "Jefatura de departamento" },
        { "G305", "TUTA", "TUTADMIN", "Tutoría administrativa" },
        { "G306", "AFAM", "ATFAMIL", "Atención a familias" },
        { "G410", "CTIC", "COORDTIC", "Coordinación TIC" },
        { "G411", "CBIL", "COORDBIL", "Coordinación de bilingüismo" },
        { "G520", "PLEC", "PLANLECT", "Plan de lectura y biblioteca" },
    };
    return kTasks;
}

std::string_view keyOf(std::string_view code)
{
    for (const auto* list : { &subjects(), &tasks() }) {
        for (const auto& subject : *list) {
            if (subject.code == code) {
                return subject.key;
            }
        }
    }
    throw std::logic_error("no subject " + std::string(code) + " in the catalogue");
}

const std::vector<PlanEntry>& planFor(std::string_view level, int year, bool diversification)
{
    static const std::vector<PlanEntry> kLowerSecondary { { "LCL", 240 }, { "MAT", 240 }, { "ING", 240 },
        { "GH", 180 }, { "BG", 180 }, { "EF", 120 }, { "MUS", 120 }, { "TUT", 60 }, { "REL", 60 } };
    static const std::vector<PlanEntry> kUpperSecondary { { "LCL", 240 }, { "MAT", 240 }, { "ING", 240 },
        { "GH", 180 }, { "FQ", 180 }, { "EF", 120 }, { "TD", 120 }, { "TUT", 60 }, { "REL", 60 } };
    static const std::vector<PlanEntry> kDiversification { { "ACT", 480 }, { "ALS", 420 }, { "ING", 180 },
        { "EF", 120 }, { "TUT", 60 }, { "OCE", 90 }, { "EXP", 150 }, { "REL", 60 }, { "TD", 120 } };
    static const std::vector<PlanEntry> kFirstBaccalaureate { { "LCL1", 240 }, { "ING1", 180 },
        { "FIL", 180 }, { "EF1", 120 }, { "MAT1", 240 }, { "FQ1", 240 }, { "BGA", 240 }, { "DT1", 240 },
        { "TIC", 120 } };
    static const std::vector<PlanEntry> kSecondBaccalaureate { { "LCL2", 240 }, { "ING2", 180 },
        { "HES", 180 }, { "HFIL", 180 }, { "MAT2", 240 }, { "QUI", 240 }, { "BIO", 240 }, { "DT2", 240 },
        { "PSI", 120 } };
    if (diversification) {
        return kDiversification;
    }
    if (level == "BACH") {
        return year == 1 ? kFirstBaccalaureate : kSecondBaccalaureate;
    }
    return year <= 2 ? kLowerSecondary : kUpperSecondary;
}

const std::vector<PlanEntry>& duties()
{
    static const std::vector<PlanEntry> kDuties { { "GUAR", 120 }, { "GREC", 150 }, { "GBIB", 90 },
        { "RDEP", 60 }, { "JDEP", 120 }, { "TUTA", 60 }, { "AFAM", 60 }, { "CTIC", 180 }, { "CBIL", 120 },
        { "PLEC", 90 }, { "GUAR", 1500 }, { "RDEP", 45 }, { "AFAM", 0 }, { "TUTA", -30 } };
    return kDuties;
}

const std::vector<SpecialRoom>& specialRooms()
{
    static const std::vector<SpecialRoom> kRooms { { "LABQ", 'B', "Laboratorio de Química" },
        { "LABB", 'B', "Laboratorio de Biología" }, { "INF1", 'A', "Aula de Informática 1" },
        { "TALL", 'B', "Taller de Tecnología" }, { "MUSI", 'A', "Aula de Música" },
        { "PLAS", 'A', "Aula de Plástica" }, { "GIMN", 'C', "Gimnasio" }, { "BIBL", 'A', "Biblioteca" },
        { "PABE", 'C', "Pabellón de deportes" } };
    return kRooms;
}

std::string_view specialRoomOf(std::string_view code)
{
    static const std::vector<std::pair<std::string_view, std::string_view>> kTaughtIn { { "EF", "GIMN" },
        { "EF1", "GIMN" }, { "MUS", "MUSI" }, { "TD", "TALL" }, { "TIC", "INF1" }, { "FQ1", "LABQ" },
        { "QUI", "LABQ" }, { "BIO", "LABB" }, { "DT1", "PLAS" }, { "DT2", "PLAS" } };
    for (const auto& [subject, room] : kTaughtIn) {
        if (subject == code) {
            return room;
        }
    }
    return {};
}

const std::vector<Period>& periods()
{
    static const std::vector<Period> kPeriods { { "08:15", "09:10" }, { "09:10", "10:05" },
        { "10:05", "11:00" }, { "11:30", "12:25" }, { "12:25", "13:20" }, { "13:20", "14:15" } };
    return kPeriods;
}

const std::vector<std::string_view>& firstNames()
{
    static const std::vector<std::string_view> kNames { "Begoña", "José Ángel", "María Jesús", "Íñigo",
        "Nuria", "Andrés", "Pilar", "Raúl", "Sonia", "Joaquín", "Inés", "Óscar", "Lucía", "Tomás", "Rocío",
        "Germán", "Noelia", "Martín", "Ainhoa", "Fernando", "Ángeles", "Jesús", "Maite", "Félix" };
    return kNames;
}

const std::vector<std::string_view>& surnames()
{
    static const std::vector<std::string_view> kNames { "Muñoz", "Ibáñez", "Castaño", "Núñez", "Peña",
        "Gómez", "Martín", "Sáez", "Rodríguez", "Quiñones", "López", "Ortega", "Fernández", "Cañete",
        "Jiménez", "Beltrán", "Durán", "Hernández", "Montaño", "Álvarez", "Sánchez", "Valverde", "Cordero",
        "Ruiz", "Garcés", "Mínguez", "Estévez", "Arráez" };
    return kNames;
}

const std::vector<std::string_view>& electiveNames()
{
    static const std::vector<std::string_view> kNames { "Taller de Teatro", "Oratoria y Debate",
        "Robótica", "Cultura Clásica", "Iniciación a la Programación", "Francés de refuerzo",
        "Proyectos de Investigación", "Creación Digital", "Astronomía", "Patrimonio de Castilla y León",
        "Ajedrez educativo", "Fotografía", "Cocina y Nutrición", "Periodismo escolar" };
    return kNames;
}

} // namespace tqz::bench::catalogue
